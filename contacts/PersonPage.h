#pragma once

#include "ContactTypes.h"

#include <QWidget>

class AddressGroup;
class CommunicationGroup;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// The tab "Person" of the contact editor: the person's fields, addresses and
// communication entries and the panel of the company the person belongs to.
// It shows and returns values; the editor runs the commands.
class PersonPage : public QWidget
{
    Q_OBJECT
public:
    explicit PersonPage(QWidget *parent = nullptr);

    // The person as typed (IDN stays 0: the editor owns the number); the
    // position comes from the company panel.
    PersonRecord record() const;
    void showRecord(const PersonRecord &person);
    // Empties every field, grid and the company panel.
    void clear();
    void setNumber(qint64 number);

    void setEditable(bool editable, bool canSave);
    // "Position:" can only be typed while the person belongs to a company.
    void setPositionEditable(bool editable);
    void setCategories(const QStringList &categories);
    void setCountries(const QStringList &countries);

    void showLinkedCompany(const LinkedCompany &company);
    void clearLinkedCompany();

    // The salutation line that "Standard" offers for a form of address and last name.
    static QString standardSalutation(const QString &anrede, const QString &nname);

    QLineEdit *edtNumber, *edtAnrede, *edtTitle, *edtFirstName, *edtLastName, *edtPhone, *edtTerms, *edtSalutation;
    QComboBox *cboCategory;
    QPlainTextEdit *memNote;
    QCheckBox *chkDeactivated;
    AddressGroup *addresses;
    CommunicationGroup *communications;
    QLineEdit *edtCompanyName, *edtCompanyBranche, *edtPosition, *edtCompanyPhone, *edtCompanyNumber,
        *edtCompanyStreet, *edtCompanyPostcode, *edtCompanyTown;
    QPlainTextEdit *memCompanyNote;
    QPushButton *btnLinkCompany, *btnUnlink;
    QPushButton *btnNew, *btnEdit, *btnSave, *btnOk, *btnClose;
    QMenu *mnuSalutation;
    QAction *actStandard;

Q_SIGNALS:
    void changed();

private:
    QWidget *buildHead();
    QWidget *buildCompany();
    QWidget *buildButtons();

    int m_filling = 0;
};
