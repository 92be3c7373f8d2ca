#pragma once

#include "CommandAvailability.h"
#include "ContactListModel.h"
#include "ContactListStore.h"

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <functional>

class AppState;
class QAction;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTabBar;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

// Text of the status-bar clock: weekday, date and time of day, then seven blanks.
QString ClockText(const QDateTime &now);

// The main window: menu bar, tool bar, search band, quick-launch column, the
// contact list and the status bar. Holds nothing but its controls; the shared
// state of the run lives in AppState.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(AppState &state, QWidget *parent = nullptr);
    ~TForm1() override;

    // Start-up: the program's arguments (for "/OP"), and the no-log-in start.
    void setArguments(const QStringList &arguments) { m_arguments = arguments; }
    void disablePasswordChange();
    // Re-checks which windows exist and disables the commands of the others.
    void updateAvailability();
    // The band that asks for the company data shows while the own company's name
    // is still the default of a new data set.
    void updateStartBand();

    // Disables (never enables) the commands whose permission flag is not granted.
    void ApplyPermissions();
    void ApplySizeGrade();

    // The contact list.
    void LoadContactList();
    void SearchContacts();
    void UpdateSelection();
    // Selects the first row whose number equals SelectedID; else nothing changes.
    void Reselect();
    bool companiesChosen() const;
    bool blockedShown() const;
    ContactListModel &contactModel() { return m_model; }

    // Commands that other windows or tests run.
    void cmdNewEntry();
    void cmdEditEntry();
    void cmdDetail();
    void cmdNewProject();
    void cmdSearchProject();
    void cmdOptions();
    void cmdOpenItems();
    void cmdCalculator();
    void cmdManual();
    void cmdAbout();
    void cmdLetter();

    // The project windows disable the project-search button while they are open.
    void setProjectSearchButtonEnabled(bool enabled);

    bool askOnClose() const { return m_askOnClose; }
    void setAskOnClose(bool ask) { m_askOnClose = ask; }

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    // An electronic invoice (XML or PDF) dropped on the window is opened.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Layout (TForm1Layout.cpp)
    void buildMenus();
    void buildToolBars();
    void buildQuickLaunch();
    void buildList();
    void buildStatusBar();
    QAction *makeAction(const QString &objectName, const QString &text, const QString &icon = {});
    QToolButton *makeQuickButton(const QString &objectName, const QString &hint, const QString &caption,
                                 const QString &icon);

    // Contact list and search (TForm1ContactList.cpp)
    void setSelectionCommands(bool enabled);
    void showEmptyListHint();
    void choiceChanged(bool companies);
    void searchTabChanged(int index);
    void searchKeyReleased();
    void searchFieldDoubleClicked();

    // Behaviour (TForm1.cpp)
    void connectCommands();
    void restoreSettings();
    void saveSettings();
    void onActivated();
    void setListColumnWidths();
    void openEditor(bool editable);
    void afterEditor();
    void runCommand(const std::function<void()> &command);
    void tick();

    AppState &m_state;
    ContactListModel m_model;
    ContactListStore m_store;
    QStringList m_arguments;
    bool m_askOnClose = true;
    bool m_firstActivation = false;
    bool m_choiceMade = false;
    bool m_tabChangeBusy = false;
    // Hand-over to the contact editor and back.
    int m_savedCategory = 0;
    int m_savedRow = -1;
    bool m_savedCompanies = true;
    CommandAvailability m_availability;


public:
    // Controls (named for tests through objectName as well).
    QAction *actBackupAll = nullptr, *actBackupInvoices = nullptr, *actRestore = nullptr, *actQuit = nullptr;
    QAction *actNewEntry = nullptr, *actEditEntry = nullptr, *actChangePassword = nullptr, *actUsers = nullptr;
    QAction *actShowBlocked = nullptr, *actShowSearch = nullptr;
    QAction *actNewProject = nullptr, *actSearchProject = nullptr, *actOptions = nullptr;
    QAction *actImportStatement = nullptr, *actOpenEInvoice = nullptr, *actReceivedInvoices = nullptr,
            *actDatevExport = nullptr;
    QAction *actOpenItems = nullptr, *actCalculator = nullptr, *actManual = nullptr, *actAbout = nullptr;
    QAction *tbQuit = nullptr, *tbNewEntry = nullptr, *tbEditEntry = nullptr, *tbDetail = nullptr,
            *tbLetter = nullptr, *tbOpenItems = nullptr, *tbManual = nullptr;
    QAction *popNewEntry = nullptr, *popEditEntry = nullptr, *popNewProject = nullptr,
            *popSearchProject = nullptr, *popCalendar = nullptr;
    QToolButton *qlNewEntry = nullptr, *qlEditEntry = nullptr, *qlNewProject = nullptr,
                *qlSearchProject = nullptr, *qlOpenItems = nullptr, *qlCalendar = nullptr;
    QToolBar *toolBar = nullptr, *choiceBand = nullptr, *blockedBand = nullptr, *searchBand = nullptr;
    QRadioButton *rbFirmen = nullptr, *rbPersonen = nullptr;
    QComboBox *cbKategorie = nullptr;
    QCheckBox *chkGesperrt = nullptr;
    QTabBar *tabSearch = nullptr;
    QLabel *lblSuche = nullptr;
    QLineEdit *edtSearch = nullptr;
    QTableView *lstContacts = nullptr;
    // Over the empty list of a new data set: how to start.
    QLabel *lblEmptyList = nullptr;
    // Above the list while the company data are missing.
    QWidget *bandFirmendaten = nullptr;
    QPushButton *btnFirmendaten = nullptr;
    QMenu *popupMenu = nullptr;
    QLabel *lblStatusAddress = nullptr, *lblStatusClock = nullptr;
    QWidget *quickLaunch = nullptr;
    QTimer *clock = nullptr;
};
