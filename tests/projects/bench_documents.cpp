// Benchmark, not a test: totals of a 500-line document, and saving and loading a
// 500-line invoice in a data set that holds 20,000 invoices, also once it is
// issued and every save keeps the version it replaces. Prints the medians.
//
//   bench_documents [invoices]   (default 20000)
//
// On the file, or with ORVELLA_TEST_DATABASE=postgresql on the server of the PG*
// variables (in a schema of its own that is dropped at the end).

#include "CrashInvoice.h"
#include "Database.h"
#include "DocumentHistory.h"
#include "DocumentStore.h"
#include "ScriptedDialogs.h"
#include "TestEnv.h"
#include "Totals.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// 500 rows: articles at three rates, each third one with a text line, a discount last.
Document bigInvoice(qint64 number)
{
    Document d = crashInvoice(number, 1);
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
    d.projectName = QStringLiteral("Großauftrag");
    return d;
}

double medianMs(int runs, const std::function<void(int)> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int invoices = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;
    QTemporaryDir dir;
    try {
        Database db(QStringLiteral("bench"));
        const DatabaseConfig config = TestDatabaseConfig(dir.path());
        db.open(config);
        std::printf("data set: %s\n", qPrintable(config.describe()));
        ScriptedDialogs dialogs;
        DocumentStore store(db, dialogs);
        const QList<Amount> rates = Totals::readRates(db);

        const Document big = bigInvoice(1);
        const double totals = medianMs(51, [&](int) {
            LineList lines = big.lines;
            TotalsList list;
            Totals::compute(lines, list, rates);
        });
        std::printf("totals, 500 lines:                %8.3f ms\n", totals);

        QElapsedTimer fill;
        fill.start();
        {
            Transaction all(db);
            for (int n = 1; n <= invoices; ++n) {
                Document d = crashInvoice(n, 1 + n % 9);
                store.save(d);
            }
            all.commit();
        }
        std::printf("data set of %d invoices filled in %.1f s\n", invoices, double(fill.elapsed()) / 1000);

        // statements sent per save: the median run's count (every run sends as many)
        quint64 statements = 0;
        const auto counted = [&](Document &d) {
            const quint64 before = db.statementsSent();
            store.save(d);
            statements = db.statementsSent() - before;
        };
        const double insert = medianMs(21, [&](int i) {
            Document d = bigInvoice(invoices + 1 + i);
            counted(d);
        });
        std::printf("save of a new 500-line invoice:   %8.3f ms, %llu statements\n", insert,
                    static_cast<unsigned long long>(statements));
        const double update = medianMs(21, [&](int i) {
            Document d = bigInvoice(invoices + 1 + i);
            d.projectName = QStringLiteral("geändert");
            counted(d);
        });
        std::printf("save again (update), 500 lines:   %8.3f ms, %llu statements\n", update,
                    static_cast<unsigned long long>(statements));
        // The same once the invoices have gone out: each save first keeps the
        // version it replaces.
        for (int i = 0; i < 21; ++i)
            DocumentHistory::markIssued(db, DocumentKind::Rechnung, invoices + 1 + i, DocumentHistory::ByPrint);
        const double issued = medianMs(21, [&](int i) {
            Document d = bigInvoice(invoices + 1 + i);
            d.projectName = QStringLiteral("nach dem Ausstellen geändert");
            store.save(d);
        });
        std::printf("save of an issued 500-line invoice (with its kept version): %8.3f ms (%.2f × the update)\n",
                    issued, issued / update);
        int loadedLines = 0;
        const double load = medianMs(21, [&](int i) {
            loadedLines = store.load(DocumentKind::Rechnung, invoices + 1 + i).document.lines.lineCount();
        });
        std::printf("load of a 500-line invoice:       %8.3f ms (%d lines)\n", load, loadedLines);
        if (config.isServer())
            db.exec(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(config.schema));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
