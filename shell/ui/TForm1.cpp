#include "TForm1.h"
#include "WindowPlacement.h"

#include "AboutDialog.h"
#include "AppState.h"
#include "BackupRules.h"
#include "CommandAvailability.h"
#include "CommandGuard.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "Formats.h"
#include "LetterCommand.h"
#include "Settings.h"
#include "TfrmOptionen.h"
#include "WindowHub.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <vector>

QString ClockText(const QDateTime &now)
{
    static const char *const days[] = {"Sonntag", "Montag", "Dienstag", "Mittwoch",
                                       "Donnerstag", "Freitag", "Samstag"};
    // Qt counts Monday as 1 and Sunday as 7.
    const QString day = QString::fromLatin1(days[now.date().dayOfWeek() % 7]);
    QString timeFormat = QLocale::system().timeFormat(QLocale::LongFormat);
    // The long form names the time zone, which a clock in the status bar does not need.
    timeFormat.remove(QLatin1Char('t')).replace(QLatin1String("  "), QLatin1String(" "));
    return day + QStringLiteral(" - ") + DateToStr(now.date()) + QStringLiteral(" - ")
           + now.time().toString(timeFormat.trimmed()) + QString(7, QLatin1Char(' '));
}

TForm1::TForm1(AppState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_store(state.db)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Orvella Hauptformular"));
    setMinimumSize(750, 550);
    resize(750, 550);
    setAcceptDrops(true);

    buildMenus();
    buildToolBars();
    buildList();
    buildStatusBar();
    for (QMenu *m : findChildren<QMenu *>())
        m->setToolTipsVisible(true);

    m_askOnClose = true;
    // User administration writes the machine-wide log-in switch: only for the machine's administrators.
    actUsers->setVisible(m_state.isAdminAccount && m_state.isAdminAccount());

    connectCommands();

    // Initial list: companies, empty search field and categories, nothing selected.
    edtSearch->clear();
    cbKategorie->clear();
    rbFirmen->setChecked(true);
    setSelectionCommands(false);

    restoreSettings();
    ApplySizeGrade();

    clock = new QTimer(this);
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this, &TForm1::tick);
    clock->start();
    tick();
    m_firstActivation = true;
    updateStartBand();
}

void TForm1::updateStartBand()
{
    const QString name = ReadOwnCompany(m_state.ExeDir).name.trimmed();
    bandFirmendaten->setVisible(name.isEmpty() || name == QLatin1String("0"));
}

TForm1::~TForm1() = default;

void TForm1::runCommand(const std::function<void()> &command)
{
    RunCommand(m_state.dialogs, command);
}

