#pragma once

#include "Amount.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// The export of issued invoices, credit notes and payments for the tax advisor as a
// DATEV booking batch ("Buchungsstapel", EXTF). This code knows no data set and no
// window: the caller hands in plain records, gets back the bookings or the file's
// bytes, or the list of reasons why nothing can be written.
namespace Datev {

enum class Chart { Skr03, Skr04 };

// A VAT rate with its category as the invoice prints it: "S" standard, "K" supply
// to another EU country, "E" exempt, "AE" reverse charge, "G" export, "Z" zero
// rated, "O" outside the scope. Revenue and Skonto accounts are chosen by both,
// because a 0 % supply abroad and a 0 % exempt sale go to different accounts.
struct TaxKey
{
    Amount rate;      // 19 % is Amount::fromUnits(19)
    QString category; // compared after trimming and upper-casing

    TaxKey(Amount r, const QString &c);
    bool operator<(const TaxKey &o) const;
    bool operator==(const TaxKey &o) const;
};

struct Settings
{
    QString consultantNumber;   // Beraternummer, 1001 to 9999999
    QString clientNumber;       // Mandantennummer, 1 to 99999
    QDate fiscalYearStart;      // first day of the fiscal year holding the period
    int accountLength = 4;      // Sachkontenlänge, 4 to 8
    Chart chart = Chart::Skr03;

    std::map<TaxKey, qint64> revenueAccounts;
    std::map<TaxKey, qint64> skontoAccounts;  // granted cash discount
    qint64 bankAccount = 0;

    // The customer's debtor account is debtorBase + customer number and must lie in
    // [debtorMin, debtorMax]; with four-digit G/L accounts DATEV's debtors are the
    // five-digit accounts 10000 to 69999.
    qint64 debtorBase = 10000;
    qint64 debtorMin = 10000;
    qint64 debtorMax = 69999;

    // Written into the file's first line.
    QString description = QStringLiteral("Orvella Rechnungsausgang"); // at most 30 characters
    QString exportedBy;         // the user's name, at most 25 characters
    QString dictationInitials;  // Diktatkürzel, at most 2 characters

    // The usual accounts of the chart: 19 % and 7 % revenue, intra-community supply,
    // exempt revenue, Skonto for 19 % and 7 %, the bank. Consultant, client and
    // fiscal year are left for the user.
    static Settings presets(Chart chart);

    std::optional<qint64> revenueAccount(Amount rate, const QString &category) const;
    std::optional<qint64> skontoAccount(Amount rate, const QString &category) const;
    std::optional<qint64> debtorAccount(qint64 customerNumber) const;
};

// One VAT rate of a document with its gross amount. A credit note's amounts are
// given as printed, positive; a negative amount (a deduction on the invoice) is
// booked on the other side.
struct RateAmount
{
    Amount rate;
    QString category;
    Amount gross;
};

struct Document
{
    qint64 number = 0;
    QDate date;
    // The Leistungsdatum of the bookings is the service date, without one the end
    // of the service period, without both none. Either may be invalid.
    QDate serviceDate;
    QDate servicePeriodEnd;
    qint64 customerNumber = 0;
    QString customerName;
    QString customerVatId;
    bool creditNote = false;
    QList<RateAmount> rates;
};

struct Payment
{
    qint64 invoiceNumber = 0;
    QDate date;
    Amount paid;   // what came in; negative for money paid back
    Amount skonto; // Skonto the customer took, zero when none
    QList<RateAmount> invoiceRates; // the paid invoice's rates, to split the Skonto
    qint64 customerNumber = 0;
    QString customerName;
};

struct Period
{
    QDate from;
    QDate to;
};

enum class Kind { Invoice, CreditNote, Payment, Skonto };
enum class Side { Debit, Credit }; // "S" and "H", seen from Konto

// One line of the booking batch. The amount is always positive and rounded to the
// cent; the side says which way it goes.
struct Booking
{
    Kind kind = Kind::Invoice;
    Amount amount;
    Side side = Side::Debit;
    qint64 account = 0;       // Konto
    qint64 contraAccount = 0; // Gegenkonto
    QDate date;               // Belegdatum
    QString voucher;          // Belegfeld 1: the invoice's or credit note's number
    QString text;             // Buchungstext, at most 60 characters
    QString vatId;            // EU-Land u. UStID (Bestimmung), intra-community supply only
    QDate serviceDate;        // Leistungsdatum, may be invalid
    qint64 documentNumber = 0;
};

struct Bookings
{
    QList<Booking> bookings;
    QStringList problems; // German sentences; when not empty, bookings is empty
};

// The bookings of the documents and payments in a fixed order (date, then invoice,
// credit note, payment, then number), or every reason why they cannot be made.
// A document or payment dated outside the period is a problem as well.
Bookings buildBookings(const Settings &settings, const Period &period, const QList<Document> &documents,
                       const QList<Payment> &payments);

// The Skonto split over the rates in proportion to their gross amounts, in cents,
// adding up exactly to the Skonto: the rounding remainder goes to the share of the
// largest amount. Empty when the amounts add up to zero.
QList<Amount> splitByRates(Amount skonto, const QList<RateAmount> &rates);

struct ExportResult
{
    QByteArray bytes;     // the whole file, Windows-1252, CR LF
    QStringList problems; // when not empty, bytes is empty
    int bookingCount = 0; // bookings, or debtors of the master data
    bool ok() const { return problems.isEmpty(); }
};

// The booking batch file. created is written as the file's creation time, so the
// same input gives the same bytes.
ExportResult exportBookingBatch(const Settings &settings, const Period &period, const QDateTime &created,
                                const QList<Document> &documents, const QList<Payment> &payments);

// The file name DATEV expects, "EXTF_Buchungsstapel_20240101_20240131.csv".
QString bookingBatchFileName(const Period &period);

// A customer for the debtor master data, so the advisor's debtor accounts carry
// the names and addresses the bookings refer to.
struct Debtor
{
    qint64 customerNumber = 0; // the account follows from it as for the bookings
    QString name;
    QString street;
    QString postcode;
    QString city;
    QString country; // ISO code such as "DE", may be empty
    QString vatId;   // with its country prefix, "ATU12345678"
};

// The debtor master data file ("Debitoren/Kreditoren", EXTF), one line per
// customer in the order of the accounts, or every reason why it cannot be written.
ExportResult exportDebtors(const Settings &settings, const QDateTime &created, const QList<Debtor> &debtors);

// "EXTF_Debitoren.csv"
QString debtorFileName();

} // namespace Datev
