#pragma once

#include <QString>
#include <QtGlobal>

// Lets one window open another without knowing its class: the program's window
// list implements it, windows call it through AppState::hub. Every operation does
// nothing by default, so a window that is not built yet is simply not opened.
class WindowHub
{
public:
    virtual ~WindowHub() = default;

    // The contact editor, modally: a new entry, or a stored contact read-only or
    // editable. company tells which tab a new entry starts on.
    virtual void editNewContact(bool company) { Q_UNUSED(company); }
    virtual void editContact(qint64 contactNumber, bool company, bool editable)
    {
        Q_UNUSED(contactNumber);
        Q_UNUSED(company);
        Q_UNUSED(editable);
    }
    // Read-only detail view of a company or person.
    virtual void showContactDetail(qint64 contactNumber) { Q_UNUSED(contactNumber); }
    virtual void closeContactDetail() {}
    // The project window for a stored project of the given customer; isNew for a
    // project just created.
    virtual void showProject(qint64 projectNumber, qint64 customer, bool company, bool isNew)
    {
        Q_UNUSED(projectNumber);
        Q_UNUSED(customer);
        Q_UNUSED(company);
        Q_UNUSED(isNew);
    }
    // The main window's button "einen Vorgang oder Projekt suchen", which the
    // project windows disable while they are open.
    virtual void enableProjectSearchButton(bool enabled) { Q_UNUSED(enabled); }
    // The new-project window for the selected contact, modelessly.
    virtual void showNewProject() {}
    // The project search, modelessly; false when it or the project window is showing.
    virtual bool showProjectSearch() { return false; }
    // The project search from the project window: its shown page (0 project, 1
    // quotation ... 7 working document) preselects the kind, and its project is
    // the current one.
    virtual void showProjectSearchFrom(int page, qint64 projectNumber)
    {
        Q_UNUSED(page);
        Q_UNUSED(projectNumber);
    }
    // The options window, modally, at one of its tabs (0: the first).
    virtual void showOptions(int tab = 0) { Q_UNUSED(tab); }
    // The open-items window, modally.
    virtual void showOpenItems() {}
    // The bank statement import: the user chooses statement files, then reviews
    // and books their payments, modally.
    virtual void showBankStatements() {}
    // An electronic invoice received from a supplier, modally: the file given
    // (dropped on the main window), or one the user chooses when path is empty.
    virtual void showReceivedInvoice(const QString &path) { Q_UNUSED(path); }
    // The DATEV export of a period, modally.
    virtual void showDatevExport() {}
    // The list of filed supplier invoices, modally.
    virtual void showReceivedInvoices() {}
    // One filed supplier invoice, modally.
    virtual void showFiledInvoice(qint64 id) { Q_UNUSED(id); }
    // Backup window: full data set (true) or invoices and credit notes (false).
    virtual void showBackup(bool fullDataSet) { Q_UNUSED(fullDataSet); }
    // Restoring a full backup, modally.
    virtual void showRestore() {}
    // Closes the windows that show stored data before the data set is replaced or
    // emptied; a window with unsaved changes asks. False when one stays open.
    virtual bool closeDataWindows() { return true; }
    virtual void showUsers() {}
    virtual void showChangePassword() {}
    virtual void showCalendar() {}
    virtual void showDataMaintenance() {}
    virtual void showGame() {}

    // Which of the windows above exist in this build; the main window disables
    // the commands of the others.
    enum class Window { ContactEditor, ContactDetail, Project, NewProject, ProjectSearch, Options,
                        OpenItems, Backup, Users, ChangePassword, Calendar, DataMaintenance, Game };
    virtual bool has(Window window) const { Q_UNUSED(window); return false; }
};
