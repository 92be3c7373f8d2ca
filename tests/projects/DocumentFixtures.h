#pragma once

#include "Amount.h"
#include "LineList.h"

#include <QList>
#include <QString>
#include <QStringList>

// Line lists written the way a reader of a document sees them: one text per line,
// the cells Pos|Art.-Nr.|Bezeichnung|Anzahl|Einzelpreis|MwSt|Rabatt separated by
// "|" (missing trailing cells are empty). The computed amount column is left out.
inline LineList linesFrom(const QStringList &rows, const QString &currency = QStringLiteral("€"))
{
    LineList lines(currency);
    QList<LineList::Row> out;
    for (const QString &text : rows) {
        const QStringList c = text.split(QLatin1Char('|'));
        LineList::Row row;
        row[LineList::Pos] = c.value(0);
        row[LineList::ArtikelNr] = c.value(1);
        row[LineList::Bezeichnung] = c.value(2);
        row[LineList::Anzahl] = c.value(3);
        row[LineList::Einzelpreis] = c.value(4);
        row[LineList::MwSt] = c.value(5);
        row[LineList::Rabatt] = c.value(6);
        out << row;
    }
    lines.setLines(out);
    return lines;
}

// The reverse of linesFrom, for comparing whole lists.
inline QStringList rowsOf(const LineList &lines)
{
    QStringList out;
    for (int r = 1; r < lines.rowCount(); ++r) {
        const LineList::Row &row = lines.row(r);
        QStringList c = {row[LineList::Pos], row[LineList::ArtikelNr], row[LineList::Bezeichnung],
                         row[LineList::Anzahl], row[LineList::Einzelpreis], row[LineList::MwSt],
                         row[LineList::Rabatt]};
        while (!c.isEmpty() && c.last().isEmpty())
            c.removeLast();
        out << c.join(QLatin1Char('|'));
    }
    return out;
}

inline QStringList column(const LineList &lines, LineList::Column column)
{
    QStringList out;
    for (int r = 1; r < lines.rowCount(); ++r)
        out << lines.cell(r, column);
    return out;
}

// "7;16" → the rates 7 % and 16 %.
inline QList<Amount> ratesFrom(const QString &text)
{
    QList<Amount> rates;
    for (const QString &r : text.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        rates << Amount::fromText(r);
    return rates;
}
