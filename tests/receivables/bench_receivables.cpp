// Benchmark, not a test: the open-items window over 20,000 invoices with 40,000
// postings. Times opening the window with each filter (statement, list and panels
// of the first row), the statement alone, and one booking. Prints the medians.
//
//   bench_receivables [invoices]   (default 20000; two postings each)

#include "Formats.h"
#include "ReceivablesStore.h"
#include "TestEnv.h"
#include "TfrmOP.h"
#include "Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

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

void exec(QSqlQuery &q, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastQuery()));
}

// Customers 1..1000 are companies with a main address; project p belongs to customer p.
// Invoice n: 1000 + n % 500 euros, due between two years ago and half a year ahead,
// two postings; every fourth settled, every fourth part-paid, the rest open.
void fill(Database &db, int invoices)
{
    Transaction all(db);
    QSqlQuery firma(db.connection()), adresse(db.connection()), link(db.connection()), projekt(db.connection()),
        rechnung(db.connection()), extra(db.connection()), op(db.connection()), post(db.connection());
    firma.prepare("INSERT INTO firma (IDF, Name, Telefon, St) VALUES (?, ?, '0711 1', '1')");
    adresse.prepare("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (?, 'Weg 1', '70173', 'Stuttgart')");
    link.prepare("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (?, ?, 'Hauptadresse', '1')");
    projekt.prepare("INSERT INTO projekt (PrNr, VName, KNr, EFirma, UID) VALUES (?, ?, ?, 'Halvard GmbH', '')");
    rechnung.prepare("INSERT INTO rechnungen (BelegNr, ProjektNr, Datum) VALUES (?, ?, ?)");
    extra.prepare("INSERT INTO rechnungenextra (BelegNr, ScontoText, Sconto) VALUES (?, '', '2')");
    op.prepare("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) "
               "VALUES (?, 30, ?, ?, ?, ?, 0, ?)");
    post.prepare("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES (?, ?, ?, '')");
    for (int c = 1; c <= 1000; ++c) {
        exec(firma, {c, QString("Firma %1").arg(c)});
        exec(adresse, {c});
        exec(link, {c, c});
        exec(projekt, {c, QString("Firma %1").arg(c), c});
    }
    const QDate today = QDate::currentDate();
    for (int n = 1; n <= invoices; ++n) {
        const QDate due = today.addDays(-730 + (n * 37) % 910);
        const double amount = 1000 + n % 500;
        const int kind = n % 4; // 0 settled, 1 part-paid, else open
        const double paid = kind == 0 ? amount : kind == 1 ? amount / 2 : 0;
        exec(rechnung, {n, 1 + n % 1000, DateToStr(due.addDays(-30))});
        exec(extra, {n});
        exec(op, {n, DateToStr(due), amount, QString("Firma %1").arg(1 + n % 1000), amount - paid,
                  QString(kind == 0 ? "J" : "N")});
        exec(post, {n, paid / 2, DateToStr(due)});
        exec(post, {n, paid / 2, DateToStr(due.addDays(3))});
    }
    all.commit();
    QSqlQuery(db.connection()).exec("ANALYZE");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int invoices = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;
    try {
        TestEnv env;
        QElapsedTimer filling;
        filling.start();
        fill(env.db(), invoices);
        std::printf("data set of %d invoices and %d postings filled in %.1f s\n", invoices, 2 * invoices,
                    double(filling.elapsed()) / 1000);

        env.state().grantAll();
        ReceivablesStore store(env.db(), env.state().dmCommon);
        TfrmOP window(env.state());
        for (int f = 0; f < OpenItemRules::FilterCount; ++f) {
            const auto filter = OpenItemFilter(f);
            window.setFilter(filter, true);
            const double opening = medianMs(11, [&](int) { window.activate(); });
            int rows = 0;
            const double whole = medianMs(5, [&](int) {
                rows = int(store.loadList(filter, ReceivablesStore::SearchKind::Customer, {}, QDate::currentDate()).size());
            });
            std::printf("%-26s opening %6.2f ms; all %5d rows read in %6.1f ms\n",
                        qPrintable(OpenItemRules::filterCaption(filter)), opening, rows, whole);
        }
        window.setFilter(OpenItemFilter::All, true);
        const double search = medianMs(11, [&](int i) {
            window.edtSearch->setText(QString::number(1 + i));
            window.reload();
        });
        window.edtSearch->clear();
        const double scroll = medianMs(11, [&](int) {
            window.reload();
            window.selectRow(1999); // reads the pages down to row 2000
        });
        std::printf("search by customer number:         %6.2f ms\n", search);
        std::printf("\"alle\" down to row 2000:           %6.2f ms\n", scroll);

        // Part payments of 1,00 on open invoices (n % 4 == 2), as the window books them.
        const double booking = medianMs(21, [&](int i) {
            const qint64 invoice = 2 + 4 * i;
            const InvoiceFigures seen = store.figures(invoice);
            const PanelAmounts panel = PaymentRules::panelAmounts(seen, false);
            store.book(invoice, seen, *PaymentRules::planBooking(panel.outstanding, "1", false), QDate::currentDate());
        });
        std::printf("one booking (figures and writes):  %6.2f ms\n", booking);
        // "&Erfassen" in the window with "alle Rechnungen": question, booking, list read again.
        window.setFilter(OpenItemFilter::All, true);
        const double command = medianMs(21, [&](int i) {
            window.selectRow(3 + 4 * i);
            window.edtGezahlt->setText("1");
            env.dialogs().answer(Dialogs::Answer::Yes);
            window.cmdBook();
        });
        std::printf("\"&Erfassen\" with the list read again: %6.2f ms\n", command);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
