#include "TfrmProjektDetail.h"

#include "AppState.h"
#include "CommandAvailability.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DocumentPage.h"
#include "DocumentHistory.h"
#include "DocumentStore.h"
#include "DunningPage.h"
#include "EInvoiceCommand.h"
#include "Formats.h"
#include "TfrmArtikelEintragen.h"
#include "TfrmRabatt.h"
#include "TfrmSconto.h"
#include "TfrmZusatzText.h"
#include "ProjectPage.h"
#include "ProjectPrinting.h"
#include "ProjectStore.h"
#include "Settings.h"
#include "TakeOverCommands.h"
#include "WindowHub.h"
#include "WindowPlacement.h"
#include "WordExport.h"
#include "WordToolBand.h"

#include <QScrollArea>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

namespace {

const QString &Unavailable = CommandAvailability::UnavailableText;

// The four tab marks: shown or not, clean or modified.
QIcon tabMark(bool shown, bool clean)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = clean ? QColor(0x2e, 0x8b, 0x57) : QColor(0xd0, 0x30, 0x20);
    p.setPen(QPen(colour, 1.5));
    p.setBrush(shown ? QBrush(colour) : QBrush(Qt::NoBrush));
    p.drawEllipse(QRectF(2, 2, 10, 10));
    return QIcon(pm);
}

} // namespace

TfrmProjektDetail::TfrmProjektDetail(AppState &state, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_state(state), m_projects(std::make_unique<ProjectStore>(state.db)),
      m_documents(std::make_unique<DocumentStore>(state.db, state.dialogs, ReadCurrency(state.ExeDir)))
{
    setObjectName(QStringLiteral("TfrmProjektDetail"));
    setWindowTitle(QStringLiteral("Projekt Detail"));
    buildUi();
    // Fields that cannot be changed look like it.
    setStyleSheet(QStringLiteral("QLineEdit:read-only, QPlainTextEdit[readOnly=\"true\"] { background: palette(window); }"));
    resize(980, 660);
    for (int p = AngebotPage; p < PageCount; ++p)
        if (m_pages[p])
            m_pages[p]->clearPage();
    m_dunning->clearPage();
    showPage(ProjektPage);
}

TfrmProjektDetail::~TfrmProjektDetail() = default;

void TfrmProjektDetail::connectDialogs(DocumentPage *page)
{
    const auto run = [this, page](const std::function<bool(Document &)> &dialog) {
        return [this, page, dialog] {
            RunCommand(m_state.dialogs, [&] {
                // The line list is normalised before the line-item window sees it.
                page->document().lines.normalise();
                const bool changed = dialog(page->document());
                page->dialogClosed(changed);
                refreshTabMarks();
            });
        };
    };
    connect(page, &DocumentPage::articleDataRequested, this, run([this](Document &d) {
        return EditArticles(m_state, d, m_projectPage->value().ust, this);
    }));
    connect(page, &DocumentPage::discountRequested, this, run([this](Document &d) {
        const ProjectValue p = m_projectPage->value();
        return EditDiscount(m_state, d, p.rabattText, p.rabatt, this);
    }));
    connect(page, &DocumentPage::skontoRequested, this, run([this](Document &d) {
        const ProjectValue p = m_projectPage->value();
        return EditSkonto(m_state, d, p.scontoText, p.sconto, this);
    }));
    connect(page, &DocumentPage::additionalTextRequested, this,
            run([this](Document &d) { return EditAdditionalText(m_state, d, this); }));
}

QWidget *TfrmProjektDetail::pageWidget(int page) const
{
    if (page == ProjektPage)
        return m_projectPage;
    if (page == MahnungPage)
        return m_dunning;
    return m_pages[page];
}

DocumentPage *TfrmProjektDetail::documentPage(DocumentKind kind) const
{
    for (int p = AngebotPage; p < PageCount; ++p)
        if (m_pages[p] && m_pages[p]->kind() == kind)
            return m_pages[p];
    return nullptr;
}

QWidget *TfrmProjektDetail::pageAt(int index) const
{
    const auto *area = qobject_cast<QScrollArea *>(m_tabs->widget(index));
    return area ? area->widget() : nullptr;
}

int TfrmProjektDetail::indexOfPage(const QWidget *page) const
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (pageAt(i) == page)
            return i;
    return -1;
}

