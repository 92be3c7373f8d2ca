#pragma once

#include "OptionsPage.h"

class AppState;
class NumberEdit;
class PrintJobEditor;
class QComboBox;
class QGroupBox;
class QSlider;

// The tab "Drucker": where printouts start (SHLeft, SHTop), the pens of the grid
// lines between the positions, the font scale, and the print-job editor. Every
// change is written at once.
class PrinterTab : public OptionsPage
{
    Q_OBJECT
public:
    explicit PrinterTab(AppState &state, QWidget *parent = nullptr);

    // The origin (its defaults written when it cannot be read), the pens, the
    // font scale and the print jobs.
    void load() override;
    // Permission "Allgemein": the print options.
    void applyPermissions(bool general);

    // Commands.
    void leftMoved(int value);
    void topMoved(int value);
    void penChosen();
    void sizeGradeChosen(int position);
    // The millimetres typed beside a slider.
    void leftTyped();
    void topTyped();

    QGroupBox *grpDruckoptionen, *grpSchriftgrad;
    QSlider *sldLinkerRand, *sldOberrerRand;
    NumberEdit *edtLinkerRand, *edtOberrerRand;
    QComboBox *cbFarbeS, *cbLinieS, *cbFarbeW, *cbLinieW;
    QComboBox *cbSchriftgrad;
    PrintJobEditor *jobEditor;

private:
    void buildUi();
    void showMargins();

    AppState &m_state;
};