void TForm1::connectCommands()
{
    auto on = [this](QAction *a, void (TForm1::*slot)()) {
        connect(a, &QAction::triggered, this, [this, slot] { runCommand([this, slot] { (this->*slot)(); }); });
    };
    auto onButton = [this](QToolButton *b, void (TForm1::*slot)()) {
        connect(b, &QToolButton::clicked, this, [this, slot] { runCommand([this, slot] { (this->*slot)(); }); });
    };
    connect(actQuit, &QAction::triggered, this, &QWidget::close);
    connect(tbQuit, &QAction::triggered, this, &QWidget::close);
    for (QAction *a : {actNewEntry, tbNewEntry, popNewEntry})
        on(a, &TForm1::cmdNewEntry);
    for (QAction *a : {actEditEntry, tbEditEntry, popEditEntry})
        on(a, &TForm1::cmdEditEntry);
    on(tbDetail, &TForm1::cmdDetail);
    on(tbLetter, &TForm1::cmdLetter);
    for (QAction *a : {actNewProject, popNewProject})
        on(a, &TForm1::cmdNewProject);
    for (QAction *a : {actSearchProject, popSearchProject})
        on(a, &TForm1::cmdSearchProject);
    on(actOptions, &TForm1::cmdOptions);
    connect(btnFirmendaten, &QPushButton::clicked, this, [this] {
        runCommand([this] {
            if (m_state.hub)
                m_state.hub->showOptions(TfrmOptionen::FirmendatenTab);
        });
    });
    on(actOpenItems, &TForm1::cmdOpenItems);
    connect(actOpenEInvoice, &QAction::triggered, this, [this] {
        runCommand([this] {
            if (m_state.hub)
                m_state.hub->showReceivedInvoice(QString());
        });
    });
    connect(actReceivedInvoices, &QAction::triggered, this, [this] {
        runCommand([this] {
            if (m_state.hub)
                m_state.hub->showReceivedInvoices();
        });
    });
    connect(actDatevExport, &QAction::triggered, this, [this] {
        runCommand([this] {
            if (m_state.hub)
                m_state.hub->showDatevExport();
        });
    });
    connect(actImportStatement, &QAction::triggered, this, [this] {
        runCommand([this] {
            if (m_state.hub)
                m_state.hub->showBankStatements();
        });
    });
    on(tbOpenItems, &TForm1::cmdOpenItems);
    on(actCalculator, &TForm1::cmdCalculator);
    on(actManual, &TForm1::cmdManual);
    on(actAbout, &TForm1::cmdAbout);
    connect(tbManual, &QAction::triggered, this, [this] {
        OpenWithDesktop(QUrl::fromLocalFile(QDir(m_state.ExeDir).filePath(QStringLiteral("Handbuch/Handbuch.html")))
                            .adjusted(QUrl::None)
                            .resolved(QUrl(QStringLiteral("#inhaltsverzeichnis"))));
    });
    onButton(qlNewEntry, &TForm1::cmdNewEntry);
    onButton(qlEditEntry, &TForm1::cmdEditEntry);
    onButton(qlNewProject, &TForm1::cmdNewProject);
    onButton(qlSearchProject, &TForm1::cmdSearchProject);
    onButton(qlOpenItems, &TForm1::cmdOpenItems);
    connect(actBackupAll, &QAction::triggered, this, [this] {
        runCommand([this] { if (m_state.hub) m_state.hub->showBackup(true); });
    });
    connect(actBackupInvoices, &QAction::triggered, this, [this] {
        runCommand([this] { if (m_state.hub) m_state.hub->showBackup(false); });
    });
    connect(actRestore, &QAction::triggered, this, [this] {
        runCommand([this] { if (m_state.hub) m_state.hub->showRestore(); });
    });
    connect(actUsers, &QAction::triggered, this, [this] {
        runCommand([this] { if (m_state.hub) m_state.hub->showUsers(); });
    });
    connect(actChangePassword, &QAction::triggered, this, [this] {
        runCommand([this] { if (m_state.hub) m_state.hub->showChangePassword(); });
    });
    auto calendar = [this] { runCommand([this] { if (m_state.hub) m_state.hub->showCalendar(); }); };
    connect(popCalendar, &QAction::triggered, this, calendar);
    connect(qlCalendar, &QToolButton::clicked, this, calendar);

    connect(actShowBlocked, &QAction::toggled, blockedBand, &QWidget::setVisible);
    connect(actShowSearch, &QAction::toggled, searchBand, &QWidget::setVisible);

    connect(rbFirmen, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            runCommand([this] { choiceChanged(true); });
    });
    connect(rbPersonen, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            runCommand([this] { choiceChanged(false); });
    });
    for (QRadioButton *rb : {rbFirmen, rbPersonen})
        connect(rb, &QRadioButton::clicked, this, [this] { runCommand([this] { SearchContacts(); }); });
    connect(chkGesperrt, &QCheckBox::toggled, this, [this] { runCommand([this] { LoadContactList(); }); });
    connect(cbKategorie, &QComboBox::activated, this, [this] { runCommand([this] { SearchContacts(); }); });
    connect(tabSearch, &QTabBar::currentChanged, this, [this](int i) { runCommand([this, i] { searchTabChanged(i); }); });
    connect(edtSearch, &QLineEdit::textEdited, this, [this] { runCommand([this] { searchKeyReleased(); }); });
    edtSearch->installEventFilter(this);

    connect(lstContacts->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { runCommand([this] { UpdateSelection(); }); });
    connect(lstContacts, &QTableView::clicked, this, [this] { runCommand([this] { UpdateSelection(); }); });
    connect(lstContacts, &QTableView::doubleClicked, this, [this] {
        runCommand([this] {
            if (tbDetail->isEnabled())
                cmdDetail();
        });
    });
    connect(lstContacts, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { popupMenu->popup(lstContacts->viewport()->mapToGlobal(pos)); });
    lstContacts->installEventFilter(this);
}

