#pragma once

#include "PaymentMatcher.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class Database;
class TdmCommon;

// One entry of a bank statement to book: the invoices it pays and the key that
// marks it as imported.
struct BankBooking
{
    QString key;          // StatementEntryKey
    QString account;      // the statement's account
    StatementEntry entry;
    QList<MatchedInvoice> invoices;
    QString user;         // who books, as the data set keeps it
};

// The data of the statement import: the open invoices the payments are matched
// against, the company's own accounts, the entries imported before, and the
// booking of an entry.
class BankImportStore
{
public:
    BankImportStore(Database &db, TdmCommon &numbers);

    // The invoices still open, each with what is left to pay, the amount with
    // Skonto and the last day of its period, and its customer's accounts.
    QList<OpenInvoice> openInvoices();
    // The company's own accounts: the seller IBAN and the further accounts of the
    // options, without blanks and in capitals.
    QStringList ownAccounts();
    // Those of the keys whose entries were booked before.
    QSet<QString> imported(const QStringList &keys);

    // Books the entry's payment of each of its invoices by the rules of the
    // open-items window (Skonto, part payment, overpayment) and marks the entry as
    // imported, in one transaction: all of it or, on an OrvellaError, nothing (an
    // invoice changed meanwhile, or the entry was booked meanwhile elsewhere).
    void book(const BankBooking &booking);

    // The invoices a payment of amount would overpay (for the question before
    // booking): those left with less to pay than the part the booking gives them.
    QList<qint64> overpaid(const BankBooking &booking);

private:
    Database &m_db;
    TdmCommon &m_numbers;
};
