#include "TfrmFiPe.h"
#include "WindowPlacement.h"

#include "AddressGroup.h"
#include "AppState.h"
#include "CommandGuard.h"
#include "CommunicationGroup.h"
#include "CompanyPage.h"
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
        if (!m_session.isSaved())
            SaveCompany();
        close();
    }));
    connect(m_person->btnOk, &QPushButton::clicked, this, Guarded(d, [this] {
        if (!m_session.isSaved())
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
    m_session.fieldChanged();
}

qint64 TfrmFiPe::drawNumber()
{
    const qint64 number = m_state.dmCommon.GetNextKundenNr();
    if (number == -1)
        m_state.dialogs.error(TdmCommon::KundenNrError);
    return number;
}

// --- hand-over from the main window ---------------------------------------------

void TfrmFiPe::prepareNew(bool company)
{
    m_session.prepareNew(company);
    SetEditable(true);
}

void TfrmFiPe::prepareShow(qint64 contactNumber, bool company, bool editable)
{
    m_session.prepareShow(contactNumber, company);
    SetEditable(editable);
}

// --- tabs ----------------------------------------------------------------------

void TfrmFiPe::showTab(bool company)
{
    m_switchingTabs = true;
    m_tabs->setCurrentIndex(company ? 0 : 1);
    m_switchingTabs = false;
}

void TfrmFiPe::tabChanged(int index)
{
    // the session follows the tab widget, whoever turned it
    m_session.tabShown(index == 0);
    if (m_switchingTabs)
        return;
    const bool toCompany = m_session.companyTabShown();
    RunCommand(m_state.dialogs, [this, toCompany] { SwitchTab(toCompany); });
}

// --- enabling ---------------------------------------------------------------------

void TfrmFiPe::SetEditable(bool a)
{
    m_session.setEditable(a);
    const bool write = m_state.perm(2);
    const bool canSave = write && a;
    m_company->setEditable(a, canSave);
    m_person->setEditable(a, canSave);
    m_person->setPositionEditable(m_session.positionEditable());
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
    const bool companyNamed = !m_company->name().isEmpty();
    const bool personNamed = !(m_person->edtFirstName->text().isEmpty() && m_person->edtLastName->text().isEmpty());
    m_extended->setEnabled(m_session.extendedDataMayOpen(companyNamed, personNamed, m_state.perm(3)));
}

void TfrmFiPe::OpenExtendedData()
{
    m_extendedWindow->prepare(m_session.companyTabShown(), m_session.contactOnTab());
    m_extendedWindow->exec();
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
    m_session.beginReload();
    if (m_session.companiesChosen()) {
        showTab(true);
        if (m_session.currentIDF() > 0)
            LoadContact(m_session.currentIDF()); // loads the selected person's details as well
    } else {
        showTab(false);
        if (m_session.currentIDN() > 0)
            LoadContact(m_session.currentIDN());
    }
}

void TfrmFiPe::Activate()
{
    reloadByChoice();
    updateLinkButtons();
    m_person->setPositionEditable(m_session.positionEditable());
    if (m_session.companyTabShown())
        m_company->edtName->setFocus();
    else
        m_person->edtAnrede->setFocus();
    m_session.markSaved();
    if (m_session.isNewEntry())
        SwitchTab(m_session.companyTabShown()); // draws the new contact number
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
            m_session.companyLoaded();
        }
    } else if (kind == QLatin1String("name")) {
        m_person->setNumber(number);
        if (const std::optional<PersonRecord> p = m_store.loadPerson(number)) {
            m_person->showRecord(*p);
            m_session.personLoaded(m_state.dmCommon.GetFirmaOfPerson(number));
            if (m_session.currentIDF() > 0)
                m_person->showLinkedCompany(m_store.linkedCompany(number));
        }
    }
    updateExtendedButton();
}

void TfrmFiPe::ShowPersonDetails(int row)
{
    const qint64 IDN = m_company->personAt(row);
    if (IDN <= 0)
        return;
    m_company->selectPersonRow(row);
    m_company->showPersonDetails(m_store.personDetails(IDN, m_session.currentIDF()));
    m_session.personShown(row, IDN);
    updateLinkButtons();
}