// --- availability and permissions -------------------------------------------

void TForm1::updateAvailability()
{
    using W = WindowHub::Window;
    const auto has = [this](W w) { return m_state.hub && m_state.hub->has(w); };
    const std::vector<std::pair<W, std::vector<QObject *>>> table = {
        {W::ContactEditor, {actNewEntry, actEditEntry, tbNewEntry, tbEditEntry, tbDetail, popNewEntry, popEditEntry,
                            qlNewEntry, qlEditEntry}},
        {W::NewProject, {actNewProject, qlNewProject, popNewProject}},
        {W::ProjectSearch, {actSearchProject, qlSearchProject, popSearchProject}},
        {W::Options, {actOptions}},
        {W::OpenItems, {actOpenItems, qlOpenItems, actImportStatement, actReceivedInvoices}},
        {W::Backup, {actBackupAll, actBackupInvoices, actRestore}},
        {W::Users, {actUsers}},
        {W::ChangePassword, {actChangePassword}},
        {W::Calendar, {popCalendar, qlCalendar}},
    };
    for (const auto &[window, controls] : table)
        if (!has(window))
            for (QObject *c : controls)
                m_availability.markUnavailable(c);
}

void TForm1::disablePasswordChange()
{
    actChangePassword->setEnabled(false);
}

void TForm1::ApplyPermissions()
{
    const auto off = [this](int flag, std::initializer_list<QObject *> controls) {
        if (!m_state.perm(flag))
            for (QObject *c : controls)
                CommandAvailability::setControlEnabled(c, false);
    };
    // The pop-up menu of the list opens the same windows as the menu entries, so it
    // is held to the same permissions.
    off(1, {actEditEntry, qlEditEntry, tbDetail, popEditEntry});
    off(2, {actNewEntry, actEditEntry, qlNewEntry, qlEditEntry, tbNewEntry, tbEditEntry, popNewEntry, popEditEntry});
    off(5, {actNewProject, actSearchProject, actOptions, qlNewProject, qlSearchProject, popNewProject,
            popSearchProject});
    off(6, {actNewProject, qlNewProject, popNewProject});
    off(9, {actOptions});
    // The export hands every invoice of the period to the advisor.
    off(7, {actDatevExport});
    if (!m_state.perm(14))
        actUsers->setVisible(false);
    // Filed supplier invoices are kept with the open items.
    off(15, {actOpenItems, qlOpenItems, actImportStatement, actReceivedInvoices});
    // Backups copy, and a restore replaces, data the user might not see otherwise.
    const auto allow = [](bool permitted, QObject *control) {
        if (!permitted)
            CommandAvailability::setControlEnabled(control, false);
    };
    allow(BackupRules::mayCreate(BackupRules::Kind::Full, m_state), actBackupAll);
    allow(BackupRules::mayCreate(BackupRules::Kind::InvoiceArchive, m_state), actBackupInvoices);
    allow(BackupRules::mayRestore(m_state), actRestore);
}

void TForm1::ApplySizeGrade()
{
    m_state.PrintSizeOffset = SizeGradeOffset(ReadSizeGrade(m_state.ExeDir));
}

// --- commands ------------------------------------------------------------------

