// Building the project window's menus, bands and pages, and the captions of its
// pages. The behaviour is in TfrmProjektDetail.cpp.
#include "TfrmProjektDetail.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "DocumentPage.h"
#include "DunningPage.h"
#include "ProjectPage.h"
#include "ProjectPrinting.h"
#include "TakeOverCommands.h"
#include "WindowPlacement.h"
#include "WordExport.h"
#include "WordToolBand.h"

#include <QAction>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>

namespace {

struct PageInfo
{
    const char *tab;
    const char *caption;
};

const PageInfo pageInfo[] = {
    {"   &Projekt", "Projekt Allgemein"},         {"   A&ngebot", "Projekt Angebote"},
    {"   A&uftrag", "Projekt Aufträge"},          {"   &Lieferschein", "Projekt Lieferscheine"},
    {"   &Rechnung", "Projekt Rechnungen"},       {"   &Gutschrift", "Projekt Gutschriften"},
    {"   &Mahnung", "Projekt Mahnungen"},         {"   &Ablage", "Projekt Arbeitsablage"},
};

const DocumentKind pageKinds[] = {DocumentKind::Angebot, DocumentKind::Angebot, DocumentKind::Auftrag,
                                  DocumentKind::Lieferschein, DocumentKind::Rechnung, DocumentKind::Gutschrift,
                                  DocumentKind::Mahnung, DocumentKind::Ablage};

} // namespace

QString TfrmProjektDetail::tabText(int page)
{
    return QString::fromUtf8(pageInfo[page].tab);
}

QString TfrmProjektDetail::windowCaption(int page)
{
    return QString::fromUtf8(pageInfo[page].caption);
}

DocumentKind TfrmProjektDetail::kindOfPage(int page)
{
    return pageKinds[page];
}

