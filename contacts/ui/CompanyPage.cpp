#include "CompanyPage.h"

#include "ContactGrid.h"
#include "Formats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>

CompanyPage::CompanyPage(QWidget *parent) : ContactPage(QStringLiteral("Company"), parent)
{
    setObjectName(QStringLiteral("tabCompany"));
    build({QStringLiteral("Firma Deaktiviert"), QStringLiteral("&Neue Firma")}, false);

    connect(personList, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { Q_EMIT personClicked(i.row()); });
    connect(personList, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &i) { Q_EMIT personDoubleClicked(i.row()); });

    const char *names[] = {"actCompanySalutationFrau", "actCompanySalutationHerr", "actCompanySalutationDamenHerren"};
    const QStringList texts = salutations();
    for (int i = 0; i < texts.size(); ++i)
        addSalutation(texts[i], names[i]);
    clear();
}

QStringList CompanyPage::salutations()
{
    return {QStringLiteral("Sehr geehrte Frau ,"), QStringLiteral("Sehr geehrter Herr ,"),
            QStringLiteral("Sehr geehrte Damen und Herren,")};
}

void CompanyPage::addOwnHeadRows(QWidget *head, QGridLayout *g)
{
    edtName = Field(head, "edtCompanyName");
    edtBranche = Field(head, "edtCompanyBranche");
    g->addWidget(new QLabel(QStringLiteral("Firmenname:"), head), 1, 0);
    g->addWidget(edtName, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Branche"), head), 2, 0);
    g->addWidget(edtBranche, 2, 1);
}

QList<QLineEdit *> CompanyPage::ownFields() const
{
    return {edtName, edtBranche};
}

QWidget *CompanyPage::buildPanel()
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
    memContactNote = DisplayNote(box, "memContactNote");
    btnLinkPerson = Button(box, QStringLiteral("Person zur &Firma zuordnen"), "btnLinkPerson");
    btnUnlink = Button(box, QStringLiteral("Verbingung &lösen"), "btnCompanyUnlink");

    auto *g = new QGridLayout(box);
    g->setVerticalSpacing(4);
    g->addWidget(personList, 0, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Position:"), box), 1, 0);
    g->addWidget(edtContactPosition, 1, 1, 1, 2);
    addPanelRows(box, g, 2, edtContactPhone, edtContactNumber, edtContactStreet, edtContactPostcode, edtContactTown,
                 memContactNote, btnLinkPerson, btnUnlink);
    g->setRowStretch(0, 1);
    g->setColumnStretch(2, 1);
    return box;
}

CompanyRecord CompanyPage::record() const
{
    CompanyRecord c;
    c.name = edtName->text();
    c.branche = edtBranche->text();
    readData(c);
    return c;
}

void CompanyPage::showRecord(const CompanyRecord &c)
{
    ++m_filling;
    auto done = qScopeGuard([this] { --m_filling; });
    setNumber(c.IDF);
    edtName->setText(c.name);
    edtBranche->setText(c.branche);
    showData(c);
}

void CompanyPage::clear()
{
    showRecord(CompanyRecord{});
    setPersons({});
    clearPersonDetails();
}

QString CompanyPage::name() const
{
    return edtName->text();
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
