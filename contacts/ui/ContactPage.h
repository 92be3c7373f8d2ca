#pragma once

#include "ContactTypes.h"

#include <QList>
#include <QWidget>

class AddressGroup;
class CommunicationGroup;
class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// What the tabs "Firma" and "Person" of the contact editor have in common: the
// number, telephone, category, search terms, salutation line, note and the
// deactivation box in the head, the address and communication groups, the
// salutation menu and the button row. A page adds its own head fields, its
// panel beside the communication entries and the entries of the salutation menu.
class ContactPage : public QWidget
{
    Q_OBJECT
public:
    // "Kd.-Nr."; a number below 1 shows nothing.
    void setNumber(qint64 number);
    void setEditable(bool editable, bool canSave);
    void setCategories(const QStringList &categories);
    void setCountries(const QStringList &countries);

    QLineEdit *edtNumber, *edtPhone, *edtTerms, *edtSalutation;
    QComboBox *cboCategory;
    QPlainTextEdit *memNote;
    QCheckBox *chkDeactivated;
    AddressGroup *addresses;
    CommunicationGroup *communications;
    QPushButton *btnNew, *btnEdit, *btnSave, *btnOk, *btnClose;
    QMenu *mnuSalutation;

Q_SIGNALS:
    // The user changed a field, grid, box or check box.
    void changed();

protected:
    // role is "Company" or "Person": the middle part of the objectNames and
    // the name the address and communication groups go by.
    ContactPage(const QString &role, QWidget *parent);

    struct Texts
    {
        QString deactivated;   // caption of the deactivation box
        QString newContact;    // caption of the "new" button
    };
    // Builds the page; the page's constructor calls it once. personal: the
    // communication group is a person's.
    void build(const Texts &texts, bool personal);

    // The page's own fields in the head, rows 1 and 2 of its left side.
    virtual void addOwnHeadRows(QWidget *head, QGridLayout *g) = 0;
    // The group beside the communication entries.
    virtual QWidget *buildPanel() = 0;
    // The page's own head fields that are typed into and editable with the page.
    virtual QList<QLineEdit *> ownFields() const = 0;

    // Adds a fixed salutation line to the menu.
    QAction *addSalutation(const QString &text, const char *actionName);
    // Puts a line into the salutation field, unless it is read-only.
    void putSalutation(const QString &text);

    void readData(ContactData &data) const;
    void showData(const ContactData &data);

    static QLineEdit *Field(QWidget *parent, const char *name);
    // A read-only field the panel shows values in.
    static QLineEdit *Display(QWidget *parent, const char *name);
    static QPushButton *Button(QWidget *parent, const QString &text, const char *name);
    // A read-only note of a panel, two lines high.
    static QPlainTextEdit *DisplayNote(QWidget *parent, const char *name);
    // The lower rows of a panel from "Tel./Ku.Nr.:" down to its two buttons,
    // starting at row; returns the row below the buttons.
    static int addPanelRows(QWidget *box, QGridLayout *g, int row, QLineEdit *phone, QLineEdit *number,
                            QLineEdit *street, QLineEdit *postcode, QLineEdit *town, QPlainTextEdit *note,
                            QPushButton *link, QPushButton *unlink);

    // Set while the page fills its fields, so that no change is reported.
    int m_filling = 0;

private:
    QWidget *buildHead(const QString &deactivatedText);
    QWidget *buildButtons(const QString &newText);
    // An objectName with the page's role in the middle, e.g. "edtCompanyPhone".
    QString roleName(const char *prefix, const char *suffix = "") const;

    QString m_role;
};
