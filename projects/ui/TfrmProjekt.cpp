#include "TfrmProjekt.h"
#include "WindowPlacement.h"

#include "AddressWidgets.h"
#include "Amount.h"
#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "EntryFields.h"
#include "Formats.h"
#include "NumberEdit.h"
#include "Settings.h"
#include "WindowHub.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

TfrmProjekt::TfrmProjekt(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_store(state.db)
{
    setObjectName(QStringLiteral("TfrmProjekt"));
    setWindowTitle(QStringLiteral("Neues Projekt"));
    buildUi();
    resize(742, 514);
    setStyleSheet(QStringLiteral("QLineEdit:read-only { background: palette(window); }"));
    EnterToNextField::installBelow(this);
}

void TfrmProjekt::buildUi()
{
    auto *root = new QVBoxLayout(this);
    auto *tools = new QToolBar(this);
    tools->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), this,
                     &QWidget::close)
        ->setObjectName(QStringLiteral("tbClose"));
    root->addWidget(tools);

    auto *own = new QGroupBox(QStringLiteral("Eigene Firma"), this);
    auto *ol = new QHBoxLayout(own);
    edtEFirma = new QLineEdit(own);
    edtEFirma->setObjectName(QStringLiteral("edtEFirma"));
    ol->addWidget(edtEFirma);
    root->addWidget(own);

    grpContact = new QGroupBox(QStringLiteral("Firma"), this);
    grpContact->setObjectName(QStringLiteral("grpContact"));
    auto *g = new QGridLayout(grpContact);
    const auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    createGeneralFields(grpContact, m_state.dialogs, edit, {}, "edtScontoText", "edtSconto", QStringLiteral("Sconto"));
    edtPrNr = edit("edtPrNr");
    edtPrNr->setReadOnly(true);
    dtDatum = new QDateEdit(grpContact);
    dtDatum->setObjectName(QStringLiteral("dtDatum"));
    dtDatum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtDatum->setCalendarPopup(true);
    edtPrName = edit("edtPrName");
    memBemerkung = new QPlainTextEdit(grpContact);
    memBemerkung->setObjectName(QStringLiteral("memBemerkung"));
    memBemerkung->setTabChangesFocus(true);
    memBemerkung->setMaximumHeight(56);
    edtKNr = edit("edtKNr");
    edtKNr->setReadOnly(true);
    cbPreisgruppe = new QComboBox(grpContact);
    cbPreisgruppe->setObjectName(QStringLiteral("cbPreisgruppe"));
    cbPreisgruppe->addItems({QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei"), QStringLiteral("Vier")});
    cbPreisgruppe->setVisible(false);
    cbPreisgruppe->setEnabled(false);

    const int r = addGeneralRows(g, grpContact, QStringLiteral("Skonto-Text / %"));

    // right column of the contact group
    int s = 0;
    const int c = 3;
    g->addWidget(new QLabel(QStringLiteral("Projekt Nr."), grpContact), s, c);
    g->addWidget(edtPrNr, s++, c + 1);
    g->addWidget(new QLabel(QStringLiteral("Erstellungsdatum"), grpContact), s, c);
    g->addWidget(dtDatum, s++, c + 1);
    g->addWidget(new QLabel(QStringLiteral("Kunden Nr."), grpContact), s, c);
    g->addWidget(edtKNr, s++, c + 1);
    g->addWidget(new QLabel(QStringLiteral("Projektname"), grpContact), s, c);
    g->addWidget(edtPrName, s++, c + 1);
    g->addWidget(new QLabel(QStringLiteral("Bemerkung"), grpContact), s, c, Qt::AlignTop);
    g->addWidget(memBemerkung, s, c + 1, 3, 1);
    g->addWidget(cbPreisgruppe, r, c);
    g->setColumnStretch(1, 2);
    g->setColumnStretch(c + 1, 2);
    root->addWidget(grpContact);

    auto *addresses = new QHBoxLayout;
    const auto addressBox = [&](const QString &title, const QString &prefix, ProjectAddressGroup *&group, ProjectAddressList *&list) {
        auto *box = new QVBoxLayout;
        group = new ProjectAddressGroup(title, prefix, this);
        list = new ProjectAddressList(this);
        list->setObjectName(QStringLiteral("lst") + prefix);
        list->setMaximumHeight(110);
        box->addWidget(group);
        box->addWidget(list);
        addresses->addLayout(box);
        connect(list, &ProjectAddressList::picked, this, [this, group](qint64 ida) {
            RunCommand(m_state.dialogs, [&] { group->setValue(m_store.pickAddress(ida)); });
        });
    };
    addressBox(QStringLiteral("Anschrift"), QStringLiteral("Anschrift"), grpAnschrift, lstAnschrift);
    addressBox(QStringLiteral("Lieferanschrift"), QStringLiteral("Lieferanschrift"), grpLieferanschrift,
               lstLieferanschrift);
    root->addLayout(addresses, 1);

    auto *buttons = new QHBoxLayout;
    btnCreate = new QPushButton(QStringLiteral("&Projekt erstellen"), this);
    btnCreate->setObjectName(QStringLiteral("btnCreate"));
    btnCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCreate->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(btnCreate);
    buttons->addWidget(btnCancel);
    root->addLayout(buttons);

    connect(btnCreate, &QPushButton::clicked, this, Guarded(m_state.dialogs, [this] { createProject(); }));
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(edtUID, &QLineEdit::textEdited, this, [this] { uidEdited(); });
}

void TfrmProjekt::selectVat(const QString &rate)
{
    // rate is "16,00"; entries read "16,00 %" or "  7,00 %".
    for (int i = 0; i < cbUSt->count(); ++i) {
        if (cbUSt->itemText(i).remove(QLatin1Char('%')).trimmed() == rate) {
            cbUSt->setCurrentIndex(i);
            return;
        }
    }
    const QString entry = ProjectStore::vatEntryText(Amount::fromText(rate));
    cbUSt->addItem(entry);
    cbUSt->setCurrentIndex(cbUSt->count() - 1);
    QString rateText = entry;
    rateText.chop(2); // without " %"
    m_state.dialogs.warning(QStringLiteral("Achtung! Voreingestellter Steuersatz ") + rateText
                            + QStringLiteral(" % nicht in der ") + QStringLiteral("Steuersatzliste!"));
}

void TfrmProjekt::prepare()
{
    m_contact = m_state.SelectedID;
    m_company = m_state.CompaniesShown;

    RestoreWindowPosition(this, QStringLiteral("Projekt"));

    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->clear();
    memBemerkung->clear();
    lstAnschrift->setRows({});
    lstLieferanschrift->setRows({});

    dtDatum->setDate(QDate::currentDate());
    m_prNr = m_state.dmCommon.GetNextProjektNr();
    edtPrNr->setText(QStringLiteral("     ") + PadNumber(m_prNr));
    edtKNr->setText(QStringLiteral("     ") + PadNumber(m_contact));

    cbUSt->clear();
    cbUSt->addItems(m_store.vatChoices());
    cbUSt->setCurrentIndex(-1);

    const ContactDefaults d = m_store.loadContact(m_contact, m_company);
    const ProjectValue &v = d.value;
    showGeneralTexts(v);
    grpAnschrift->setValue(v.anschrift);
    cbPreisgruppe->setCurrentText(v.preisgruppe);
    if (!d.vatRate.isEmpty())
        selectVat(d.vatRate);
    lstAnschrift->setRows(d.addresses);
    lstLieferanschrift->setRows(d.addresses);

    edtPrName->setText(edtVName->text() + QLatin1Char('-') + edtNName->text() + QLatin1Char('-')
                       + DateToStr(dtDatum->date()));

    showContactKind(m_company);
    grpContact->setTitle(m_company ? QStringLiteral("Firma") : QStringLiteral("Person"));

    if (!edtUID->text().isEmpty()) {
        if (cbUSt->count() > 0)
            cbUSt->setCurrentIndex(0);
        chkUID->setEnabled(true);
    } else {
        chkUID->setEnabled(false);
        chkUID->setChecked(false);
    }
    chkUID->setChecked(false);
    edtEFirma->setText(ReadOwnCompany(m_state.ExeDir).line);
    if (m_state.hub)
        m_state.hub->enableProjectSearchButton(false);
}

void TfrmProjekt::uidEdited()
{
    if (!edtUID->text().isEmpty()) {
        chkUID->setEnabled(true);
        if (cbUSt->count() > 0)
            cbUSt->setCurrentIndex(0);
    } else {
        chkUID->setEnabled(false);
        chkUID->setChecked(false);
    }
}

ProjectValue TfrmProjekt::value() const
{
    ProjectValue v;
    v.prNr = m_prNr;
    v.knr = m_contact;
    v.company = m_company;
    readGeneralFields(v);
    v.preisgruppe = cbPreisgruppe->currentText();
    v.prName = edtPrName->text();
    v.prMemo = memBemerkung->toPlainText();
    v.datum = DateToStr(dtDatum->date());
    v.eFirma = edtEFirma->text();
    v.anschrift = grpAnschrift->value();
    v.lieferanschrift = grpLieferanschrift->value();
    return v;
}

void TfrmProjekt::savePosition()
{
    SaveWindowPosition(this, QStringLiteral("Projekt"));
}

void TfrmProjekt::createProject()
{
    savePosition();
    if (cbUSt->currentIndex() < 0 && cbUSt->count() > 0)
        cbUSt->setCurrentIndex(0);
    ProjectValue v = value();
    m_store.createProject(v, m_state.dmCommon);
    if (v.prNr != m_prNr)
        m_state.dialogs.information(QStringLiteral("Die Projektnummer %1 wurde inzwischen an einem anderen Arbeitsplatz "
                                                   "vergeben. Das Projekt wurde unter der Nummer %2 angelegt.")
                                        .arg(PadNumber(m_prNr), PadNumber(v.prNr)));
    // The percentages are shown as they were written.
    edtRabatt->setText(QString(edtRabatt->text()).replace(QLatin1Char(','), QLatin1Char('.')));
    edtSkonto->setText(QString(edtSkonto->text()).replace(QLatin1Char(','), QLatin1Char('.')));
    m_contact = -1; // the next opening starts over
    hide();
    if (m_state.hub)
        m_state.hub->showProject(v.prNr, v.knr, v.company, true);
}

bool TfrmProjekt::event(QEvent *e)
{
    // Each activation follows the contact selected in the main window; the fields
    // are kept while the same contact stays selected, so switching windows to look
    // something up loses nothing typed.
    if (e->type() == QEvent::WindowActivate && isVisible()
        && (m_contact != m_state.SelectedID || m_company != m_state.CompaniesShown))
        RunCommand(m_state.dialogs, [this] { prepare(); });
    return QDialog::event(e);
}

void TfrmProjekt::closeEvent(QCloseEvent *e)
{
    savePosition();
    if (m_state.hub)
        m_state.hub->enableProjectSearchButton(true);
    m_contact = -1;
    QDialog::closeEvent(e);
}
