#pragma once

#include "OpenItem.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>

// The list of the open-items window: seven visible columns, the other values of
// each row (invoice number, booking state, project, Skonto, ...) travel with the
// row. Rows are coloured by their state.
class OpenItemsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { KNr, Datum, Ziel, EDatum, Stufe, Betrag, Name, ColumnCount };

    explicit OpenItemsModel(QObject *parent = nullptr);

    void setRows(QList<OpenItemRow> rows);
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
    QList<OpenItemRow> m_rows;
    QDate m_today = QDate::currentDate();
};
