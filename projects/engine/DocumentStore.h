#pragma once

#include "Amount.h"
#include "Document.h"
#include "DocumentHistory.h"

#include <QList>
#include <functional>
#include <optional>
#include <QString>

class Database;
class Dialogs;
class SqlQuery;
class Transaction;

// Saves and loads business documents in their table families. One save is one
// transaction: it writes the whole document or, on any error, nothing. The lines
// are always deleted and inserted again; header, addresses, Skonto and additional
// text are updated in place. An invoice keeps its open item and amount row, a
// credit note its credit row and amount row, in step with every save.
//
// Every text of the document goes through SqlQuote; numbers are typed or checked
// before they are placed into a statement. The store asks and tells the user
// nothing: a save that is refused or wants a confirmation says so in its result,
// and the page shows the warning or asks.
class DocumentStore
{
public:
    enum class SaveResult {
        Saved,    // written; the page turns read-only and clean
        // The connection broke at the commit, or an earlier try's did, and the
        // document proved to be stored (under document.number); the page holds it
        // as saved.
        SavedBeforeConnectionLoss,
        NoLines, // refused: the line list has no first position; the page warns with refusal()
        // A credit note above what its invoice still owes, not confirmed yet. The
        // page asks CreditNoteQuestion and, on Yes, saves again with
        // Confirmation::CreditNoteAboveOwed.
        NeedsConfirmation,
    };
    // What the user has confirmed for a save.
    enum class Confirmation { None, CreditNoteAboveOwed };

    // What a load found besides the document itself.
    struct Loaded
    {
        Document document;
        bool stored = false;     // the header row exists
        bool linesFound = false; // the lines query returned rows (else: a new document)
        // The message of an error met while reading the lines or computing the
        // totals. The load goes on without the rest of the lines and shows nothing.
        QString lineError;
        LineList::Captions captions; // discount and Skonto button captions
    };

    static const QString CreditNoteQuestion;

    explicit DocumentStore(Database &db, const QString &currency = QStringLiteral("€"));
    // The dialogs are not used: the store asks nothing (see SaveResult).
    DocumentStore(Database &db, Dialogs &dialogs, const QString &currency = QStringLiteral("€"));

    // Who saves, as the history of issued documents records it (by default the
    // account of the program's process on this machine).
    void setEditor(const DocumentEditor &editor) { m_editor = editor; }

    // The save command of the quotation, order, delivery note, invoice, credit note
    // and working-document pages. A new document takes the gross rule of new
    // documents, a stored one keeps the rule it was stored with; an issued one
    // first keeps the version it replaces (DocumentHistory). Refuses a document
    // without a first position (NoLines); a credit note above what the invoice still
    // owes is saved only when confirmed, else NeedsConfirmation. Both are decided
    // before the transaction begins, so no lock waits for the user. The totals are
    // computed again from the lines before writing, so the stored amounts always
    // match the lines, and the document is updated with them. Throws
    // ConversionError for a value that cannot be stored (see checkValues) and
    // DatabaseError when a statement fails; nothing is written then.
    SaveResult save(Document &document, Confirmation confirmed = Confirmation::None);
    // The same for a document that has never been saved. Its number was drawn when
    // it was begun; when another workstation has stored a document of the kind under
    // that number meanwhile, the save draws the next number with nextNumber inside
    // its transaction, where new documents of the kind are saved one at a time
    // (document.number tells which it got). Never writes over a stored document;
    // when the number is taken all the same, throws DuplicateNumberError and
    // writes nothing. When a writer that drew without the lock took the number at
    // its unique index, the save tries once more under the next number and decides
    // a credit note's confirmation anew for that try (what its invoice still owes
    // is reckoned without the credit note under its own number); NeedsConfirmation
    // then comes with document.number moved on.
    // A document carries its save token from the first try on (document.saveToken);
    // a try whose commit was cut off is looked up by it once the connection is
    // back, and a later try finds what an earlier one stored instead of storing it
    // again. When the outcome cannot be told yet (the server is still away),
    // throws OrvellaError saying so; the next try tells it.
    SaveResult saveNew(Document &document, const std::function<qint64()> &nextNumber,
                       Confirmation confirmed = Confirmation::None);
    // The number of the document of a kind stored by the save of that token.
    std::optional<qint64> storedUnderToken(DocumentKind kind, const QString &token);

    // The warning a save shows instead of writing, or an empty text.
    static QString refusal(const Document &document);
    // Throws ConversionError for a document number below 1, a malformed date (an
    // invoice needs a date for its due date), a payment term that is not a whole
    // number of days, a Skonto percentage that is not a number, or a date of
    // service that is no date or ends before it begins.
    static void checkValues(const Document &document);

    // Insert when SELECT ProjektNr FROM X WHERE BelegNr=<n> finds no row.
    bool isStored(DocumentKind kind, qint64 number);
    // The invoice's open item is booked as paid (Gebucht = 'J').
    bool isInvoicePaid(qint64 number);
    // The date of a stored document (SELECT Datum FROM its header table); empty
    // when it is not stored.
    QString documentDate(DocumentKind kind, qint64 number);

    // Loads a document of any kind but the dunning letter: the lines ordered by RF,
    // discount last, totals, Skonto, additional text, normalised, the addresses. A
    // number that is not stored yet gives an empty document with linesFound false.
    Loaded load(DocumentKind kind, qint64 number);

    // What remains of the credit note's invoice after this credit note: the open
    // item's amount minus payments, minus the other credit notes stored for the
    // invoice (this credit note's own stored row is left out, so saving it again
    // does not count it twice), minus the gross amount in its totals list.
    Amount outstandingAmount(const Document &creditNote);

    // Writes a new dunning letter for the dunning run: header, body lines, both
    // addresses, and raises the invoice's dunning level to the letter's level (a
    // level is never lowered). Returns false and writes nothing when the number is
    // stored already. Throws OrvellaError for a letter without invoice or level.
    bool insertDunningLetter(const Document &letter);
    // The dunning page's save: updates a stored letter (header, body lines in the
    // rows it has, both addresses). The invoice the letter was written for and its
    // level stay as stored, and no open item is touched. A number not stored yet is
    // refused with OrvellaError: letters only come from the dunning run.
    void saveDunningLetter(const Document &letter);
    Loaded loadDunningLetter(qint64 number);

    // The project's documents of a kind, highest number first.
    QList<qint64> documentNumbers(DocumentKind kind, qint64 projectNumber);

    // Due date of an invoice: the date plus the payment term in days, 30 when the
    // term is empty. Throws ConversionError for a bad date or term.
    static QString dueDate(const QString &date, const QString &paymentTerm);

private:
    SaveResult write(Document &document, bool isNew, const std::function<qint64()> &nextNumber,
                     Confirmation confirmed);
    // Commits a new document's transaction. When the connection breaks at the
    // commit, the token tells afterwards whether the server stored it: its number
    // then, no value after an ordinary commit; throws when it was not stored, or
    // when that cannot be told yet.
    std::optional<qint64> commitNew(Transaction &transaction, DocumentKind kind, const QString &token);
    void insert(SqlQuery &q, const Document &d);
    void update(SqlQuery &q, const Document &d);
    void insertLines(SqlQuery &q, const Document &d);
    QString sqlAmount(const QString &displayed) const;

    GrossRule storedGrossRule(DocumentKind kind, qint64 number);

    Database &m_db;
    QString m_currency;
    DocumentEditor m_editor;
};
