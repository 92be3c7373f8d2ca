#pragma once

#include "Document.h"
#include "PrintSetup.h"

#include <QString>

class QPainter;
class QPaintDevice;

// The one-page standard form of a dunning letter: sender line, address window,
// information block, heading, the first 25 lines of the letter text and the
// footer. No letterhead, table or totals.
class DunningLetterPrint
{
public:
    static constexpr int BodyLines = 25;
    // A body line starts at L + 250; the letter's right edge is that of the
    // information block, L + 2000.
    static constexpr int BodyLeft = 250, RightEdge = 2000;

    // True when a line of the letter text, printed with the font-scale offset,
    // ends before the letter's right edge.
    static bool bodyLineFits(const QString &line, int sizeOffset);

    // customerNumber is printed after "Kd-Nr.:" as given.
    DunningLetterPrint(const Document &letter, const QString &customerNumber, const PrintSetup &setup);

    // The heading, for example "2. Mahnung zur Rechnung 000123".
    QString title() const;
    // Draws the page on the painter's device.
    void paint(QPainter &painter, const QPaintDevice &device) const;

private:
    Document m_letter;
    QString m_customer;
    PrintSetup m_setup;
};
