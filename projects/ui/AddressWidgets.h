#pragma once

#include "ProjectStore.h"

#include <QGroupBox>
#include <QTreeWidget>

class QLineEdit;

// A group of the fields "Bezeichnung", "Straße", "PLZ / Ort" and "Land".
class ProjectAddressGroup : public QGroupBox
{
    Q_OBJECT
public:
    ProjectAddressGroup(const QString &title, const QString &objectPrefix, QWidget *parent = nullptr);
    AddressFields value() const;
    void setValue(const AddressFields &a);
    void clear() { setValue({}); }
    void setReadOnly(bool readOnly);

    QLineEdit *edtBez, *edtStrasse, *edtPlz, *edtOrt, *edtLand;

Q_SIGNALS:
    void edited();
};

// A list of a contact's addresses: "Bezeichnung", "Straße", "Ort" and the hidden
// address number; whole rows are picked.
class ProjectAddressList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit ProjectAddressList(QWidget *parent = nullptr);
    void setRows(const QList<AddressListRow> &rows);
    // The address number of a row, 0 for the empty row.
    qint64 idaOf(QTreeWidgetItem *item) const;

Q_SIGNALS:
    void picked(qint64 ida);
};
