#pragma once

#include "Document.h"

// The invoice the crash helper saves: number n with k lines of 10,00 at 19 %,
// its line count in the project name and in the first additional-text line.
inline Document crashInvoice(qint64 n, int k)
{
    Document d(DocumentKind::Rechnung);
    d.number = n;
    d.projectNumber = 1;
    d.date = QStringLiteral("01.03.2004");
    d.projectName = QStringLiteral("Zeilen %1").arg(k);
    d.ownCompany = QStringLiteral("Halvard GmbH");
    d.address = {QStringLiteral("Kunde %1").arg(n), QStringLiteral("Weg 1"), QStringLiteral("12345 Ort")};
    d.secondAddress = {QStringLiteral("Buchhaltung %1").arg(n), QStringLiteral("Postfach"), QStringLiteral("12345 Ort")};
    QList<LineList::Row> rows;
    for (int r = 1; r <= k; ++r) {
        LineList::Row row;
        row[LineList::Pos] = QString::number(r);
        row[LineList::Bezeichnung] = QStringLiteral("Artikel %1").arg(r);
        row[LineList::Anzahl] = QStringLiteral("1");
        row[LineList::Einzelpreis] = QStringLiteral("10,00");
        row[LineList::MwSt] = QStringLiteral("19,00 %");
        rows << row;
    }
    d.lines.setLines(rows);
    for (int z = 0; z < Document::TextLineCount; ++z)
        d.texts[z] = {z == 0 ? QStringLiteral("%1 Zeilen").arg(k) : QStringLiteral("Text %1").arg(z + 1), QString()};
    d.paymentTerm = QStringLiteral("14");
    return d;
}
