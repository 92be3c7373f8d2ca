#include "PaymentHistoryModel.h"

#include <QColor>

using namespace ExtendedRules;

PaymentHistoryModel::PaymentHistoryModel(QObject *parent) : QAbstractTableModel(parent) {}

void PaymentHistoryModel::setRows(const QList<PaymentRow> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void PaymentHistoryModel::setToday(const QDate &today)
{
    beginResetModel();
    m_today = today;
    endResetModel();
}

int PaymentHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PaymentHistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PhColumnCount;
}

QString PaymentHistoryModel::cellText(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const PaymentRow &r = m_rows[row];
    switch (column) {
    case PhStufe:
        return r.mStufe;
    case PhDatum:
        return r.datum;
    case PhZiel:
        return r.zZiel;
    case PhFaellig:
        return r.eDatum;
    case PhBetrag: {
        // an amount reads back as "1234,5"; the list shows it as money is shown
        const std::optional<Amount> a = Amount::tryFromText(r.betrag);
        return a && !r.betrag.isEmpty() ? a->toText() : r.betrag;
    }
    case PhGebucht:
        return r.gebucht;
    case PhRBetrag:
        return r.rBetrag;
    default:
        return {};
    }
}

QVariant PaymentHistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        // one blank on either side keeps the narrow columns readable
        return QLatin1Char(' ') + cellText(index.row(), index.column()) + QLatin1Char(' ');
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter
                                   | (index.column() == PhDatum ? Qt::AlignLeft : Qt::AlignRight));
    case Qt::ForegroundRole:
        return paymentRowLook(m_rows[index.row()], m_today).text;
    case Qt::BackgroundRole:
        return paymentRowLook(m_rows[index.row()], m_today).background;
    default:
        return {};
    }
}

QVariant PaymentHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    static const QStringList headings = {QStringLiteral("MS"),     QStringLiteral("Datum ->"),
                                         QStringLiteral("Ziel"),   QStringLiteral("<- Datum"),
                                         QStringLiteral("Betrag"), QStringLiteral("Gebucht"),
                                         QStringLiteral("RBetrag")};
    if (role == Qt::DisplayRole)
        return headings.value(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter
                                   | (section == PhBetrag  ? Qt::AlignHCenter
                                      : section == PhDatum ? Qt::AlignLeft
                                                           : Qt::AlignRight));
    return {};
}
