#pragma once

#include "ArticleStore.h"

#include <QAbstractTableModel>

// The result list of the catalogue search. The key columns follow the five
// visible ones and are hidden by the view.
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

    void setRows(QList<ArticleRow> rows);
    const QList<ArticleRow> &rows() const { return m_rows; }
    const ArticleRow &row(int row) const { return m_rows.at(row); }

private:
    QList<ArticleRow> m_rows;
};
