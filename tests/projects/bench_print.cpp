// Benchmark, not a test: invoices of 700 lines (28 pages) and 750 lines (30
// pages) printed into a PDF file. Prints the median of several runs and keeps the
// last file of the larger one when asked to.
//
//   bench_print [runs] [keep.pdf]   (default 11 runs)

#include "AppState.h"
#include "BenchmarkRows.h"
#include "Database.h"
#include "DocumentFixtures.h"
#include "PrintCommands.h"
#include "PrintSystem.h"
#include "ScriptedDialogs.h"
#include "Totals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A long invoice (see BenchmarkRows) with Skonto and four lines of additional text.
Document bigInvoice(int n)
{
    Document d = sampleDocument(DocumentKind::Rechnung, 4711, BenchmarkRows(n));
    Totals::compute(d.lines, d.totals, {Amount::fromUnits(7), Amount::fromUnits(19)});
    return d;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 11;
    const QString keep = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTemporaryDir dir;
    try {
        Database db(QStringLiteral("bench"));
        db.open(dir.path());
        ScriptedDialogs dialogs;
        AppState state(db, dialogs, dir.path() + QLatin1Char('/'));
        PrintSystem system;
        DocumentPrintOptions options;
        options.title = QStringLiteral("Rechnung       ") + QStringLiteral("004711");
        options.customerNumber = QStringLiteral("000010");
        options.projectNumber = QStringLiteral("000005");
        const QString file = dir.filePath(QStringLiteral("Rechnung.pdf"));
        for (int lines : {700, 750}) {
            const Document invoice = bigInvoice(lines);
            std::vector<double> times;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer t;
                t.start();
                // Everything a print command does: read the settings and footer,
                // fit the fonts, draw, write the file and its information.
                Print(state, system, DocumentPrintRequest(state, invoice, options), PrintTarget::pdf(file));
                times.push_back(double(t.nsecsElapsed()) / 1e6);
            }
            std::sort(times.begin(), times.end());
            std::printf("%d lines on %d pages into a PDF of %lld KiB: median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                        invoice.lines.lineCount(), (invoice.lines.lineCount() + 24) / 25,
                        QFileInfo(file).size() / 1024, times[times.size() / 2], times.front(), times.back(), runs);
        }
        if (!keep.isEmpty()) {
            QFile::remove(keep);
            QFile::copy(file, keep);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
