#pragma once

#include "PrintFonts.h"
#include "PrintSetup.h"

#include <QPen>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>

class QImage;
class QPainter;

// The head of a letter page, the same on documents and dunning letters: sender
// line, address window with its label, and the information block.
struct LetterHead
{
    QString sender;
    QString windowLabel; // "Postanschrift:", "Rechnungsanschrift:" …; empty: none
    std::array<QString, 3> left, right; // the two address columns
    QString date, customer, project, page;
    // An invoice's or credit note's date of service, above the date
    // ("Leistungsdatum:", "Leistungszeitraum:"); empty: none.
    QString serviceLabel, serviceValue;
    // The project number ends one blank's width before the right edge (as the
    // page number always does) rather than at the edge.
    bool projectBeforeBlank = false;
};

// Draws in the coordinates of the print layout: a position (a, b) is the point
// L + a to the right of and b − T below the top-left corner of the printable area,
// in tenths of a millimetre (the paint device has 254 dots per inch). Text is
// placed by the top-left corner of its line, as the layout gives it.
class PrintCanvas
{
public:
    PrintCanvas(QPainter &painter, const PrintSetup &setup, const PrintFonts &fonts);

    QPainter &painter() { return m_painter; }
    const PrintFonts &fonts() const { return m_fonts; }
    QPointF at(qreal a, qreal b) const { return QPointF(m_left + a, b - m_top); }

    qreal width(const QString &text, const QFont &font) const;
    // The longest beginning of the text that is at most the given width wide.
    QString cut(const QString &text, qreal maxWidth, const QFont &font) const;
    // The text in lines of at most the given width, broken between words (a
    // word wider than a line is broken where it must) and at its line breaks.
    QStringList wrap(const QString &text, qreal maxWidth, const QFont &font) const;
    void text(qreal a, qreal b, const QString &text, const QFont &font);
    // Text that ends at L + right.
    void textRight(qreal right, qreal b, const QString &text, const QFont &font);
    void line(qreal a1, qreal b1, qreal a2, qreal b2, const QPen &pen);
    void rect(qreal a1, qreal b1, qreal a2, qreal b2, const QPen &pen);
    void image(qreal a1, qreal b1, qreal a2, qreal b2, const QImage &image);

    // Sender line, address window and information block.
    void letterHead(const LetterHead &head);
    // The five footer lines from b = 2620 down in steps of 30.
    void footer(const QList<FooterRow> &rows);

    // Black, solid, 0.1 mm: the frames of the tables.
    static QPen framePen();
    // A grid pen of the options; dashes sized for paper.
    static QPen gridPen(const QColor &colour, Qt::PenStyle style);

private:
    QPainter &m_painter;
    const PrintFonts &m_fonts;
    int m_left;
    int m_top;
};
