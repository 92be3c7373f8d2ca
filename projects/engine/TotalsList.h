#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// How a document's gross amount follows from its parts. Documents are written
// with SumOfShownParts: the gross is the net as shown plus each VAT line as shown,
// so the printed figures add up. Documents stored before that rule keep the
// gross they were issued with: the four-decimal net plus the four-decimal VAT
// sums, rounded once, which may differ by a cent from the shown parts.
enum class GrossRule { SumOfShownParts, RoundedOnce };

// The grid under the line list: the net value, one VAT line per rate and the
// gross amount, each as display text ("1.851,75 €"). Row 0 carries the headings.
// The net value stands in row 1 of the net column, the VAT lines in rows 1, 2, ...
// of the VAT column and the gross amount in row 2 of the gross column.
class TotalsList
{
public:
    enum Column {
        Netto = 0, // "Nettowert"
        Spacer1,
        Spacer2,
        Vat,       // "MwSt."
        Brutto,    // "Rechnungsbetrag", on the credit note "Gutschrift"
        ColumnCount
    };
    static constexpr int NetRow = 1;
    static constexpr int GrossRow = 2;
    static constexpr int MinimumRows = 3;

    using Row = std::array<QString, ColumnCount>;

    explicit TotalsList(const QString &grossHeading = QStringLiteral("Rechnungsbetrag"));

    int rowCount() const { return int(m_rows.size()); }
    QString cell(int row, Column column) const { return m_rows.at(row)[column]; }
    void setCell(int row, Column column, const QString &text) { m_rows[row][column] = text; }
    // Grows to at least this many rows; never shrinks.
    void ensureRows(int rows);

    QString net() const { return cell(NetRow, Netto); }
    QString gross() const { return cell(GrossRow, Brutto); }
    // The non-empty VAT cells from row 1 down.
    QStringList vatLines() const;

    // Empties the data rows and returns to the minimum size; the headings stay.
    void clear();

    bool operator==(const TotalsList &other) const = default;

private:
    QList<Row> m_rows;
};