bool TfrmFiPe::SwitchTab(bool toCompany)
{
    m_assign->close();
    if (!m_session.isSaved()
        && m_state.dialogs.question(UnsavedSwitch, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes) {
        showTab(!toCompany);
        SetEditable(true);
        return false;
    }
    m_session.choose(toCompany);
    if (toCompany) {
        if (m_session.currentIDF() <= 0) {
            const PersonRecord person = m_person->record();
            m_company->clear();
            m_session.setCompanyNumber(drawNumber());
            m_company->setNumber(m_session.currentIDF());
            if (m_session.personExists()) {
                const qint64 IDN = m_session.currentIDN();
                m_company->putFirstPerson(person.anrede + QStringLiteral(", ") + person.titel, person.vname,
                                          person.nname, IDN);
                m_company->showPersonDetails({IDN, person.position, person.telefon, person.mainAddress.strasse,
                                              person.mainAddress.plz, person.mainAddress.ort, person.note});
            }
            m_session.companyKeepsSharedNumber();
        } else {
            const qint64 previousIDN = m_session.currentIDN();
            LoadContact(m_session.currentIDF());
            // the number went to the person meanwhile: the company draws another
            if (m_session.currentIDF() == previousIDN) {
                m_session.setCompanyNumber(drawNumber());
                m_company->setNumber(m_session.currentIDF());
            }
            m_session.noPersonShown();
            const int row = m_company->selectedPersonRow();
            if (m_company->personAt(row) > 0)
                ShowPersonDetails(row);
        }
        m_person->clear();
        m_company->edtName->setFocus();
        m_session.markSaved();
        const int personRow = m_session.personRow();
        if (personRow >= 0 && personRow < m_company->personRowCount() && personRow != m_company->selectedPersonRow())
            ShowPersonDetails(personRow);
    } else {
        if (m_session.currentIDN() <= 0) {
            m_person->clear();
            m_session.setPersonNumber(drawNumber());
            m_person->setNumber(m_session.currentIDN());
            copyCompanyToPersonPanel();
            m_session.personKeepsSharedNumber();
            m_session.personNotStored();
        } else {
            LoadContact(m_session.currentIDN());
            m_session.personKeepsSharedNumber();
        }
        m_company->clear();
        m_person->edtAnrede->setFocus();
        m_session.markSaved();
    }
    SetEditable(m_session.isNewEntry()); // also sets the extended-data button for the tab now shown
    return true;
}

// --- new and edit ---------------------------------------------------------------------

void TfrmFiPe::NewCompany()
{
    m_company->clear();
    m_session.startNewCompany(drawNumber());
    m_company->setNumber(m_session.currentIDF());
    m_company->edtName->setFocus();
    SetEditable(true);
    m_company->chkDeactivated->setChecked(false);
}

void TfrmFiPe::NewPerson()
{
    m_person->clear();
    m_session.startNewPerson(drawNumber());
    m_person->setNumber(m_session.currentIDN());
    m_person->edtAnrede->setFocus();
    SetEditable(true);
    m_person->chkDeactivated->setChecked(false);
}

void TfrmFiPe::EditCompany()
{
    SetEditable(true);
    if (m_company->name().isEmpty())
        m_session.treatAsNewEntry();
    Activate();
    if (m_company->name().isEmpty())
        m_session.companyNotStored();
}

void TfrmFiPe::EditPerson()
{
    SetEditable(true);
    Activate();
    if (m_person->edtFirstName->text().isEmpty() && m_person->edtLastName->text().isEmpty())
        m_session.personNotStored();
}

// --- saving ---------------------------------------------------------------------------

void TfrmFiPe::SaveCompany()
{
    const QString name = m_company->name();
    if (name.isEmpty()) {
        m_state.dialogs.error(QStringLiteral("Mindest der Firmenname muß eingetragen werden! Keine Speicherung"));
        return;
    }
    if (m_session.companyExists()) {
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
            m_session.companyInserted();
            copyCompanyToPersonPanel();
        }
    }
    const bool chosen = m_session.companiesChosen();
    m_session.choose(true);
    reloadByChoice();
    m_session.choose(chosen);
    m_session.companySaved();
    SetEditable(false);
}

