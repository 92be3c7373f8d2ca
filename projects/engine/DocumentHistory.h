#pragma once

#include "Document.h"
#include "DocumentKind.h"

#include <QList>
#include <QString>

class AppState;
class Database;
class SqlQuery;

// Who changes a document: the user name and the workstation, as the history of an
// issued document records them.
struct DocumentEditor
{
    QString user;
    QString workstation;

    // The logged-in user (else the account of the program's process) on this machine.
    static DocumentEditor of(AppState &state);
};

// Invoices and credit notes that have gone out (printed, written as PDF or
// electronic invoice, handed to the word processor, sent, booked or dunned) are
// issued: their mark is stored with them, and every later save first keeps the
// version it replaces. The versions are never deleted.
namespace DocumentHistory {

// Only invoices and credit notes are issued and keep their versions.
bool keepsHistory(DocumentKind kind);

// How a document went out, as its issued mark records it.
inline const QString ByPrint = QStringLiteral("Druck");
inline const QString ByPdf = QStringLiteral("PDF");
inline const QString ByEInvoice = QStringLiteral("E-Rechnung");
inline const QString ByMail = QStringLiteral("E-Mail");
inline const QString ByWordExport = QStringLiteral("Textverarbeitung");
inline const QString ByPayment = QStringLiteral("Zahlung");
inline const QString ByDunning = QStringLiteral("Mahnung");

// The document's issued mark ("10.12.2026 14:03 Druck"), empty while it is not issued.
QString issuedMark(Database &db, DocumentKind kind, qint64 number);
// Marks a stored document as issued unless it is already; nothing for the other
// kinds. The first form runs in a transaction of its own, the second in the
// caller's.
void markIssued(Database &db, DocumentKind kind, qint64 number, const QString &how);
void markIssued(SqlQuery &q, DocumentKind kind, qint64 number, const QString &how);

// The question before an issued document is changed.
QString changeQuestion(DocumentKind kind, qint64 number);
// The refusal of deleting issued documents, naming them.
QString deleteRefusal(DocumentKind kind, const QList<qint64> &numbers);
// The issued documents of a kind, by number.
QList<qint64> issuedNumbers(Database &db, DocumentKind kind);

// Keeps the stored version of the document (head, amounts, lines, addresses,
// additional text) with the time, the editor and the workstation. Runs in the
// caller's transaction, before the save writes over it.
void keepVersion(SqlQuery &q, DocumentKind kind, qint64 number, const DocumentEditor &editor);

// One kept version: when and by whom it was replaced, and the document as it was.
struct Version
{
    qint64 id = 0;
    QString time, user, workstation;
    QString issued;
    Document document; // lines, totals (under its own gross rule), addresses, texts
    QString storedNet, storedGross; // as its amount row held them
};
// The kept versions of a document, the latest first.
QList<Version> versions(Database &db, DocumentKind kind, qint64 number, const QString &currency);

} // namespace DocumentHistory
