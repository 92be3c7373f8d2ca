#pragma once

#include "Amount.h"
#include "BankStatement.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// An open invoice as the matching of bank payments sees it.
struct OpenInvoice
{
    qint64 number = 0;       // rechnungen.BelegNr
    qint64 customer = 0;     // the customer's number
    QString customerName;    // as the open item names it
    QStringList ibans;       // the customer's accounts from the extended data
    Amount outstanding;      // what is still to pay
    std::optional<Amount> withSkonto; // what is to pay when the Skonto is taken
    std::optional<QDate> skontoDeadline; // last day of the Skonto period
};

// One invoice an entry pays, and how.
struct MatchedInvoice
{
    qint64 invoice = 0;
    Amount amount;           // the part of the entry's amount that goes to it
    bool withSkonto = false;
    bool partPayment = false;
    bool operator==(const MatchedInvoice &) const = default;
};

// How sure the matching is of an entry.
enum class MatchCertainty
{
    Matched,    // the proposal is to be booked as it stands
    Uncertain,  // candidates to choose from
    Unmatched,  // nothing found
    NotBooked,  // a debit or a reversal: listed, never booked
};

struct EntryMatch
{
    MatchCertainty certainty = MatchCertainty::Unmatched;
    QList<MatchedInvoice> invoices; // the proposal of a matched entry
    QList<qint64> candidates;       // the invoices an uncertain entry may pay
    QString reason;                 // German, for the review list
};

// Matches the credit entries of bank statements to open invoices, strongest
// evidence first: an invoice number in the purpose, the payer's account among a
// customer's accounts, the payer's name, and last the amount (the outstanding
// amount, the amount with Skonto within its period, or a part payment). An
// invoice matched once is not offered to a later entry for more than is left.
class PaymentMatcher
{
public:
    explicit PaymentMatcher(QList<OpenInvoice> invoices);

    EntryMatch match(const StatementEntry &entry);

    // How the entry pays invoices the user chose: in full (with Skonto where that
    // adds up), else each in the order given its outstanding amount and the last
    // what is left (a part payment, or more than it owes). unknown receives the
    // numbers that are no open invoice; nothing is proposed then.
    QList<MatchedInvoice> proposal(const StatementEntry &entry, const QList<qint64> &numbers,
                                   QList<qint64> *unknown = nullptr) const;

    // The invoice numbers the purpose names: those after a word for invoice
    // ("Rechnung 000123", "RE 123", "Re-Nr. 123", "Rg. 000123", "Rechnung000123")
    // first, then other runs of digits that are open invoices' numbers.
    struct NumbersFound
    {
        QList<qint64> named;   // after a word for invoice
        QList<qint64> bare;    // other runs of digits
    };
    static NumbersFound numbersIn(const QString &purpose);

    // Whether a payer's name is the customer's, allowing for one typing error in
    // each longer word and ignoring legal forms ("GmbH", "KG") and case.
    static bool sameName(const QString &payer, const QString &customer);

private:
    struct Customer
    {
        QString name;
        QStringList words;   // of the name, as compared
        QList<int> invoices; // positions in m_invoices
    };

    const OpenInvoice *invoice(qint64 number) const;
    std::optional<QList<MatchedInvoice>> settle(const QList<const OpenInvoice *> &invoices, Amount amount,
                                                const QDate &booked) const;
    EntryMatch byNumbers(const StatementEntry &entry, const QList<qint64> &numbers, bool named,
                         const QList<qint64> &payerCustomers);
    EntryMatch byCustomers(const StatementEntry &entry, const QList<qint64> &customers, const QString &how);
    QList<qint64> customersByIban(const QString &iban) const;
    QList<qint64> customersByName(const QString &name) const;
    void book(const EntryMatch &match);

    std::vector<OpenInvoice> m_invoices;
    QHash<qint64, int> m_byNumber;
    QHash<QString, QList<qint64>> m_byIban;
    QHash<qint64, Customer> m_customers;
};

// What marks an entry as imported: the bank's reference where it gave one (with
// the transaction's amount, payer account and end-to-end reference), else a hash
// of the account, the date, the amount and the purpose.
QString StatementEntryKey(const QString &accountIban, const StatementEntry &entry);
