// Building the main window's controls. The behaviour is in TForm1.cpp and, for the
// contact list and its search, in TForm1ContactList.cpp.
#include "Icons.h"
#include "TForm1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct IconChoice
{
    const char *theme;
    QStyle::StandardPixmap fallback;
};

IconChoice iconFor(const QString &key)
{
    if (key == QLatin1String("quit")) return {"application-exit", QStyle::SP_DialogCloseButton};
    if (key == QLatin1String("new")) return {"contact-new", QStyle::SP_FileIcon};
    if (key == QLatin1String("edit")) return {"document-properties", QStyle::SP_FileDialogDetailedView};
    if (key == QLatin1String("detail")) return {"x-office-address-book", QStyle::SP_FileDialogInfoView};
    if (key == QLatin1String("letter")) return {"mail-message-new", QStyle::SP_FileDialogContentsView};
    if (key == QLatin1String("openitems")) return {"x-office-spreadsheet", QStyle::SP_FileDialogListView};
    if (key == QLatin1String("manual")) return {"help-contents", QStyle::SP_DialogHelpButton};
    if (key == QLatin1String("project")) return {"folder-new", QStyle::SP_FileDialogNewFolder};
    if (key == QLatin1String("search")) return {"system-search", QStyle::SP_FileDialogContentsView};
    if (key == QLatin1String("calendar")) return {"x-office-calendar", QStyle::SP_FileDialogListView};
    if (key == QLatin1String("calculator")) return {"accessories-calculator", QStyle::SP_ComputerIcon};
    if (key == QLatin1String("about")) return {"help-about", QStyle::SP_MessageBoxInformation};
    if (key == QLatin1String("options")) return {"preferences-system", QStyle::SP_FileDialogDetailedView};
    if (key == QLatin1String("backup")) return {"document-save", QStyle::SP_DialogSaveButton};
    return {"", QStyle::SP_CustomBase};
}

QIcon icon(const QString &key)
{
    const IconChoice c = iconFor(key);
    if (!c.theme[0])
        return QIcon();
    return ThemedIcon(QLatin1String(c.theme), c.fallback);
}

} // namespace

QAction *TForm1::makeAction(const QString &objectName, const QString &text, const QString &iconKey)
{
    auto *a = new QAction(text, this);
    a->setObjectName(objectName);
    if (!iconKey.isEmpty())
        a->setIcon(icon(iconKey));
    return a;
}

