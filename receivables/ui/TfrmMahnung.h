#pragma once

#include "CommandAvailability.h"
#include "Document.h"
#include "MahnungForm.h"

#include <QDialog>
#include <memory>

class AppState;
class DunningStore;
class PrintPrompts;
class PrintSystem;

// The dunning window "Mahnung": writes one dunning letter of the next level for an
// overdue invoice handed over by the open-items window. Every opening starts a new
// letter (number, level, addresses, text from the level's template); the user may
// edit it, save it (which raises the invoice's dunning level) or hand it to the
// word processor. The controls come from MahnungForm.
class TfrmMahnung : public QDialog, public MahnungForm
{
    Q_OBJECT
public:
    // What the open-items window hands over.
    struct Request
    {
        qint64 customer = 0;
        qint64 project = 0;
        QString uid;
        QString eFirma;
        qint64 invoice = 0;
        QString amount; // the invoice amount as the list shows it ("1.234,56 €")
    };

    explicit TfrmMahnung(AppState &state, QWidget *parent = nullptr);
    ~TfrmMahnung() override;

    // Opening: clears the window and starts a new letter for the invoice.
    void prepare(const Request &request);
    bool wasSaved() const { return m_saved; }
    // The print-job list again (the options may have changed the jobs); the job
    // chosen stays chosen while it exists.
    void reloadPrintJobs();
    qint64 number() const { return m_number; }
    int level() const { return m_level; }
    qint64 customerNumber() const { return m_request.customer; }
    // The letter as the window shows it: what saving writes and printing takes.
    Document letterValue() const;

    // Commands. cmdSave returns true when the letter was written.
    bool cmdSave();
    void cmdWordExport();
    // The side bar's print: asks to save an unsaved letter first, then the preview
    // with the system print dialog. The print panel's button prints at once on the
    // chosen printer with the copies of its field.
    void cmdPrint();
    void cmdPrintAtOnce();

    // Tests put their own printers and preview in place of the machine's.
    void setPrintSystem(std::unique_ptr<PrintSystem> system);
    void setPrintPrompts(std::unique_ptr<PrintPrompts> prompts);

protected:
    void done(int result) override;

private:
    void connectControls();
    void readSettings();
    void writeSettings();
    void fillPrinters();
    void fillTemplates();
    void fillPrintJobs();
    QString printerName() const;
    void setLevel(int level);
    void setEditable(bool editable);
    QString templateFolder() const;

    AppState &m_state;
    std::unique_ptr<DunningStore> m_store;
    std::unique_ptr<PrintSystem> m_printSystem;
    std::unique_ptr<PrintPrompts> m_printPrompts;
    CommandAvailability m_availability;
    QString m_currency;
    Request m_request;
    QString m_projectName;
    QString m_storedPrinter;
    qint64 m_number = 0;
    int m_level = 0;
    bool m_saved = false;
    QString m_saveToken; // identifies this letter's save, so a cut-off commit is found
};
