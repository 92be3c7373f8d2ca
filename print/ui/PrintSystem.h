#pragma once

#include "PrintTarget.h"

#include <QStringList>

class QPrinter;

// The printers of the machine (CUPS queues) and the one way a printout reaches a
// printer or a PDF file: QPainter on a QPrinter with 254 dots per inch, so one
// device unit is a tenth of a millimetre, on A4 paper whose printable area starts
// at the printer's own margins (a PDF has none).
class PrintSystem
{
public:
    static const QString SpoolerJobName; // "Orbel"

    virtual ~PrintSystem() = default;

    virtual QStringList printers() const;
    virtual QString defaultPrinter() const;

    // Prints. A PDF is written beside its final name and moved there only when it
    // is complete, with the title, author and creation date in its information;
    // copies follow one another in the file. Throws OrvellaError with a German
    // message when the printer or file cannot be used or an error arises while
    // drawing: no printer job is left started and no partial file written.
    virtual void run(const PrintTarget &target, const PrintJobInfo &info, CopyMode mode, const PaintCopy &paint);

    // Page size, resolution and margins as every printout uses them; the preview
    // shows the pages on a printer set up the same way.
    static void setUpPrinter(QPrinter &printer, const PrintTarget &target);
};
