#pragma once

#include "ContactListStore.h"

#include <QAbstractTableModel>

// The contact list as the main window shows it: five visible columns and three
// hidden ones (number, address kind, street). It always has at least one row,
// an empty one when nothing was found.
class ContactListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Name, Second, Plz, Ort, Telefon, Id, Art, Strasse, ColumnCount };

    explicit ContactListModel(QObject *parent = nullptr);

    void setRows(const QList<ContactRow> &rows);
    void clear();
    // "Nachname / Branche" until the first choice, then "Branche" or "Nachname".
    void setSecondHeading(const QString &heading);

    const ContactRow &row(int r) const { return m_rows.at(r); }
    QString cell(int r, Column c) const;
    int dataRows() const { return int(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<ContactRow> m_rows;
    QString m_secondHeading = QStringLiteral("Nachname / Branche");
};
