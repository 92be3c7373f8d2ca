#pragma once

#include "ContactTypes.h"

#include <QGroupBox>

class GridModel;
class GridView;
class QComboBox;
class QLineEdit;
class QPushButton;

// The group "Adressen" of one editor tab: the main address in single fields and
// a grid of further addresses. The address number of the main address is kept
// out of sight, as the grid keeps those of the further ones.
class AddressGroup : public QGroupBox
{
    Q_OBJECT
public:
    // prefix ("Company", "Person") makes the object names unique per tab.
    explicit AddressGroup(const QString &prefix, QWidget *parent = nullptr);

    AddressRow mainAddress() const;
    QList<AddressRow> furtherAddresses() const;
    // Shows a contact's addresses; empty rows stay below for new entries.
    void showAddresses(const AddressRow &main, const QList<AddressRow> &further);
    void clear();
    void setCountries(const QStringList &countries);
    void setEditable(bool editable);
    // "Hauptadresse tauschen": the main fields change places with the visible
    // cells of the current grid row; the address numbers stay where they are.
    void swapMainAddress();

    GridView *grid() const { return m_grid; }
    GridModel *model() const { return m_model; }
    QLineEdit *edtKind() const { return m_kind; }
    QLineEdit *edtStreet() const { return m_street; }
    QLineEdit *edtPostcode() const { return m_postcode; }
    QLineEdit *edtTown() const { return m_town; }
    QComboBox *cboCountry() const { return m_country; }
    QPushButton *btnSwap() const { return m_swap; }

Q_SIGNALS:
    // The user changed an address.
    void changed();

private:
    void afterEdit(int row);

    QLineEdit *m_kind;
    QLineEdit *m_street;
    QLineEdit *m_postcode;
    QLineEdit *m_town;
    QComboBox *m_country;
    QString m_mainIda;
    GridModel *m_model;
    GridView *m_grid;
    QPushButton *m_swap;
    bool m_editable = false;
};
