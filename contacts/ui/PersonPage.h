#pragma once

#include "ContactPage.h"

// The tab "Person" of the contact editor: the person's fields, addresses and
// communication entries and the panel of the company the person belongs to.
// It shows and returns values; the editor runs the commands.
class PersonPage : public ContactPage
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

    // "Position:" can only be typed while the person belongs to a company.
    void setPositionEditable(bool editable);

    void showLinkedCompany(const LinkedCompany &company);
    void clearLinkedCompany();

    // The salutation line that "Standard" offers for a form of address and last name.
    static QString standardSalutation(const QString &anrede, const QString &nname);

    QLineEdit *edtAnrede, *edtTitle, *edtFirstName, *edtLastName;
    QLineEdit *edtCompanyName, *edtCompanyBranche, *edtPosition, *edtCompanyPhone, *edtCompanyNumber,
        *edtCompanyStreet, *edtCompanyPostcode, *edtCompanyTown;
    QPlainTextEdit *memCompanyNote;
    QPushButton *btnLinkCompany, *btnUnlink;
    QAction *actStandard;

protected:
    void addOwnHeadRows(QWidget *head, QGridLayout *g) override;
    QWidget *buildPanel() override;
    QList<QLineEdit *> ownFields() const override;
};
