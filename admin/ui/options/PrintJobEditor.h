#pragma once

#include "PrintJobFile.h"

#include <QGroupBox>

class AppState;
class PrintSystem;
class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QSpinBox;
class TfrmFirmenkopf;

// The group "Spezial Druckjob" of the options: creates and deletes print jobs and
// their steps ("Unterauftrag") and sets each step's printer, copies and
// letterhead. Every change is written to DruckJob.ini at once.
class PrintJobEditor : public QGroupBox
{
    Q_OBJECT
public:
    PrintJobEditor(AppState &state, QWidget *parent = nullptr);
    ~PrintJobEditor() override;

    // The printers offered; the window owns the system.
    void setPrintSystem(PrintSystem *system) { m_system = system; }
    // Opening of the options window: the installed printers with the default one
    // chosen, one copy, and the job list with the newest job shown.
    void load();

    QString currentJob() const;
    int currentStep() const; // from 1; 0 without a job

    // Commands.
    void cmdNewJob();
    void cmdDeleteJob();
    void cmdNewStep();
    void cmdDeleteStep();
    void cmdLetterhead();
    void jobChosen();
    void stepChosen();
    void printerChosen(int index);
    void binChosen(int index);
    void copiesChanged(int copies);
    void letterheadToggled(bool on);

    QFrame *pnlJob;
    QPushButton *btnJobNeu, *btnJobLoeschen;
    QComboBox *cbJobName, *cbStep;
    QPushButton *btnStepNeu, *btnStepLoeschen;
    QPushButton *btnFirmenkopf;
    QCheckBox *chkFirmenkopf, *chkFarbe;
    QComboBox *cbDrucker, *cbPapier;
    QSpinBox *spnExemplare;
    TfrmFirmenkopf *letterhead;

private:
    void buildUi();
    // Fills the job list, newest first, and shows the job named (else the newest).
    void loadJobs(const QString &select = {});
    void showJob();
    void showStep(int k);
    // The values of the step just added and shown: the printer shown (else the
    // default printer), one copy, the letterhead flag.
    void initStep();
    // Makes the printer of the list position the step's printer and fills its paper bins.
    void applyPrinter(int index, const QString &binName = {});
    void applyBin(int index);
    void setLetterheadShown(bool on);
    void write(const QString &key, const QString &text);
    void enableJobControls(bool on);

    AppState &m_state;
    PrintJobFile m_file;
    PrintSystem *m_system = nullptr;
    bool m_showing = false;
};
