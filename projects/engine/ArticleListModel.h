#pragma once

#include "ArticleStore.h"

#include <QAbstractTableModel>
#include <functional>

class Dialogs;

// The result list of the catalogue search. The key columns follow the five
// visible ones and are hidden by the view.
//
// A search reads one page of rows; the view asks for the next page when the
// user scrolls to the end (canFetchMore/fetchMore), so a search in a large
// catalogue costs the first page, not the whole result.
class ArticleListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Bezeichnung, ArtNr, Gruppe, Preis, MwSt, Id, Ida, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int PageSize = 256;
    // Reads the page of rows after a key (0: from the start), at most limit rows.
    using Fetch = std::function<QList<ArticleRow>(qint64 afterId, int limit)>;

    // Starts a new result: the first page is read at once. A failing read is
    // shown through dialogs and ends the result there.
    void setSearch(Dialogs &dialogs, Fetch fetch);
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

    const QList<ArticleRow> &rows() const { return m_rows; }
    const ArticleRow &row(int row) const { return m_rows.at(row); }

private:
    QList<ArticleRow> readPage();

    QList<ArticleRow> m_rows;
    Fetch m_fetch;
    Dialogs *m_dialogs = nullptr;
    bool m_complete = true;
};
