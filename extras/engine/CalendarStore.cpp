#include "CalendarStore.h"

#include "Database.h"
#include "Formats.h"
#include "OpenItem.h"
#include "Payment.h"
#include "ReceivablesStore.h"
#include "ReceivedInvoiceStore.h"
#include "SqlQuery.h"
#include "TdmCommon.h"

#include <algorithm>

QString CalendarEntry::kindText() const
{
    if (kind == Kind::DunningLetter)
        return QStringLiteral("%1. Mahnung").arg(level);
    if (kind == Kind::ReceivedInvoice)
        return overdue ? QStringLiteral("überfällig zu zahlen") : QStringLiteral("zu zahlen");
    return overdue ? QStringLiteral("überfällig") : QStringLiteral("fällig");
}

QString CalendarEntry::text(const QString &currency) const
{
    const QString who = customer.isEmpty() ? QString() : QStringLiteral(" · ") + customer;
    if (kind == Kind::DunningLetter)
        return QStringLiteral("Mahnung %1 zur Rechnung %2%3").arg(PadNumber(letter), PadNumber(invoice), who);
    if (kind == Kind::ReceivedInvoice)
        return QStringLiteral("Eingangsrechnung %1%2 · %3").arg(filedNumber, who, PaymentRules::money(outstanding, currency));
    return QStringLiteral("Rechnung %1%2 · offen %3")
        .arg(PadNumber(invoice), who, PaymentRules::money(outstanding, currency));
}

CalendarStore::CalendarStore(Database &db, TdmCommon &numbers) : m_db(db), m_numbers(numbers) {}

QList<CalendarEntry> CalendarStore::entries(const QDate &from, const QDate &to, const QDate &today)
{
    QList<CalendarEntry> out;
    if (!from.isValid() || !to.isValid() || to < from)
        return out;
    const QString first = DateToStr(from), last = DateToStr(to);
    ReceivablesStore receivables(m_db, m_numbers);
    SqlQuery q(m_db);

    q.add(QStringLiteral("SELECT rechnungenop.RNR, rechnungenop.EDatum, rechnungenop.Name, rechnungenop.Gebucht, "
                         "rechnungenop.RBetrag, projekt.PrNr, projekt.KNr"));
    q.add(QStringLiteral("FROM rechnungenop LEFT JOIN rechnungen ON rechnungen.BelegNr=rechnungenop.RNR "
                         "LEFT JOIN projekt ON projekt.PrNr=rechnungen.ProjektNr"));
    q.add(QStringLiteral("WHERE rechnungenop.Gebucht='N' AND rechnungenop.EDatum >= '%1' AND rechnungenop.EDatum <= '%2'")
              .arg(first, last));
    q.add(QStringLiteral("ORDER BY rechnungenop.EDatum, rechnungenop.RNR"));
    for (q.open(); !q.eof(); q.next()) {
        CalendarEntry e;
        e.invoice = q.fieldInt(QStringLiteral("RNR"));
        e.date = QDate::fromString(q.field(QStringLiteral("EDatum")), QStringLiteral("dd.MM.yyyy"));
        e.customer = q.field(QStringLiteral("Name"));
        e.project = q.fieldInt(QStringLiteral("PrNr"));
        e.customerNumber = q.fieldInt(QStringLiteral("KNr"));
        OpenItemRow row;
        row.booked = q.field(QStringLiteral("Gebucht"));
        row.due = e.date;
        e.overdue = OpenItemRules::isOverdue(row, today);
        out << e;
    }
    // What is owed is worked out as the open-items window does, from the invoice
    // amount, its credit notes and its postings.
    for (CalendarEntry &e : out) {
        const PanelAmounts amounts = PaymentRules::panelAmounts(receivables.figures(e.invoice), false);
        e.outstanding = amounts.shown ? amounts.outstanding : amounts.invoice;
    }

    q.clear();
    q.add(QStringLiteral("SELECT mahnungen.BelegNr, mahnungen.RNr, mahnungen.MNr, mahnungen.Datum, projekt.PrNr, "
                         "projekt.KNr, rechnungenop.Name"));
    q.add(QStringLiteral("FROM mahnungen LEFT JOIN projekt ON projekt.PrNr=mahnungen.ProjektNr "
                         "LEFT JOIN rechnungenop ON rechnungenop.RNR=mahnungen.RNr"));
    q.add(QStringLiteral("WHERE mahnungen.Datum >= '%1' AND mahnungen.Datum <= '%2'").arg(first, last));
    q.add(QStringLiteral("ORDER BY mahnungen.Datum, mahnungen.BelegNr"));
    for (q.open(); !q.eof(); q.next()) {
        CalendarEntry e;
        e.kind = CalendarEntry::Kind::DunningLetter;
        e.letter = q.fieldInt(QStringLiteral("BelegNr"));
        e.invoice = q.fieldInt(QStringLiteral("RNr"));
        e.level = int(q.fieldInt(QStringLiteral("MNr")));
        e.date = QDate::fromString(q.field(QStringLiteral("Datum")), QStringLiteral("dd.MM.yyyy"));
        e.customer = q.field(QStringLiteral("Name"));
        e.project = q.fieldInt(QStringLiteral("PrNr"));
        e.customerNumber = q.fieldInt(QStringLiteral("KNr"));
        out << e;
    }
    for (const FiledInvoice &f : ReceivedInvoiceStore(m_db, m_numbers).dueBetween(from, to)) {
        CalendarEntry e;
        e.kind = CalendarEntry::Kind::ReceivedInvoice;
        e.date = f.due;
        e.filed = f.id;
        e.filedNumber = f.number;
        e.customer = f.supplier;
        e.outstanding = f.creditNote ? -f.gross : f.gross;
        e.overdue = f.due <= today;
        e.customerNumber = f.contact;
        out << e;
    }
    // One list by date; on the same day the due invoices come first.
    std::stable_sort(out.begin(), out.end(), [](const CalendarEntry &a, const CalendarEntry &b) {
        return a.date != b.date ? a.date < b.date : a.kind < b.kind;
    });
    return out;
}

bool CalendarStore::isCompany(qint64 customerNumber)
{
    return m_numbers.GetContactTable(customerNumber) == QLatin1String("firma");
}

QList<CalendarEntry> CalendarStore::onDay(const QList<CalendarEntry> &entries, const QDate &day)
{
    QList<CalendarEntry> out;
    for (const CalendarEntry &e : entries)
        if (e.date == day)
            out << e;
    return out;
}
