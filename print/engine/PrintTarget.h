#pragma once

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// Where a printout goes: a printer of the system (the default printer when no
// name is given) or a PDF file, and how many copies.
struct PrintTarget
{
    QString printerName;
    QString pdfPath; // set: a PDF file instead of a printer
    int copies = 1;

    bool isPdf() const { return !pdfPath.isEmpty(); }
    static PrintTarget printer(const QString &name, int copies = 1) { return {name, QString(), copies}; }
    static PrintTarget pdf(const QString &path, int copies = 1) { return {QString(), path, copies}; }

    bool operator==(const PrintTarget &) const = default;
};

// The name of a printout: the PDF's title, the spooler's job name, the author the
// PDF names (the own company).
struct PrintJobInfo
{
    QString title;
    QString author;
};

// How copies are made on a printer: one job that the printer repeats, or one job
// per copy (dunning letters). A PDF file holds every copy, one after the other.
enum class CopyMode { OneJob, JobPerCopy };

// Draws one complete copy of a printout, starting new pages between its pages.
using PaintCopy = std::function<void(QPainter &, QPagedPaintDevice &)>;
