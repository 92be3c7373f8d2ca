#pragma once

#include "ExtendedData.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>

// Columns of the payment history; the last two are hidden and carry what the
// colours are decided by.
enum PaymentHistoryColumn { PhStufe, PhDatum, PhZiel, PhFaellig, PhBetrag, PhGebucht, PhRBetrag, PhColumnCount };

// The payment history ("Zahlungsmoral") of a contact, read-only: one row per
// invoice with its dunning stage, invoice date, payment period, due date and
// amount, coloured by whether it is settled, open or overdue.
class PaymentHistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PaymentHistoryModel(QObject *parent = nullptr);

    void setRows(const QList<ExtendedRules::PaymentRow> &rows);
    const QList<ExtendedRules::PaymentRow> &rows() const { return m_rows; }
    // The day against which due dates count; today unless a test sets another.
    void setToday(const QDate &today);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text of a cell without the blanks it is drawn with.
    QString cellText(int row, int column) const;

private:
    QList<ExtendedRules::PaymentRow> m_rows;
    QDate m_today = QDate::currentDate();
};
