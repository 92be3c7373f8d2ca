#include "ProjectPrinting.h"

#include "AppState.h"
#include "CommandGuard.h"
#include "Dialogs.h"
#include "DocumentHistory.h"
#include "DocumentStore.h"
#include "DocumentPage.h"
#include "DunningPage.h"
#include "Formats.h"
#include "PrintJobFile.h"
#include "PrintQuestionDialog.h"
#include "Settings.h"
#include "ProjectPages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace {

QToolButton *printButton(QWidget *parent, const char *name, const QString &hint, QAction *preview, QAction *pdf)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(QStringLiteral("Drucken"));
    b->setToolTip(hint);
    b->setIcon(QIcon::fromTheme(QStringLiteral("document-print"),
                                parent->style()->standardIcon(QStyle::SP_FileDialogListView)));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // A click prints at once; the arrow offers the preview and the PDF file.
    auto *menu = new QMenu(b);
    menu->addAction(preview);
    menu->addAction(pdf);
    b->setMenu(menu);
    b->setPopupMode(QToolButton::MenuButtonPopup);
    return b;
}

} // namespace

ProjectPrinting::ProjectPrinting(AppState &state, ProjectPages &pages)
    : QObject(pages.pagesWindow()), m_state(state), m_pages(pages),
      m_prompts(std::make_unique<QtPrintPrompts>(state.dialogs)), m_system(std::make_unique<PrintSystem>())
{
    const auto run = [this](void (ProjectPrinting::*command)()) {
        return [this, command] { RunCommand(m_state.dialogs, [this, command] { (this->*command)(); }); };
    };

    tbDrucktool = new QToolBar(QStringLiteral("Drucktool"), pages.pagesWindow());
    tbDrucktool->setObjectName(QStringLiteral("tbDrucktool"));
    tbDrucktool->setMovable(false);
    cbDrucker = new QComboBox(tbDrucktool);
    cbDrucker->setObjectName(QStringLiteral("cbDrucker"));
    cbDrucker->setToolTip(QStringLiteral("Drucker auswählen"));
    cbDrucker->setPlaceholderText(QStringLiteral("Standarddrucker"));
    cbDrucker->setMinimumContentsLength(18);
    cbDrucker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(cbDrucker, &QComboBox::activated, this, [this] { m_printerName = cbDrucker->currentText(); });
    spnExemplare = new QSpinBox(tbDrucktool);
    spnExemplare->setObjectName(QStringLiteral("spnExemplare"));
    spnExemplare->setRange(1, 99);
    spnExemplare->setToolTip(QStringLiteral("Exemplare"));
    actBandVorschau = new QAction(QStringLiteral("Vorschau…"), this);
    actBandVorschau->setObjectName(QStringLiteral("actBandVorschau"));
    actBandPdf = new QAction(QStringLiteral("Als PDF speichern…"), this);
    actBandPdf->setObjectName(QStringLiteral("actBandPdf"));
    btnDrucktool = printButton(tbDrucktool, "btnDrucktool", QStringLiteral("Auf dem gewählten Drucker drucken"),
                               actBandVorschau, actBandPdf);
    actBandZugferd = new QAction(QStringLiteral("PDF als ZUGFeRD-Rechnung"), this);
    actBandZugferd->setObjectName(QStringLiteral("actBandZugferd"));
    actBandZugferd->setCheckable(true);
    actBandZugferd->setToolTip(QStringLiteral("Rechnungen und Gutschriften mit eingebetteter E-Rechnung speichern"));
    btnDrucktool->menu()->addAction(actBandZugferd);
    tbDrucktool->addWidget(cbDrucker);
    tbDrucktool->addWidget(spnExemplare);
    tbDrucktool->addWidget(btnDrucktool);
    connect(btnDrucktool, &QToolButton::clicked, this, run(&ProjectPrinting::printFromBand));
    connect(actBandVorschau, &QAction::triggered, this, run(&ProjectPrinting::previewFromBand));
    connect(actBandPdf, &QAction::triggered, this, run(&ProjectPrinting::pdfFromBand));

    tbDruckJob = new QToolBar(QStringLiteral("DruckJob"), pages.pagesWindow());
    tbDruckJob->setObjectName(QStringLiteral("tbDruckJob"));
    tbDruckJob->setMovable(false);
    cbDruckJob = new QComboBox(tbDruckJob);
    cbDruckJob->setObjectName(QStringLiteral("cbDruckJob"));
    cbDruckJob->setToolTip(QStringLiteral("Druckjob auswählen"));
    cbDruckJob->setPlaceholderText(QStringLiteral("kein Druckjob"));
    cbDruckJob->setMinimumContentsLength(14);
    cbDruckJob->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    actJobVorschau = new QAction(QStringLiteral("Vorschau…"), this);
    actJobVorschau->setObjectName(QStringLiteral("actJobVorschau"));
    actJobPdf = new QAction(QStringLiteral("Als PDF speichern…"), this);
    actJobPdf->setObjectName(QStringLiteral("actJobPdf"));
    btnDruckJob = printButton(tbDruckJob, "btnDruckJob", QStringLiteral("Mit dem gewählten Druckjob drucken"),
                              actJobVorschau, actJobPdf);
    tbDruckJob->addWidget(cbDruckJob);
    tbDruckJob->addWidget(btnDruckJob);
    connect(btnDruckJob, &QToolButton::clicked, this, run(&ProjectPrinting::printJob));

    // A letter loaded into the dunning page (or a page emptied) changes what the
    // bands can print.
    connect(pages.dunningPage(), &DunningPage::modifiedChanged, this, [this] { pageShown(); });
    for (DocumentKind kind : DocumentKind::all())
        if (DocumentPage *page = kind.isDunningLetter() ? nullptr : pages.documentPage(kind))
            connect(page, &DocumentPage::modifiedChanged, this, [this] { pageShown(); });
    connect(actJobVorschau, &QAction::triggered, this, run(&ProjectPrinting::previewJob));
    connect(actJobPdf, &QAction::triggered, this, run(&ProjectPrinting::pdfJob));
}

