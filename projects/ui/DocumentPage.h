#pragma once

#include "CommandAvailability.h"
#include "Document.h"
#include "DocumentPageForm.h"
#include "DocumentKind.h"

#include <QWidget>
#include <functional>

class AppState;
class DocumentStore;
class LineListModel;
class TotalsListModel;
struct ProjectValue;

// One document page of the project window (every kind but the dunning letter):
// the document list, the two addresses, the date, the lines with their totals, the
// additional text and the commands. The page holds its document as a value; the
// dialogs change that value and the page saves it through the store.
class DocumentPage : public QWidget, public DocumentPageForm
{
    Q_OBJECT
public:
    DocumentPage(AppState &state, DocumentStore &store, DocumentKind kind, QWidget *parent = nullptr);

    DocumentKind kind() const { return m_kind; }
    const Document &document() const { return m_doc; }
    // The value the dialogs edit; call documentChanged() afterwards.
    Document &document() { return m_doc; }
    // The document with the page's fields as they stand, saved or not: what is
    // printed, exported and saved.
    Document shownDocument() const;

    // What the project window hands over.
    void setPaymentTermSource(std::function<QString()> source) { m_paymentTerm = std::move(source); }

    bool isClean() const { return m_clean; }
    void setClean(bool clean);
    bool isEditMode() const { return m_editMode; }
    qint64 currentNumber() const { return m_number; }
    // The page's first address field takes input (the project is copied only then).
    bool acceptsProjectCopy() const;

    // Rebuilds the page when it is shown: number, document list, commands.
    void build();
    // Copies names and addresses of the project into the page.
    void copyProject(const ProjectValue &project);
    // A document not stored yet is dated today; a stored one keeps its date.
    void dateNewDocument();
    // Empties the page and forgets its number (a project change, a discarded close).
    void clearPage();
    // The page draws a new number when it is next built. A stored document shown
    // is emptied with it, so it never turns into a new one under another number.
    void forgetNumber();
    // Read-only without the write permission; the invoice-like pages are hidden
    // completely without the permission to read them.
    void applyPermissions(bool projectsWrite, bool invoicesRead);
    // Called at every activation of the window: the credit note's line and text
    // commands are open only after "ändern" or a take-over.
    void lockCreditNoteCommands();
    // Marks commands whose windows do not exist yet.
    void setUnavailable(const QList<QObject *> &controls);

    // Commands.
    void pickDocument(int listIndex);
    void openDocument(qint64 number);
    // false when the user cancelled or a save asked for refused.
    bool cmdNew();
    bool cmdSave();
    // An issued invoice or credit note is changed only after the user confirmed it.
    void cmdChange();
    // "Verlauf…": the kept versions of an issued invoice or credit note.
    void cmdHistory();
    // Unsaved changes ask whether they are saved first: false when the user
    // cancels or the save refuses, so nothing typed is lost.
    bool askSaveFirst();
    // A document made by a take-over becomes the page's new, unsaved document: a
    // new number, today's date, editable, its totals computed again.
    void takeOverDocument(const Document &document);

    // After a dialog changed the document: totals, captions, views, modified mark.
    void documentChanged();
    // After a dialog that normalised the lines and computed the totals itself:
    // shows the document again and marks the page modified when it changed.
    void dialogClosed(bool changed);

Q_SIGNALS:
    void modifiedChanged();
    // After a save, for the window's status bar ("Rechnung 000123 gespeichert.").
    void saved(const QString &message);
    // New documents ask the window to run its activation (copies the project in).
    void activationRequested();
    void articleDataRequested();
    void discountRequested();
    void skontoRequested();
    void additionalTextRequested();
    void printRequested();
    void eInvoiceRequested();
    void mailRequested();
    // "Daten aus vorhandenem ... übernehmen".
    void takeOverRequested();
    // "übernehmen in": the document of this page into a new one of the target kind.
    void takeOverIntoRequested(DocumentKind target);

private:
    void wireUp();
    void setEditMode(bool edit);
    void updateCommands();
    void enable(QObject *control, bool enabled);
    void showDocument();
    void gatherFields();
    void readFields(Document &document) const;
    void showCaptions(const LineList::Captions &captions);
    void fillNumberList();
    void markModified();
    void loadNumber(qint64 number);

    AppState &m_state;
    DocumentStore &m_store;
    DocumentKind m_kind;
    QString m_currency;
    Document m_doc;
    LineListModel *m_lineModel;
    TotalsListModel *m_totalsModel;
    std::function<QString()> m_paymentTerm;
    qint64 m_number = 0;
    bool m_isNew = false; // begun here and never saved: its number may be taken meanwhile
    bool m_clean = true;
    bool m_editMode = true;
    bool m_canWrite = true;
    bool m_creditUnlocked = false;
    bool m_hidden = false; // behind "keine Berechtigung"
    bool m_filling = false;
    CommandAvailability m_availability;
};
