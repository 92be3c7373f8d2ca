#pragma once

#include "Amount.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// An article line as the line-item window enters it: the cells of the line and
// the lines of additional text that follow it.
struct ArticleLine
{
    QString artikelNr;
    QString name;
    QString quantity; // as typed ("1,5")
    QString price;    // as typed or listed ("1234,5", "1.234,50")
    QString vat;      // VAT display text ("19,00 %"), or empty
    QStringList texts;

    bool operator==(const ArticleLine &) const = default;
};

// An article line of a document as the line-item window lists it: its name and
// its position number, by which it is found again.
struct LineEntry
{
    QString name;
    QString position;

    bool operator==(const LineEntry &) const = default;
};

// The lines of one open document as the page shows them: row 0 carries the
// headings, rows 1..n the lines; every cell is display text, exactly what is
// stored in Xartikel. Three sorts of row:
//  - article line: quantity and unit price both filled; its text lines follow it;
//  - text line: a further line of an article's text, only the name column set;
//  - discount line: the hidden percentage column set; at most one, kept last.
class LineList
{
public:
    enum Column {
        Pos = 0,       // position number; empty on text lines
        ArtikelNr,     // article number
        Bezeichnung,   // article name, text line or discount text
        Anzahl,        // quantity as typed ("1,5")
        Einzelpreis,   // unit price ("1.234,50"); on the discount line "10,00 %"
        Betrag,        // line amount, computed by totals
        MwSt,          // VAT rate as the VAT choice shows it ("16,00 %", "  7,00 %")
        Rabatt,        // hidden: the discount percentage on the discount line
        Id,            // hidden: Xartikel.ID when loaded, not used further
        ColumnCount
    };
    using Row = std::array<QString, ColumnCount>;

    // The button captions that discount last leaves for the page to show.
    struct Captions
    {
        QString discount; // "&Rabatt" or "&Rabatt 10,00 %"
        QString skonto;   // "&Skonto" or "&Skonto 2,00 %"
    };

    // Headings and one empty line.
    explicit LineList(const QString &currency = QStringLiteral("€"));

    static Row headings(const QString &currency);

    // All rows, the heading row included.
    int rowCount() const { return int(m_rows.size()); }
    int lineCount() const { return rowCount() - 1; }
    const Row &row(int row) const { return m_rows.at(row); }
    Row &row(int row) { return m_rows[row]; }
    QString cell(int row, Column column) const { return m_rows.at(row)[column]; }
    void setCell(int row, Column column, const QString &text) { m_rows[row][column] = text; }

    // Keeps the headings; adds empty rows or drops rows at the end. At least one line stays.
    void setLineCount(int lines);
    // Adds an empty row at the end and returns its index.
    int appendRow();
    // Replaces the lines by the given rows (headings stay); no rows gives one empty line.
    void setLines(const QList<Row> &lines);
    // Headings and one empty line.
    void clear();

    // A document can be saved and taken over only when its first line has a position.
    bool hasFirstPosition() const { return !cell(1, Pos).isEmpty(); }
    // The first row holds something, a position or a text line.
    bool hasFirstLine() const
    {
        return !(cell(1, Pos) + cell(1, ArtikelNr) + cell(1, Bezeichnung)).trimmed().isEmpty();
    }
    bool isArticleLine(int row) const;
    bool isDiscountLine(int row) const;
    // A row without name, quantity, price and discount percentage is a gap.
    bool isGap(int row) const;

    // Squeezes out every gap (columns 0 to 7 move up; the hidden key stays where it
    // is) and numbers the rows that have a position 1, 2, 3 ... from the top. The
    // last row goes when it is a gap and the list has more than one line.
    void normalise();

    // Moves the discount line to the end with the next position number, keeping
    // only its name, percentage text and percentage (totals fills its amount),
    // and returns the captions of the page's discount and Skonto buttons.
    Captions discountLast(const QString &skontoPercent);

    // --- What the line-item window does to the list -------------------------

    // The lines that have a position and are not the discount line, in order.
    QList<LineEntry> articleEntries() const;
    // The first row with this position number, or -1.
    int rowOfPosition(const QString &position) const;
    // The line at a row with its article text lines (the rows up to the next row
    // with a position): quantity and price with their thousands points removed.
    ArticleLine articleAt(int row) const;
    // Adds an article line after the last row that holds anything in the columns
    // Pos to MwSt, with the next position number, followed by one text line per
    // non-empty text. The price is written in the list form "1.234,50". Throws
    // ConversionError for a price that is not a number as German users write it.
    void appendArticle(const ArticleLine &line);
    // Puts the line in place of the one with this position and its text lines;
    // the rows around it keep their order. Appends when no row has the position.
    void replaceArticle(const QString &position, const ArticleLine &line);
    // Drops the line with this position together with its text lines.
    void removeArticle(const QString &position);

    // --- What the discount dialog does to the list ---------------------------

    // The first row whose hidden percentage is set, or -1.
    int discountRow() const;
    // Adds the discount line at the end: the percentage with two decimals, once
    // followed by " %" in the price column and once bare in the hidden column.
    void addDiscount(const QString &text, Amount percent);
    // Overwrites the discount line (the last row when there is none) with the
    // text and the percentage exactly as typed.
    void changeDiscount(const QString &text, const QString &percentText);
    // Empties the discount line and squeezes it out.
    void removeDiscount();

    static QString discountCaption(const QString &lastRowPercent);
    static QString skontoCaption(const QString &skontoPercent);
    // Captions for the list as it stands (discount percentage of the last row).
    Captions captions(const QString &skontoPercent) const;

    bool operator==(const LineList &other) const = default;

private:
    // The rows before the line with this position and the rows after its text
    // lines; without such a line every row counts as before.
    void splitAround(const QString &position, QList<Row> &before, QList<Row> &after) const;

    QList<Row> m_rows;
};