QToolButton *TForm1::makeQuickButton(const QString &objectName, const QString &hint, const QString &caption,
                                     const QString &iconKey)
{
    auto *b = new QToolButton(quickLaunch);
    b->setObjectName(objectName);
    b->setToolTip(hint);
    b->setText(caption);
    b->setIcon(icon(iconKey));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFixedWidth(84);
    b->setMinimumHeight(58);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void TForm1::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("mnuDatei"));
    QMenu *backup = datei->addMenu(icon(QStringLiteral("backup")), QStringLiteral("&Datensicherung"));
    backup->setObjectName(QStringLiteral("mnuDatensicherung"));
    actBackupAll = makeAction(QStringLiteral("actBackupAll"), QStringLiteral("gesamter Datenbestand"));
    actBackupInvoices = makeAction(QStringLiteral("actBackupInvoices"), QStringLiteral("Rechnungen und Gutschriften"));
    backup->addAction(actBackupAll);
    backup->addAction(actBackupInvoices);
    backup->addSeparator();
    actRestore = makeAction(QStringLiteral("actRestore"), QStringLiteral("Datensicherung zurückspielen…"));
    backup->addAction(actRestore);
    actOpenEInvoice = makeAction(QStringLiteral("actOpenEInvoice"), QStringLiteral("E-Rechnung öffnen…"));
    datei->addAction(actOpenEInvoice);
    actReceivedInvoices = makeAction(QStringLiteral("actReceivedInvoices"), QStringLiteral("Eingangsrechnungen…"));
    datei->addAction(actReceivedInvoices);
    actImportStatement = makeAction(QStringLiteral("actImportStatement"), QStringLiteral("Kontoauszug einlesen…"));
    datei->addAction(actImportStatement);
    actDatevExport = makeAction(QStringLiteral("actDatevExport"), QStringLiteral("DATEV-Export…"));
    datei->addAction(actDatevExport);
    datei->addSeparator();
    actQuit = makeAction(QStringLiteral("actQuit"), QStringLiteral("&Beenden"), QStringLiteral("quit"));
    datei->addAction(actQuit);

    QMenu *bearbeiten = bar->addMenu(QStringLiteral("&Bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("mnuBearbeiten"));
    actNewEntry = makeAction(QStringLiteral("actNewEntry"), QStringLiteral("&Neuer Eintrag"), QStringLiteral("new"));
    actEditEntry = makeAction(QStringLiteral("actEditEntry"), QStringLiteral("Eintrag &bearbeiten"), QStringLiteral("edit"));
    actChangePassword = makeAction(QStringLiteral("actChangePassword"), QStringLiteral("Passwort ändern"));
    actUsers = makeAction(QStringLiteral("actUsers"), QStringLiteral("&Benutzer anlegen/ändern"));
    bearbeiten->addAction(actNewEntry);
    bearbeiten->addAction(actEditEntry);
    bearbeiten->addSeparator();
    bearbeiten->addAction(actChangePassword);
    bearbeiten->addAction(actUsers);

    QMenu *ansicht = bar->addMenu(QStringLiteral("&Ansicht"));
    ansicht->setObjectName(QStringLiteral("mnuAnsicht"));
    QMenu *leisten = ansicht->addMenu(QStringLiteral("&Symbolleisten"));
    leisten->setObjectName(QStringLiteral("mnuSymbolleisten"));
    actShowBlocked = makeAction(QStringLiteral("actShowBlocked"), QStringLiteral("&Gesperrte Einträge"));
    actShowBlocked->setCheckable(true);
    actShowSearch = makeAction(QStringLiteral("actShowSearch"), QStringLiteral("S&uche"));
    actShowSearch->setCheckable(true);
    leisten->addAction(actShowBlocked);
    leisten->addAction(actShowSearch);

    QMenu *projekt = bar->addMenu(QStringLiteral("&Projekt"));
    projekt->setObjectName(QStringLiteral("mnuProjekt"));
    actNewProject = makeAction(QStringLiteral("actNewProject"), QStringLiteral("&Neues Projekt"), QStringLiteral("project"));
    actSearchProject = makeAction(QStringLiteral("actSearchProject"), QStringLiteral("Projekt &suchen / öffnen"),
                                  QStringLiteral("search"));
    actOptions = makeAction(QStringLiteral("actOptions"), QStringLiteral("&Optionen"), QStringLiteral("options"));
    projekt->addAction(actNewProject);
    projekt->addAction(actSearchProject);
    projekt->addSeparator();
    projekt->addAction(actOptions);

    QMenu *op = bar->addMenu(QStringLiteral("&Offene Posten"));
    op->setObjectName(QStringLiteral("mnuOffenePosten"));
    actOpenItems = makeAction(QStringLiteral("actOpenItems"), QStringLiteral("Offene &Rechnungen"), QStringLiteral("openitems"));
    op->addAction(actOpenItems);

    QMenu *tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    actCalculator = makeAction(QStringLiteral("actCalculator"), QStringLiteral("&Rechner"), QStringLiteral("calculator"));
    tools->addAction(actCalculator);

    // "Hilfe" sits at the right end of the menu bar.
    auto *helpBar = new QMenuBar(bar);
    helpBar->setObjectName(QStringLiteral("helpMenuBar"));
    QMenu *hilfe = helpBar->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("mnuHilfe"));
    actManual = makeAction(QStringLiteral("actManual"), QStringLiteral("&Handbuch"), QStringLiteral("manual"));
    actAbout = makeAction(QStringLiteral("actAbout"), QStringLiteral("&Über Orvella"), QStringLiteral("about"));
    hilfe->addAction(actManual);
    hilfe->addSeparator();
    hilfe->addAction(actAbout);
    bar->setCornerWidget(helpBar, Qt::TopRightCorner);
}

