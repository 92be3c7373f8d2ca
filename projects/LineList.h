#pragma once

#include <QList>
#include <QString>
#include <array>

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
        QString discount; // "&Rabat" or "&Rabat 10,00 %"
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

    static QString discountCaption(const QString &lastRowPercent);
    static QString skontoCaption(const QString &skontoPercent);
    // Captions for the list as it stands (discount percentage of the last row).
    Captions captions(const QString &skontoPercent) const;

    bool operator==(const LineList &other) const = default;

private:
    QList<Row> m_rows;
};
