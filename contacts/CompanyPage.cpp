#include "CompanyPage.h"

#include "AddressGroup.h"
#include "CommunicationGroup.h"
#include "ContactGrid.h"
#include "FieldLook.h"
#include "Formats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
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

CompanyPage::CompanyPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabCompany"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildHead());
    addresses = new AddressGroup(QStringLiteral("Company"), this);
    layout->addWidget(addresses, 1);
    auto *lower = new QHBoxLayout;
    communications = new CommunicationGroup(QStringLiteral("Company"), false, this);
    lower->addWidget(communications, 1);
    lower->addWidget(buildPersons(), 1);
    layout->addLayout(lower, 1);
    layout->addWidget(buildButtons());

    for (QLineEdit *e : {edtName, edtBranche, edtPhone, edtTerms, edtSalutation})
        connect(e, &QLineEdit::textEdited, this, &CompanyPage::changed);
    connect(cboCategory->lineEdit(), &QLineEdit::textEdited, this, &CompanyPage::changed);
    connect(cboCategory, &QComboBox::activated, this, &CompanyPage::changed);
    connect(chkDeactivated, &QCheckBox::clicked, this, &CompanyPage::changed);
    connect(memNote, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling && !memNote->isReadOnly())
            Q_EMIT changed();
    });
    connect(addresses, &AddressGroup::changed, this, &CompanyPage::changed);
    connect(communications, &CommunicationGroup::changed, this, &CompanyPage::changed);
    connect(personList, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { Q_EMIT personClicked(i.row()); });
    connect(personList, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &i) { Q_EMIT personDoubleClicked(i.row()); });

    mnuSalutation = new QMenu(this);
    mnuSalutation->setObjectName(QStringLiteral("mnuCompanySalutation"));
    const char *names[] = {"actCompanySalutationFrau", "actCompanySalutationHerr", "actCompanySalutationDamenHerren"};
    const QStringList texts = salutations();
    for (int i = 0; i < texts.size(); ++i) {
        QAction *a = mnuSalutation->addAction(texts[i]);
        a->setObjectName(QLatin1String(names[i]));
        connect(a, &QAction::triggered, this, [this, text = texts[i]] {
            if (edtSalutation->isReadOnly())
                return;
            edtSalutation->setText(text);
            Q_EMIT changed();
        });
    }
    edtSalutation->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edtSalutation, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!edtSalutation->isReadOnly())
            mnuSalutation->popup(edtSalutation->mapToGlobal(pos));
    });
    clear();
}

QStringList CompanyPage::salutations()
{
    return {QStringLiteral("Sehr geehrte Frau ,"), QStringLiteral("Sehr geehrter Herr ,"),
            QStringLiteral("Sehr geehrte Damen und Herren,")};
}

