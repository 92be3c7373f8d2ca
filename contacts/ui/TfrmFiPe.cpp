#include "TfrmFiPe.h"
#include "WindowPlacement.h"

#include "AddressGroup.h"
#include "AppState.h"
#include "CommandGuard.h"
#include "CommunicationGroup.h"
#include "CompanyPage.h"
#include "ContactGrid.h"
#include "Dialogs.h"
#include "PersonPage.h"
#include "Settings.h"
#include "TfrmFiPeMehr.h"
#include "TfrmFirmaPersonZuordnen.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString UnsavedSwitch = QStringLiteral(
    "Daten wurden nicht gesichert. Wenn Sie weitermachen gehen diese  Daten verloren. Wollen Sie das wirklich?");
const QString UnsavedClose = QStringLiteral("Daten wurden nicht gesichert. Dialog wirklich Beenden ?");
} // namespace

TfrmFiPe::TfrmFiPe(AppState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_state(state), m_store(state)
{
    setObjectName(QStringLiteral("TfrmFiPe"));
    setWindowTitle(QStringLiteral("Firmen und Personen Anlegen/Ändern"));
    setModal(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabContacts"));
    m_company = new CompanyPage(m_tabs);
    m_person = new PersonPage(m_tabs);
    // on a small screen (or at a large scaling) the tabs scroll instead of being cut off
    for (QWidget *page : {static_cast<QWidget *>(m_company), static_cast<QWidget *>(m_person)}) {
        auto *scroll = new QScrollArea(m_tabs);
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        m_tabs->addTab(scroll, page == m_company ? QStringLiteral("Firma") : QStringLiteral("Person"));
    }
    auto *layout = new QVBoxLayout(this);
    buildToolBar();
    layout->addWidget(m_tabs);

    m_assign = new TfrmFirmaPersonZuordnen(state, this);
    m_extendedWindow = new TfrmFiPeMehr(state, this);
    connectCommands();

    // Enter in a single-line field moves on to the next field
    const auto fields = findChildren<QLineEdit *>();
    for (QLineEdit *e : fields)
        e->installEventFilter(this);

    // room for both tabs without scrolling, as far as the screen allows
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int pages = qMax(m_company->minimumSizeHint().height(), m_person->minimumSizeHint().height()) + 40;
    const int frame = QDialog::layout()->menuBar()->sizeHint().height() + m_tabs->tabBar()->sizeHint().height() + 40;
    resize(qMin(900, screen.width() - 40), qMin(pages + frame, screen.height() - 60));
    // the last position of the window, as the user left it
    RestoreWindowPosition(this, QStringLiteral("FiPe"));
    SetEditable(false);
}

TfrmFiPe::~TfrmFiPe() = default;

void TfrmFiPe::buildToolBar()
{
    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tlbFiPe"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *close = new QToolButton(toolBar);
    close->setObjectName(QStringLiteral("btnToolClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setText(QStringLiteral("Beenden"));
    close->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(close, &QToolButton::clicked, this, &QDialog::reject);
    m_extended = new QToolButton(toolBar);
    m_extended->setObjectName(QStringLiteral("btnExtendedData"));
    m_extended->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_extended->setText(QStringLiteral("erweiterte Angaben (Zahlungsbedingungen, Bankverbindung ..)"));
    m_extended->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_extended->setEnabled(false);
    toolBar->addWidget(close);
    toolBar->addSeparator();
    toolBar->addWidget(m_extended);
    layout()->setMenuBar(toolBar);
}

void TfrmFiPe::connectCommands()
{
    Dialogs &d = m_state.dialogs;
    auto command = [this, &d](auto f) { return Guarded(d, [this, f] { (this->*f)(); }); };

    connect(m_company->btnSave, &QPushButton::clicked, this, command(&TfrmFiPe::SaveCompany));
    connect(m_person->btnSave, &QPushButton::clicked, this, command(&TfrmFiPe::SavePerson));
    connect(m_company->btnOk, &QPushButton::clicked, this, Guarded(d, [this] {
        if (!m_saved)
            SaveCompany();
        close();
    }));
    connect(m_person->btnOk, &QPushButton::clicked, this, Guarded(d, [this] {
        if (!m_saved)
            SavePerson();
        close();
    }));
    connect(m_company->btnNew, &QPushButton::clicked, this, command(&TfrmFiPe::NewCompany));
    connect(m_person->btnNew, &QPushButton::clicked, this, command(&TfrmFiPe::NewPerson));
    connect(m_company->btnEdit, &QPushButton::clicked, this, command(&TfrmFiPe::EditCompany));
    connect(m_person->btnEdit, &QPushButton::clicked, this, command(&TfrmFiPe::EditPerson));
    connect(m_company->btnLinkPerson, &QPushButton::clicked, this, command(&TfrmFiPe::LinkPerson));
    connect(m_person->btnLinkCompany, &QPushButton::clicked, this, command(&TfrmFiPe::LinkCompany));
    connect(m_company->btnUnlink, &QPushButton::clicked, this, command(&TfrmFiPe::UnlinkFromCompany));
    connect(m_person->btnUnlink, &QPushButton::clicked, this, command(&TfrmFiPe::UnlinkFromPerson));
    connect(m_extended, &QToolButton::clicked, this, command(&TfrmFiPe::OpenExtendedData));
    connect(m_company->btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_person->btnClose, &QPushButton::clicked, this, &QDialog::reject);

    connect(m_company, &CompanyPage::changed, this, &TfrmFiPe::markChanged);
    connect(m_person, &PersonPage::changed, this, &TfrmFiPe::markChanged);
    connect(m_company, &CompanyPage::personClicked, this,
            [this, &d](int row) { RunCommand(d, [this, row] { ShowPersonDetails(row); }); });
    connect(m_company, &CompanyPage::personDoubleClicked, this, [this](int row) {
        if (m_company->personAt(row) > 0)
            m_tabs->setCurrentIndex(1);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &TfrmFiPe::tabChanged);
    connect(m_assign, &TfrmFirmaPersonZuordnen::assignmentChosen, this,
            [this, &d](qint64 IDN, qint64 IDF, const QString &position) {
                RunCommand(d, [&] { assignmentChosen(IDN, IDF, position); });
            });
}

void TfrmFiPe::markChanged()
{
    if (m_editable)
        m_saved = false;
}

qint64 TfrmFiPe::drawNumber()
{
    return m_state.dmCommon.GetNextKundenNr();
}

// --- hand-over from the main window ---------------------------------------------

void TfrmFiPe::prepareNew(bool company)
{
    m_currentIDF = 0;
    m_currentIDN = 0;
    m_newEntry = true;
    m_companiesChosen = company;
    m_personRow = -1;
    SetEditable(true);
}

void TfrmFiPe::prepareShow(qint64 contactNumber, bool company, bool editable)
{
    m_newEntry = false;
    m_companiesChosen = company;
    m_currentIDF = company ? contactNumber : 0;
    m_currentIDN = company ? 0 : contactNumber;
    m_personRow = -1;
    SetEditable(editable);
}

void TfrmFiPe::setBlockedEntriesShown(bool shown)
{
    m_assign->setBlockedEntries(shown);
}

// --- tabs ----------------------------------------------------------------------

bool TfrmFiPe::companyTabShown() const
{
    return m_tabs->currentIndex() == 0;
}

void TfrmFiPe::showTab(bool company)
{
    m_switchingTabs = true;
    m_tabs->setCurrentIndex(company ? 0 : 1);
    m_switchingTabs = false;
}

void TfrmFiPe::tabChanged(int)
{
    if (m_switchingTabs)
        return;
    const bool toCompany = companyTabShown();
    RunCommand(m_state.dialogs, [this, toCompany] { SwitchTab(toCompany); });
}

// --- enabling ---------------------------------------------------------------------

void TfrmFiPe::SetEditable(bool a)
{
    m_editable = a;
    const bool write = m_state.perm(2);
    const bool canSave = write && a;
    m_company->setEditable(a, canSave);
    m_person->setEditable(a, canSave);
    m_person->setPositionEditable(a && m_currentIDF > 0);
    updateLinkButtons();
    m_company->btnNew->setEnabled(write);
    m_person->btnNew->setEnabled(write);
    for (QPushButton *b : {m_company->btnSave, m_company->btnOk, m_person->btnSave, m_person->btnOk})
        b->setEnabled(canSave);
    m_company->btnEdit->setEnabled(write && !a);
    m_person->btnEdit->setEnabled(write && !a);
    updateExtendedButton();
}

// The extended data belong to a stored contact with a name; without permission
// flag 3 they stay closed.
void TfrmFiPe::updateExtendedButton()
{
    bool named = false;
    if (companyTabShown())
        named = m_companyExists && !m_company->name().isEmpty();
    else
        named = m_personExists
                && !(m_person->edtFirstName->text().isEmpty() && m_person->edtLastName->text().isEmpty());
    m_extended->setEnabled(named && m_state.perm(3));
}

void TfrmFiPe::OpenExtendedData()
{
    const bool company = companyTabShown();
    m_extendedWindow->prepare(company, company ? m_currentIDF : m_currentIDN);
    m_extendedWindow->exec();
}

void TfrmFiPe::updateLinkButtons()
{
    const bool on = m_editable && m_state.perm(2);
    m_person->btnLinkCompany->setEnabled(on && m_currentIDF == 0);
    m_person->btnUnlink->setEnabled(on && m_currentIDF != 0);
    m_company->btnUnlink->setEnabled(on && m_currentIDN != 0);
    m_company->btnLinkPerson->setEnabled(on && !m_company->name().isEmpty());
}

// --- activation and loading ------------------------------------------------------------

void TfrmFiPe::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand(m_state.dialogs, [this] { Activate(); });
}

void TfrmFiPe::reloadByChoice()
{
    m_company->clear();
    m_person->clear();
    const QStringList countries = m_store.countries();
    m_company->setCountries(countries);
    m_person->setCountries(countries);
    m_company->setCategories(m_store.categories(true));
    m_person->setCategories(m_store.categories(false));
    m_saved = true;
    m_companyExists = false;
    m_personExists = false;
    if (m_companiesChosen) {
        showTab(true);
        if (m_currentIDF > 0)
            LoadContact(m_currentIDF); // loads the selected person's details as well
    } else {
        showTab(false);
        if (m_currentIDN > 0)
            LoadContact(m_currentIDN);
    }
}

void TfrmFiPe::Activate()
{
    reloadByChoice();
    updateLinkButtons();
    m_person->setPositionEditable(m_editable && m_currentIDF > 0);
    if (companyTabShown())
        m_company->edtName->setFocus();
    else
        m_person->edtAnrede->setFocus();
    m_saved = true;
    if (m_newEntry)
        SwitchTab(companyTabShown()); // draws the new contact number
    if (!m_state.perm(2))
        SetEditable(false);
}

void TfrmFiPe::LoadContact(qint64 number)
{
    m_company->clear();
    m_person->clear();
    const QString kind = m_state.dmCommon.GetContactTable(number);
    if (kind == QLatin1String("firma")) {
        m_company->setNumber(number);
        // a company without its note row does not load, and is not taken as stored
        if (const std::optional<CompanyRecord> c = m_store.loadCompany(number)) {
            m_company->showRecord(*c);
            m_company->setPersons(m_store.companyPersons(number));
            const int row = m_company->selectedPersonRow();
            if (m_company->personAt(row) > 0)
                ShowPersonDetails(row);
            m_companyExists = true;
        }
    } else if (kind == QLatin1String("name")) {
        m_person->setNumber(number);
        if (const std::optional<PersonRecord> p = m_store.loadPerson(number)) {
            m_person->showRecord(*p);
            m_currentIDF = m_state.dmCommon.GetFirmaOfPerson(number);
            if (m_currentIDF > 0)
                m_person->showLinkedCompany(m_store.linkedCompany(number));
            m_personExists = true;
        }
    }
    updateExtendedButton();
}

void TfrmFiPe::ShowPersonDetails(int row)
{
    const qint64 IDN = m_company->personAt(row);
    if (IDN <= 0)
        return;
    m_personRow = row;
    m_company->selectPersonRow(row);
    m_company->showPersonDetails(m_store.personDetails(IDN, m_currentIDF));
    m_currentIDN = IDN;
    updateLinkButtons();
}

bool TfrmFiPe::SwitchTab(bool toCompany)
{
    m_assign->close();
    if (!m_saved
        && m_state.dialogs.question(UnsavedSwitch, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes) {
        showTab(!toCompany);
        SetEditable(true);
        return false;
    }
    m_companiesChosen = toCompany;
    if (toCompany) {
        if (m_currentIDF <= 0) {
            const PersonRecord person = m_person->record();
            m_company->clear();
            m_currentIDF = drawNumber();
            m_company->setNumber(m_currentIDF);
            if (m_personExists) {
                m_company->putFirstPerson(person.anrede + QStringLiteral(", ") + person.titel, person.vname,
                                          person.nname, m_currentIDN);
                m_company->showPersonDetails({m_currentIDN, person.position, person.telefon, person.mainAddress.strasse,
                                              person.mainAddress.plz, person.mainAddress.ort, person.note});
            }
            if (m_currentIDF == m_currentIDN)
                m_currentIDN = 0;
        } else {
            const qint64 previousIDN = m_currentIDN;
            LoadContact(m_currentIDF);
            if (m_currentIDF == previousIDN) {
                m_currentIDF = drawNumber();
                m_company->setNumber(m_currentIDF);
            }
            m_currentIDN = 0;
            const int row = m_company->selectedPersonRow();
            if (m_company->personAt(row) > 0)
                ShowPersonDetails(row);
        }
        m_person->clear();
        m_company->edtName->setFocus();
        m_saved = true;
        if (m_personRow >= 0 && m_personRow < m_company->personRowCount()
            && m_personRow != m_company->selectedPersonRow())
            ShowPersonDetails(m_personRow);
    } else {
        if (m_currentIDN <= 0) {
            m_person->clear();
            m_currentIDN = drawNumber();
            m_person->setNumber(m_currentIDN);
            copyCompanyToPersonPanel();
            if (m_currentIDF == m_currentIDN)
                m_currentIDF = 0;
            m_personExists = false;
        } else {
            LoadContact(m_currentIDN);
            if (m_currentIDN == m_currentIDF)
                m_currentIDF = 0;
        }
        m_company->clear();
        m_person->edtAnrede->setFocus();
        m_saved = true;
    }
    SetEditable(m_newEntry); // also sets the extended-data button for the tab now shown
    return true;
}

// The person tab's panel shows the company of the company tab, unless that
// company's number has just gone over to the person.
void TfrmFiPe::copyCompanyToPersonPanel()
{
    const CompanyRecord c = m_company->record();
    LinkedCompany panel;
    panel.IDF = m_currentIDF == m_currentIDN ? 0 : m_currentIDF;
    panel.name = c.name;
    panel.branche = c.branche;
    panel.telefon = c.telefon;
    panel.position = m_person->edtPosition->text();
    panel.strasse = c.mainAddress.strasse;
    panel.plz = c.mainAddress.plz;
    panel.ort = c.mainAddress.ort;
    panel.note = c.note;
    m_person->showLinkedCompany(panel);
}

// --- new and edit ---------------------------------------------------------------------

void TfrmFiPe::NewCompany()
{
    m_company->clear();
    m_currentIDF = drawNumber();
    m_company->setNumber(m_currentIDF);
    m_currentIDN = 0;
    m_companyExists = false;
    m_saved = false;
    m_company->edtName->setFocus();
    SetEditable(true);
    m_company->chkDeactivated->setChecked(false);
}

void TfrmFiPe::NewPerson()
{
    m_person->clear();
    m_currentIDN = drawNumber();
    m_person->setNumber(m_currentIDN);
    m_personExists = false;
    m_saved = false;
    m_person->edtAnrede->setFocus();
    SetEditable(true);
    m_person->chkDeactivated->setChecked(false);
}

void TfrmFiPe::EditCompany()
{
    SetEditable(true);
    if (m_company->name().isEmpty())
        m_newEntry = true;
    Activate();
    if (m_company->name().isEmpty())
        m_companyExists = false;
}

void TfrmFiPe::EditPerson()
{
    SetEditable(true);
    Activate();
    if (m_person->edtFirstName->text().isEmpty() && m_person->edtLastName->text().isEmpty())
        m_personExists = false;
}

// --- saving ---------------------------------------------------------------------------

void TfrmFiPe::SaveCompany()
{
    const QString name = m_company->name();
    if (name.isEmpty()) {
        m_state.dialogs.error(QStringLiteral("Mindest der Firmenname muß eingetragen werden! Keine Speicherung"));
        return;
    }
    if (m_companyExists) {
        UpdateCompany();
        copyCompanyToPersonPanel();
    } else {
        Dialogs::Answer last = Dialogs::Answer::Yes;
        if (name.size() >= 5) {
            for (const QString &found : m_store.similarCompanies(name)) {
                last = m_state.dialogs.question(QStringLiteral("Es existiert schon eine Firma: \"") + found
                                                    + QStringLiteral("\" eingetragen! Wollen Sie die neue Firma trotzdem eintragen?"),
                                                Dialogs::Buttons::YesNoCancel);
                if (last == Dialogs::Answer::Cancel)
                    return;
            }
        }
        if (last == Dialogs::Answer::Yes) {
            if (!InsertCompany())
                return;
            m_companyExists = true;
            copyCompanyToPersonPanel();
        }
    }
    const bool chosen = m_companiesChosen;
    m_companiesChosen = true;
    reloadByChoice();
    m_companiesChosen = chosen;
    m_saved = true;
    m_newEntry = false;
    SetEditable(false);
}

bool TfrmFiPe::InsertCompany()
{
    const qint64 number = drawNumber();
    if (number == -1) {
        SetEditable(false);
        return false;
    }
    m_currentIDF = number;
    CompanyRecord c = m_company->record();
    c.IDF = number;
    qint64 link = 0;
    // only a stored person without a company can be linked to the new one
    if (m_currentIDN > 0 && m_currentIDN != number && m_state.dmCommon.GetFirmaOfPerson(m_currentIDN) == 0) {
        if (const auto person = m_store.personName(m_currentIDN)) {
            if (m_state.dialogs.question(person->first + QLatin1Char(' ') + person->second + QStringLiteral(" der Firma ")
                                             + c.name + QStringLiteral(" zuordnen?"),
                                         Dialogs::Buttons::YesNo)
                == Dialogs::Answer::Yes)
                link = m_currentIDN;
        }
    }
    // a number another workstation took meanwhile is drawn anew during the save
    m_currentIDF = m_store.insertCompany(c, link, m_company->personDetails().position, [this] { return drawNumber(); });
    if (link > 0)
        m_company->btnUnlink->setEnabled(m_editable);
    m_state.dialogs.information(QStringLiteral("Firma ") + c.name + QStringLiteral(" eingetragen. "));
    if (m_companiesChosen)
        m_state.SelectedID = m_currentIDF;
    return true;
}

void TfrmFiPe::UpdateCompany()
{
    CompanyRecord c = m_company->record();
    c.IDF = m_currentIDF;
    m_store.updateCompany(c);
    m_state.dialogs.information(QStringLiteral("Firma geändert."));
}

void TfrmFiPe::SavePerson()
{
    const PersonRecord p = m_person->record();
    if (p.vname.isEmpty() && p.nname.isEmpty()) {
        m_state.dialogs.error(QStringLiteral("Mindest der Vorname oder Nachname muß eingetragen werden! Keine Speicherung"));
        return;
    }
    if (m_personExists) {
        UpdatePerson();
    } else {
        Dialogs::Answer last = Dialogs::Answer::Yes;
        for (const auto &found : m_store.samePersons(p.vname, p.nname)) {
            last = m_state.dialogs.question(QStringLiteral("Es existiert schon eine Person: \"") + found.first
                                                + QLatin1Char(' ') + found.second
                                                + QStringLiteral("\" eingetragen! Wollen Sie die neue Person trotzdem eintragen?"),
                                            Dialogs::Buttons::YesNoCancel);
            if (last == Dialogs::Answer::Cancel)
                return;
        }
        if (last == Dialogs::Answer::Yes) {
            if (!InsertPerson())
                return;
            m_personExists = true;
            m_newEntry = false;
        }
    }
    const bool chosen = m_companiesChosen;
    m_companiesChosen = false;
    reloadByChoice();
    m_companiesChosen = chosen;
    SetEditable(false);
    m_saved = true;
}

bool TfrmFiPe::InsertPerson()
{
    const qint64 number = drawNumber();
    if (number == -1) {
        SetEditable(false);
        return false;
    }
    m_currentIDN = number;
    PersonRecord p = m_person->record();
    p.IDN = number;
    qint64 link = 0;
    if (m_currentIDF > 0 && m_currentIDF != m_currentIDN) {
        // a company number drawn for a company that was never saved links nothing
        if (const std::optional<QString> company = m_store.companyName(m_currentIDF)) {
            if (m_state.dialogs.question(p.vname + QLatin1Char(' ') + p.nname + QStringLiteral(" der Firma ") + *company
                                             + QStringLiteral(" zuordnen?"),
                                         Dialogs::Buttons::YesNo)
                == Dialogs::Answer::Yes)
                link = m_currentIDF;
        }
    }
    m_currentIDN = m_store.insertPerson(p, link, [this] { return drawNumber(); });
    if (link > 0) {
        m_person->btnLinkCompany->setEnabled(false);
        m_person->btnUnlink->setEnabled(m_editable);
    }
    m_state.dialogs.information(p.vname + QStringLiteral(", ") + p.nname + QStringLiteral(" eingetragen."));
    if (!m_companiesChosen)
        m_state.SelectedID = m_currentIDN;
    return true;
}

void TfrmFiPe::UpdatePerson()
{
    PersonRecord p = m_person->record();
    p.IDN = m_currentIDN;
    m_store.updatePerson(p, m_currentIDF);
    m_state.dialogs.information(QStringLiteral("Personendaten \"") + p.vname + QLatin1Char(' ') + p.nname
                                + QStringLiteral("\" geändert."));
}

// --- links ---------------------------------------------------------------------------

void TfrmFiPe::LinkPerson()
{
    // a link to a company that is not stored would point nowhere
    if (!m_companyExists) {
        m_state.dialogs.information(QStringLiteral("Bitte die Firma zuerst mit \"Übernehmen\" speichern."));
        return;
    }
    m_assign->prepareForCompany(m_currentIDF, m_company->name());
    m_assign->show();
    m_assign->raise();
    m_assign->activateWindow();
    m_saved = false;
}

void TfrmFiPe::LinkCompany()
{
    if (!m_personExists) {
        m_state.dialogs.information(QStringLiteral("Bitte die Person zuerst mit \"Übernehmen\" speichern."));
        return;
    }
    m_assign->prepareForPerson(m_currentIDN, m_person->edtAnrede->text(), m_person->edtFirstName->text(),
                               m_person->edtLastName->text());
    m_assign->show();
    m_assign->raise();
    m_assign->activateWindow();
    m_saved = false;
}

void TfrmFiPe::assignmentChosen(qint64 IDN, qint64 IDF, const QString &position)
{
    m_store.linkPerson(IDN, IDF, position);
    reloadLinks(IDN, IDF);
    m_person->btnLinkCompany->setEnabled(false);
}

// After a link was made or undone only the link data are read again, so what
// the user has typed into the fields stays.
void TfrmFiPe::reloadLinks(qint64 IDN, qint64 IDF)
{
    if (companyTabShown()) {
        m_company->setPersons(m_store.companyPersons(m_currentIDF));
        m_company->clearPersonDetails();
        m_currentIDN = 0;
        int row = m_company->selectedPersonRow();
        for (int r = 0; r < m_company->personRowCount(); ++r)
            if (IDF == m_currentIDF && m_company->personAt(r) == IDN)
                row = r;
        if (m_company->personAt(row) > 0)
            ShowPersonDetails(row);
    } else {
        m_currentIDF = m_state.dmCommon.GetFirmaOfPerson(m_currentIDN);
        if (m_currentIDF > 0)
            m_person->showLinkedCompany(m_store.linkedCompany(m_currentIDN));
        else
            m_person->clearLinkedCompany();
        m_person->setPositionEditable(m_editable && m_currentIDF > 0);
    }
    updateLinkButtons();
}

void TfrmFiPe::UnlinkFromCompany()
{
    const int row = m_company->selectedPersonRow();
    const QString text = QStringLiteral("Sie sind im Begriff die Verbindung von ") + m_company->name()
        + QStringLiteral(" ") + QStringLiteral("mit ") + m_company->personCell(row, PlAnredeTitel) + QLatin1Char(' ')
        + m_company->personCell(row, PlVorname) + QLatin1Char(' ') + m_company->personCell(row, PlNachname)
        + QLatin1Char(' ') + QStringLiteral("zu lösen!");
    if (m_state.dialogs.question(text, Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes) {
        m_store.unlinkPerson(m_currentIDN, m_currentIDF);
        m_currentIDN = 0;
        m_personRow = -1;
        reloadLinks(0, 0);
    }
    SetEditable(true);
}

void TfrmFiPe::UnlinkFromPerson()
{
    const QString text = QStringLiteral("Sie sind im Begriff die Verbindung von ") + m_person->edtFirstName->text()
        + QLatin1Char(' ') + m_person->edtLastName->text() + QStringLiteral(" zu lösen!");
    if (m_state.dialogs.question(text, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    m_store.unlinkPerson(m_currentIDN, m_currentIDF);
    reloadLinks(0, 0);
}

// --- closing --------------------------------------------------------------------------

void TfrmFiPe::done(int result)
{
    if (!m_saved && m_editable
        && m_state.dialogs.question(UnsavedClose, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    SaveWindowPosition(this, QStringLiteral("FiPe"));
    m_assign->close();
    SetEditable(false);
    QDialog::done(result);
}

bool TfrmFiPe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && field->window() == this && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