void TfrmProjektDetail::buildUi()
{
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    actClose = datei->addAction(QStringLiteral("Fenster &Schließen"), this, &QWidget::close);
    actClose->setObjectName(QStringLiteral("actClose"));
    QMenu *ansicht = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    actDruckTool = ansicht->addAction(QStringLiteral("Drucktool"));
    actWordTool = ansicht->addAction(QStringLiteral("Wordtool"));
    actDruckJob = ansicht->addAction(QStringLiteral("DruckJob"));
    for (QAction *a : {actDruckTool, actWordTool, actDruckJob})
        a->setCheckable(true);
    actWordTool->setChecked(true);
    actDruckTool->setObjectName(QStringLiteral("actDruckTool"));
    actWordTool->setObjectName(QStringLiteral("actWordTool"));
    actDruckJob->setObjectName(QStringLiteral("actDruckJob"));
    QMenu *projekt = menuBar()->addMenu(QStringLiteral("Projekt"));
    actSearch = projekt->addAction(QStringLiteral("Projekt &suchen / öffnen"));
    actSearch->setObjectName(QStringLiteral("actSearch"));
    actDetail = projekt->addAction(QStringLiteral("Firma / Person Detail >>"));
    actDetail->setObjectName(QStringLiteral("actDetail"));
    actOptions = projekt->addAction(QStringLiteral("&Optionen"));
    actOptions->setObjectName(QStringLiteral("actOptions"));
    for (QMenu *m : {datei, ansicht, projekt})
        m->setToolTipsVisible(true);

    QToolBar *tools = addToolBar(QStringLiteral("Werkzeuge"));
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setMovable(false);
    tbClose = tools->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Schließen"), this,
                               &QWidget::close);
    tbClose->setObjectName(QStringLiteral("tbClose"));
    tbSearch = tools->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                QStringLiteral("Projekt suchen / öffnen"));
    tbSearch->setObjectName(QStringLiteral("tbSearch"));
    tbDetail = tools->addAction(QStringLiteral(">>"));
    tbDetail->setObjectName(QStringLiteral("tbDetail"));
    tbDetail->setToolTip(QStringLiteral("Firma / Person Detail"));
    for (QAction *a : {actSearch, tbSearch})
        connect(a, &QAction::triggered, this, Guarded(m_state.dialogs, [this] { cmdProjectSearch(); }));
    for (QAction *a : {actDetail, tbDetail})
        connect(a, &QAction::triggered, this, Guarded(m_state.dialogs, [this] { cmdContactDetail(); }));
    connect(actOptions, &QAction::triggered, this, Guarded(m_state.dialogs, [this] { cmdOptions(); }));

    wordBand = new WordToolBand(m_state.ExeDir, this);
    addToolBar(wordBand);
    connect(actWordTool, &QAction::toggled, wordBand, &QWidget::setVisible);
    connect(wordBand, &WordToolBand::exportRequested, this, Guarded(m_state.dialogs, [this] { cmdWordExport(); }));
    wordBand->showPage(WordExportPage());

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setDocumentMode(false);
    m_projectPage = new ProjectPage(m_state, *m_projects, m_tabs);
    m_tabs->addTab(Scrollable(m_projectPage), tabText(0));
    for (int p = AngebotPage; p < PageCount; ++p) {
        QWidget *w = nullptr;
        if (p == MahnungPage) {
            m_dunning = new DunningPage(m_state, *m_documents, m_tabs);
            connect(m_dunning, &DunningPage::modifiedChanged, this, [this] { refreshTabMarks(); });
            connect(m_dunning, &DunningPage::saved, this, [this](const QString &m) { statusBar()->showMessage(m); });
            w = m_dunning;
        } else {
            auto *page = new DocumentPage(m_state, *m_documents, kindOfPage(p), m_tabs);
            page->setPaymentTermSource([this] { return m_projectPage->value().zahlungsziel; });
            connect(page, &DocumentPage::modifiedChanged, this, [this] { refreshTabMarks(); });
            connect(page, &DocumentPage::saved, this, [this](const QString &m) { statusBar()->showMessage(m); });
            connect(page, &DocumentPage::activationRequested, this,
                    [this] { RunCommand(m_state.dialogs, [this] { activate(); }); });
            connectDialogs(page);
            connect(page, &DocumentPage::takeOverIntoRequested, this, [this, page](DocumentKind target) {
                RunCommand(m_state.dialogs, [&] { TakeOverInto(m_state, *this, *page, target); });
                refreshTabMarks();
            });
            connect(page, &DocumentPage::takeOverRequested, this, [this, page] {
                RunCommand(m_state.dialogs, [&] { TakeOverExisting(m_state, *this, *page); });
                refreshTabMarks();
            });
            m_pages[p] = page;
            w = page;
        }
        m_tabs->addTab(Scrollable(w), tabText(p));
    }
    // Printing: the pages' print commands and the bands "Drucktool" and "DruckJob".
    m_printing = new ProjectPrinting(m_state, *this);
    // left to right "Drucktool", "Wordtool", "DruckJob", each where the shown one before it ends
    insertToolBar(wordBand, m_printing->tbDrucktool);
    addToolBar(m_printing->tbDruckJob);
    for (QToolBar *band : {m_printing->tbDrucktool, m_printing->tbDruckJob})
        band->toggleViewAction()->setVisible(false); // shown and hidden through "Ansicht"
    actDruckTool->setChecked(true);
    actDruckJob->setChecked(true);
    connect(actDruckTool, &QAction::toggled, m_printing->tbDrucktool, &QWidget::setVisible);
    connect(actDruckJob, &QAction::toggled, m_printing->tbDruckJob, &QWidget::setVisible);
    for (int p = AngebotPage; p < PageCount; ++p)
        if (DocumentPage *page = m_pages[p]) {
            connect(page, &DocumentPage::printRequested, this,
                    Guarded(m_state.dialogs, [this, page] { m_printing->printPage(page); }));
            connect(page, &DocumentPage::eInvoiceRequested, this,
                    Guarded(m_state.dialogs, [this, page] { cmdEInvoice(page); }));
            connect(page, &DocumentPage::mailRequested, this,
                    Guarded(m_state.dialogs, [this, page] { cmdMail(page); }));
        }
    connect(m_dunning, &DunningPage::printRequested, this,
            Guarded(m_state.dialogs, [this] { m_printing->printDunningPage(); }));
    connect(m_dunning, &DunningPage::mailRequested, this, Guarded(m_state.dialogs, [this] { cmdMailDunning(); }));
    m_tabs->setTabVisible(MahnungPage, false); // reached only through the project search
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { RunCommand(m_state.dialogs, [this] { pageChanged(); }); });
    connect(m_projectPage, &ProjectPage::modifiedChanged, this, [this] { refreshTabMarks(); });
    connect(m_projectPage, &ProjectPage::saved, this, [this] {
        copyProjectIntoPages();
        m_projectPage->fillVatChoices();
        refreshTabMarks();
    });
    connect(m_projectPage, &ProjectPage::detailRequested, this, Guarded(m_state.dialogs, [this] { cmdContactDetail(); }));
    setCentralWidget(m_tabs);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 10);
    m_progress->setMaximumWidth(200);
    m_progress->setVisible(false);
    statusBar()->addPermanentWidget(m_progress);
}
