#include "PrintSystem.h"

#include "Errors.h"
#include "PdfInfo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

const QString PrintSystem::SpoolerJobName = QStringLiteral("Orbel");

namespace {

QString printerLabel(const QPrinter &printer)
{
    return printer.printerName().isEmpty() ? QStringLiteral("Standarddrucker") : printer.printerName();
}

// Ends the painter and the printer's job without letting it reach the printer.
void abandon(QPainter &painter, QPrinter &printer)
{
    printer.abort();
    if (painter.isActive())
        painter.end();
}

// One print job: every copy the job holds, drawn on the printer.
void printJob(QPrinter &printer, int copiesInJob, const PaintCopy &paint, const QString &failure)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw OrvellaError(failure);
    try {
        for (int copy = 0; copy < copiesInJob; ++copy) {
            if (copy > 0 && !printer.newPage())
                throw OrvellaError(failure);
            paint(painter, printer);
        }
    } catch (...) {
        abandon(painter, printer);
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw OrvellaError(failure);
}

} // namespace

QStringList PrintSystem::printers() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString PrintSystem::defaultPrinter() const
{
    return QPrinterInfo::defaultPrinterName();
}

void PrintSystem::setUpPrinter(QPrinter &printer, const PrintTarget &target)
{
    if (target.isPdf()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        if (!target.printerName.isEmpty())
            printer.setPrinterName(target.printerName);
    }
    printer.setResolution(254);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(false);
    // The layout counts from the top-left corner of what the printer can print.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(target.isPdf() ? QMarginsF() : layout.minimumMargins(), layout.units());
    printer.setCreator(QStringLiteral("Orvella"));
}

void PrintSystem::run(const PrintTarget &target, const PrintJobInfo &info, CopyMode mode, const PaintCopy &paint)
{
    const int copies = std::max(1, target.copies);
    if (target.isPdf()) {
        const QFileInfo file(target.pdfPath);
        const QString failure =
            QStringLiteral("Die PDF-Datei „%1“ kann nicht geschrieben werden.").arg(QDir::toNativeSeparators(target.pdfPath));
        if (!QDir().mkpath(file.absolutePath()))
            throw OrvellaError(failure);
        // Written under a passing name first: a failure leaves the old file as it was.
        const QString partial = file.absoluteFilePath() + QStringLiteral(".part");
        QFile::remove(partial);
        QPrinter printer(QPrinter::HighResolution);
        setUpPrinter(printer, target);
        printer.setOutputFileName(partial);
        printer.setDocName(info.title);
        try {
            printJob(printer, copies, paint, failure);
        } catch (...) {
            QFile::remove(partial);
            throw;
        }
        const PdfInfo pdfInfo{info.title, info.author, QStringLiteral("Orvella"),
                              QStringLiteral("Orvella (Qt %1)").arg(QLatin1String(qVersion())),
                              QDateTime::currentDateTime()};
        if (!WritePdfInfo(partial, pdfInfo) || (QFile::exists(target.pdfPath) && !QFile::remove(target.pdfPath))
            || !QFile::rename(partial, target.pdfPath)) {
            QFile::remove(partial);
            throw OrvellaError(failure);
        }
        return;
    }

    const QStringList installed = printers();
    if (installed.isEmpty() || (!target.printerName.isEmpty() && !installed.contains(target.printerName)))
        throw OrvellaError(QStringLiteral("Der Drucker „%1“ ist nicht eingerichtet.")
                               .arg(target.printerName.isEmpty() ? QStringLiteral("Standarddrucker") : target.printerName));
    const int jobs = mode == CopyMode::JobPerCopy ? copies : 1;
    for (int job = 0; job < jobs; ++job) {
        QPrinter printer(QPrinter::HighResolution);
        setUpPrinter(printer, target);
        printer.setDocName(SpoolerJobName);
        printer.setCopyCount(mode == CopyMode::JobPerCopy ? 1 : copies);
        const QString failure = QStringLiteral("Der Drucker „%1“ konnte nicht drucken. Bitte prüfen Sie den Drucker "
                                               "und versuchen Sie es erneut.")
                                    .arg(printerLabel(printer));
        if (!printer.isValid())
            throw OrvellaError(failure);
        printJob(printer, 1, paint, failure);
    }
}
