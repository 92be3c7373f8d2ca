#include "OpenItemsModel.h"

#include "Formats.h"

#include <QBrush>

OpenItemsModel::OpenItemsModel(QObject *parent) : QAbstractTableModel(parent) {}

void OpenItemsModel::setRows(QList<OpenItemRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_fetcher = {};
    m_more = false;
    endResetModel();
}

void OpenItemsModel::setSource(Fetcher fetcher)
{
    QList<OpenItemRow> first = fetcher(nullptr, FirstPage);
    beginResetModel();
    m_more = first.size() >= FirstPage;
    m_rows = std::move(first);
    m_fetcher = std::move(fetcher);
    endResetModel();
}

void OpenItemsModel::append(int limit)
{
    if (!m_more || !m_fetcher)
        return;
    QList<OpenItemRow> page = m_fetcher(m_rows.isEmpty() ? nullptr : &m_rows.last(), limit);
    m_more = limit > 0 && page.size() >= limit;
    if (page.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + page.size() - 1));
    m_rows.append(std::move(page));
    endInsertRows();
}

bool OpenItemsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void OpenItemsModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        append(Page);
}

void OpenItemsModel::fetchUntilRow(int row)
{
    while (m_more && m_rows.size() <= row)
        append(Page);
}

void OpenItemsModel::fetchUntilInvoice(qint64 invoice)
{
    while (m_more && rowOf(invoice) < 0)
        append(Page);
}

void OpenItemsModel::fetchAll()
{
    append(0);
}

const OpenItemRow *OpenItemsModel::row(int index) const
{
    return index >= 0 && index < m_rows.size() ? &m_rows[index] : nullptr;
}

int OpenItemsModel::rowOf(qint64 invoice) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].invoice == invoice)
            return i;
    return -1;
}

QString OpenItemsModel::cellText(const OpenItemRow &r, int column)
{
    switch (column) {
    case KNr: return QLatin1Char(' ') + PadNumber(r.customer);
    case RNr: return QLatin1Char(' ') + PadNumber(r.invoice);
    case Datum: return r.date;
    case Ziel: return r.term;
    case EDatum: return r.dueDate;
    case Stufe: return r.level;
    case Betrag: return r.amountText.isEmpty() ? MoneyText(QString()) : r.amount.toText() + QStringLiteral(" €");
    case Name: return r.name;
    default: return {};
    }
}

QString OpenItemsModel::heading(int column)
{
    static const char *const headings[] = {"K-Nr.", "Rechnungs-Nr.", "Datum ->", "Ziel", "<- Datum", "St.", "Betrag", "Firma/Name"};
    return column >= 0 && column < ColumnCount ? QString::fromUtf8(headings[column]) : QString();
}

int OpenItemsModel::width(int column)
{
    static const int widths[] = {50, 80, 60, 22, 60, 18, 75, 200};
    return column >= 0 && column < ColumnCount ? widths[column] : 0;
}

Qt::Alignment OpenItemsModel::alignment(int column)
{
    const bool right = column == Ziel || column == EDatum || column == Stufe || column == Betrag;
    return Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft);
}

int OpenItemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int OpenItemsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OpenItemsModel::data(const QModelIndex &index, int role) const
{
    const OpenItemRow *r = row(index.row());
    if (!r)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        // every cell is drawn with one blank before and after its text
        return QLatin1Char(' ') + cellText(*r, index.column()) + QLatin1Char(' ');
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(index.column()));
    case Qt::ForegroundRole: {
        const QColor c = OpenItemRules::rowLook(*r, m_today).text;
        return c.isValid() ? QVariant(QBrush(c)) : QVariant();
    }
    case Qt::BackgroundRole: {
        const QColor c = OpenItemRules::rowLook(*r, m_today).background;
        return c.isValid() ? QVariant(QBrush(c)) : QVariant();
    }
    default:
        return {};
    }
}

QVariant OpenItemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return heading(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(section));
    return {};
}
