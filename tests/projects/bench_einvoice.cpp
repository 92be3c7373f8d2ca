// Benchmark, not a test: the XRechnung of a 500-line invoice (lines worked out
// again, XML written) and the ZUGFeRD PDF of a 3-page invoice (print drawn as
// PDF/A, XML embedded with libqpdf, the data read from a data set). Prints the
// median of several runs and keeps the last PDF when asked to.
//
//   bench_einvoice [runs] [keep.pdf]   (default 11 runs)

#include "AppState.h"
#include "BenchmarkRows.h"
#include "Database.h"
#include "DocumentFixtures.h"
#include "EInvoice.h"
#include "PrintCommands.h"
#include "ScriptedDialogs.h"
#include "SellerData.h"
#include "Totals.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Special characters in every name, as an electronic invoice must escape them.
QStringList rowsOf(int n)
{
    return BenchmarkRows(n, QStringLiteral(" & Zubehör"));
}

EInvoice::Data invoiceData(const Document &d)
{
    EInvoice::Data data;
    data.number = QStringLiteral("004711");
    data.date = d.date;
    data.lines = d.lines;
    data.tableRates = {Amount::fromUnits(7), Amount::fromUnits(19)};
    data.seller = {QStringLiteral("Halvard GmbH"), QStringLiteral("Hafenstraße 1"), QStringLiteral("20457"),
                   QStringLiteral("Hamburg"), QStringLiteral("DE123456789"), {}, {}, QStringLiteral("DE02120300000000202051"),
                   QStringLiteral("BYLADEM1001"), {}, QStringLiteral("Erika Sommer"), QStringLiteral("r@halvard.example"),
                   QStringLiteral("+49 40 1234")};
    data.buyer = {QStringLiteral("Muster GmbH"), QStringLiteral("Marktplatz 3"), QStringLiteral("12345"),
                  QStringLiteral("Musterstadt"), QStringLiteral("DE"), {}, QStringLiteral("e@muster.example")};
    data.customerNumber = QStringLiteral("10");
    data.dueDate = QStringLiteral("15.03.2004");
    data.skontoPercent = d.skontoPercent;
    data.skontoDays = QStringLiteral("10");
    return data;
}

double median(const std::function<void()> &work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
        const Document big = sampleDocument(DocumentKind::Rechnung, 4711, rowsOf(500));
        const EInvoice::Data bigData = invoiceData(big);
        qsizetype xmlSize = 0;
        const double xml = median([&] { xmlSize = EInvoice::writeCii(bigData, EInvoice::Profile::XRechnung).size(); }, runs);
        std::printf("XRechnung, 500 lines (%lld bytes): median %.1f ms (limit 50 ms)\n", (long long)xmlSize, xml);

        Database db(QStringLiteral("bench"));
        db.open(dir.path());
        ScriptedDialogs dialogs;
        AppState state(db, dialogs, dir.path() + QLatin1Char('/'));
        // A seller with an IBAN, so that the print carries its GiroCode.
        WriteSellerDetails(db, bigData.seller);
        Document three = sampleDocument(DocumentKind::Rechnung, 4711, rowsOf(70));
        Totals::compute(three.lines, three.totals, {Amount::fromUnits(7), Amount::fromUnits(19)});
        const EInvoice::Data threeData = invoiceData(three);
        DocumentPrintOptions options;
        options.title = QStringLiteral("Rechnung       004711");
        QByteArray pdf;
        const double zugferd = median(
            [&] {
                // What the command does after its checks: draw the print with its
                // settings and GiroCode, write the XML, embed it.
                const QByteArray x = EInvoice::writeCii(threeData, EInvoice::Profile::Zugferd);
                pdf = ZugferdInvoicePdf(state, DocumentPrintRequest(state, three, options), x);
            },
            runs);
        std::printf("ZUGFeRD PDF, 3 pages (%lld bytes): median %.1f ms (limit 1000 ms)\n", (long long)pdf.size(), zugferd);
        if (!keep.isEmpty()) {
            QFile f(keep);
            if (f.open(QIODevice::WriteOnly))
                f.write(pdf);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
