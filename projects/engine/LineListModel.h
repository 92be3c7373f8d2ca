#pragma once

#include "LineList.h"
#include "TotalsList.h"

#include <QAbstractTableModel>

// Shows the lines of a document: the visible columns position, article number,
// name, quantity, unit price, amount and VAT; the headings of the list are the
// model's headings. The model reads the list it is given and copies nothing.
class LineListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int VisibleColumns = LineList::Rabatt; // Pos .. MwSt

    explicit LineListModel(const LineList *lines, QObject *parent = nullptr);
    void setLines(const LineList *lines);
    // Call after the list changed.
    void refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const LineList *m_lines;
};

// Shows the totals under the line list: net value, VAT lines and gross amount.
class TotalsListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TotalsListModel(const TotalsList *totals, QObject *parent = nullptr);
    void setTotals(const TotalsList *totals);
    void refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TotalsList *m_totals;
};
