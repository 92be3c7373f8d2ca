// Benchmark, not a test: the word-processor export of a 500-line invoice with the
// shipped invoice templates, from the page's values to the saved document (the
// desktop's word processor is not started). Prints the medians.
//
//   bench_wordexport [runs]   (default 15)

#include "Amount.h"
#include "Errors.h"
#include "HomeDir.h"
#include "Totals.h"
#include "WordExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// 500 rows: articles at two rates, each third one with a text line, a discount last.
ShownDocumentPage bigInvoice()
{
    ShownDocumentPage page{Document(DocumentKind::Rechnung), QStringLiteral("      000042"),
                           QStringLiteral("     000001"), QStringLiteral("      000010")};
    Document &d = page.document;
    d.ownCompany = QStringLiteral("Halvard GmbH · Werkstraße 1 · 79100 Freiburg");
    d.address = {QStringLiteral("Müller & Söhne GmbH"), QStringLiteral("Hauptstraße 1"), QStringLiteral("70173 Stuttgart")};
    d.date = QStringLiteral("01.03.2004");
    d.skontoText = QStringLiteral("Bei Zahlung innerhalb von 8 Tagen");
    d.skontoPercent = QStringLiteral("2,00");
    QList<LineList::Row> rows;
    int position = 0;
    while (rows.size() < 499) {
        LineList::Row row;
        row[LineList::Pos] = QString::number(++position);
        row[LineList::ArtikelNr] = QStringLiteral("A-%1").arg(position);
        row[LineList::Bezeichnung] = QStringLiteral("Artikel Nr. %1 mit längerem Namen").arg(position);
        row[LineList::Anzahl] = QStringLiteral("%1,5").arg(position % 7 + 1);
        row[LineList::Einzelpreis] = QStringLiteral("1.%1,35").arg(100 + position % 800);
        row[LineList::MwSt] = position % 3 == 0 ? QStringLiteral("  7,00 %") : QStringLiteral("19,00 %");
        rows << row;
        if (position % 3 == 0 && rows.size() < 499) {
            LineList::Row text;
            text[LineList::Bezeichnung] = QStringLiteral("Zusatztext zu Artikel %1").arg(position);
            rows << text;
        }
    }
    LineList::Row discount;
    discount[LineList::Pos] = QString::number(++position);
    discount[LineList::Bezeichnung] = QStringLiteral("Rabatt");
    discount[LineList::Einzelpreis] = QStringLiteral("3,00 %");
    discount[LineList::Rabatt] = QStringLiteral("3,00");
    rows << discount;
    d.lines.setLines(rows);
    Totals::compute(d.lines, d.totals, {Amount::fromUnits(19), Amount::fromUnits(7)});
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 15;
    QTemporaryDir home;
    QTemporaryDir out;
    try {
        PrepareHomeDir(home.path());
        const ShownDocumentPage page = bigInvoice();
        for (const char *name : {"Rechnung.ott", "Rechnung.dotx"}) {
            const QString templatePath = QDir(home.path()).filePath(QStringLiteral("Rechnungen/") + QLatin1String(name));
            std::vector<double> times;
            qint64 size = 0;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer t;
                t.start();
                WordWriter writer(out.path());
                writer.setOpener({}); // save only
                WriteWordDocument(writer, templatePath,
                                  BusinessDocumentContent(page, QStringLiteral("Sehr geehrte Damen und Herren,"),
                                                          QStringLiteral("€")));
                times.push_back(double(t.nsecsElapsed()) / 1e6);
                size = QFileInfo(writer.documentPath()).size();
            }
            std::sort(times.begin(), times.end());
            std::printf("export of %d lines with %s: median %.1f ms, slowest %.1f ms (%d runs, %lld bytes)\n",
                        page.document.lines.lineCount(), name, times[times.size() / 2], times.back(), runs, size);
        }
    } catch (const OrvellaError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
