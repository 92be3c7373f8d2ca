#include "ProjectPage.h"

#include "AddressWidgets.h"
#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "EntryFields.h"
#include "Formats.h"
#include "NumberEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ProjectPage::ProjectPage(AppState &state, ProjectStore &store, QWidget *parent)
    : QWidget(parent), m_state(state), m_store(store)
{
    setObjectName(QStringLiteral("pageProjekt"));
    buildUi();
    EnterToNextField::installBelow(this);
}

void ProjectPage::buildUi()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 1);
    root->addLayout(top, 1);

    auto *general = new QGroupBox(QStringLiteral("Allgemein"), this);
    auto *g = new QGridLayout(general);
    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        connect(e, &QLineEdit::textEdited, this, [this] { markModified(); });
        return e;
    };
    createGeneralFields(general, m_state.dialogs, edit,
                        [this](QLineEdit *e) { connect(e, &QLineEdit::textEdited, this, [this] { markModified(); }); },
                        "edtSkontoText", "edtSkonto", QStringLiteral("Skonto"));
    cbUSt->setEditable(true);
    edtPrNr = edit("edtPrNr");
    edtPrName = edit("edtPrName");
    edtDatum = edit("edtDatum");
    edtKNr = edit("edtKNr");
    for (QLineEdit *e : {edtPrNr, edtDatum, edtKNr})
        e->setReadOnly(true);
    memBemerkung = new QPlainTextEdit(general);
    memBemerkung->setObjectName(QStringLiteral("memBemerkung"));
    memBemerkung->setTabChangesFocus(true);
    memBemerkung->setMaximumHeight(60);
    connect(memBemerkung, &QPlainTextEdit::textChanged, this, [this] { markModified(); });
    cbPreisgruppe = new QComboBox(general);
    cbPreisgruppe->setObjectName(QStringLiteral("cbPreisgruppe"));
    cbPreisgruppe->addItems({QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei"), QStringLiteral("Vier")});
    cbPreisgruppe->setVisible(false);
    int r = addGeneralRows(g, general, QStringLiteral("Skonto Text / %"));
    g->addWidget(new QLabel(QStringLiteral("Projekt Nr."), general), r, 0);
    g->addWidget(edtPrNr, r++, 1);
    g->addWidget(new QLabel(QStringLiteral("Projektname"), general), r, 0);
    g->addWidget(edtPrName, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Erstellungsdatum"), general), r, 0);
    g->addWidget(edtDatum, r++, 1);
    g->addWidget(new QLabel(QStringLiteral("Bemerkung"), general), r, 0, Qt::AlignTop);
    g->addWidget(memBemerkung, r++, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Kunden Nr."), general), r, 0);
    g->addWidget(edtKNr, r++, 1);
    g->addWidget(cbPreisgruppe, r, 1);
    g->setColumnStretch(1, 1);
    left->addWidget(general);

    auto *own = new QGroupBox(QStringLiteral("Eigene Firma"), this);
    auto *ol = new QHBoxLayout(own);
    edtEFirma = edit("edtEFirma");
    ol->addWidget(edtEFirma);
    left->addWidget(own);

    auto *buttons = new QHBoxLayout;
    btnSave = new QPushButton(QStringLiteral("Änderungen &Speichern"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnDetail = new QPushButton(QStringLiteral("Firma / Person Detail >>"), this);
    btnDetail->setObjectName(QStringLiteral("btnDetail"));
    for (QPushButton *b : {btnSave, btnDetail}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    left->addLayout(buttons);
    left->addStretch(1);

    auto *groups = new QHBoxLayout;
    grpAnschrift = new ProjectAddressGroup(QStringLiteral("Anschrift"), QStringLiteral("Anschrift"), this);
    grpLieferanschrift = new ProjectAddressGroup(QStringLiteral("Lieferanschrift"), QStringLiteral("Lieferanschrift"), this);
    grpRechnungsanschrift =
        new ProjectAddressGroup(QStringLiteral("Rechnungsanschrift"), QStringLiteral("Rechnungsanschrift"), this);
    for (ProjectAddressGroup *a : {grpAnschrift, grpLieferanschrift, grpRechnungsanschrift})
        connect(a, &ProjectAddressGroup::edited, this, [this] { markModified(); });
    for (ProjectAddressGroup *a : {grpAnschrift, grpLieferanschrift, grpRechnungsanschrift})
        groups->addWidget(a, 1);
    root->addLayout(groups);
    auto *available = new QGroupBox(QStringLiteral("verfügbare Adressen"), this);
    auto *al = new QVBoxLayout(available);
    lstAdressen = new ProjectAddressList(available);
    lstAdressen->setObjectName(QStringLiteral("lstAdressen"));
    al->addWidget(lstAdressen);
    auto *opts = new QHBoxLayout;
    rbAnschrift = new QRadioButton(QStringLiteral("Anschrift"), available);
    rbAnschrift->setObjectName(QStringLiteral("rbAnschrift"));
    rbLieferanschrift = new QRadioButton(QStringLiteral("Lieferanschrift"), available);
    rbLieferanschrift->setObjectName(QStringLiteral("rbLieferanschrift"));
    rbRechnungsanschrift = new QRadioButton(QStringLiteral("Rechnungsanschrift"), available);
    rbRechnungsanschrift->setObjectName(QStringLiteral("rbRechnungsanschrift"));
    rbRechnungsanschrift->setChecked(true);
    for (QRadioButton *rb : {rbAnschrift, rbLieferanschrift, rbRechnungsanschrift})
        opts->addWidget(rb);
    al->addLayout(opts);
    right->addWidget(available, 1);

    connect(lstAdressen, &ProjectAddressList::picked, this, [this](qint64 ida) {
        RunCommand(m_state.dialogs, [this, ida] {
            ProjectAddressGroup *target = rbAnschrift->isChecked()       ? grpAnschrift
                                          : rbLieferanschrift->isChecked() ? grpLieferanschrift
                                                                           : grpRechnungsanschrift;
            target->setValue(m_store.pickAddress(ida));
            markModified();
        });
    });
    connect(edtUID, &QLineEdit::textEdited, this, [this] { uidEdited(); });
    connect(chkUID, &QCheckBox::clicked, this, [this] { markModified(); });
    connect(cbUSt, &QComboBox::activated, this, [this] { markModified(); });
    connect(cbUSt, &QComboBox::editTextChanged, this, [this] { markModified(); });
    connect(btnSave, &QPushButton::clicked, this, Guarded(m_state.dialogs, [this] { save(); }));
    connect(btnDetail, &QPushButton::clicked, this, [this] { Q_EMIT detailRequested(); });
    for (QLineEdit *e : {edtRabattText, edtSkontoText})
        connect(e, &QLineEdit::textChanged, e, [e](const QString &t) { e->setToolTip(t); });
}

void ProjectPage::markModified()
{
    if (m_filling)
        return;
    setClean(false);
}

void ProjectPage::setClean(bool clean)
{
    if (m_clean == clean)
        return;
    m_clean = clean;
    Q_EMIT modifiedChanged();
}

void ProjectPage::uidEdited()
{
    if (!edtUID->text().isEmpty()) {
        chkUID->setEnabled(true);
        cbUSt->setEditText(QStringLiteral("  0,00 %"));
    } else {
        chkUID->setEnabled(false);
        chkUID->setChecked(false);
    }
}

void ProjectPage::setCompany(bool company)
{
    m_company = company;
    showContactKind(company);
}

void ProjectPage::setCustomer(qint64 customer)
{
    edtKNr->setText(QStringLiteral("      ") + PadNumber(customer));
}

void ProjectPage::fillVatChoices()
{
    m_filling = true;
    const QString current = cbUSt->currentText();
    cbUSt->clear();
    cbUSt->addItems(m_store.vatChoices());
    cbUSt->setEditText(current);
    m_filling = false;
}

bool ProjectPage::load(qint64 prNr)
{
    const auto v = m_store.loadProject(prNr);
    m_filling = true;
    if (!v) {
        m_loaded = ProjectValue{};
        m_loaded.prNr = prNr;
        m_filling = false;
        return false;
    }
    m_loaded = *v;
    m_loaded.company = m_company;
    edtPrName->setText(v->prName);
    edtDatum->setText(v->datum.isEmpty() ? QString() : ToSystemDate(v->datum));
    showGeneralTexts(*v);
    grpAnschrift->setValue(v->anschrift);
    grpLieferanschrift->setValue(v->lieferanschrift);
    grpRechnungsanschrift->setValue(v->rechnungsanschrift);
    edtEFirma->setText(v->eFirma);
    chkUID->setChecked(v->uidStatus);
    cbUSt->setEditText(!v->uid.isEmpty() && v->uidStatus ? QStringLiteral("  0,00 %") : v->ust);
    memBemerkung->setPlainText(v->prMemo);
    cbPreisgruppe->setCurrentText(v->preisgruppe);
    edtPrNr->setText(QStringLiteral("     ") + PadNumber(prNr));
    lstAdressen->setRows(m_store.projectAddresses(prNr));
    chkUID->setEnabled(!v->uid.isEmpty());
    m_filling = false;
    setClean(true);
    return true;
}

ProjectValue ProjectPage::value() const
{
    ProjectValue v = m_loaded;
    v.company = m_company;
    readGeneralFields(v);
    v.preisgruppe = cbPreisgruppe->currentText();
    v.prName = edtPrName->text();
    v.prMemo = memBemerkung->toPlainText();
    v.eFirma = edtEFirma->text();
    v.anschrift = grpAnschrift->value();
    v.lieferanschrift = grpLieferanschrift->value();
    v.rechnungsanschrift = grpRechnungsanschrift->value();
    return v;
}

void ProjectPage::applyPermissions(bool write)
{
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->setReadOnly(!write || e == edtPrNr || e == edtDatum || e == edtKNr);
    memBemerkung->setEnabled(write);
    cbUSt->setEnabled(write);
    lstAdressen->setEnabled(write);
    for (QRadioButton *rb : {rbAnschrift, rbLieferanschrift, rbRechnungsanschrift})
        rb->setEnabled(write);
    btnSave->setEnabled(write);
    chkUID->setEnabled(write && !edtUID->text().isEmpty());
}

void ProjectPage::save()
{
    const ProjectValue v = value();
    m_store.saveProject(v);
    load(v.prNr);
    setClean(true);
    Q_EMIT saved();
    m_state.dialogs.information(QStringLiteral("Änderungen gespeichert."));
}

void ProjectPage::clearPage()
{
    m_filling = true;
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->clear();
    memBemerkung->clear();
    lstAdressen->setRows({});
    m_loaded = ProjectValue{};
    m_filling = false;
    setClean(true);
}
