#pragma once

#include "Amount.h"

#include <QDate>
#include <QList>
#include <QString>

// One transaction of a bank statement as the bank reported it. A batch booking
// (several transactions booked as one entry) gives one of these per transaction,
// each with its own amount and payer.
struct StatementEntry
{
    QDate bookingDate;
    QDate valueDate;
    Amount amount;           // always positive; credit tells the direction
    bool credit = true;      // money received (CAMT "CRDT", MT940 "C"); false for debits
    bool reversal = false;   // a storno ("RC"/"RD" in MT940, <RvslInd>true in CAMT)
    QString currency;        // "EUR"
    QString counterpartyName;  // the payer of a credit, the payee of a debit
    QString counterpartyIban;  // without blanks, upper case; may be empty
    QString purpose;         // the remittance text, its lines joined by one blank
    QString bankReference;   // the bank's own reference of the transaction; may be empty
    QString endToEndId;      // "NOTPROVIDED" is left out
};

// One statement of one account. A file may hold several (one per day, or one
// per account).
struct BankStatement
{
    QString accountIban;     // the statement's own account, without blanks, upper case
    QString statementId;     // CAMT <Stmt><Id>, MT940 :20: or :28C:
    QString currency;        // the account's currency
    QList<StatementEntry> entries;
};

// What reading a file gave: its statements, or a German message naming what is
// wrong (empty on success).
struct StatementFile
{
    enum class Format { Unknown, Camt053, Mt940 };
    Format format = Format::Unknown;
    QList<BankStatement> statements;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

namespace StatementReader {

// Reads a statement file; the format is recognised from the content, never from
// the name. fileName only names the file in messages. An XML file with a
// document type declaration is refused (entities are never expanded).
StatementFile read(const QByteArray &content, const QString &fileName);

// The parts, for tests.
StatementFile readCamt(const QByteArray &content, const QString &fileName);
StatementFile readMt940(const QByteArray &content, const QString &fileName);

} // namespace StatementReader
