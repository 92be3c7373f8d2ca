#include "LineListModel.h"

#include <QFont>

LineListModel::LineListModel(const LineList *lines, QObject *parent) : QAbstractTableModel(parent), m_lines(lines) {}

void LineListModel::setLines(const LineList *lines)
{
    beginResetModel();
    m_lines = lines;
    endResetModel();
}

void LineListModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int LineListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_lines ? 0 : m_lines->lineCount();
}

int LineListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : VisibleColumns;
}

QVariant LineListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_lines)
        return {};
    const int row = index.row() + 1;
    const auto column = LineList::Column(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return m_lines->cell(row, column);
    case Qt::TextAlignmentRole:
        if (column == LineList::Anzahl || column == LineList::Einzelpreis || column == LineList::Betrag
            || column == LineList::MwSt || column == LineList::Pos)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (m_lines->isDiscountLine(row)) {
            QFont f;
            f.setItalic(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

QVariant LineListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && m_lines)
        return m_lines->cell(0, LineList::Column(section));
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return int((section >= LineList::Anzahl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

TotalsListModel::TotalsListModel(const TotalsList *totals, QObject *parent)
    : QAbstractTableModel(parent), m_totals(totals)
{
}

void TotalsListModel::setTotals(const TotalsList *totals)
{
    beginResetModel();
    m_totals = totals;
    endResetModel();
}

void TotalsListModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int TotalsListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_totals ? 0 : m_totals->rowCount() - 1;
}

int TotalsListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TotalsList::ColumnCount;
}

QVariant TotalsListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_totals)
        return {};
    if (role == Qt::DisplayRole)
        return m_totals->cell(index.row() + 1, TotalsList::Column(index.column()));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::FontRole && index.column() == TotalsList::Brutto) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}

QVariant TotalsListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && m_totals)
        return m_totals->cell(0, TotalsList::Column(section));
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}