int TfrmProjektDetail::currentPage() const
{
    return m_tabs->currentIndex();
}

void TfrmProjektDetail::showPage(int page)
{
    if (page == MahnungPage)
        m_tabs->setTabVisible(MahnungPage, true);
    m_tabs->setCurrentIndex(page);
}

bool TfrmProjektDetail::isPageClean(int page) const
{
    if (page == ProjektPage)
        return m_projectPage->isClean();
    if (page == MahnungPage)
        return m_dunning->isClean();
    return m_pages[page]->isClean();
}

void TfrmProjektDetail::openProject(qint64 projectNumber, qint64 customer, bool company, bool isNew)
{
    m_projectNumber = projectNumber;
    m_customer = customer;
    m_company = company;
    m_isNew = isNew;
    if (isNew)
        m_hold = false;
    activate();
    show();
    raise();
    activateWindow();
}

void TfrmProjektDetail::readSettings()
{
    UserSettings settings;
    SettingsGroupReader reader(settings);
    int copies = 1;
    QString printer;
    bool band = false;
    // Bands whose state cannot be read stay as they are.
    bool drucktool = actDruckTool->isChecked(), druckjob = actDruckJob->isChecked();
    RestoreWindowPosition(this, reader, QStringLiteral("Projekt"));
    reader.readInt(QStringLiteral("UpDown1Position"), copies);
    reader.readString(QStringLiteral("Drucker"), printer);
    reader.readBool(QStringLiteral("DruckTool"), drucktool) && reader.readBool(QStringLiteral("WordTool"), band)
        && reader.readBool(QStringLiteral("DruckJob"), druckjob);
    if (m_printing->restore(copies, printer)) {
        actDruckTool->setChecked(drucktool);
        actDruckJob->setChecked(druckjob);
    }
    // The word-processor band keeps the user's choice even when a print setting
    // before it in the group cannot be read; without a stored choice it is shown.
    actWordTool->setChecked(settings.readBool(QStringLiteral("WordTool")).value_or(true));
}

void TfrmProjektDetail::writeSettings()
{
    SaveWindowPosition(this, QStringLiteral("Projekt"));
    UserSettings settings;
    settings.writeBool(QStringLiteral("WordTool"), actWordTool->isChecked());
}

void TfrmProjektDetail::activate()
{
    if (m_activating || m_projectNumber <= 0)
        return;
    m_activating = true;
    struct Done
    {
        TfrmProjektDetail *w;
        ~Done()
        {
            w->m_tabs->setEnabled(true);
            w->m_progress->setVisible(false);
            w->m_activating = false;
        }
    } done{this};
    m_tabs->setEnabled(false);
    m_progress->setVisible(true);
    m_progress->setValue(0);
    // The history of issued documents names who changed them (known after the log-in).
    m_documents->setEditor(DocumentEditor::of(m_state));
    readSettings();
    m_progress->setValue(2);

    if (!m_hold || m_isNew) {
        if (m_isNew) {
            m_projectPage->clearPage();
            for (int p = AngebotPage; p < PageCount; ++p)
                if (m_pages[p])
                    m_pages[p]->clearPage();
            m_dunning->clearPage();
        }
        const QString projectName = m_projectPage->loaded().prName;
        for (int p = AngebotPage; p < PageCount; ++p)
            if (m_pages[p]) {
                m_pages[p]->setProject(m_projectNumber, projectName);
                m_pages[p]->dateNewDocument();
            }
        m_dunning->setProject(m_projectNumber, projectName);
        m_projectPage->setCompany(m_company);
        m_projectPage->fillVatChoices();
        // Unsaved edits on the project page stay; only a clean page is read again.
        if (m_projectPage->isClean() || m_projectPage->loaded().prNr != m_projectNumber)
            m_projectPage->load(m_projectNumber);
        const QString name = m_projectPage->loaded().prName;
        for (int p = AngebotPage; p < PageCount; ++p)
            if (m_pages[p])
                m_pages[p]->setProject(m_projectNumber, name);
        m_dunning->setProject(m_projectNumber, name);
        m_progress->setValue(6);
        copyProjectIntoPages();
        if (m_isNew) {
            showPage(ProjektPage);
            m_customer = m_state.SelectedID;
            m_isNew = false;
        }
        m_projectPage->setCustomer(m_customer);
        for (int p = AngebotPage; p < PageCount; ++p)
            if (m_pages[p])
                m_pages[p]->setCustomer(m_customer);
        m_dunning->setCustomer(m_customer);
    }
    m_progress->setValue(8);
    m_hold = false;
    if (m_state.hub)
        m_state.hub->enableProjectSearchButton(false);
    for (int p = AngebotPage; p < PageCount; ++p)
        if (m_pages[p])
            m_pages[p]->lockCreditNoteCommands();
    pageChanged();
}

