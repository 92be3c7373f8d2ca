#pragma once

#include "OpenItem.h"
#include "Payment.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class Database;
class TdmCommon;

// The statements of the open-items window: the list, the contact panel, the
// money of one invoice, its postings, and the booking. A booking is one
// transaction: the open item and its posting are written together or not at all.
class ReceivablesStore
{
public:
    enum class SearchKind { Customer, Invoice };

    struct ContactPerson
    {
        QString position;
        QString name;
        qint64 idn = 0;
    };
    // The panel " Firmendaten / Personendaten" from the customer's main address.
    struct ContactPanel
    {
        bool company = false;
        QString name, phone, contactPhone, street, postcode, town;
        QList<ContactPerson> persons;
    };

    ReceivablesStore(Database &db, TdmCommon &numbers);

    // The invoices of the filter, latest due date first (the higher invoice number
    // first on the same day). search is the typed customer or invoice number
    // (digits; empty for no search). Invoices without a Skonto row or without a
    // project are not listed. A page of at most limit rows (0: all) that follows the
    // row after in this order, or starts at the top. Throws ConversionError for a
    // search text that is not a number.
    QList<OpenItemRow> loadList(OpenItemFilter filter, SearchKind kind, const QString &search, const QDate &today,
                                const OpenItemRow *after = nullptr, int limit = 0);

    ContactPanel loadContact(qint64 customer);
    QString personPhone(qint64 idn);

    InvoiceFigures figures(qint64 invoice);
    bool hasPostings(qint64 invoice);
    // The postings of an invoice in date order.
    QList<Posting> postings(qint64 invoice);
    // rechnungenextra: the Skonto text and percentage of an invoice.
    QPair<QString, QString> skontoText(qint64 invoice);
    // The last day the invoice's Skonto may be taken: its date plus the period its
    // Skonto text names (else the customer's Skonto days). No value without one.
    std::optional<QDate> skontoDeadline(qint64 invoice);

    // Writes the booking: the open item's remaining amount, booking date, state and
    // Skonto mark, and the posting with its Skonto mark, in one transaction; the
    // invoice counts as issued from then on. seen are the figures the
    // booking was computed from; when another workstation has booked or changed the
    // invoice since, nothing is written and OrvellaError says so.
    void book(qint64 invoice, const InvoiceFigures &seen, const PaymentRules::Booking &booking, const QDate &date);

    // What each listed invoice still owes, for the printed list and the CSV file:
    // the remaining amount of a settled item (negative when overpaid), else the
    // invoice amount less credit notes and postings.
    QList<Amount> outstandingAmounts(const QList<OpenItemRow> &rows);

private:
    Database &m_db;
    TdmCommon &m_numbers;
};
