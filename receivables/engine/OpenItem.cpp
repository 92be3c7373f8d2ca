#include "OpenItem.h"

#include "Formats.h"

namespace OpenItemRules {

QString filterCaption(OpenItemFilter filter)
{
    switch (filter) {
    case OpenItemFilter::Overdue: return QStringLiteral("überfällige Rechnungen");
    case OpenItemFilter::Remainder: return QStringLiteral("Rechnungen mit Restbetrag");
    case OpenItemFilter::Unpaid: return QStringLiteral("unbezahlte Rechnungen");
    case OpenItemFilter::Settled: return QStringLiteral("beglichene Rechnungen");
    case OpenItemFilter::All: return QStringLiteral("alle Rechnungen");
    }
    return {};
}

QColor filterColour(OpenItemFilter filter)
{
    switch (filter) {
    case OpenItemFilter::Overdue: return QColor(Qt::red);
    case OpenItemFilter::Remainder: return Orange;
    case OpenItemFilter::Unpaid: return QColor(Qt::black);
    case OpenItemFilter::Settled: return Green;
    case OpenItemFilter::All: return {};
    }
    return {};
}

OpenItemFilter nextFilter(OpenItemFilter filter)
{
    return OpenItemFilter((int(filter) + 1) % FilterCount);
}

QString filterCondition(OpenItemFilter filter, const QDate &today)
{
    switch (filter) {
    case OpenItemFilter::Overdue:
        return QStringLiteral("AND rechnungenop.EDatum <= '%1' AND rechnungenop.Gebucht='N'").arg(DateToStr(today));
    case OpenItemFilter::Remainder: return QStringLiteral("AND rechnungenop.RBetrag > '0'");
    case OpenItemFilter::Unpaid: return QStringLiteral("AND rechnungenop.Gebucht='N'");
    case OpenItemFilter::Settled: return QStringLiteral("AND rechnungenop.Gebucht='J' AND rechnungenop.RBetrag<='0'");
    case OpenItemFilter::All: return {};
    }
    return {};
}

bool inFilter(OpenItemFilter filter, const OpenItemRow &row, const QDate &today)
{
    switch (filter) {
    case OpenItemFilter::Overdue: return isOverdue(row, today);
    case OpenItemFilter::Remainder: return row.remaining > Amount();
    case OpenItemFilter::Unpaid: return isUnsettled(row);
    case OpenItemFilter::Settled: return isSettled(row);
    case OpenItemFilter::All: return true;
    }
    return false;
}

bool isUnsettled(const OpenItemRow &row)
{
    return row.booked == QLatin1String("N");
}

bool isPartPaid(const OpenItemRow &row)
{
    return isUnsettled(row) && row.remaining > Amount();
}

bool isOverdue(const OpenItemRow &row, const QDate &today)
{
    return isUnsettled(row) && row.due.isValid() && row.due <= today;
}

bool isSettled(const OpenItemRow &row)
{
    return row.booked == QLatin1String("J") && row.remaining <= Amount();
}

bool isOverpaid(const OpenItemRow &row)
{
    return isSettled(row) && row.remaining < Amount();
}

RowLook rowLook(const OpenItemRow &row, const QDate &today)
{
    if (!row.due.isValid())
        return {};
    if (isPartPaid(row))
        return {Orange, today < row.due ? MoneyGreen : QColor()};
    if (isOverdue(row, today))
        return {QColor(Qt::red), {}};
    if (isSettled(row))
        return {Green, isOverpaid(row) ? QColor(Qt::yellow) : QColor()};
    return {};
}

bool mayDun(const OpenItemRow &row, const QDate &today, bool permitted)
{
    return permitted && row.due.isValid() && today >= row.due && (isUnsettled(row) || row.remaining > Amount());
}

} // namespace OpenItemRules
