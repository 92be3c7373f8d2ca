#include "ArticleListModel.h"

int ArticleListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ArticleListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ArticleListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ArticleRow &r = m_rows.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return index.column() == Preis ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Bezeichnung: return r.name;
    case ArtNr: return r.number;
    case Gruppe: return r.group;
    // The price keeps a blank to the right, away from the grid line.
    case Preis: return role == Qt::DisplayRole && !r.price.isEmpty() ? r.price + QLatin1Char(' ') : r.price;
    case MwSt: return r.vat;
    case Id: return r.id;
    case Ida: return r.ida;
    }
    return {};
}

QVariant ArticleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole && section == Preis)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Bezeichnung: return QStringLiteral("Bezeichnung");
    case ArtNr: return QStringLiteral("Art. Nr.");
    case Gruppe: return QStringLiteral("Gruppe");
    case Preis: return QStringLiteral("Preis");
    case MwSt: return QStringLiteral("MwSt");
    case Id: return QStringLiteral("ID");
    case Ida: return QStringLiteral("IDA");
    }
    return {};
}

void ArticleListModel::setRows(QList<ArticleRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}