ProjectPrinting::~ProjectPrinting() = default;

bool ProjectPrinting::restore(int copies, const QString &printer)
{
    const bool first = !m_restored;
    if (first) {
        m_printerName = printer;
        spnExemplare->setValue(copies);
        m_restored = true;
    }
    cbDrucker->clear();
    cbDrucker->addItems(m_system->printers());
    cbDrucker->setCurrentIndex(cbDrucker->findText(m_printerName));
    fillJobs();
    return first;
}

void ProjectPrinting::fillJobs()
{
    const QString chosen = cbDruckJob->currentText();
    cbDruckJob->clear();
    cbDruckJob->addItems(PrintJobFile(m_state.ExeDir).jobNames());
    // The first job unless the one chosen before is still there.
    cbDruckJob->setCurrentIndex(std::max(0, cbDruckJob->findText(chosen)));
    cbDruckJob->setEnabled(cbDruckJob->count() > 0);
    pageShown();
}

void ProjectPrinting::writeSettings(UserSettings &settings)
{
    m_restored = false;
    settings.writeInt(QStringLiteral("UpDown1Position"), spnExemplare->value());
    settings.writeString(QStringLiteral("Drucker"), m_printerName);
}

bool ProjectPrinting::shownPagePrintable() const
{
    const int page = m_pages.currentPage();
    if (page == ProjectPages::MahnungPage) {
        const DunningPage *dunning = m_pages.dunningPage();
        return !dunning->grpDocument->isHidden() && !dunning->memLetter->toPlainText().isEmpty();
    }
    if (page <= ProjectPages::ProjektPage || page >= ProjectPages::PageCount)
        return false;
    // A page hidden behind "keine Berechtigung" does not print from the bands either.
    const auto *documentPage = qobject_cast<DocumentPage *>(m_pages.pageAt(page));
    return documentPage && !documentPage->grpDocument->isHidden();
}

void ProjectPrinting::pageShown()
{
    const bool printable = shownPagePrintable();
    btnDrucktool->setEnabled(printable);
    const auto *page = qobject_cast<DocumentPage *>(m_pages.pageAt(m_pages.currentPage()));
    actBandZugferd->setEnabled(printable && page
                               && (page->kind() == DocumentKind::Rechnung || page->kind() == DocumentKind::Gutschrift));
    btnDruckJob->setEnabled(printable && cbDruckJob->count() > 0);
}

