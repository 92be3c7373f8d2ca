// Benchmark, not a test: the calendar over 20,000 invoices (two postings each,
// due over two and a half years, about 150 in a week) and 5,000 dunning letters.
// Times reading a week's entries and moving the window by one day. Prints medians.
//
//   bench_calendar [invoices]   (default 20000)

#include "CalendarStore.h"
#include "Formats.h"
#include "TestEnv.h"
#include "TfrmCalendar.h"
#include "Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
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

void fill(Database &db, int invoices)
{
    Transaction all(db);
    QSqlQuery q(db.connection());
    const QDate start = QDate::currentDate().addDays(-730);
    for (int p = 1; p <= 1000; ++p)
        q.exec(QStringLiteral("INSERT INTO projekt (PrNr, VName, KNr, EFirma, UID) VALUES (%1, 'Kunde', %1, '', '')")
                   .arg(p));
    for (int n = 1; n <= invoices; ++n) {
        const QString due = DateToStr(start.addDays(n % 913));
        q.exec(QStringLiteral("INSERT INTO rechnungen (BelegNr, ProjektNr, Datum) VALUES (%1, %2, '%3')")
                   .arg(n)
                   .arg(n % 1000 + 1)
                   .arg(due));
        q.exec(QStringLiteral("INSERT INTO rechnungenop (RNR, ZZiel, EDatum, Betrag, Name, RBetrag, MStufe, Gebucht) "
                              "VALUES (%1, 30, '%2', %3, 'Kunde %1', 0, 0, '%4')")
                   .arg(n)
                   .arg(due)
                   .arg(1000 + n % 500)
                   .arg(n % 4 == 0 ? "J" : "N"));
        for (int k = 0; k < 2; ++k)
            q.exec(QStringLiteral("INSERT INTO teilbuchung (RNr, Betrag, Datum, Text) VALUES ('%1', 100, '%2', '')")
                       .arg(n)
                       .arg(due));
        if (n % 4 == 1)
            q.exec(QStringLiteral("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum, RL, EFirma) VALUES "
                                  "(%1, %2, 1, '%3', '%4', 'N', '')")
                       .arg(n / 4 + 1)
                       .arg(n)
                       .arg(n % 1000 + 1)
                       .arg(due));
    }
    all.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitFormats();
    const int invoices = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    TestEnv env;
    env.state().grantAll();
    fill(env.db(), invoices);
    CalendarStore store(env.db(), env.state().dmCommon);
    const QDate monday = QDate::currentDate().addDays(1 - QDate::currentDate().dayOfWeek());
    qsizetype entries = 0;
    const double week = medianMs(21, [&](int i) {
        entries = store.entries(monday.addDays(-7 * i), monday.addDays(6 - 7 * i), QDate::currentDate()).size();
    });
    TfrmCalendar w(env.state());
    w.show();
    const double day = medianMs(21, [&](int i) { w.showDate(QDate::currentDate().addDays(-i)); });
    std::printf("%d invoices: a week's entries (%lld) %.1f ms, moving the window by a day %.1f ms\n", invoices,
                static_cast<long long>(entries), week, day);
    return 0;
}