void TfrmProjektDetail::copyProjectIntoPages()
{
    const ProjectValue project = m_projectPage->value();
    for (int p = AngebotPage; p < PageCount; ++p)
        if (m_pages[p] && m_pages[p]->isClean() && m_pages[p]->acceptsProjectCopy())
            m_pages[p]->copyProject(project);
    if (m_dunning->isClean())
        m_dunning->copyProject(project);
}

void TfrmProjektDetail::pageChanged()
{
    const int page = currentPage();
    if (page < 0)
        return;
    setWindowTitle(windowCaption(page));
    wordBand->showPage(page == ProjektPage ? WordExportPage() : WordExportPage(kindOfPage(page)));
    if (page == MahnungPage)
        m_dunning->build();
    else if (page != ProjektPage && m_pages[page])
        m_pages[page]->build();
    refreshTabMarks();
    applyPermissions();
    m_printing->pageShown();
}

void TfrmProjektDetail::refreshTabMarks()
{
    const int shown = currentPage();
    for (int p = 0; p < PageCount; ++p)
        m_tabs->setTabIcon(p, tabMark(p == shown, isPageClean(p)));
}

void TfrmProjektDetail::applyPermissions()
{
    const bool write = m_state.perm(6);
    const bool invoicesRead = m_state.perm(7);
    const int page = currentPage();
    m_projectPage->applyPermissions(write);
    for (int p = AngebotPage; p < PageCount; ++p)
        if (m_pages[p])
            m_pages[p]->applyPermissions(write, invoicesRead);
    m_dunning->applyPermissions(write, invoicesRead);
    // A page hidden behind "keine Berechtigung" is not handed to the word processor either.
    const bool pageHidden =
        !write && !invoicesRead && (page == RechnungPage || page == GutschriftPage || page == MahnungPage);
    wordBand->btnWord->setEnabled(!pageHidden);
    actOptions->setEnabled(m_state.perm(9) && m_state.hub && m_state.hub->has(WindowHub::Window::Options));
    const bool detail = m_state.hub && m_state.hub->has(WindowHub::Window::ContactDetail);
    for (QAction *a : {actDetail, tbDetail}) {
        a->setEnabled(detail);
        if (!detail)
            a->setToolTip(Unavailable);
    }
    m_projectPage->btnDetail->setEnabled(detail);
    const bool search = m_state.hub && m_state.hub->has(WindowHub::Window::ProjectSearch);
    for (QAction *a : {actSearch, tbSearch}) {
        a->setEnabled(search);
        if (!search)
            a->setToolTip(Unavailable);
    }
}

void TfrmProjektDetail::cmdContactDetail()
{
    if (m_customer <= 0) {
        m_state.dialogs.warning(QStringLiteral("Fehlende Kundennummer!"));
        return;
    }
    if (m_state.hub)
        m_state.hub->showContactDetail(m_customer);
}

void TfrmProjektDetail::cmdProjectSearch()
{
    if (m_state.hub)
        m_state.hub->showProjectSearchFrom(currentPage(), m_projectNumber);
}

void TfrmProjektDetail::cmdWordExport()
{
    const int page = currentPage();
    WordWriter writer;
    if (!RunWordExport(m_state.dialogs, wordBand->folderPath(), wordBand->templateName(),
                       [this, page] { return wordExportContent(page); }, writer))
        return;
    // A stored invoice or credit note handed over as stored has gone out.
    DocumentPage *shown = page > ProjektPage && page < MahnungPage ? m_pages[page] : nullptr;
    if (shown && shown->isClean() && m_documents->isStored(shown->kind(), shown->currentNumber()))
        DocumentHistory::markIssued(m_state.db, shown->kind(), shown->currentNumber(), DocumentHistory::ByWordExport);
}

