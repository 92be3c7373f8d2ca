#pragma once

#include "OpenItem.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <functional>

// The list of the open-items window: eight visible columns, the other values of
// each row (booking state, project, Skonto, ...) travel with the
// row. Rows are coloured by their state. A long list is read a page at a time, as
// the view scrolls down to it.
class OpenItemsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { KNr, RNr, Datum, Ziel, EDatum, Stufe, Betrag, Name, ColumnCount };

    explicit OpenItemsModel(QObject *parent = nullptr);

    // Reads the page that follows the row given (the first page for none); a page
    // shorter than asked for ends the list.
    using Fetcher = std::function<QList<OpenItemRow>(const OpenItemRow *after, int limit)>;
    static constexpr int FirstPage = 100;
    static constexpr int Page = 500;

    void setRows(QList<OpenItemRow> rows);
    // Starts the list anew from the fetcher with its first page.
    void setSource(Fetcher fetcher);
    // Reads pages until the list has more than row rows, or the invoice, or its end.
    void fetchUntilRow(int row);
    void fetchUntilInvoice(qint64 invoice);
    void fetchAll();
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;
    const QList<OpenItemRow> &rows() const { return m_rows; }
    const OpenItemRow *row(int index) const;
    // The row of an invoice, or -1.
    int rowOf(qint64 invoice) const;
    // The day against which due dates count; today unless a test sets another.
    void setToday(const QDate &today) { m_today = today; }

    // The cell as the list shows it, without the blanks it is drawn with.
    static QString cellText(const OpenItemRow &row, int column);
    static QString heading(int column);
    static int width(int column);
    static Qt::Alignment alignment(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void append(int limit);

    QList<OpenItemRow> m_rows;
    Fetcher m_fetcher;
    bool m_more = false;
    QDate m_today = QDate::currentDate();
};
