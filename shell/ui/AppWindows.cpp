#include "AppWindows.h"

#include "AppState.h"
#include "ProjectPrinting.h"
#include "TForm1.h"
#include "TfrmBenutzer.h"
#include "TfrmCalendar.h"
#include "TfrmBackup.h"
#include "TfrmFPDetail.h"
#include "TfrmFallingBlocks.h"
#include "TfrmFiPe.h"
#include "TfrmMahnung.h"
#include "TfrmDatevExport.h"
#include "TfrmEingangsrechnung.h"
#include "TfrmEingangsrechnungen.h"
#include "TfrmKontoauszug.h"
#include "TfrmOP.h"
#include "TfrmPasswort.h"
#include "TfrmOptionen.h"
#include "TfrmProjekt.h"
#include "TfrmProjektDetail.h"
#include "TfrmProjektSuche.h"

#include <QApplication>
#include <QPointer>
#include "TfrmRestore.h"
#include "TfrmService.h"

#include <algorithm>
#include <vector>

// The windows the program holds. Each is created by its group below.
struct AppWindows::Impl
{
    std::unique_ptr<TfrmFiPe> fiPe;
    std::unique_ptr<TfrmProjekt> projekt;
    std::unique_ptr<TfrmProjektDetail> projektDetail;
    std::unique_ptr<TfrmProjektSuche> projektSuche;
    std::unique_ptr<TfrmFPDetail> fpDetail;
    std::unique_ptr<TfrmMahnung> mahnung;
    std::unique_ptr<TfrmOptionen> options;
    std::unique_ptr<TfrmOP> op;
    std::unique_ptr<TfrmBenutzer> benutzer;
    std::unique_ptr<TfrmPasswort> passwort;
    std::unique_ptr<TfrmCalendar> calendar;
    QPointer<TfrmFallingBlocks> game; // deleted when its window closes
    std::unique_ptr<TfrmBackup> backup;
};

