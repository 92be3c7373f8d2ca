#pragma once

#include "BankImportStore.h"
#include "PaymentMatcher.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

// One entry of the statements under review.
struct ReviewRow
{
    enum class State
    {
        ToBook,    // the user books it (a matched entry starts so)
        Skipped,   // left for later: nothing is stored
        NotBooked, // a debit or a reversal
        Imported,  // booked by an earlier import, or twice in the files read
        Booked,    // booked now
    };
    BankBooking booking;
    EntryMatch match;
    State state = State::Skipped;
    QString note; // German: how it was matched, or why it is not booked
};

// A statement file as read from disk.
struct StatementSource
{
    QString name;
    QByteArray content;
};

// The review of bank statements: reads the files, checks that they are
// statements of the company's own accounts, matches every credit to open
// invoices, lets the user change what each entry pays, and books the chosen ones.
class StatementReview
{
public:
    explicit StatementReview(BankImportStore &store);

    // Reads the files: their entries, or a German message naming the file and what
    // is wrong, and then no entries of any file.
    QString load(const QList<StatementSource> &files, const QString &user);
    const QList<ReviewRow> &rows() const { return m_rows; }

    // The invoices a row pays, as the user typed them ("123, 124"): empty text
    // skips it. A message when the text names no open invoice.
    QString setInvoices(int row, const QString &text);
    // Books the row or leaves it (only rows that can be booked); an entry with no
    // invoices and a single candidate takes the candidate.
    void setChosen(int row, bool book);

    // Books the rows to book, each entry in its own transaction. overpaying is
    // asked for an entry that pays an invoice more than it owes; without a yes the
    // entry is left. Gives the German messages of the entries that failed.
    struct Outcome
    {
        int booked = 0;
        QStringList failures;
    };
    Outcome book(const std::function<bool(const ReviewRow &row)> &overpaying);

    // Whether a statement's account (an IBAN, or "bank code/account" of an older
    // MT940 file) is the own account given as IBAN.
    static bool sameAccount(const QString &statementAccount, const QString &ownIban);

private:
    BankImportStore &m_store;
    std::unique_ptr<PaymentMatcher> m_matcher;
    QList<ReviewRow> m_rows;
};

// "000123, 000124"
QString InvoiceNumbersText(const QList<MatchedInvoice> &invoices);
