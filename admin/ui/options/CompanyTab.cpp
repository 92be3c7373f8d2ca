#include "CompanyTab.h"

#include "AppState.h"
#include "Dialogs.h"
#include "OptionsRules.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

CompanyTab::CompanyTab(AppState &state, QWidget *parent)
    : OptionsPage(parent), m_state(state), m_store(std::make_unique<CompanyStore>(state.db, state.ExeDir))
{
    setObjectName(QStringLiteral("tabFirmendaten"));
    buildUi();
}

CompanyTab::~CompanyTab() = default;

void CompanyTab::buildUi()
{
    const auto edit = [this](QWidget *parent, const char *name) {
        auto *e = new QLineEdit(parent);
        e->setObjectName(QLatin1String(name));
        connect(e, &QLineEdit::textEdited, this, [this] { setModified(true); });
        return e;
    };

    grpFirma = new QGroupBox(QStringLiteral("Firmendaten"), this);
    grpFirma->setObjectName(QStringLiteral("grpFirma"));
    edtFirmenname = edit(grpFirma, "edtFirmenname");
    edtStrasse = edit(grpFirma, "edtStrasse");
    edtPLZ = edit(grpFirma, "edtPLZ");
    edtPLZ->setMaximumWidth(80);
    edtOrt = edit(grpFirma, "edtOrt");
    auto *top = new QFormLayout;
    top->addRow(QStringLiteral("Firmenname:"), edtFirmenname);
    top->addRow(QStringLiteral("Straße:"), edtStrasse);
    auto *town = new QHBoxLayout;
    town->addWidget(edtPLZ);
    town->addWidget(edtOrt, 1);
    top->addRow(QStringLiteral("PLZ / Ort"), town);

    tblFuss = new QTableWidget(5, 4, grpFirma);
    tblFuss->setObjectName(QStringLiteral("tblFuss"));
    tblFuss->horizontalHeader()->hide();
    tblFuss->verticalHeader()->hide();
    tblFuss->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblFuss->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblFuss->setWordWrap(false);
    tblFuss->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblFuss->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblFuss->setFixedHeight(5 * tblFuss->verticalHeader()->defaultSectionSize() + 2 * tblFuss->frameWidth());
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            tblFuss->setItem(r, c, new QTableWidgetItem);
    connect(tblFuss, &QTableWidget::itemChanged, this, [this] {
        if (!m_loading)
            setModified(true);
    });
    // The company data are typed once: the footer can be filled from them.
    btnFussUebernehmen = new QPushButton(QStringLiteral("Aus Firmendaten &übernehmen"), grpFirma);
    btnFussUebernehmen->setObjectName(QStringLiteral("btnFussUebernehmen"));
    btnFussUebernehmen->setToolTip(QStringLiteral("Füllt den Formularfuß aus Anschrift, Telefon, E-Mail, Bank, IBAN, "
                                                  "BIC, USt-IdNr., Steuernummer und Handelsregister"));
    connect(btnFussUebernehmen, &QPushButton::clicked, this, [this] { fillFooterFromSeller(); });
    auto *footerHead = new QHBoxLayout;
    footerHead->addWidget(new QLabel(QStringLiteral("Angaben im Formularfuß"), grpFirma), 1);
    footerHead->addWidget(btnFussUebernehmen);
    auto *firmaLayout = new QVBoxLayout(grpFirma);
    firmaLayout->addLayout(top);
    firmaLayout->addLayout(footerHead);
    firmaLayout->addWidget(tblFuss);

    grpVerkaeufer = new QGroupBox(QStringLiteral("Angaben für die elektronische Rechnung"), this);
    grpVerkaeufer->setObjectName(QStringLiteral("grpVerkaeufer"));
    edtUStIdNr = edit(grpVerkaeufer, "edtUStIdNr");
    edtSteuernummer = edit(grpVerkaeufer, "edtSteuernummer");
    edtHandelsregister = edit(grpVerkaeufer, "edtHandelsregister");
    edtHandelsregister->setPlaceholderText(QStringLiteral("z. B. Amtsgericht Freiburg HRB 1234"));
    edtIBAN = edit(grpVerkaeufer, "edtIBAN");
    edtBIC = edit(grpVerkaeufer, "edtBIC");
    edtBank = edit(grpVerkaeufer, "edtBank");
    edtKontakt = edit(grpVerkaeufer, "edtKontakt");
    edtEMail = edit(grpVerkaeufer, "edtEMail");
    edtTelefon = edit(grpVerkaeufer, "edtTelefon");
    edtWeitereKonten = edit(grpVerkaeufer, "edtWeitereKonten");
    edtWeitereKonten->setToolTip(QStringLiteral("Weitere eigene Konten (IBAN, durch Kommas getrennt), deren "
                                                "Kontoauszüge eingelesen werden dürfen"));
    auto *seller = new QGridLayout(grpVerkaeufer);
    const std::pair<const char *, QLineEdit *> rows[] = {
        {"USt-IdNr.:", edtUStIdNr}, {"Steuernummer:", edtSteuernummer}, {"Handelsregister:", edtHandelsregister},
        {"IBAN:", edtIBAN},         {"BIC:", edtBIC},                   {"Bank:", edtBank},
        {"Ansprechpartner:", edtKontakt}, {"E-Mail:", edtEMail},        {"Telefon:", edtTelefon},
        {"Weitere Konten:", edtWeitereKonten},
    };
    int i = 0;
    for (const auto &[label, field] : rows) {
        auto *l = new QLabel(QString::fromUtf8(label), grpVerkaeufer);
        l->setBuddy(field);
        seller->addWidget(l, i % 5, (i / 5) * 2);
        seller->addWidget(field, i % 5, (i / 5) * 2 + 1);
        ++i;
    }
    seller->setColumnStretch(1, 1);
    seller->setColumnStretch(3, 1);
    auto *usedWhere = new QLabel(QStringLiteral("Diese Angaben stehen mit Firmenname und Anschrift in jeder "
                                                "elektronischen Rechnung (XRechnung, ZUGFeRD) und auf dem GiroCode; "
                                                "„Aus Firmendaten übernehmen“ setzt sie auch in den Formularfuß."),
                                 grpVerkaeufer);
    usedWhere->setObjectName(QStringLiteral("lblVerwendung"));
    usedWhere->setWordWrap(true);
    seller->addWidget(usedWhere, 5, 0, 1, 4);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpFirma);
    layout->addWidget(grpVerkaeufer);
    layout->addStretch(1);
}

