#include "PersonPage.h"

#include "FieldLook.h"
#include "Formats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>

PersonPage::PersonPage(QWidget *parent) : ContactPage(QStringLiteral("Person"), parent)
{
    setObjectName(QStringLiteral("tabPerson"));
    build({QStringLiteral("Person Deaktiviert"), QStringLiteral("&Neue Person")}, true);
    connect(edtPosition, &QLineEdit::textEdited, this, &PersonPage::changed);

    actStandard = mnuSalutation->addAction(QStringLiteral("Standard"));
    actStandard->setObjectName(QStringLiteral("actPersonSalutationStandard"));
    addSalutation(QStringLiteral("Sehr geehrte Frau ,"), "actPersonSalutationFrau");
    addSalutation(QStringLiteral("Sehr geehrter Herr ,"), "actPersonSalutationHerr");
    // the caption of "Standard" follows the form of address and last name
    connect(mnuSalutation, &QMenu::aboutToShow, this,
            [this] { actStandard->setText(standardSalutation(edtAnrede->text(), edtLastName->text())); });
    connect(actStandard, &QAction::triggered, this,
            [this] { putSalutation(standardSalutation(edtAnrede->text(), edtLastName->text())); });
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

void PersonPage::addOwnHeadRows(QWidget *head, QGridLayout *g)
{
    edtAnrede = Field(head, "edtPersonAnrede");
    edtTitle = Field(head, "edtPersonTitle");
    edtFirstName = Field(head, "edtPersonFirstName");
    edtLastName = Field(head, "edtPersonLastName");

    auto pair = [](QWidget *a, QWidget *b) {
        auto *h = new QHBoxLayout;
        h->addWidget(a, 1);
        h->addWidget(b, 1);
        return h;
    };
    g->addWidget(new QLabel(QStringLiteral(" Anrede/Titel:"), head), 1, 0);
    g->addLayout(pair(edtAnrede, edtTitle), 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Vorname/Nachname:"), head), 2, 0);
    g->addLayout(pair(edtFirstName, edtLastName), 2, 1);
}

QList<QLineEdit *> PersonPage::ownFields() const
{
    return {edtAnrede, edtTitle, edtFirstName, edtLastName};
}

QWidget *PersonPage::buildPanel()
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
    memCompanyNote = DisplayNote(box, "memLinkedCompanyNote");
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
    r = addPanelRows(box, g, r, edtCompanyPhone, edtCompanyNumber, edtCompanyStreet, edtCompanyPostcode,
                     edtCompanyTown, memCompanyNote, btnLinkCompany, btnUnlink);
    g->setColumnStretch(2, 1);
    g->setRowStretch(r, 1);
    return box;
}

PersonRecord PersonPage::record() const
{
    PersonRecord p;
    p.anrede = edtAnrede->text();
    p.titel = edtTitle->text();
    p.vname = edtFirstName->text();
    p.nname = edtLastName->text();
    p.position = edtPosition->text();
    readData(p);
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
    edtPosition->setText(p.position);
    showData(p);
}

void PersonPage::clear()
{
    showRecord(PersonRecord{});
    clearLinkedCompany();
}

void PersonPage::setPositionEditable(bool editable)
{
    SetFieldEditable(edtPosition, editable);
    edtPosition->setEnabled(editable);
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