QWidget *CompanyPage::buildHead()
{
    auto *head = new QWidget(this);
    auto *g = new QGridLayout(head);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(4);
    edtNumber = Display(head, "edtCompanyNumber");
    edtNumber->setMaximumWidth(110);
    edtName = Field(head, "edtCompanyName");
    edtBranche = Field(head, "edtCompanyBranche");
    edtPhone = Field(head, "edtCompanyPhone");
    cboCategory = new QComboBox(head);
    cboCategory->setObjectName(QStringLiteral("cboCompanyCategory"));
    cboCategory->setEditable(true);
    cboCategory->setInsertPolicy(QComboBox::NoInsert);
    edtTerms = Field(head, "edtCompanyTerms");
    edtSalutation = Field(head, "edtCompanySalutation");
    memNote = new QPlainTextEdit(head);
    memNote->setObjectName(QStringLiteral("memCompanyNote"));
    memNote->setTabChangesFocus(true);
    chkDeactivated = new QCheckBox(QStringLiteral("Firma Deaktiviert"), head);
    chkDeactivated->setObjectName(QStringLiteral("chkCompanyDeactivated"));

    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(edtNumber);
    numberRow->addStretch(1);
    numberRow->addWidget(chkDeactivated);
    auto *phoneRow = new QHBoxLayout;
    phoneRow->addWidget(edtPhone, 1);
    phoneRow->addWidget(cboCategory, 1);

    g->addWidget(new QLabel(QStringLiteral("Kd.-Nr."), head), 0, 0);
    g->addLayout(numberRow, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Firmenname:"), head), 1, 0);
    g->addWidget(edtName, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Branche"), head), 2, 0);
    g->addWidget(edtBranche, 2, 1);
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
    memNote->setMaximumHeight(edtName->sizeHint().height() * 2 + g->verticalSpacing());
    return head;
}

QWidget *CompanyPage::buildPersons()
{
    auto *box = new QGroupBox(QStringLiteral("Zugeordnete Personen / Ansprechpartner"), this);
    box->setObjectName(QStringLiteral("grpContactPersons"));
    personModel = new GridModel({QStringLiteral("Anrede/Titel"), QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                                 QString()},
                                PlColumnCount, this);
    personList = new GridView(box);
    personList->setObjectName(QStringLiteral("grdCompanyPersons"));
    personList->setGridModel(personModel);
    personList->setColumnHidden(PlIDN, true);
    personList->setColumnWidth(PlAnredeTitel, 90);
    personList->setColumnWidth(PlVorname, 110);
    personList->setColumnWidth(PlNachname, 150);
    personList->horizontalHeader()->setStretchLastSection(true);
    personList->setMouseTracking(true); // the cell under the pointer shows as tool tip

    edtContactPosition = Display(box, "edtContactPosition");
    edtContactPhone = Display(box, "edtContactPhone");
    edtContactNumber = Display(box, "edtContactNumber");
    edtContactStreet = Display(box, "edtContactStreet");
    edtContactPostcode = Display(box, "edtContactPostcode");
    edtContactPostcode->setMaximumWidth(70);
    edtContactTown = Display(box, "edtContactTown");
    memContactNote = new QPlainTextEdit(box);
    memContactNote->setObjectName(QStringLiteral("memContactNote"));
    SetFieldEditable(memContactNote, false);
    memContactNote->setMaximumHeight(memContactNote->fontMetrics().lineSpacing() * 2 + 12);
    btnLinkPerson = Button(box, QStringLiteral("Person zur &Firma zuordnen"), "btnLinkPerson");
    btnUnlink = Button(box, QStringLiteral("Verbingung &lösen"), "btnCompanyUnlink");

    auto *g = new QGridLayout(box);
    g->setVerticalSpacing(4);
    g->addWidget(personList, 0, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Position:"), box), 1, 0);
    g->addWidget(edtContactPosition, 1, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Tel./Ku.Nr.:"), box), 2, 0);
    g->addWidget(edtContactPhone, 2, 1);
    g->addWidget(edtContactNumber, 2, 2);
    g->addWidget(new QLabel(QStringLiteral("Straße:"), box), 3, 0);
    g->addWidget(edtContactStreet, 3, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("PLZ / Ort:"), box), 4, 0);
    g->addWidget(edtContactPostcode, 4, 1);
    g->addWidget(edtContactTown, 4, 2);
    g->addWidget(new QLabel(QStringLiteral("Anmerkung:"), box), 5, 0, Qt::AlignTop);
    g->addWidget(memContactNote, 5, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnLinkPerson);
    buttons->addWidget(btnUnlink);
    buttons->addStretch(1);
    g->addLayout(buttons, 6, 0, 1, 3);
    g->setRowStretch(0, 1);
    g->setColumnStretch(2, 1);
    return box;
}

QWidget *CompanyPage::buildButtons()
{
    auto *row = new QWidget(this);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    btnNew = Button(row, QStringLiteral("&Neue Firma"), "btnNewCompany");
    btnEdit = Button(row, QStringLiteral("&Bearbeiten"), "btnCompanyEdit");
    btnSave = Button(row, QStringLiteral("&Übernehmen"), "btnCompanySave");
    btnOk = Button(row, QStringLiteral("&OK"), "btnCompanyOk");
    btnClose = Button(row, QStringLiteral("Beenden / &Abbrechen"), "btnCompanyClose");
    h->addWidget(btnNew);
    h->addWidget(btnEdit);
    h->addStretch(1);
    h->addWidget(btnSave);
    h->addWidget(btnOk);
    h->addWidget(btnClose);
    return row;
}

CompanyRecord CompanyPage::record() const
{
    CompanyRecord c;
    c.name = edtName->text();
    c.branche = edtBranche->text();
    c.telefon = edtPhone->text();
    c.kategorie = cboCategory->currentText();
    c.begriffe = edtTerms->text();
    c.sanrede = edtSalutation->text();
    c.note = memNote->toPlainText();
    c.deactivated = chkDeactivated->isChecked();
    c.mainAddress = addresses->mainAddress();
    c.addresses = addresses->furtherAddresses();
    c.communications = communications->rows();
    return c;
}

void CompanyPage::showRecord(const CompanyRecord &c)
{
    ++m_filling;
    auto done = qScopeGuard([this] { --m_filling; });
    setNumber(c.IDF);
    edtName->setText(c.name);
    edtBranche->setText(c.branche);
    edtPhone->setText(c.telefon);
    cboCategory->setCurrentText(c.kategorie);
    edtTerms->setText(c.begriffe);
    edtSalutation->setText(c.sanrede);
    memNote->setPlainText(c.note);
    chkDeactivated->setChecked(c.deactivated);
    communications->showRows(c.communications);
    addresses->showAddresses(c.mainAddress, c.addresses);
}

void CompanyPage::clear()
{
    showRecord(CompanyRecord{});
    setPersons({});
    clearPersonDetails();
}

void CompanyPage::setNumber(qint64 number)
{
    edtNumber->setText(number > 0 ? PadNumber(number) : QString());
}

QString CompanyPage::name() const
{
    return edtName->text();
}

void CompanyPage::setEditable(bool editable, bool canSave)
{
    for (QLineEdit *e : {edtName, edtBranche, edtPhone, edtTerms, edtSalutation})
        SetFieldEditable(e, editable);
    SetFieldEditable(memNote, editable);
    cboCategory->setEnabled(editable);
    chkDeactivated->setEnabled(editable);
    addresses->setEditable(editable);
    communications->setEditable(editable, canSave);
}

void CompanyPage::setCategories(const QStringList &categories)
{
    const QString current = cboCategory->currentText();
    cboCategory->clear();
    cboCategory->addItems(categories);
    cboCategory->setCurrentText(current);
}

void CompanyPage::setCountries(const QStringList &countries)
{
    addresses->setCountries(countries);
}

void CompanyPage::setPersons(const QList<AssignedPerson> &persons)
{
    QList<QStringList> rows;
    int preselected = -1;
    for (const AssignedPerson &p : persons) {
        if (p.preselected && preselected < 0)
            preselected = int(rows.size());
        rows << QStringList{p.anrede + QLatin1Char(' ') + p.titel, p.vname, p.nname, QString::number(p.IDN)};
    }
    personModel->setRows(rows);
    // a preselected link wins, else the first person is the selected one
    if (rows.isEmpty())
        personList->setCurrentIndex(QModelIndex());
    else
        selectPersonRow(preselected >= 0 ? preselected : 0);
}

void CompanyPage::putFirstPerson(const QString &anredeTitel, const QString &vname, const QString &nname, qint64 IDN)
{
    personModel->setRows({QStringList{anredeTitel, vname, nname, QString::number(IDN)}});
    selectPersonRow(0);
}

int CompanyPage::personRowCount() const
{
    return personModel->rowCount();
}

qint64 CompanyPage::personAt(int row) const
{
    return StrToIntDef(personModel->cell(row, PlIDN), 0);
}

QString CompanyPage::personCell(int row, int column) const
{
    return personModel->cell(row, column);
}

int CompanyPage::selectedPersonRow() const
{
    return personList->currentIndex().row();
}

void CompanyPage::selectPersonRow(int row)
{
    personList->setCurrentRow(row);
}

void CompanyPage::showPersonDetails(const PersonDetails &d)
{
    ++m_filling;
    auto done = qScopeGuard([this] { --m_filling; });
    edtContactPosition->setText(d.position);
    edtContactPhone->setText(d.telefon);
    edtContactNumber->setText(d.IDN > 0 ? PadNumber(d.IDN) : QString());
    edtContactStreet->setText(d.strasse);
    edtContactPostcode->setText(d.plz);
    edtContactTown->setText(d.ort);
    memContactNote->setPlainText(d.note);
}

PersonDetails CompanyPage::personDetails() const
{
    return PersonDetails{StrToIntDef(edtContactNumber->text(), 0), edtContactPosition->text(), edtContactPhone->text(),
                         edtContactStreet->text(), edtContactPostcode->text(), edtContactTown->text(),
                         memContactNote->toPlainText()};
}

void CompanyPage::clearPersonDetails()
{
    showPersonDetails(PersonDetails{});
}
