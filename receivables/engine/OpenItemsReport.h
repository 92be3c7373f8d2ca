#pragma once

#include "OpenItem.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

// The open-items list as the window shows it, for paper, PDF and spreadsheet: the
// filter's name, the day, the visible columns, what each invoice still owes and
// the total of those amounts.
struct OpenItemsReport
{
    QString filterName;
    QDate date;
    QString currency = QStringLiteral("€");
    QList<OpenItemRow> rows;
    QList<Amount> outstanding; // one per row

    static QStringList headings(); // the list's columns and "Offen"
    // The cells of a row as the list shows them, and the outstanding amount.
    QStringList cells(int row) const;
    Amount total() const;

    // Semicolon-separated, UTF-8 with byte-order mark and CRLF line ends, amounts
    // with a decimal comma and no thousands points, so that a spreadsheet opens it
    // directly and reads the amounts as numbers. The last line holds the total.
    QByteArray toCsv() const;
    // Writes toCsv() into the file; throws OrvellaError with a German message.
    void writeCsv(const QString &path) const;

    // Draws the list on A4 pages: heading with filter and day on each page, the
    // rows, page numbers, and the total under the last row.
    void paint(QPagedPaintDevice &device) const;
    // Prints into a PDF file; throws OrvellaError when the file cannot be written.
    void writePdf(const QString &path) const;
};