void TForm1::openEditor(bool editable)
{
    m_savedCategory = cbKategorie->currentIndex();
    m_savedRow = lstContacts->currentIndex().row();
    m_savedCompanies = companiesChosen();
    if (m_state.hub)
        m_state.hub->editContact(m_state.SelectedID, m_savedCompanies, editable);
    afterEditor();
}

void TForm1::afterEditor()
{
    if (m_savedCompanies != companiesChosen())
        (m_savedCompanies ? rbFirmen : rbPersonen)->setChecked(true);
    if (m_savedCategory >= 0 && m_savedCategory < cbKategorie->count()) {
        const QSignalBlocker block(cbKategorie);
        cbKategorie->setCurrentIndex(m_savedCategory);
    }
    SearchContacts();
    Reselect();
}

void TForm1::cmdNewEntry()
{
    m_savedCategory = cbKategorie->currentIndex();
    m_savedCompanies = companiesChosen();
    if (m_state.hub)
        m_state.hub->editNewContact(m_savedCompanies);
    afterEditor();
}

void TForm1::cmdEditEntry()
{
    openEditor(true);
}

void TForm1::cmdDetail()
{
    openEditor(false);
}

void TForm1::cmdNewProject()
{
    if (m_state.hub)
        m_state.hub->showNewProject();
}

void TForm1::cmdSearchProject()
{
    if (m_state.hub && m_state.hub->showProjectSearch())
        qlSearchProject->setEnabled(false);
}

void TForm1::setProjectSearchButtonEnabled(bool enabled)
{
    m_availability.setEnabledIfAvailable(qlSearchProject, enabled);
    if (enabled)
        ApplyPermissions();
}

void TForm1::cmdOptions()
{
    if (m_state.hub)
        m_state.hub->showOptions();
}

void TForm1::cmdOpenItems()
{
    if (m_state.hub)
        m_state.hub->showOpenItems();
}

