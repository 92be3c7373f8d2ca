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

#include "Document.h"

// A filled document of a kind: project 5, dated 01.03.2004, both addresses, a
// Skonto, four additional-text lines and the given lines.
inline Document sampleDocument(DocumentKind kind, qint64 number, const QStringList &rows)
{
    Document d(kind);
    d.number = number;
    d.projectNumber = 5;
    d.date = QStringLiteral("01.03.2004");
    d.projectName = QStringLiteral("Umbau Lager");
    d.ownCompany = QStringLiteral("Halvard GmbH · Hafenstraße 1 · 20457 Hamburg");
    d.address = {QStringLiteral("Muster GmbH"), QStringLiteral("Marktplatz 3"), QStringLiteral("12345 Musterstadt")};
    d.secondAddress = {QStringLiteral("Muster GmbH Buchhaltung"), QStringLiteral("Postfach 9"),
                       QStringLiteral("12340 Musterstadt")};
    d.addressLeft = true;
    d.lines = linesFrom(rows);
    d.skontoText = QStringLiteral("bei Zahlung innerhalb von 10 Tagen");
    d.skontoPercent = QStringLiteral("2,00");
    d.texts = {AdditionalTextLine{QStringLiteral("Vielen Dank für Ihren Auftrag."), QStringLiteral("fsBold")},
               AdditionalTextLine{QStringLiteral("Zahlbar ohne Abzug."), QString()},
               AdditionalTextLine{QString(), QStringLiteral("fsItalic")},
               AdditionalTextLine{QStringLiteral("Es gelten unsere AGB."), QStringLiteral("fsBold, fsItalic")}};
    d.paymentTerm = QStringLiteral("14");
    return d;
}
