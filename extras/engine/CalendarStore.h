#pragma once

#include "Amount.h"

#include <QDate>
#include <QList>
#include <QString>

class Database;
class TdmCommon;

// One entry of the calendar's overviews: the due date of an invoice still open,
// a stored dunning letter on its date, or the due date of a filed supplier
// invoice still to be paid. Read-only; the first two lead to their project, the
// last to the supplier's invoice.
struct CalendarEntry
{
    enum class Kind { DueInvoice, DunningLetter, ReceivedInvoice };

    Kind kind = Kind::DueInvoice;
    QDate date;
    qint64 invoice = 0;   // the invoice that is due, or that the letter dunned
    qint64 letter = 0;    // dunning letter number
    int level = 0;        // dunning level of the letter
    QString customer;     // name on the invoice's open item
    Amount outstanding;   // what is still owed on a due invoice
    bool overdue = false; // due today or earlier and still open
    qint64 project = 0;   // 0 when the project is gone
    qint64 customerNumber = 0;
    qint64 filed = 0;        // the filed supplier invoice (eingangsrechnungen.ID)
    QString filedNumber;     // its number as the supplier wrote it

    // "überfällig", "fällig", "2. Mahnung" or, for a supplier's invoice, "zu zahlen"
    QString kindText() const;
    // "Rechnung 000123 · Muster GmbH · offen 1.234,56 €",
    // "Mahnung 000007 zur Rechnung 000123 · Muster GmbH",
    // "Eingangsrechnung RE-4711 · Lieferant GmbH · 1.234,56 €"
    QString text(const QString &currency) const;
};

// Reads the calendar's entries: the open items (Gebucht 'N') due in a range of
// days, with what is still owed after credit notes and postings, the dunning
// letters dated in that range and the open supplier invoices due in it; by date,
// due invoices before letters, supplier invoices last.
class CalendarStore
{
public:
    CalendarStore(Database &db, TdmCommon &numbers);

    QList<CalendarEntry> entries(const QDate &from, const QDate &to, const QDate &today);
    // Whether the customer of an entry is a company, for opening its project.
    bool isCompany(qint64 customerNumber);

    // The entries of one day, in their order.
    static QList<CalendarEntry> onDay(const QList<CalendarEntry> &entries, const QDate &day);

private:
    Database &m_db;
    TdmCommon &m_numbers;
};
