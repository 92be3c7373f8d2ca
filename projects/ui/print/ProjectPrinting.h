#pragma once

#include "DocumentKind.h"
#include "PrintCommands.h"
#include "PrintJobFile.h"
#include "PrintPrompts.h"
#include "PrintSystem.h"

#include <QImage>
#include <QObject>
#include <memory>
#include <optional>

class AppState;
class DocumentPage;
class QAction;
class QComboBox;
class QSpinBox;
class QToolBar;
class QToolButton;
class ProjectPages;
class UserSettings;

// Printing in the project window: the print commands of the document pages, the
// band "Drucktool" (printer, copies, print at once) and the band "DruckJob"
// (print jobs of DruckJob.ini). The window owns it and tells it when a page is
// shown and when the window activates and closes.
class ProjectPrinting : public QObject
{
    Q_OBJECT
public:
    ProjectPrinting(AppState &state, ProjectPages &pages);
    ~ProjectPrinting() override;

    // Tests answer the modal steps and stand in for the printers.
    void setPrompts(std::unique_ptr<PrintPrompts> prompts) { m_prompts = std::move(prompts); }
    void setSystem(std::unique_ptr<PrintSystem> system) { m_system = std::move(system); }

    // Activation: the installed printers and the print jobs again. The first
    // activation after the window opened also takes the stored printer (none
    // selected when it is gone: the default printer prints) and copies and returns
    // true; later ones keep what the user chose meanwhile, so that a dialog of the
    // window does not undo the choice.
    bool restore(int copies, const QString &printer);
    void fillJobs();
    // Closing: UpDown1Position and Drucker; the next opening reads them again.
    void writeSettings(UserSettings &settings);
    // Enables the bands' buttons for the page shown.
    void pageShown();
    // The letterhead the band prints; a print-job step may load another one.
    const QImage &letterhead() const { return m_letterhead; }

    // The page's document as printed to PDF, with the XML embedded (ZUGFeRD).
    QByteArray zugferdPdf(DocumentPage *page, const QByteArray &xml);
    // Writes the page's document with the letterhead as a PDF file; the path
    // written, or empty when nothing was.
    QString writePdf(DocumentPage *page, const QString &path);
    // The same for the dunning letter shown.
    QString writeDunningPdf(const QString &path);

    // Commands.
    void printPage(DocumentPage *page); // the page's print button and menu entry
    void printDunningPage();
    void printFromBand();
    void previewFromBand();
    void pdfFromBand();
    void printJob();
    void previewJob();
    void pdfJob();

    QToolBar *tbDrucktool, *tbDruckJob;
    QComboBox *cbDrucker, *cbDruckJob;
    QSpinBox *spnExemplare;
    QToolButton *btnDrucktool, *btnDruckJob;
    QAction *actBandVorschau, *actBandPdf, *actJobVorschau, *actJobPdf;
    // Checked: "Als PDF speichern…" of an invoice or credit note writes a ZUGFeRD
    // PDF (the electronic invoice embedded).
    QAction *actBandZugferd = nullptr;

private:
    // The printout of the page shown; none on the project page or a page the user
    // may not see.
    std::optional<PrintRequest> shownRequest(bool letterhead);
    PrintRequest documentRequest(DocumentPage *page, bool letterhead);
    PrintRequest dunningRequest();
    bool shownPagePrintable() const;
    // Asks before an unsaved page prints; false when the user cancels or the save
    // does not happen.
    bool saveFirst(DocumentKind kind, bool saveEnabled, const std::function<bool()> &save);
    // Both return what was printed: no value when nothing, else the PDF file
    // written (empty after printing on paper).
    std::optional<QString> previewAndPrint(const PrintRequest &request, const PrintTarget &printer);
    QString printTo(const PrintRequest &request, const PrintTarget &target);
    // A stored invoice or credit note that went out as it is stored counts as
    // issued; a test print of unsaved changes does not.
    void markIssued(DocumentPage *page, const std::optional<QString> &printed);
    // The page shown when it is a document page.
    DocumentPage *shownDocumentPage() const;
    PrintTarget bandTarget() const;
    // Loads the step's letterhead picture, which then stays loaded. False (after a
    // warning) when the step prints its letterhead and the picture cannot be read.
    bool loadLetterhead(const PrintJobStep &step);
    // The first step of the chosen job, for its preview and PDF.
    std::optional<PrintJobStep> firstJobStep() const;

    AppState &m_state;
    ProjectPages &m_pages;
    std::unique_ptr<PrintPrompts> m_prompts;
    std::unique_ptr<PrintSystem> m_system;
    QString m_printerName; // the name the band remembers, written as Drucker
    bool m_restored = false;
    QImage m_letterhead;
};
