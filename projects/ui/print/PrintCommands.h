#pragma once

#include "DocumentKind.h"
#include "DocumentPrint.h"
#include "PrintTarget.h"

#include <QString>
#include <optional>

class AppState;
class PrintPrompts;
class PrintSystem;
class QWidget;
struct Document;

// The question before an unsaved document of a kind is printed.
QString SaveBeforePrintMessage(DocumentKind kind);

// The file "Als PDF speichern…" proposes: the caption and number of the document
// in the user's documents folder, for example ".../Dokumente/Rechnung 000123.pdf".
QString ProposedPdfPath(const QString &caption, qint64 number);

// What a print command needs to know about the document it prints.
struct PrintRequest
{
    QString caption;  // "Rechnung", "Arbeitsablage", "Mahnung": the PDF's name
    qint64 number = 0;
    QString title;    // the PDF's title
    CopyMode copyMode = CopyMode::OneJob;
    PaintCopy paint;
};

// A document as the project window prints it (throws ConversionError before
// anything is printed when a value of the document cannot be printed).
PrintRequest DocumentPrintRequest(AppState &state, const Document &document, const DocumentPrintOptions &options);
// A dunning letter: one page, one printer job per copy.
PrintRequest DunningLetterPrintRequest(AppState &state, const Document &letter, const QString &customerNumber);

// The printed document as a ZUGFeRD PDF with the invoice's XML embedded.
QByteArray ZugferdInvoicePdf(AppState &state, const PrintRequest &request, const QByteArray &xml);

// Prints on the target. When it names a printer but the machine has none, the
// printout goes to the proposed PDF file instead and the user is told where it
// is. Returns the PDF file written, or an empty text after printing on paper.
// Throws OrvellaError with a German message when printing fails; whatever the
// document's state was (saved or not) stays as it was.
QString Print(AppState &state, PrintSystem &system, const PrintRequest &request, const PrintTarget &target);

// Shows the preview (starting with the given printer and copies) and prints what
// the user chooses there; nothing when he cancels. Returns what Print returned
// (the PDF file written, or empty after printing on paper), no value when nothing
// was printed.
std::optional<QString> PrintWithPreview(AppState &state, PrintSystem &system, PrintPrompts &prompts, const PrintRequest &request,
                      const PrintTarget &printer, QWidget *parent);

// For the dunning window: prints a dunning letter (its kind Mahnung, level,
// invoice, addresses, date and letter lines) on a printer or into a PDF file.
// customerNumber is what "Kd-Nr.:" shows, as PadNumber gives it. Ask AskPrint
// first when the letter is not saved; for the standard form's system print
// dialog pass DunningLetterPrintRequest to PrintWithPreview with QtPrintPrompts.
QString PrintDunningLetter(AppState &state, const Document &letter, const QString &customerNumber,
                           const PrintTarget &target);
