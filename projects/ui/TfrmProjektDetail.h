#pragma once

#include "DocumentKind.h"
#include "ProjectPages.h"

#include <QMainWindow>
#include <memory>

class AppState;
class DocumentPage;
class DocumentStore;
class DunningPage;
class ProjectPage;
class ProjectPrinting;
class ProjectStore;
class QAction;
class QProgressBar;
class QTabWidget;
class QToolBar;
class WordToolBand;
struct WordExportContent;

// The project window: the project page and one page per document kind. It shows
// one project at a time and lives for the whole run.
class TfrmProjektDetail : public QMainWindow, public ProjectPages
{
    Q_OBJECT
public:
    explicit TfrmProjektDetail(AppState &state, QWidget *parent = nullptr);
    ~TfrmProjektDetail() override;

    // Opens a project: from the new-project window (isNew) or the project search.
    void openProject(qint64 projectNumber, qint64 customer, bool company, bool isNew);
    // While set, the next activation keeps the pages (the project search sets it
    // before it loads a document into a page).
    void setHold(bool hold) { m_hold = hold; }
    // The window's activation: reloads the project and fills the clean pages.
    void activate();
    // Empties every page and marks it clean: the project is left, unsaved
    // documents are dropped.
    void clearAllPages();

    qint64 projectNumber() const { return m_projectNumber; }
    qint64 customer() const { return m_customer; }
    QWidget *pagesWindow() override { return this; }
    int currentPage() const override;
    void showPage(int page) override;
    bool isPageClean(int page) const;
    DocumentPage *documentPage(DocumentKind kind) const override;
    DunningPage *dunningPage() const override { return m_dunning; }
    ProjectPage *projectPage() const { return m_projectPage; }
    QTabWidget *tabs() const { return m_tabs; }
    // The page shown at a tab index, and the index of a page: the tabs hold each
    // page inside a scroll area, so QTabWidget::widget and indexOf do not see them.
    QWidget *pageAt(int index) const override;
    int indexOfPage(const QWidget *page) const override;
    DocumentStore &documentStore() override { return *m_documents; }
    ProjectPrinting *printing() const { return m_printing; }
    // "E-Rechnung speichern…" of the invoice and credit-note pages; with a path
    // (the print's "Als PDF speichern…" as ZUGFeRD) into that file without asking.
    void cmdEInvoice(DocumentPage *page, const QString &path = QString()) override;
    // "Per E-Mail senden…": the stored document as PDF (an invoice or credit note
    // of a customer who takes electronic invoices in his form), handed to the mail
    // program with the customer's address; it counts as issued then.
    void cmdMail(DocumentPage *page);
    // "Per E-Mail senden…" of the dunning page: the stored letter as PDF.
    void cmdMailDunning();

    // Commands.
    void cmdContactDetail();
    void cmdProjectSearch();
    void cmdOptions();
    // The word-processor button: the shown page into a new document.
    void cmdWordExport();


    QAction *actClose, *actDruckTool, *actWordTool, *actDruckJob, *actSearch, *actDetail, *actOptions,
        *tbClose, *tbSearch, *tbDetail;
    WordToolBand *wordBand = nullptr;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

private:
    void buildUi();
    // The tab text and window caption of a page, and the kind of a document page.
    static QString tabText(int page);
    static QString windowCaption(int page);
    static DocumentKind kindOfPage(int page);
    void connectDialogs(DocumentPage *page);
    void pageChanged();
    void refreshTabMarks();
    void applyPermissions();
    void copyProjectIntoPages();
    void readSettings();
    void writeSettings();
    QWidget *pageWidget(int page) const;
    // What the shown page hands the word processor, as it stands.
    WordExportContent wordExportContent(int page);

    AppState &m_state;
    std::unique_ptr<ProjectStore> m_projects;
    std::unique_ptr<DocumentStore> m_documents;
    QTabWidget *m_tabs = nullptr;
    QProgressBar *m_progress = nullptr;
    ProjectPage *m_projectPage = nullptr;
    DocumentPage *m_pages[PageCount] = {};
    DunningPage *m_dunning = nullptr;
    // Hands the file to the mail program, addressed to the customer; false (after
    // a message naming the saved file) when there is none.
    bool sendMail(const QString &subject, const QString &path);
    ProjectPrinting *m_printing = nullptr;
    qint64 m_projectNumber = 0;
    qint64 m_customer = 0;
    bool m_company = true;
    bool m_isNew = false;
    bool m_hold = false;
    bool m_activating = false;
};
