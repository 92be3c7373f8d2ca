#include "PersonPage.h"

#include "AddressGroup.h"
#include "CommunicationGroup.h"
#include "FieldLook.h"
#include "Formats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

QLineEdit *Field(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QLineEdit *Display(QWidget *parent, const char *name)
{
    QLineEdit *e = Field(parent, name);
    SetFieldEditable(e, false);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QPushButton *Button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

PersonPage::PersonPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabPerson"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildHead());
    addresses = new AddressGroup(QStringLiteral("Person"), this);
    layout->addWidget(addresses, 1);
    auto *lower = new QHBoxLayout;
    communications = new CommunicationGroup(QStringLiteral("Person"), true, this);
    lower->addWidget(communications, 1);
    lower->addWidget(buildCompany(), 1);
    layout->addLayout(lower, 1);
    layout->addWidget(buildButtons());

    for (QLineEdit *e : {edtAnrede, edtTitle, edtFirstName, edtLastName, edtPhone, edtTerms, edtSalutation, edtPosition})
        connect(e, &QLineEdit::textEdited, this, &PersonPage::changed);
    connect(cboCategory->lineEdit(), &QLineEdit::textEdited, this, &PersonPage::changed);
    connect(cboCategory, &QComboBox::activated, this, &PersonPage::changed);
    connect(chkDeactivated, &QCheckBox::clicked, this, &PersonPage::changed);
    connect(memNote, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling && !memNote->isReadOnly())
            Q_EMIT changed();
    });
    connect(addresses, &AddressGroup::changed, this, &PersonPage::changed);
    connect(communications, &CommunicationGroup::changed, this, &PersonPage::changed);

    mnuSalutation = new QMenu(this);
    mnuSalutation->setObjectName(QStringLiteral("mnuPersonSalutation"));
    actStandard = mnuSalutation->addAction(QStringLiteral("Standard"));
    actStandard->setObjectName(QStringLiteral("actPersonSalutationStandard"));
    QAction *frau = mnuSalutation->addAction(QStringLiteral("Sehr geehrte Frau ,"));
    frau->setObjectName(QStringLiteral("actPersonSalutationFrau"));
    QAction *herr = mnuSalutation->addAction(QStringLiteral("Sehr geehrter Herr ,"));
    herr->setObjectName(QStringLiteral("actPersonSalutationHerr"));
    // the caption of "Standard" follows the form of address and last name
    connect(mnuSalutation, &QMenu::aboutToShow, this,
            [this] { actStandard->setText(standardSalutation(edtAnrede->text(), edtLastName->text())); });
    auto put = [this](const QString &text) {
        if (edtSalutation->isReadOnly())
            return;
        edtSalutation->setText(text);
        Q_EMIT changed();
    };
    connect(actStandard, &QAction::triggered, this,
            [this, put] { put(standardSalutation(edtAnrede->text(), edtLastName->text())); });
    connect(frau, &QAction::triggered, this, [put, frau] { put(frau->text()); });
    connect(herr, &QAction::triggered, this, [put, herr] { put(herr->text()); });
    edtSalutation->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edtSalutation, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!edtSalutation->isReadOnly())
            mnuSalutation->popup(edtSalutation->mapToGlobal(pos));
    });
    clear();
}

QString PersonPage::standardSalutation(const QString &anrede, const QString &nname)
{
    if (anrede == QLatin1String("Herr"))
        return QStringLiteral("Sehr geehrter Herr ") + nname + QLatin1Char(',');
    if (anrede == QLatin1String("Frau"))
        return QStringLiteral("Sehr geehrte Frau ") + nname + QLatin1Char(',');
    return QStringLiteral("Sehr geehrte ...,");
}

