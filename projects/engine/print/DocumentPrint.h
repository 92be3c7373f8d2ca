#pragma once

#include "Document.h"
#include "PrintSetup.h"

#include <QImage>
#include <QString>

class PrintCanvas;
class QPagedPaintDevice;
class QPainter;

// What the project window adds to a document when it prints it.
struct DocumentPrintOptions
{
    QString title;          // the heading: the kind, a blank and the text of the number field
    QString customerNumber; // after "Kd-Nr.:"
    QString projectNumber;  // after "Projekt Nr.:"
    bool prices = true;     // "Preis drucken"; only orders and delivery notes can leave them out
    bool letterhead = false;
    QImage letterheadImage; // drawn on the first page when letterhead is set
    QString giroCode;       // the EPC QR code's text beside the totals; empty: none
};

// The printed form of a quotation, order, delivery note, invoice, credit note or
// working document: letterhead, address window, information block, a table of 25
// line slots per page, additional text, totals, Skonto line and footer. A line
// whose description is wider than its column takes as many slots as its wrapped
// description needs, all on one page where they fit on one. Every
// value is worked out when the print is built, so a value that cannot be printed
// stops it before the first page is started.
class DocumentPrint
{
public:
    static constexpr int SlotsPerPage = 25;

    // Throws ConversionError for a gross total or Skonto percentage that is not a
    // number, or an invoice whose due date cannot be worked out.
    DocumentPrint(const Document &document, const DocumentPrintOptions &options, const PrintSetup &setup);

    // Draws all pages on the painter's device, starting a new page between them.
    void paint(QPainter &painter, QPagedPaintDevice &device) const;

    // The Skonto line's two parts: the normal text and the bold amount; empty when
    // the document has no Skonto or no gross total (or prices are left out).
    QString skontoText() const { return m_skontoText; }
    QString skontoAmount() const { return m_skontoAmount; }
    // An invoice's "Zahlbar bis … ohne Abzug." under the Skonto line.
    QString dueSentence() const { return m_dueSentence; }

private:
    // One slot of the table: a line's first slot holds all its cells, the
    // following ones only the rest of its description.
    struct Slot
    {
        int row;
        QString description;
        bool first;
    };
    using Page = QList<Slot>;
    // The slots page by page, at least one page; the totals stand on the last.
    QList<Page> layOut(const PrintCanvas &canvas) const;
    void paintPage(PrintCanvas &canvas, const Page &slots, int page, int pages) const;
    void paintTable(PrintCanvas &canvas, const Page &slots) const;
    void paintTotals(PrintCanvas &canvas, bool lastPage) const;
    void paintGiroCode(PrintCanvas &canvas) const;

    Document m_doc;
    DocumentPrintOptions m_options;
    PrintSetup m_setup;
    QString m_skontoText, m_skontoAmount, m_dueSentence;
};