bool ProjectPrinting::saveFirst(DocumentKind kind, bool saveEnabled, const std::function<bool()> &save)
{
    if (!saveEnabled)
        return true;
    switch (AskPrint(m_state.dialogs, SaveBeforePrintMessage(kind))) {
    case PrintQuestionDialog::SaveAndPrint: return save();
    case PrintQuestionDialog::TestPrint: return true;
    default: return false;
    }
}

PrintRequest ProjectPrinting::documentRequest(DocumentPage *page, bool letterhead)
{
    const DocumentKind kind = page->kind();
    DocumentPrintOptions options;
    options.title = kind.listCaption() + QStringLiteral("       ") + PadNumber(page->currentNumber());
    options.customerNumber = page->edtKNr->text().trimmed();
    options.projectNumber = page->edtPrNr->text().trimmed();
    // Only orders and delivery notes can leave their prices out.
    options.prices = kind == DocumentKind::Auftrag || kind == DocumentKind::Lieferschein ? page->chkPreis->isChecked()
                                                                                        : true;
    options.letterhead = letterhead;
    options.letterheadImage = m_letterhead;
    Document document = page->shownDocument();
    document.number = page->currentNumber();
    return DocumentPrintRequest(m_state, document, options);
}

QByteArray ProjectPrinting::zugferdPdf(DocumentPage *page, const QByteArray &xml)
{
    return ZugferdInvoicePdf(m_state, documentRequest(page, true), xml);
}

PrintRequest ProjectPrinting::dunningRequest()
{
    DunningPage *page = m_pages.dunningPage();
    return DunningLetterPrintRequest(m_state, page->shownDocument(), page->edtKNr->text().trimmed());
}

std::optional<PrintRequest> ProjectPrinting::shownRequest(bool letterhead)
{
    if (!shownPagePrintable())
        return std::nullopt;
    if (m_pages.currentPage() == ProjectPages::MahnungPage)
        return dunningRequest();
    return documentRequest(qobject_cast<DocumentPage *>(m_pages.pageAt(m_pages.currentPage())), letterhead);
}

QString ProjectPrinting::printTo(const PrintRequest &request, const PrintTarget &target)
{
    return Print(m_state, *m_system, request, target);
}

std::optional<QString> ProjectPrinting::previewAndPrint(const PrintRequest &request, const PrintTarget &printer)
{
    return PrintWithPreview(m_state, *m_system, *m_prompts, request, printer, m_pages.pagesWindow());
}

DocumentPage *ProjectPrinting::shownDocumentPage() const
{
    const int page = m_pages.currentPage();
    return page == ProjectPages::MahnungPage ? nullptr : qobject_cast<DocumentPage *>(m_pages.pageAt(page));
}

void ProjectPrinting::markIssued(DocumentPage *page, const std::optional<QString> &printed)
{
    if (!page || !printed || !DocumentHistory::keepsHistory(page->kind()) || !page->isClean()
        || !m_pages.documentStore().isStored(page->kind(), page->currentNumber()))
        return;
    DocumentHistory::markIssued(m_state.db, page->kind(), page->currentNumber(),
                                printed->isEmpty() ? DocumentHistory::ByPrint : DocumentHistory::ByPdf);
}

void ProjectPrinting::printPage(DocumentPage *page)
{
    if (!saveFirst(page->kind(), page->btnSave->isEnabled(), [page] { return page->cmdSave(); }))
        return;
    markIssued(page, previewAndPrint(documentRequest(page, false), PrintTarget::printer(QString())));
}

QString ProjectPrinting::writePdf(DocumentPage *page, const QString &path)
{
    return printTo(documentRequest(page, true), PrintTarget::pdf(path));
}

QString ProjectPrinting::writeDunningPdf(const QString &path)
{
    return printTo(dunningRequest(), PrintTarget::pdf(path));
}

void ProjectPrinting::printDunningPage()
{
    DunningPage *page = m_pages.dunningPage();
    if (!saveFirst(DocumentKind::Mahnung, page->btnSave->isEnabled(), [page] { return page->cmdSave(); }))
        return;
    previewAndPrint(dunningRequest(), PrintTarget::printer(QString()));
}