QWidget *PersonPage::buildHead()
{
    auto *head = new QWidget(this);
    auto *g = new QGridLayout(head);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(4);
    edtNumber = Display(head, "edtPersonNumber");
    edtNumber->setMaximumWidth(110);
    edtAnrede = Field(head, "edtPersonAnrede");
    edtTitle = Field(head, "edtPersonTitle");
    edtFirstName = Field(head, "edtPersonFirstName");
    edtLastName = Field(head, "edtPersonLastName");
    edtPhone = Field(head, "edtPersonPhone");
    cboCategory = new QComboBox(head);
    cboCategory->setObjectName(QStringLiteral("cboPersonCategory"));
    cboCategory->setEditable(true);
    cboCategory->setInsertPolicy(QComboBox::NoInsert);
    edtTerms = Field(head, "edtPersonTerms");
    edtSalutation = Field(head, "edtPersonSalutation");
    memNote = new QPlainTextEdit(head);
    memNote->setObjectName(QStringLiteral("memPersonNote"));
    memNote->setTabChangesFocus(true);
    chkDeactivated = new QCheckBox(QStringLiteral("Person Deaktiviert"), head);
    chkDeactivated->setObjectName(QStringLiteral("chkPersonDeactivated"));

    auto pair = [](QWidget *a, QWidget *b) {
        auto *h = new QHBoxLayout;
        h->addWidget(a, 1);
        h->addWidget(b, 1);
        return h;
    };
    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(edtNumber);
    numberRow->addStretch(1);
    numberRow->addWidget(chkDeactivated);

    g->addWidget(new QLabel(QStringLiteral("Kd.-Nr."), head), 0, 0);
    g->addLayout(numberRow, 0, 1);
    g->addWidget(new QLabel(QStringLiteral(" Anrede/Titel:"), head), 1, 0);
    g->addLayout(pair(edtAnrede, edtTitle), 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Vorname/Nachname:"), head), 2, 0);
    g->addLayout(pair(edtFirstName, edtLastName), 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Tel./Kategorie"), head), 3, 0);
    g->addLayout(pair(edtPhone, cboCategory), 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Suchbegriffe:"), head), 0, 2);
    g->addWidget(edtTerms, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Serienbriefanrede"), head), 1, 2);
    g->addWidget(edtSalutation, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Anmerkung:"), head), 2, 2, Qt::AlignTop);
    g->addWidget(memNote, 2, 3, 2, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    memNote->setMaximumHeight(edtFirstName->sizeHint().height() * 2 + g->verticalSpacing());
    return head;
}

QWidget *PersonPage::buildCompany()
{
    auto *box = new QGroupBox(QStringLiteral("Zugeordnete Firma"), this);
    box->setObjectName(QStringLiteral("grpLinkedCompany"));
    edtCompanyName = Display(box, "edtLinkedCompanyName");
    edtCompanyBranche = Display(box, "edtLinkedCompanyBranche");
    edtPosition = Field(box, "edtPersonPosition");
    edtCompanyPhone = Display(box, "edtLinkedCompanyPhone");
    edtCompanyNumber = Display(box, "edtLinkedCompanyNumber");
    edtCompanyStreet = Display(box, "edtLinkedCompanyStreet");
    edtCompanyPostcode = Display(box, "edtLinkedCompanyPostcode");
    edtCompanyPostcode->setMaximumWidth(70);
    edtCompanyTown = Display(box, "edtLinkedCompanyTown");
    memCompanyNote = new QPlainTextEdit(box);
    memCompanyNote->setObjectName(QStringLiteral("memLinkedCompanyNote"));
    SetFieldEditable(memCompanyNote, false);
    memCompanyNote->setMaximumHeight(memCompanyNote->fontMetrics().lineSpacing() * 2 + 12);
    btnLinkCompany = Button(box, QStringLiteral("&Firma zur Person zuordnen"), "btnLinkCompany");
    btnUnlink = Button(box, QStringLiteral("Verbindung &lösen"), "btnPersonUnlink");

    auto *g = new QGridLayout(box);
    g->setVerticalSpacing(4);
    int r = 0;
    g->addWidget(new QLabel(QStringLiteral("Firmenname:"), box), r, 0);
    g->addWidget(edtCompanyName, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Branche:"), box), r, 0);
    g->addWidget(edtCompanyBranche, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Position:"), box), r, 0);
    g->addWidget(edtPosition, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Tel./Ku.Nr.:"), box), r, 0);
    g->addWidget(edtCompanyPhone, r, 1);
    g->addWidget(edtCompanyNumber, r++, 2);
    g->addWidget(new QLabel(QStringLiteral("Straße:"), box), r, 0);
    g->addWidget(edtCompanyStreet, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("PLZ / Ort:"), box), r, 0);
    g->addWidget(edtCompanyPostcode, r, 1);
    g->addWidget(edtCompanyTown, r++, 2);
    g->addWidget(new QLabel(QStringLiteral("Anmerkung:"), box), r, 0, Qt::AlignTop);
    g->addWidget(memCompanyNote, r++, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnLinkCompany);
    buttons->addWidget(btnUnlink);
    buttons->addStretch(1);
    g->addLayout(buttons, r++, 0, 1, 3);
    g->setColumnStretch(2, 1);
    g->setRowStretch(r, 1);
    return box;
}

QWidget *PersonPage::buildButtons()
{
    auto *row = new QWidget(this);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    btnNew = Button(row, QStringLiteral("&Neue Person"), "btnNewPerson");
    btnEdit = Button(row, QStringLiteral("&Bearbeiten"), "btnPersonEdit");
    btnSave = Button(row, QStringLiteral("&Übernehmen"), "btnPersonSave");
    btnOk = Button(row, QStringLiteral("&OK"), "btnPersonOk");
    btnClose = Button(row, QStringLiteral("Beenden / &Abbrechen"), "btnPersonClose");
    h->addWidget(btnNew);
    h->addWidget(btnEdit);
    h->addStretch(1);
    h->addWidget(btnSave);
    h->addWidget(btnOk);
    h->addWidget(btnClose);
    return row;
}

PersonRecord PersonPage::record() const
{
    PersonRecord p;
    p.anrede = edtAnrede->text();
    p.titel = edtTitle->text();
    p.vname = edtFirstName->text();
    p.nname = edtLastName->text();
    p.telefon = edtPhone->text();
    p.kategorie = cboCategory->currentText();
    p.begriffe = edtTerms->text();
    p.sanrede = edtSalutation->text();
    p.note = memNote->toPlainText();
    p.deactivated = chkDeactivated->isChecked();
    p.position = edtPosition->text();
    p.mainAddress = addresses->mainAddress();
    p.addresses = addresses->furtherAddresses();
    p.communications = communications->rows();
    return p;
}

void PersonPage::showRecord(const PersonRecord &p)
{
    ++m_filling;
    auto done = qScopeGuard([this] { --m_filling; });
    setNumber(p.IDN);
    edtAnrede->setText(p.anrede);
    edtTitle->setText(p.titel);
    edtFirstName->setText(p.vname);
    edtLastName->setText(p.nname);
    edtPhone->setText(p.telefon);
    cboCategory->setCurrentText(p.kategorie);
    edtTerms->setText(p.begriffe);
    edtSalutation->setText(p.sanrede);
    memNote->setPlainText(p.note);
    chkDeactivated->setChecked(p.deactivated);
    edtPosition->setText(p.position);
    communications->showRows(p.communications);
    addresses->showAddresses(p.mainAddress, p.addresses);
}

void PersonPage::clear()
{
    showRecord(PersonRecord{});
    clearLinkedCompany();
}

void PersonPage::setNumber(qint64 number)
{
    edtNumber->setText(number > 0 ? PadNumber(number) : QString());
}

void PersonPage::setEditable(bool editable, bool canSave)
{
    for (QLineEdit *e : {edtAnrede, edtTitle, edtFirstName, edtLastName, edtPhone, edtTerms, edtSalutation})
        SetFieldEditable(e, editable);
    SetFieldEditable(memNote, editable);
    cboCategory->setEnabled(editable);
    chkDeactivated->setEnabled(editable);
    addresses->setEditable(editable);
    communications->setEditable(editable, canSave);
}

void PersonPage::setPositionEditable(bool editable)
{
    SetFieldEditable(edtPosition, editable);
    edtPosition->setEnabled(editable);
}

void PersonPage::setCategories(const QStringList &categories)
{
    const QString current = cboCategory->currentText();
    cboCategory->clear();
    cboCategory->addItems(categories);
    cboCategory->setCurrentText(current);
}

void PersonPage::setCountries(const QStringList &countries)
{
    addresses->setCountries(countries);
}

void PersonPage::showLinkedCompany(const LinkedCompany &c)
{
    ++m_filling;
    auto done = qScopeGuard([this] { --m_filling; });
    edtCompanyName->setText(c.name);
    edtCompanyBranche->setText(c.branche);
    edtPosition->setText(c.position);
    edtCompanyPhone->setText(c.telefon);
    edtCompanyNumber->setText(c.IDF > 0 ? PadNumber(c.IDF) : QString());
    edtCompanyStreet->setText(c.strasse);
    edtCompanyPostcode->setText(c.plz);
    edtCompanyTown->setText(c.ort);
    memCompanyNote->setPlainText(c.note);
}

void PersonPage::clearLinkedCompany()
{
    showLinkedCompany(LinkedCompany{});
}
