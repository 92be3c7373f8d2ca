#include "PrintCommands.h"

#include "GiroCode.h"
#include "SellerData.h"
#include "ZugferdPdf.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DunningLetterPrint.h"
#include "Formats.h"
#include "PrintPrompts.h"
#include "PrintSetup.h"
#include "PrintSystem.h"
#include "Settings.h"

#include <QDir>
#include <QPagedPaintDevice>
#include <QStandardPaths>

namespace {

QString ownCompanyName(const AppState &state)
{
    const QString name = ReadOwnCompany(state.ExeDir).name;
    return name == QLatin1String("0") ? QString() : name; // "0": no company entered yet
}

} // namespace

QString SaveBeforePrintMessage(DocumentKind kind)
{
    switch (kind.kind()) {
    case DocumentKind::Angebot: return QStringLiteral("Das Angebot ist zu speichern bevor es versendet wird!");
    case DocumentKind::Auftrag: return QStringLiteral("Der Auftrag ist zu speichern bevor er versendet wird!");
    case DocumentKind::Lieferschein: return QStringLiteral("Der Lieferschein ist zu speichern bevor er versendet wird!");
    case DocumentKind::Rechnung: return QStringLiteral("Die Rechnung ist zu speichern bevor sie versendet wird!");
    case DocumentKind::Gutschrift: return QStringLiteral("Die Gutschrift ist zu speichern bevor Sie versendet wird!");
    case DocumentKind::Mahnung: return QStringLiteral("Die Mahnung ist zu speichern bevor sie versendet wird!");
    default: return QStringLiteral("Der Vorgang ist zu speichern bevor er versendet wird!");
    }
}

QString ProposedPdfPath(const QString &caption, qint64 number)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QString name = caption + QLatin1Char(' ') + PadNumber(number) + QStringLiteral(".pdf");
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QDir(folder).filePath(name);
}

PrintRequest DocumentPrintRequest(AppState &state, const Document &document, const DocumentPrintOptions &options)
{
    DocumentPrintOptions withCode = options;
    if (document.kind == DocumentKind::Rechnung && options.prices && withCode.giroCode.isEmpty())
        withCode.giroCode = GiroCode::payload(ReadSellerData(state.db, state.ExeDir),
                                              GiroCode::outstanding(state.db, document),
                                              QStringLiteral("Rechnung ") + PadNumber(document.number));
    const auto print = std::make_shared<DocumentPrint>(document, withCode, PrintSetup::read(state));
    PrintRequest request;
    request.caption = document.kind.listCaption();
    request.number = document.number;
    request.title = options.title.simplified();
    request.copyMode = CopyMode::OneJob;
    request.paint = [print](QPainter &painter, QPagedPaintDevice &device) { print->paint(painter, device); };
    return request;
}

PrintRequest DunningLetterPrintRequest(AppState &state, const Document &letter, const QString &customerNumber)
{
    const auto print = std::make_shared<DunningLetterPrint>(letter, customerNumber, PrintSetup::read(state));
    PrintRequest request;
    request.caption = DocumentKind(DocumentKind::Mahnung).name();
    request.number = letter.number;
    request.title = print->title();
    request.copyMode = CopyMode::JobPerCopy;
    request.paint = [print](QPainter &painter, QPagedPaintDevice &device) { print->paint(painter, device); };
    return request;
}

QByteArray ZugferdInvoicePdf(AppState &state, const PrintRequest &request, const QByteArray &xml)
{
    const PdfInfo info{request.title, ownCompanyName(state), QStringLiteral("Orvella"),
                       QStringLiteral("Orvella (Qt %1, libqpdf)").arg(QLatin1String(qVersion())),
                       QDateTime::currentDateTime()};
    return ZugferdPdf::make(request.paint, xml, info);
}

QString Print(AppState &state, PrintSystem &system, const PrintRequest &request, const PrintTarget &target)
{
    const PrintJobInfo info{request.title, ownCompanyName(state)};
    if (!target.isPdf() && system.printers().isEmpty()) {
        // Nothing to print on: the printout is kept as a PDF file rather than lost.
        const PrintTarget pdf = PrintTarget::pdf(ProposedPdfPath(request.caption, request.number), target.copies);
        system.run(pdf, info, request.copyMode, request.paint);
        state.dialogs.information(QStringLiteral("Es ist kein Drucker eingerichtet. Der Ausdruck wurde als PDF-Datei "
                                                 "gespeichert:\n%1")
                                      .arg(QDir::toNativeSeparators(pdf.pdfPath)));
        return pdf.pdfPath;
    }
    system.run(target, info, request.copyMode, request.paint);
    return target.pdfPath;
}

std::optional<QString> PrintWithPreview(AppState &state, PrintSystem &system, PrintPrompts &prompts,
                                        const PrintRequest &request, const PrintTarget &printer, QWidget *parent)
{
    PreviewRequest preview;
    preview.title = request.title;
    preview.pdfProposal = ProposedPdfPath(request.caption, request.number);
    preview.printer = printer;
    preview.paint = request.paint;
    if (const std::optional<PrintTarget> target = prompts.preview(preview, parent))
        return Print(state, system, request, *target);
    return std::nullopt;
}

QString PrintDunningLetter(AppState &state, const Document &letter, const QString &customerNumber,
                           const PrintTarget &target)
{
    PrintSystem system;
    return Print(state, system, DunningLetterPrintRequest(state, letter, customerNumber), target);
}