bool TfrmFiPe::InsertCompany()
{
    const qint64 number = drawNumber();
    if (number == -1) {
        SetEditable(false);
        return false;
    }
    m_session.setCompanyNumber(number);
    CompanyRecord c = m_company->record();
    c.IDF = number;
    qint64 link = 0;
    // only a stored person without a company can be linked to the new one
    const qint64 IDN = m_session.currentIDN();
    if (IDN > 0 && IDN != number && m_state.dmCommon.GetFirmaOfPerson(IDN) == 0) {
        if (const auto person = m_store.personName(IDN)) {
            if (m_state.dialogs.question(person->first + QLatin1Char(' ') + person->second + QStringLiteral(" der Firma ")
                                             + c.name + QStringLiteral(" zuordnen?"),
                                         Dialogs::Buttons::YesNo)
                == Dialogs::Answer::Yes)
                link = IDN;
        }
    }
    // a number another workstation took meanwhile is drawn anew during the save
    m_session.setCompanyNumber(
        m_store.insertCompany(c, link, m_company->personDetails().position, [this] { return drawNumber(); }));
    if (link > 0)
        m_company->btnUnlink->setEnabled(m_session.isEditable());
    m_state.dialogs.information(QStringLiteral("Firma ") + c.name + QStringLiteral(" eingetragen. "));
    if (m_session.companiesChosen())
        m_state.SelectedID = m_session.currentIDF();
    return true;
}

void TfrmFiPe::UpdateCompany()
{
    CompanyRecord c = m_company->record();
    c.IDF = m_session.currentIDF();
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
    if (m_session.personExists()) {
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
            m_session.personInserted();
        }
    }
    const bool chosen = m_session.companiesChosen();
    m_session.choose(false);
    reloadByChoice();
    m_session.choose(chosen);
    SetEditable(false);
    m_session.markSaved();
}

bool TfrmFiPe::InsertPerson()
{
    const qint64 number = drawNumber();
    if (number == -1) {
        SetEditable(false);
        return false;
    }
    m_session.setPersonNumber(number);
    PersonRecord p = m_person->record();
    p.IDN = number;
    qint64 link = 0;
    const qint64 IDF = m_session.currentIDF();
    if (IDF > 0 && IDF != number) {
        // a company number drawn for a company that was never saved links nothing
        if (const std::optional<QString> company = m_store.companyName(IDF)) {
            if (m_state.dialogs.question(p.vname + QLatin1Char(' ') + p.nname + QStringLiteral(" der Firma ") + *company
                                             + QStringLiteral(" zuordnen?"),
                                         Dialogs::Buttons::YesNo)
                == Dialogs::Answer::Yes)
                link = IDF;
        }
    }
    m_session.setPersonNumber(m_store.insertPerson(p, link, [this] { return drawNumber(); }));
    if (link > 0) {
        m_person->btnLinkCompany->setEnabled(false);
        m_person->btnUnlink->setEnabled(m_session.isEditable());
    }
    m_state.dialogs.information(p.vname + QStringLiteral(", ") + p.nname + QStringLiteral(" eingetragen."));
    if (!m_session.companiesChosen())
        m_state.SelectedID = m_session.currentIDN();
    return true;
}

void TfrmFiPe::UpdatePerson()
{
    PersonRecord p = m_person->record();
    p.IDN = m_session.currentIDN();
    m_store.updatePerson(p, m_session.currentIDF());
    m_state.dialogs.information(QStringLiteral("Personendaten \"") + p.vname + QLatin1Char(' ') + p.nname
                                + QStringLiteral("\" geändert."));
}

// --- closing --------------------------------------------------------------------------

void TfrmFiPe::done(int result)
{
    if (m_session.hasUnsavedChanges()
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