void CompanyTab::showData(const CompanyData &d)
{
    m_loading = true;
    edtFirmenname->setText(d.name);
    edtStrasse->setText(d.street);
    edtPLZ->setText(d.postcode);
    edtOrt->setText(d.town);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            tblFuss->item(r, c)->setText(d.footer.value(r)[std::size_t(c)]);
    const SellerData &s = d.seller;
    edtUStIdNr->setText(s.vatId);
    edtSteuernummer->setText(s.taxNumber);
    edtHandelsregister->setText(s.commercialRegister);
    edtIBAN->setText(s.iban);
    edtBIC->setText(s.bic);
    edtBank->setText(s.bankName);
    edtKontakt->setText(s.contactName);
    edtEMail->setText(s.email);
    edtTelefon->setText(s.telephone);
    edtWeitereKonten->setText(s.furtherAccounts);
    m_loading = false;
}

void CompanyTab::fillFooterFromSeller()
{
    const CompanyData d = value();
    const QList<FooterRow> footer = OptionsRules::footerFromSeller(d.seller, d.footer);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            tblFuss->item(r, c)->setText(footer.value(r)[std::size_t(c)]);
    setModified(true);
}

void CompanyTab::load()
{
    showData(m_store->load());
    setModified(false);
}

CompanyData CompanyTab::value() const
{
    CompanyData d;
    d.name = edtFirmenname->text();
    d.street = edtStrasse->text();
    d.postcode = edtPLZ->text();
    d.town = edtOrt->text();
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            d.footer[r][std::size_t(c)] = tblFuss->item(r, c)->text();
    SellerData &s = d.seller;
    s.name = d.name;
    s.street = d.street;
    s.postcode = d.postcode;
    s.town = d.town;
    s.vatId = edtUStIdNr->text();
    s.taxNumber = edtSteuernummer->text();
    s.commercialRegister = edtHandelsregister->text();
    s.iban = edtIBAN->text();
    s.bic = edtBIC->text();
    s.bankName = edtBank->text();
    s.contactName = edtKontakt->text();
    s.email = edtEMail->text();
    s.telephone = edtTelefon->text();
    s.furtherAccounts = edtWeitereKonten->text();
    return d;
}

bool CompanyTab::save()
{
    if (!m_allowed)
        return false;
    const CompanyData d = value();
    m_store->save(d);
    const QString problems = OptionsRules::sellerDataProblems(d.seller);
    if (!problems.isEmpty())
        m_state.dialogs.warning(problems);
    load();
    return true;
}

void CompanyTab::applyPermissions(bool companyData)
{
    m_allowed = companyData;
    grpFirma->setEnabled(companyData);
    grpVerkaeufer->setEnabled(companyData);
}