WordExportContent TfrmProjektDetail::wordExportContent(int page)
{
    if (page == ProjektPage) {
        WordExportContent content;
        content.bookmarks = ProjectPageBookmarks(m_projectPage->value(), m_projectNumber, QDate::currentDate());
        return content;
    }
    ShownDocumentPage shown;
    shown.projectNumberText = m_projectPage->edtPrNr->text();
    shown.customerNumberText = m_projectPage->edtKNr->text();
    if (page == MahnungPage) {
        shown.document = m_dunning->shownDocument();
        shown.documentListText = m_dunning->cbNummer->currentText();
        return DunningLetterContent(shown);
    }
    shown.document = m_pages[page]->shownDocument();
    shown.documentListText = m_pages[page]->cbNummer->currentText();
    return BusinessDocumentContent(shown, ReadSalutation(m_state.db, m_customer, m_company),
                                   ReadCurrency(m_state.ExeDir));
}

void TfrmProjektDetail::cmdOptions()
{
    if (m_state.hub)
        m_state.hub->showOptions();
}

bool TfrmProjektDetail::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && isVisible())
        RunCommand(m_state.dialogs, [this] { activate(); });
    return QMainWindow::event(e);
}

void TfrmProjektDetail::closeEvent(QCloseEvent *e)
{
    bool modified = false;
    for (int p = 0; p < PageCount; ++p)
        modified = modified || !isPageClean(p);
    if (modified
        && m_state.dialogs.question(QStringLiteral("In einem oder mehreren Vorgängen im aktuellen Projekt sind noch "
                                                   "ungesicherte Daten. Wenn Sie weitermachten gehen diese Daten "
                                                   "verloren! Wollen Sie wirklich weitermachen?"),
                                    Dialogs::Buttons::YesCancel, QStringLiteral("Warnung"))
               != Dialogs::Answer::Yes) {
        e->ignore();
        return;
    }
    writeSettings();
    {
        UserSettings settings;
        m_printing->writeSettings(settings);
        settings.writeBool(QStringLiteral("DruckTool"), actDruckTool->isChecked());
        settings.writeBool(QStringLiteral("WordTool"), actWordTool->isChecked());
        settings.writeBool(QStringLiteral("DruckJob"), actDruckJob->isChecked());
    }
    // Closing forgets the project: the pages are emptied and the next opening
    // starts from the tables.
    clearAllPages();
    // The pages are empty now, so the next opening must read the project again;
    // a hold left set here would show the next project with empty pages.
    m_hold = false;
    statusBar()->clearMessage();
    if (m_state.hub) {
        m_state.hub->enableProjectSearchButton(true);
        m_state.hub->closeContactDetail();
    }
    e->accept();
}

void TfrmProjektDetail::clearAllPages()
{
    m_projectPage->clearPage();
    for (int p = AngebotPage; p < PageCount; ++p)
        if (m_pages[p])
            m_pages[p]->clearPage();
    m_dunning->clearPage();
    m_tabs->setTabVisible(MahnungPage, false);
    refreshTabMarks();
}

void TfrmProjektDetail::moveEvent(QMoveEvent *e)
{
    QMainWindow::moveEvent(e);
    if (isVisible())
        writeSettings();
}

void TfrmProjektDetail::cmdEInvoice(DocumentPage *page, const QString &path)
{
    const Document document = page->shownDocument();
    const bool saved = page->isClean() && page->currentNumber() > 0;
    const auto makePdf = [this, page](const QByteArray &xml) { return m_printing->zugferdPdf(page, xml); };
    QString written = path;
    if (path.isEmpty())
        written = SaveEInvoice(m_state, document, saved, m_projectPage->value(), makePdf);
    else if (!WriteEInvoice(m_state, document, saved, m_projectPage->value(), path, makePdf))
        written.clear();
    if (written.isEmpty())
        return;
    DocumentHistory::markIssued(m_state.db, page->kind(), page->currentNumber(), DocumentHistory::ByEInvoice);
    statusBar()->showMessage(QStringLiteral("E-Rechnung gespeichert: %1").arg(QDir::toNativeSeparators(written)));
}
