#include "ContactPage.h"

#include "AddressGroup.h"
#include "CommunicationGroup.h"
#include "FieldLook.h"
#include "Formats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ContactPage::ContactPage(const QString &role, QWidget *parent) : QWidget(parent), m_role(role) {}

QString ContactPage::roleName(const char *prefix, const char *suffix) const
{
    return QLatin1String(prefix) + m_role + QLatin1String(suffix);
}

QLineEdit *ContactPage::Field(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QLineEdit *ContactPage::Display(QWidget *parent, const char *name)
{
    QLineEdit *e = Field(parent, name);
    SetFieldEditable(e, false);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QPushButton *ContactPage::Button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QPlainTextEdit *ContactPage::DisplayNote(QWidget *parent, const char *name)
{
    auto *note = new QPlainTextEdit(parent);
    note->setObjectName(QLatin1String(name));
    SetFieldEditable(note, false);
    note->setMaximumHeight(note->fontMetrics().lineSpacing() * 2 + 12);
    return note;
}

int ContactPage::addPanelRows(QWidget *box, QGridLayout *g, int row, QLineEdit *phone, QLineEdit *number,
                              QLineEdit *street, QLineEdit *postcode, QLineEdit *town, QPlainTextEdit *note,
                              QPushButton *link, QPushButton *unlink)
{
    g->addWidget(new QLabel(QStringLiteral("Tel./Ku.Nr.:"), box), row, 0);
    g->addWidget(phone, row, 1);
    g->addWidget(number, row++, 2);
    g->addWidget(new QLabel(QStringLiteral("Straße:"), box), row, 0);
    g->addWidget(street, row++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("PLZ / Ort:"), box), row, 0);
    g->addWidget(postcode, row, 1);
    g->addWidget(town, row++, 2);
    g->addWidget(new QLabel(QStringLiteral("Anmerkung:"), box), row, 0, Qt::AlignTop);
    g->addWidget(note, row++, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(link);
    buttons->addWidget(unlink);
    buttons->addStretch(1);
    g->addLayout(buttons, row++, 0, 1, 3);
    return row;
}

void ContactPage::build(const Texts &texts, bool personal)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildHead(texts.deactivated));
    addresses = new AddressGroup(m_role, this);
    layout->addWidget(addresses, 1);
    auto *lower = new QHBoxLayout;
    communications = new CommunicationGroup(m_role, personal, this);
    lower->addWidget(communications, 1);
    lower->addWidget(buildPanel(), 1);
    layout->addLayout(lower, 1);
    layout->addWidget(buildButtons(texts.newContact));

    for (QLineEdit *e : ownFields() + QList<QLineEdit *>{edtPhone, edtTerms, edtSalutation})
        connect(e, &QLineEdit::textEdited, this, &ContactPage::changed);
    connect(cboCategory->lineEdit(), &QLineEdit::textEdited, this, &ContactPage::changed);
    connect(cboCategory, &QComboBox::activated, this, &ContactPage::changed);
    connect(chkDeactivated, &QCheckBox::clicked, this, &ContactPage::changed);
    connect(memNote, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling && !memNote->isReadOnly())
            Q_EMIT changed();
    });
    connect(addresses, &AddressGroup::changed, this, &ContactPage::changed);
    connect(communications, &CommunicationGroup::changed, this, &ContactPage::changed);

    mnuSalutation = new QMenu(this);
    mnuSalutation->setObjectName(roleName("mnu", "Salutation"));
    edtSalutation->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edtSalutation, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!edtSalutation->isReadOnly())
            mnuSalutation->popup(edtSalutation->mapToGlobal(pos));
    });
}

