#pragma once

#include "ContactTypes.h"

#include <QWidget>

class AddressGroup;
class CommunicationGroup;
class GridModel;
class GridView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// The tab "Firma" of the contact editor: the company's fields, addresses and
// communication entries, its persons and the panel of the selected person.
// It shows and returns values; the editor runs the commands.
class CompanyPage : public QWidget
{
    Q_OBJECT
public:
    explicit CompanyPage(QWidget *parent = nullptr);

    // The company as typed (IDF stays 0: the editor owns the number).
    CompanyRecord record() const;
    void showRecord(const CompanyRecord &company);
    // Empties every field, grid, the person list and the person panel.
    void clear();
    // "Kd.-Nr."; a number below 1 shows nothing.
    void setNumber(qint64 number);
    QString name() const;

    void setEditable(bool editable, bool canSave);
    void setCategories(const QStringList &categories);
    void setCountries(const QStringList &countries);

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

    QLineEdit *edtNumber, *edtName, *edtBranche, *edtPhone, *edtTerms, *edtSalutation;
    QComboBox *cboCategory;
    QPlainTextEdit *memNote;
    QCheckBox *chkDeactivated;
    AddressGroup *addresses;
    CommunicationGroup *communications;
    GridModel *personModel;
    GridView *personList;
    QLineEdit *edtContactPosition, *edtContactPhone, *edtContactNumber, *edtContactStreet, *edtContactPostcode,
        *edtContactTown;
    QPlainTextEdit *memContactNote;
    QPushButton *btnLinkPerson, *btnUnlink;
    QPushButton *btnNew, *btnEdit, *btnSave, *btnOk, *btnClose;
    QMenu *mnuSalutation;

Q_SIGNALS:
    // The user changed a field, grid, box or check box.
    void changed();
    void personClicked(int row);
    void personDoubleClicked(int row);

private:
    QWidget *buildHead();
    QWidget *buildPersons();
    QWidget *buildButtons();

    int m_filling = 0;
};
