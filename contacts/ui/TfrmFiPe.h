#pragma once

#include "ContactEditSession.h"
#include "ContactStore.h"

#include <QDialog>

class AppState;
class CompanyPage;
class PersonPage;
class QTabWidget;
class QToolButton;
class TfrmFiPeMehr;
class TfrmFirmaPersonZuordnen;

// "Firmen und Personen Anlegen/Ändern": one company and one person on two tabs,
// looked at, created and changed together, and persons linked to companies.
// Created once and shown modally on demand; the caller picks what it shows with
// prepareNew or prepareShow before exec(). After the first save of a new contact
// the editor writes AppState::SelectedID; the caller reselects when exec() returns.
// Its state is a ContactEditSession; the link commands are in TfrmFiPeLinks.cpp.
class TfrmFiPe : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmFiPe(AppState &state, QWidget *parent = nullptr);
    ~TfrmFiPe() override;

    // "&Neuer Eintrag": a new company (company) or person, editable.
    void prepareNew(bool company);
    // "Detailansicht" (editable false) and "Eintrag &bearbeiten" (editable true).
    void prepareShow(qint64 contactNumber, bool company, bool editable);
    // The main window's "Gesperrte Einträge anzeigen", for the assignment list.
    void setBlockedEntriesShown(bool shown);

    // The editor's state, as its operations leave it.
    const ContactEditSession &session() const { return m_session; }
    qint64 currentIDF() const { return m_session.currentIDF(); }
    qint64 currentIDN() const { return m_session.currentIDN(); }
    bool isNewEntry() const { return m_session.isNewEntry(); }
    bool isEditable() const { return m_session.isEditable(); }
    bool isSaved() const { return m_session.isSaved(); }
    bool companyExists() const { return m_session.companyExists(); }
    bool personExists() const { return m_session.personExists(); }
    // The "Firmen"/"Personen" choice that the tabs follow.
    bool companiesChosen() const { return m_session.companiesChosen(); }

    // Operations; the buttons run them through the command guard.
    void SetEditable(bool a);
    void Activate();
    void LoadContact(qint64 number);
    // Runs the switch to the other tab; false when the user kept the unsaved data.
    bool SwitchTab(bool toCompany);
    void SaveCompany();
    void SavePerson();
    bool InsertCompany();
    void UpdateCompany();
    bool InsertPerson();
    void UpdatePerson();
    void NewCompany();
    void NewPerson();
    void EditCompany();
    void EditPerson();
    void LinkPerson();
    void LinkCompany();
    void UnlinkFromCompany();
    void UnlinkFromPerson();
    // A click on a row of the company's person list.
    void ShowPersonDetails(int row);
    // "erweiterte Angaben (...)": the extended data of the contact on the tab
    // shown, modally.
    void OpenExtendedData();

    CompanyPage *companyPage() const { return m_company; }
    PersonPage *personPage() const { return m_person; }
    TfrmFirmaPersonZuordnen *assignWindow() const { return m_assign; }
    TfrmFiPeMehr *extendedWindow() const { return m_extendedWindow; }

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void connectCommands();
    // Activation steps 2 and 3: clear, fill the boxes, load by the choice.
    void reloadByChoice();
    void showTab(bool company);
    void tabChanged(int index);
    void updateLinkButtons();
    void updateExtendedButton();
    void copyCompanyToPersonPanel();
    void reloadLinks(qint64 IDN, qint64 IDF);
    void assignmentChosen(qint64 IDN, qint64 IDF, const QString &position);
    void markChanged();
    qint64 drawNumber();

    AppState &m_state;
    ContactStore m_store;
    QTabWidget *m_tabs;
    CompanyPage *m_company;
    PersonPage *m_person;
    QToolButton *m_extended;
    TfrmFirmaPersonZuordnen *m_assign;
    TfrmFiPeMehr *m_extendedWindow;

    ContactEditSession m_session;
    // showTab changes the tab itself; the switch it would start is not wanted then
    bool m_switchingTabs = false;
};