QWidget *ContactPage::buildHead(const QString &deactivatedText)
{
    auto *head = new QWidget(this);
    auto *g = new QGridLayout(head);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(4);
    edtNumber = Display(head, qPrintable(roleName("edt", "Number")));
    edtNumber->setMaximumWidth(110);
    // the page's own fields come between number and telephone, also in the tab order
    addOwnHeadRows(head, g);
    edtPhone = Field(head, qPrintable(roleName("edt", "Phone")));
    cboCategory = new QComboBox(head);
    cboCategory->setObjectName(roleName("cbo", "Category"));
    cboCategory->setEditable(true);
    cboCategory->setInsertPolicy(QComboBox::NoInsert);
    edtTerms = Field(head, qPrintable(roleName("edt", "Terms")));
    edtSalutation = Field(head, qPrintable(roleName("edt", "Salutation")));
    memNote = new QPlainTextEdit(head);
    memNote->setObjectName(roleName("mem", "Note"));
    memNote->setTabChangesFocus(true);
    chkDeactivated = new QCheckBox(deactivatedText, head);
    chkDeactivated->setObjectName(roleName("chk", "Deactivated"));

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(edtNumber);
    numberRow->addStretch(1);
    numberRow->addWidget(chkDeactivated);
    auto *phoneRow = new QHBoxLayout;
    phoneRow->addWidget(edtPhone, 1);
    phoneRow->addWidget(cboCategory, 1);

    g->addWidget(new QLabel(QStringLiteral("Kd.-Nr."), head), 0, 0);
    g->addLayout(numberRow, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Tel./Kategorie"), head), 3, 0);
    g->addLayout(phoneRow, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Suchbegriffe:"), head), 0, 2);
    g->addWidget(edtTerms, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Serienbriefanrede"), head), 1, 2);
    g->addWidget(edtSalutation, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Anmerkung:"), head), 2, 2, Qt::AlignTop);
    g->addWidget(memNote, 2, 3, 2, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    // the note is as high as two of the fields beside it
    memNote->setMaximumHeight(edtPhone->sizeHint().height() * 2 + g->verticalSpacing());
    return head;
}

QWidget *ContactPage::buildButtons(const QString &newText)
{
    auto *row = new QWidget(this);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    btnNew = Button(row, newText, qPrintable(roleName("btnNew")));
    btnEdit = Button(row, QStringLiteral("&Bearbeiten"), qPrintable(roleName("btn", "Edit")));
    btnSave = Button(row, QStringLiteral("&Übernehmen"), qPrintable(roleName("btn", "Save")));
    btnOk = Button(row, QStringLiteral("&OK"), qPrintable(roleName("btn", "Ok")));
    btnClose = Button(row, QStringLiteral("Beenden / &Abbrechen"), qPrintable(roleName("btn", "Close")));
    h->addWidget(btnNew);
    h->addWidget(btnEdit);
    h->addStretch(1);
    h->addWidget(btnSave);
    h->addWidget(btnOk);
    h->addWidget(btnClose);
    return row;
}

QAction *ContactPage::addSalutation(const QString &text, const char *actionName)
{
    QAction *a = mnuSalutation->addAction(text);
    a->setObjectName(QLatin1String(actionName));
    connect(a, &QAction::triggered, this, [this, text] { putSalutation(text); });
    return a;
}

void ContactPage::putSalutation(const QString &text)
{
    if (edtSalutation->isReadOnly())
        return;
    edtSalutation->setText(text);
    Q_EMIT changed();
}

void ContactPage::readData(ContactData &d) const
{
    d.telefon = edtPhone->text();
    d.kategorie = cboCategory->currentText();
    d.begriffe = edtTerms->text();
    d.sanrede = edtSalutation->text();
    d.note = memNote->toPlainText();
    d.deactivated = chkDeactivated->isChecked();
    d.mainAddress = addresses->mainAddress();
    d.addresses = addresses->furtherAddresses();
    d.communications = communications->rows();
}

// The caller holds m_filling up while it fills the page.
void ContactPage::showData(const ContactData &d)
{
    edtPhone->setText(d.telefon);
    cboCategory->setCurrentText(d.kategorie);
    edtTerms->setText(d.begriffe);
    edtSalutation->setText(d.sanrede);
    memNote->setPlainText(d.note);
    chkDeactivated->setChecked(d.deactivated);
    communications->showRows(d.communications);
    addresses->showAddresses(d.mainAddress, d.addresses);
}

void ContactPage::setNumber(qint64 number)
{
    edtNumber->setText(number > 0 ? PadNumber(number) : QString());
}

void ContactPage::setEditable(bool editable, bool canSave)
{
    for (QLineEdit *e : ownFields() + QList<QLineEdit *>{edtPhone, edtTerms, edtSalutation})
        SetFieldEditable(e, editable);
    SetFieldEditable(memNote, editable);
    cboCategory->setEnabled(editable);
    chkDeactivated->setEnabled(editable);
    addresses->setEditable(editable);
    communications->setEditable(editable, canSave);
}

void ContactPage::setCategories(const QStringList &categories)
{
    const QString current = cboCategory->currentText();
    cboCategory->clear();
    cboCategory->addItems(categories);
    cboCategory->setCurrentText(current);
}

void ContactPage::setCountries(const QStringList &countries)
{
    addresses->setCountries(countries);
}