PrintTarget ProjectPrinting::bandTarget() const
{
    // No printer chosen (or the stored one is gone): the default printer.
    return PrintTarget::printer(cbDrucker->currentIndex() >= 0 ? cbDrucker->currentText() : QString(),
                                spnExemplare->value());
}

void ProjectPrinting::printFromBand()
{
    if (const auto request = shownRequest(true))
        markIssued(shownDocumentPage(), printTo(*request, bandTarget()));
}

void ProjectPrinting::previewFromBand()
{
    if (const auto request = shownRequest(true))
        markIssued(shownDocumentPage(), previewAndPrint(*request, bandTarget()));
}

void ProjectPrinting::pdfFromBand()
{
    auto *page = qobject_cast<DocumentPage *>(m_pages.pageAt(m_pages.currentPage()));
    if (page && actBandZugferd->isChecked() && shownPagePrintable()
        && (page->kind() == DocumentKind::Rechnung || page->kind() == DocumentKind::Gutschrift)) {
        const QString path =
            AskPdfFileName(m_state.dialogs, ProposedPdfPath(page->kind().listCaption(), page->currentNumber()));
        if (!path.isEmpty())
            m_pages.cmdEInvoice(page, path);
        return;
    }
    if (const auto request = shownRequest(true)) {
        const QString path = AskPdfFileName(m_state.dialogs, ProposedPdfPath(request->caption, request->number));
        if (!path.isEmpty())
            markIssued(shownDocumentPage(), printTo(*request, PrintTarget::pdf(path)));
    }
}

void ProjectPrinting::printJob()
{
    if (!shownPagePrintable())
        return;
    const QString job = cbDruckJob->currentText();
    const PrintJobFile file(m_state.ExeDir);
    const int steps = file.stepCount(job);
    for (int k = 1; k <= steps; ++k) {
        const PrintJobStep step = file.step(job, k);
        if (!m_system->printers().contains(step.prnName)) {
            m_state.dialogs.warning(QStringLiteral("Eingestellter Drucker ist nicht mehr installiert! Bitte "
                                                   "konfigurieren Sie diesen Job und versuchen es erneut."));
            return;
        }
        if (!loadLetterhead(step))
            return;
        if (const auto request = shownRequest(step.printsLetterhead()))
            markIssued(shownDocumentPage(), printTo(*request, PrintTarget::printer(step.prnName, step.copies())));
    }
}

bool ProjectPrinting::loadLetterhead(const PrintJobStep &step)
{
    if (step.bmpName.isEmpty())
        return true;
    const QImage picture(step.bmpName);
    if (!picture.isNull()) {
        m_letterhead = picture; // it stays the letterhead of later prints
        return true;
    }
    if (!step.printsLetterhead())
        return true;
    // Printing the step without its letterhead would send out the wrong paper.
    m_state.dialogs.warning(QStringLiteral("Der Firmenkopf „%1“ kann nicht geladen werden. Der Druckjob wurde "
                                           "abgebrochen.")
                                .arg(step.bmpName));
    return false;
}

std::optional<PrintJobStep> ProjectPrinting::firstJobStep() const
{
    const PrintJobFile file(m_state.ExeDir);
    if (file.stepCount(cbDruckJob->currentText()) < 1)
        return std::nullopt;
    return file.step(cbDruckJob->currentText(), 1);
}

void ProjectPrinting::previewJob()
{
    const auto step = firstJobStep();
    if (!step || !loadLetterhead(*step))
        return;
    if (const auto request = shownRequest(step->printsLetterhead()))
        markIssued(shownDocumentPage(), previewAndPrint(*request, PrintTarget::printer(step->prnName, step->copies())));
}

void ProjectPrinting::pdfJob()
{
    const auto step = firstJobStep();
    if (!step || !loadLetterhead(*step))
        return;
    if (const auto request = shownRequest(step->printsLetterhead())) {
        const QString path = AskPdfFileName(m_state.dialogs, ProposedPdfPath(request->caption, request->number));
        if (!path.isEmpty())
            markIssued(shownDocumentPage(), printTo(*request, PrintTarget::pdf(path)));
    }
}
