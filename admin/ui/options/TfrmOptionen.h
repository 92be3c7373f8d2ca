#pragma once

#include <QDialog>
#include <memory>

class AdditionalTextsTab;
class AppState;
class CompanyTab;
class DatevSettingsTab;
class DunningTextsTab;
class GeneralTab;
class OptionsPage;
class PrintSystem;
class PrinterTab;
class QPushButton;
class QTabWidget;
class QToolBar;

// The options window "Optionen": five tabs with the settings that shape every
// document. Created once, shown modally; each opening shows the stored values.
class TfrmOptionen : public QDialog
{
    Q_OBJECT
public:
    enum Tab { AllgemeinTab = 0, ZusatztexteTab, MahntexteTab, FirmendatenTab, DruckerTab, DatevTab, TabCount };

    explicit TfrmOptionen(AppState &state, QWidget *parent = nullptr);
    ~TfrmOptionen() override;

    // Tests stand in for the printers.
    void setPrintSystem(std::unique_ptr<PrintSystem> system);

    // Opening: every tab loaded, the permissions applied, the tab asked for
    // ("Allgemein" unless told) shown, everything saved.
    void prepare(Tab shown = AllgemeinTab);
    bool isModified() const;
    OptionsPage *page(int tab) const;

    // The buttons under the tabs.
    void cmdClose();
    void cmdApply();
    void cmdOk();

    QToolBar *toolBar;
    QTabWidget *tabs;
    GeneralTab *general;
    AdditionalTextsTab *texts;
    DunningTextsTab *dunning;
    CompanyTab *company;
    PrinterTab *printer;
    DatevSettingsTab *datev;
    QPushButton *btnBeenden, *btnUebernehmen, *btnOK;

public Q_SLOTS:
    void reject() override;

private:
    void buildUi();
    void tabChanged(int index);
    // Asks before the tab left is saved or its changes kept; false when the user
    // stays on it.
    bool leaveTab(int index);
    void updateButtons();
    void applyPermissions();

    AppState &m_state;
    std::unique_ptr<PrintSystem> m_system;
    int m_lastTab = AllgemeinTab;
    bool m_switching = false;
    bool m_closing = false;
};