void TForm1::buildToolBars()
{
    toolBar = addToolBar(QStringLiteral("Symbolleiste"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setMovable(false);
    tbQuit = makeAction(QStringLiteral("tbQuit"), QStringLiteral("Beenden"), QStringLiteral("quit"));
    tbNewEntry = makeAction(QStringLiteral("tbNewEntry"), QStringLiteral("neue Person oder Firma eintragen"), QStringLiteral("new"));
    tbEditEntry = makeAction(QStringLiteral("tbEditEntry"), QStringLiteral("ausgewählte Firma oder Person ändern"),
                             QStringLiteral("edit"));
    tbDetail = makeAction(QStringLiteral("tbDetail"), QStringLiteral("Detailansicht"), QStringLiteral("detail"));
    tbLetter = makeAction(QStringLiteral("tbLetter"), QStringLiteral("einen Brief schreiben"), QStringLiteral("letter"));
    tbOpenItems = makeAction(QStringLiteral("tbOpenItems"), QStringLiteral("Offene Posten"), QStringLiteral("openitems"));
    tbManual = makeAction(QStringLiteral("tbManual"), QStringLiteral("Handbuch"), QStringLiteral("manual"));
    for (QAction *a : {tbQuit, tbNewEntry, tbEditEntry, tbDetail, tbLetter, tbOpenItems, tbManual})
        toolBar->addAction(a);
    tbOpenItems->setVisible(false);
    tbOpenItems->setEnabled(false);

    // Companies or persons, and the category.
    choiceBand = addToolBar(QStringLiteral("Firmen / Personen"));
    choiceBand->setObjectName(QStringLiteral("choiceBand"));
    choiceBand->setMovable(false);
    auto *choice = new QWidget(choiceBand);
    auto *cl = new QHBoxLayout(choice);
    cl->setContentsMargins(8, 0, 4, 0);
    rbFirmen = new QRadioButton(QStringLiteral("Firmen"), choice);
    rbFirmen->setObjectName(QStringLiteral("rbFirmen"));
    rbPersonen = new QRadioButton(QStringLiteral("Personen"), choice);
    rbPersonen->setObjectName(QStringLiteral("rbPersonen"));
    auto *lblKategorie = new QLabel(QStringLiteral("Kategorie:"), choice);
    cbKategorie = new QComboBox(choice);
    cbKategorie->setObjectName(QStringLiteral("cbKategorie"));
    cbKategorie->setMinimumWidth(160);
    cbKategorie->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblKategorie->setBuddy(cbKategorie);
    cl->addWidget(rbFirmen);
    cl->addWidget(rbPersonen);
    cl->addSpacing(12);
    cl->addWidget(lblKategorie);
    cl->addWidget(cbKategorie);
    choiceBand->addWidget(choice);

    blockedBand = addToolBar(QStringLiteral("Gesperrte Einträge"));
    blockedBand->setObjectName(QStringLiteral("blockedBand"));
    blockedBand->setMovable(false);
    chkGesperrt = new QCheckBox(QStringLiteral("Gesperrte Einträge anzeigen"), blockedBand);
    chkGesperrt->setObjectName(QStringLiteral("chkGesperrt"));
    blockedBand->addWidget(chkGesperrt);
    blockedBand->setVisible(false);

    // The search band gets a line of its own below the tool bar.
    addToolBarBreak();
    searchBand = addToolBar(QStringLiteral("Suche"));
    searchBand->setObjectName(QStringLiteral("searchBand"));
    searchBand->setMovable(false);
    auto *search = new QWidget(searchBand);
    auto *sl = new QVBoxLayout(search);
    sl->setContentsMargins(4, 2, 4, 4);
    sl->setSpacing(2);
    tabSearch = new QTabBar(search);
    tabSearch->setObjectName(QStringLiteral("tabSearch"));
    tabSearch->setExpanding(false);
    tabSearch->setDrawBase(true);
    for (const char *t : {"Firmenname", "Personenname", "Begriff", "Kundennummer", "Postleitzahl",
                          "Telefonnummer", "Allgemein"})
        tabSearch->addTab(QString::fromUtf8(t));
    auto *row = new QHBoxLayout;
    lblSuche = new QLabel(QStringLiteral("Suche:"), search);
    lblSuche->setObjectName(QStringLiteral("lblSuche"));
    edtSearch = new QLineEdit(search);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setClearButtonEnabled(true);
    edtSearch->setMinimumWidth(280);
    lblSuche->setBuddy(edtSearch);
    row->addWidget(lblSuche);
    row->addWidget(edtSearch, 1);
    sl->addWidget(tabSearch);
    sl->addLayout(row);
    searchBand->addWidget(search);
}

void TForm1::buildQuickLaunch()
{
    quickLaunch = new QWidget(this);
    quickLaunch->setObjectName(QStringLiteral("quickLaunch"));
    quickLaunch->setAutoFillBackground(true);
    quickLaunch->setStyleSheet(QStringLiteral(
        "#quickLaunch { background-color: #000080; }"
        "#quickLaunch QToolButton { color: white; border: 1px solid transparent; border-radius: 4px; padding: 4px; }"
        "#quickLaunch QToolButton:hover { background-color: #1a1aa6; border-color: #6f6fd0; }"
        "#quickLaunch QToolButton:disabled { color: #8080b0; }"));
    auto *l = new QVBoxLayout(quickLaunch);
    // Six buttons, one of them with a two-line caption, fit the column of the
    // smallest main window (750 × 550).
    l->setContentsMargins(4, 4, 4, 4);
    l->setSpacing(2);
    qlNewEntry = makeQuickButton(QStringLiteral("qlNewEntry"), QStringLiteral("neue Person oder Firma eintragen"),
                                 QStringLiteral("Neu"), QStringLiteral("new"));
    qlEditEntry = makeQuickButton(QStringLiteral("qlEditEntry"), QStringLiteral("ausgewählte Firma oder Person ändern"),
                                  QStringLiteral("Ändern"), QStringLiteral("edit"));
    qlNewProject = makeQuickButton(QStringLiteral("qlNewProject"),
                                   QStringLiteral("neues Projekt zur ausgewählten Person oder Firma erzeugen"),
                                   QStringLiteral("Projekt"), QStringLiteral("project"));
    qlSearchProject = makeQuickButton(QStringLiteral("qlSearchProject"), QStringLiteral("einen Vorgang oder Projekt suchen"),
                                      QStringLiteral("Suchen"), QStringLiteral("search"));
    qlOpenItems = makeQuickButton(QStringLiteral("qlOpenItems"), QStringLiteral("Offene Rechnungen"),
                                  QStringLiteral("Offene\nPosten"), QStringLiteral("openitems"));
    qlCalendar = makeQuickButton(QStringLiteral("qlCalendar"), QStringLiteral("Terminkalender"),
                                 QStringLiteral("Kalender"), QStringLiteral("calendar"));
    for (QToolButton *b : {qlNewEntry, qlEditEntry, qlNewProject, qlSearchProject, qlOpenItems, qlCalendar})
        l->addWidget(b);
    l->addStretch(1);
}

void TForm1::buildList()
{
    auto *central = new QWidget(this);
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    // Where a new user begins: the company data come first, the documents need them.
    bandFirmendaten = new QFrame(central);
    bandFirmendaten->setObjectName(QStringLiteral("bandFirmendaten"));
    bandFirmendaten->setAutoFillBackground(true);
    QPalette bandColours = bandFirmendaten->palette();
    bandColours.setColor(QPalette::Window, QColor(255, 244, 206));
    bandColours.setColor(QPalette::WindowText, Qt::black);
    bandFirmendaten->setPalette(bandColours);
    auto *band = new QHBoxLayout(bandFirmendaten);
    band->setContentsMargins(8, 4, 8, 4);
    band->addWidget(new QLabel(QStringLiteral("Bitte tragen Sie zuerst Ihre Firmendaten ein."), bandFirmendaten), 1);
    btnFirmendaten = new QPushButton(QStringLiteral("&Firmendaten eintragen…"), bandFirmendaten);
    btnFirmendaten->setObjectName(QStringLiteral("btnFirmendaten"));
    band->addWidget(btnFirmendaten);
    bandFirmendaten->setVisible(false);
    v->addWidget(bandFirmendaten);
    auto *h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    v->addLayout(h, 1);
    buildQuickLaunch();
    h->addWidget(quickLaunch);

    lstContacts = new QTableView(central);
    lstContacts->setObjectName(QStringLiteral("lstContacts"));
    lstContacts->setModel(&m_model);
    lstContacts->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    lstContacts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstContacts->setAlternatingRowColors(true);
    lstContacts->setShowGrid(false);
    lstContacts->setWordWrap(false);
    lstContacts->verticalHeader()->setVisible(false);
    lstContacts->verticalHeader()->setDefaultSectionSize(lstContacts->fontMetrics().height() + 8);
    lstContacts->horizontalHeader()->setHighlightSections(false);
    lstContacts->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lstContacts->horizontalHeader()->setStretchLastSection(false);
    for (int c = ContactListModel::Id; c < ContactListModel::ColumnCount; ++c)
        lstContacts->setColumnHidden(c, true);
    lstContacts->setContextMenuPolicy(Qt::CustomContextMenu);
    lblEmptyList = new QLabel(QStringLiteral("Noch keine Kontakte – „Neu“ legt den ersten an."), lstContacts->viewport());
    lblEmptyList->setObjectName(QStringLiteral("lblEmptyList"));
    lblEmptyList->setEnabled(false); // drawn in the dimmed text colour of a hint
    lblEmptyList->setVisible(false);
    auto *hint = new QVBoxLayout(lstContacts->viewport());
    hint->addWidget(lblEmptyList, 0, Qt::AlignCenter);
    h->addWidget(lstContacts, 1);
    setCentralWidget(central);

    popupMenu = new QMenu(this);
    popupMenu->setObjectName(QStringLiteral("popupMenu"));
    popNewEntry = makeAction(QStringLiteral("popNewEntry"), QStringLiteral("&neue Firma / Person"), QStringLiteral("new"));
    popEditEntry = makeAction(QStringLiteral("popEditEntry"), QStringLiteral("&Firma / Person ändern"), QStringLiteral("edit"));
    popNewProject = makeAction(QStringLiteral("popNewProject"), QStringLiteral("n&eues Projekt"), QStringLiteral("project"));
    popSearchProject = makeAction(QStringLiteral("popSearchProject"), QStringLiteral("&Vorgang / Projekt suchen"),
                                  QStringLiteral("search"));
    popCalendar = makeAction(QStringLiteral("popCalendar"), QStringLiteral("Terminkalender"), QStringLiteral("calendar"));
    for (QAction *a : {popNewEntry, popEditEntry, popNewProject, popSearchProject, popCalendar})
        popupMenu->addAction(a);
}

void TForm1::buildStatusBar()
{
    lblStatusAddress = new QLabel(this);
    lblStatusAddress->setObjectName(QStringLiteral("lblStatusAddress"));
    lblStatusAddress->setFixedWidth(500);
    lblStatusClock = new QLabel(this);
    lblStatusClock->setObjectName(QStringLiteral("lblStatusClock"));
    lblStatusClock->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addWidget(lblStatusAddress);
    statusBar()->addPermanentWidget(lblStatusClock, 1);
}
