#include "ArticleListModel.h"

#include "CommandGuard.h"

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

QList<ArticleRow> ArticleListModel::readPage()
{
    QList<ArticleRow> page;
    const qint64 after = m_rows.isEmpty() ? 0 : m_rows.last().id.toLongLong();
    // The view calls fetchMore from its own event handling: an error must end
    // here, never travel through the event loop.
    if (!m_fetch || !RunCommand(*m_dialogs, [&] { page = m_fetch(after, PageSize); }))
        m_complete = true;
    else
        m_complete = page.size() < PageSize;
    return page;
}

void ArticleListModel::setSearch(Dialogs &dialogs, Fetch fetch)
{
    beginResetModel();
    m_dialogs = &dialogs;
    m_fetch = std::move(fetch);
    m_rows.clear();
    m_complete = false;
    m_rows = readPage();
    endResetModel();
}

bool ArticleListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_complete;
}

void ArticleListModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_complete)
        return;
    const QList<ArticleRow> page = readPage();
    if (page.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + page.size()) - 1);
    m_rows.append(page);
    endInsertRows();
}
