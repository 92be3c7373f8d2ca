#pragma once

#include "ContactPage.h"

class GridModel;
class GridView;

// The tab "Firma" of the contact editor: the company's fields, addresses and
// communication entries, its persons and the panel of the selected person.
// It shows and returns values; the editor runs the commands.
class CompanyPage : public ContactPage
{
    Q_OBJECT
public:
    explicit CompanyPage(QWidget *parent = nullptr);

    // The company as typed (IDF stays 0: the editor owns the number).
    CompanyRecord record() const;
    void showRecord(const CompanyRecord &company);
    // Empties every field, grid, the person list and the person panel.
    void clear();
    QString name() const;

    // The person list keeps at least one (empty) row.
    void setPersons(const QList<AssignedPerson> &persons);
    // Puts one person into the first row ("Anrede/Titel" as given).
    void putFirstPerson(const QString &anredeTitel, const QString &vname, const QString &nname, qint64 IDN);
    int personRowCount() const;
    qint64 personAt(int row) const;
    QString personCell(int row, int column) const;
    int selectedPersonRow() const;
    void selectPersonRow(int row);
    void showPersonDetails(const PersonDetails &details);
    PersonDetails personDetails() const;
    void clearPersonDetails();

    // The pop-up texts of "Serienbriefanrede".
    static QStringList salutations();

    QLineEdit *edtName, *edtBranche;
    GridModel *personModel;
    GridView *personList;
    QLineEdit *edtContactPosition, *edtContactPhone, *edtContactNumber, *edtContactStreet, *edtContactPostcode,
        *edtContactTown;
    QPlainTextEdit *memContactNote;
    QPushButton *btnLinkPerson, *btnUnlink;

Q_SIGNALS:
    void personClicked(int row);
    void personDoubleClicked(int row);

protected:
    void addOwnHeadRows(QWidget *head, QGridLayout *g) override;
    QWidget *buildPanel() override;
    QList<QLineEdit *> ownFields() const override;
};