namespace {

using Group = std::function<void()>;

void present(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

AppWindows::AppWindows(AppState &state, TForm1 &main) : m_state(state), m_main(main), d(std::make_unique<Impl>()) {}

AppWindows::~AppWindows() = default;

int AppWindows::groupCount()
{
    return 16;
}

void AppWindows::createAll(const std::function<void(int)> &progress)
{
    // The order follows the dependencies between the windows: the number ranges
    // first (they live in AppState), then the contact windows, the project windows,
    // options and receivables, users, catalogue and search, the dialogs of the
    // document pages, backup and letterhead.
    QWidget *owner = &m_main;
    // The calendar comes with the main window, before the groups of the splash window.
    d->calendar = std::make_unique<TfrmCalendar>(m_state, owner);
    const std::vector<Group> groups = {
        [] {}, // number ranges (AppState::dmCommon)
        [&] { d->fiPe = std::make_unique<TfrmFiPe>(m_state, owner); }, // contact editor, print confirmation
        [] {}, // person–company assignment (owned by the contact editor)
        [&] { d->projekt = std::make_unique<TfrmProjekt>(m_state, owner); }, // new project, folder dialog
        [&] { d->projektDetail = std::make_unique<TfrmProjektDetail>(m_state, owner); }, // project window
        [&] { // options (with the letterhead window), dunning
            d->options = std::make_unique<TfrmOptionen>(m_state, owner);
            d->mahnung = std::make_unique<TfrmMahnung>(m_state, owner);
        },
        [&] {
            d->op = std::make_unique<TfrmOP>(m_state, owner);
            d->op->setDunningWindow(d->mahnung.get());
        }, // open items, article data
        [&] {
            d->benutzer = std::make_unique<TfrmBenutzer>(m_state, owner);
            d->passwort = std::make_unique<TfrmPasswort>(m_state, owner);
        }, // users, password
        [&] { // article list, project search
            d->projektSuche = std::make_unique<TfrmProjektSuche>(m_state, d->projektDetail.get(), owner);
        },
        [] {}, // take-over, open-items print
        [] {}, // discount
        [] {}, // cash discount
        [] {}, // extended contact data
        [&] { d->fpDetail = std::make_unique<TfrmFPDetail>(m_state, owner); }, // additional text, contact detail view
        [&] { d->backup = std::make_unique<TfrmBackup>(m_state, owner); }, // backup
        [] {}, // letterhead (owned by the options)
    };
    int ordinal = 0;
    for (const Group &g : groups) {
        g();
        ++ordinal;
        if (progress)
            progress(std::min(6 * ordinal, 100));
    }
}

bool AppWindows::has(Window window) const
{
    switch (window) {
    case Window::ContactEditor: return bool(d->fiPe);
    case Window::NewProject: return bool(d->projekt);
    case Window::Project: return bool(d->projektDetail);
    case Window::ProjectSearch: return bool(d->projektSuche);
    case Window::ContactDetail: return bool(d->fpDetail);
    case Window::OpenItems: return bool(d->op);
    case Window::Users: return bool(d->benutzer);
    case Window::ChangePassword: return bool(d->passwort);
    case Window::Options: return bool(d->options);
    case Window::Calendar: return bool(d->calendar);
    case Window::Game: return true;
    case Window::Backup: return bool(d->backup);
    case Window::DataMaintenance: return true;
    default: return false;
    }
}

void AppWindows::editNewContact(bool company)
{
    if (!d->fiPe)
        return;
    d->fiPe->prepareNew(company);
    d->fiPe->setBlockedEntriesShown(m_main.blockedShown());
    d->fiPe->exec();
}

void AppWindows::editContact(qint64 contactNumber, bool company, bool editable)
{
    if (!d->fiPe)
        return;
    d->fiPe->prepareShow(contactNumber, company, editable);
    d->fiPe->setBlockedEntriesShown(m_main.blockedShown());
    d->fiPe->exec();
}

void AppWindows::showNewProject()
{
    if (!d->projekt)
        return;
    // The project window asks before it drops unsaved documents; when the user
    // keeps them, no new project replaces them.
    if (d->projektDetail && d->projektDetail->isVisible() && !d->projektDetail->close())
        return;
    if (d->projektSuche && d->projektSuche->isVisible())
        d->projektSuche->close();
    d->projekt->prepare();
    d->projekt->show();
    d->projekt->raise();
    d->projekt->activateWindow();
}

void AppWindows::showProject(qint64 projectNumber, qint64 customer, bool company, bool isNew)
{
    if (d->projektDetail)
        d->projektDetail->openProject(projectNumber, customer, company, isNew);
}

void AppWindows::showOpenItems()
{
    if (d->op)
        d->op->exec();
}

void AppWindows::showBankStatements()
{
    // A new window each time: the review belongs to the files chosen.
    TfrmKontoauszug window(m_state, QApplication::activeWindow());
    if (window.cmdOpen())
        window.exec();
}

void AppWindows::showReceivedInvoice(const QString &path)
{
    TfrmEingangsrechnung window(m_state, QApplication::activeWindow());
    if (path.isEmpty() ? window.cmdOpen() : window.openFile(path))
        window.exec();
    if (window.createdSupplier())
        m_main.LoadContactList();
}

void AppWindows::showReceivedInvoices()
{
    TfrmEingangsrechnungen window(m_state, QApplication::activeWindow());
    window.exec();
    if (window.createdSupplier())
        m_main.LoadContactList();
}

void AppWindows::showDatevExport()
{
    TfrmDatevExport window(m_state, QApplication::activeWindow());
    window.exec();
}

void AppWindows::showFiledInvoice(qint64 id)
{
    TfrmEingangsrechnung window(m_state, QApplication::activeWindow());
    if (window.openFiled(id))
        window.exec();
}

void AppWindows::showOptions(int tab)
{
    if (!d->options || d->options->isVisible())
        return;
    d->options->prepare(TfrmOptionen::Tab(tab));
    d->options->exec();
    m_main.updateStartBand();
    // The print jobs may have changed.
    if (d->projektDetail)
        d->projektDetail->printing()->fillJobs();
    if (d->mahnung)
        d->mahnung->reloadPrintJobs();
}

void AppWindows::showContactDetail(qint64 contactNumber)
{
    if (d->fpDetail)
        d->fpDetail->showContact(contactNumber);
}

void AppWindows::closeContactDetail()
{
    if (d->fpDetail && d->fpDetail->isVisible())
        d->fpDetail->close();
}

void AppWindows::enableProjectSearchButton(bool enabled)
{
    // The button stays off while the search itself is open.
    if (enabled && d->projektSuche && d->projektSuche->isVisible())
        return;
    m_main.setProjectSearchButtonEnabled(enabled);
}

bool AppWindows::showProjectSearch()
{
    if (!d->projektSuche || d->projektSuche->isVisible() || (d->projektDetail && d->projektDetail->isVisible()))
        return false;
    d->projektSuche->prepare(std::nullopt, 0);
    present(d->projektSuche.get());
    return true;
}

void AppWindows::showProjectSearchFrom(int page, qint64 projectNumber)
{
    if (!d->projektSuche)
        return;
    d->projektSuche->prepare(page, projectNumber);
    present(d->projektSuche.get());
}

void AppWindows::showUsers()
{
    if (d->benutzer)
        d->benutzer->exec();
}

void AppWindows::showChangePassword()
{
    if (d->passwort)
        d->passwort->exec();
}

void AppWindows::showCalendar()
{
    if (!d->calendar)
        return;
    // A new opening starts at today; one that only brings the window forward keeps its place.
    if (!d->calendar->isVisible())
        d->calendar->prepareShow();
    d->calendar->showNormal();
    d->calendar->raise();
    d->calendar->activateWindow();
}

void AppWindows::showGame()
{
    if (!d->game) {
        d->game = new TfrmFallingBlocks(m_state.dialogs, &m_main);
        d->game->setAttribute(Qt::WA_DeleteOnClose);
    }
    d->game->show();
    d->game->raise();
    d->game->activateWindow();
}

void AppWindows::showBackup(bool fullDataSet)
{
    if (!d->backup)
        return;
    d->backup->selectMode(fullDataSet ? BackupRules::Kind::Full : BackupRules::Kind::InvoiceArchive);
    d->backup->exec();
}

void AppWindows::showRestore()
{
    TfrmRestore restore(m_state, &m_main);
    restore.exec();
    if (restore.restored())
        m_main.LoadContactList();
}

bool AppWindows::closeDataWindows()
{
    // The project window asks about unsaved documents and stays open when the
    // user keeps them; the others show nothing that is not stored.
    if (d->projektDetail && d->projektDetail->isVisible() && !d->projektDetail->close())
        return false;
    for (QWidget *w : std::initializer_list<QWidget *>{d->projekt.get(), d->fpDetail.get()})
        if (w && w->isVisible())
            w->close();
    return true;
}

void AppWindows::showDataMaintenance()
{
    TfrmService service(m_state, &m_main);
    service.exec();
    if (service.changed())
        m_main.LoadContactList();
}