void TForm1::cmdCalculator()
{
    StartFirstInstalled({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
                         QStringLiteral("mate-calc"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")});
}

void TForm1::cmdManual()
{
    OpenWithDesktop(QUrl::fromLocalFile(QDir(m_state.ExeDir).filePath(QStringLiteral("Handbuch/Handbuch.html"))));
}

void TForm1::cmdAbout()
{
    ShowAboutDialog(this);
}

void TForm1::cmdLetter()
{
    WriteLetter(m_state, m_state.SelectedID, companiesChosen());
}

// --- settings, events --------------------------------------------------------

void TForm1::restoreSettings()
{
    UserSettings s;
    s.writeString(QStringLiteral("Pfad"), m_state.ExeDir);
    SettingsGroupReader r(s);
    int width = 0, height = 0, tab = 0, bandLeft = 0, bandTop = 0;
    bool flag = false;
    RestoreWindowPosition(this, r, QString(), QPoint(10, 10));
    if (r.readInt(QStringLiteral("Width"), width) && r.readInt(QStringLiteral("Height"), height))
        resize(width, height);
    if (r.readInt(QStringLiteral("TabControl1TabIndex"), tab) && tab >= 0 && tab < tabSearch->count()) {
        const QSignalBlocker block(tabSearch);
        tabSearch->setCurrentIndex(tab);
    }
    if (r.readInt(QStringLiteral("TabControl1Left"), bandLeft) && r.readInt(QStringLiteral("TabControl1Top"), bandTop)) {
        // The band is either on the line of the tool bar or on a line of its own.
        if (bandTop < toolBar->sizeHint().height())
            removeToolBarBreak(searchBand);
    }
    if (r.readBool(QStringLiteral("CheckBox1Checked"), flag))
        chkGesperrt->setChecked(flag);
    if (r.readBool(QStringLiteral("RadioButton1Checked"), flag) && flag)
        rbFirmen->setChecked(true);
    if (r.readBool(QStringLiteral("RadioButton2Checked"), flag) && flag)
        rbPersonen->setChecked(true);
    if (r.readBool(QStringLiteral("TabControl1Visible"), flag)) {
        actShowSearch->setChecked(flag);
        searchBand->setVisible(flag);
    }
    if (r.readBool(QStringLiteral("Panel4Visible"), flag)) {
        actShowBlocked->setChecked(flag);
        blockedBand->setVisible(flag);
    }
    if (r.failed()) {
        move(10, 10);
        actShowSearch->setChecked(true);
        searchBand->setVisible(true);
    }
}

void TForm1::saveSettings()
{
    UserSettings s;
    SaveWindowPosition(this, QString());
    s.writeInt(QStringLiteral("Width"), width());
    s.writeInt(QStringLiteral("Height"), height());
    s.writeInt(QStringLiteral("TabControl1TabIndex"), tabSearch->currentIndex());
    s.writeInt(QStringLiteral("TabControl1Left"), searchBand->x());
    s.writeInt(QStringLiteral("TabControl1Top"), searchBand->y());
    s.writeBool(QStringLiteral("TabControl1Visible"), actShowSearch->isChecked());
    s.writeBool(QStringLiteral("Panel4Visible"), actShowBlocked->isChecked());
    s.writeBool(QStringLiteral("Panel5Visible"), !choiceBand->isHidden());
    s.writeBool(QStringLiteral("CheckBox1Checked"), chkGesperrt->isChecked());
    s.writeBool(QStringLiteral("RadioButton1Checked"), rbFirmen->isChecked());
    s.writeBool(QStringLiteral("RadioButton2Checked"), rbPersonen->isChecked());
    s.sync();
}

void TForm1::onActivated()
{
    ApplyPermissions();
    if (m_firstActivation) {
        m_firstActivation = false;
        // the command as the menu offers it: not to a user without the open items' permission
        if (m_arguments.size() > 1 && m_arguments.at(1) == QLatin1String("/OP") && actOpenItems->isEnabled())
            cmdOpenItems();
    }
}

void TForm1::tick()
{
    lblStatusClock->setText(ClockText(QDateTime::currentDateTime()));
}

void TForm1::setListColumnWidths()
{
    const int w = lstContacts->width();
    const int widths[] = {w / 4 + 50, w / 4 - 50, w / 4 - 100, w / 4 - 50, 150};
    for (int c = 0; c < 5; ++c)
        lstContacts->setColumnWidth(c, std::max(widths[c], 30));
}

bool TForm1::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        runCommand([this] { onActivated(); });
    return QMainWindow::event(e);
}

namespace {

// The local XML or PDF file of a drop, or nothing: only one file at a time.
QString droppedInvoice(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return {};
    const QString path = data->urls().front().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("xml") || suffix == QLatin1String("pdf") ? path : QString();
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent *e)
{
    if (!droppedInvoice(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *e)
{
    const QString path = droppedInvoice(e->mimeData());
    if (path.isEmpty())
        return;
    e->acceptProposedAction();
    // after the drop has ended: the window is modal, the program the file came
    // from waits for the drop to finish
    QTimer::singleShot(0, this, [this, path] {
        runCommand([this, path] {
            if (m_state.hub)
                m_state.hub->showReceivedInvoice(path);
        });
    });
}

void TForm1::closeEvent(QCloseEvent *e)
{
    if (m_askOnClose
        && m_state.dialogs.question(QStringLiteral("Wollen Sie Orvella beenden?"), Dialogs::Buttons::YesNo)
               != Dialogs::Answer::Yes) {
        e->ignore();
        return;
    }
    saveSettings();
    e->accept();
}

void TForm1::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    setListColumnWidths();
}

bool TForm1::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == edtSearch && e->type() == QEvent::MouseButtonDblClick) {
        runCommand([this] { searchFieldDoubleClicked(); });
        return false;
    }
    if (watched == lstContacts && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runCommand([this] {
                if (tbDetail->isEnabled())
                    cmdDetail();
            });
            return true;
        }
    }
    if (watched == lstContacts && e->type() == QEvent::Resize)
        setListColumnWidths();
    return QMainWindow::eventFilter(watched, e);
}
