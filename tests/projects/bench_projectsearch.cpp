// Benchmark, not a test: the project search over a data set of 20,000 projects
// with 100,000 documents (headers only; the search never reads lines). Prints
// the median time of each kind of search and how many rows it found.
//
//   bench_projectsearch [projects]   (default 20000; five documents per project)

#include "Database.h"
#include "Formats.h"
#include "ProjectSearchStore.h"
#include "SqlQuery.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char *const words[] = {"Lager", "Halle", "Dach", "Fenster", "Küche", "Bad", "Büro", "Werkstatt",
                             "Garten", "Keller", "Treppe", "Fassade", "Heizung", "Praxis", "Laden", "Scheune"};
const char *const firms[] = {"Muster", "Bau", "Holz", "Elektro", "Sanitär", "Maler", "Schmidt", "Becker",
                             "Wagner", "Neumann", "Krüger", "Hofmann", "Zimmer", "Fischer", "Weber", "Lang"};

double medianMs(int runs, const std::function<void()> &work)
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

void fill(Database &db, int projects)
{
    const int contacts = projects / 4;
    const QStringList kinds = {"angebote", "auftraege", "lieferscheine", "rechnungen", "ablage"};
    Transaction all(db);
    SqlQuery q(db);
    for (int c = 1; c <= contacts; ++c) {
        const QString name = QStringLiteral("%1 %2 GmbH & Co. KG %3")
                                 .arg(QString::fromUtf8(firms[c % 16]), QString::fromUtf8(firms[(c / 16) % 16]))
                                 .arg(c);
        if (c % 5 == 0)
            q.execSql(QStringLiteral("INSERT INTO name (IDN, VName, NName, St) VALUES (%1, 'Hans', '%2', '1')")
                          .arg(c)
                          .arg(SqlQuote(name)));
        else
            q.execSql(QStringLiteral("INSERT INTO firma (IDF, Name, St) VALUES (%1, '%2', '1')").arg(c).arg(SqlQuote(name)));
    }
    const QDate start(2015, 1, 1);
    int number = 0;
    for (int p = 1; p <= projects; ++p) {
        const int contact = 1 + p % contacts;
        const QString date = DateToStr(start.addDays(p % 3650));
        const QString prName = QStringLiteral("%1 %2 %3")
                                   .arg(QString::fromUtf8(words[p % 16]), QString::fromUtf8(words[(p / 16) % 16]))
                                   .arg(p);
        const QString contactName = QStringLiteral("%1 %2 GmbH & Co. KG %3")
                                        .arg(QString::fromUtf8(firms[contact % 16]),
                                             QString::fromUtf8(firms[(contact / 16) % 16]))
                                        .arg(contact);
        const bool person = contact % 5 == 0;
        q.execSql(QStringLiteral("INSERT INTO projekt (PrNr, VName, NName, Datum, KNr) VALUES (%1, '%2', '%3', '%4', %5)")
                      .arg(p)
                      .arg(SqlQuote(person ? QStringLiteral("Hans") : contactName),
                           SqlQuote(person ? contactName : QStringLiteral("Handwerk")), date)
                      .arg(contact));
        q.execSql(QStringLiteral("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (%1, %2, '%3')")
                      .arg(p)
                      .arg(contact)
                      .arg(SqlQuote(prName)));
        for (const QString &k : kinds) {
            ++number;
            q.execSql(QStringLiteral("INSERT INTO %1 (BelegNr, ProjektNr, Datum, PName) VALUES (%2, %3, '%4', '%5')")
                          .arg(k)
                          .arg(number)
                          .arg(p)
                          .arg(DateToStr(start.addDays(p % 3650 + number % 20)), SqlQuote(prName)));
        }
    }
    all.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int projects = argc > 1 ? QByteArray(argv[1]).toInt() : 20000;
    QTemporaryDir dir;
    try {
        Database db(QStringLiteral("bench"));
        db.open(dir.path());
        QElapsedTimer filled;
        filled.start();
        fill(db, projects);
        std::printf("%d projects, %d documents, %d contacts filled in %.1f s\n", projects, projects * 5, projects / 4,
                    double(filled.elapsed()) / 1000);

        ProjectSearchStore store(db);
        const auto run = [&](const char *what, const ProjectSearch &s) {
            qsizetype found = 0;
            const double ms = medianMs(21, [&] { found = store.search(s).size(); });
            std::printf("%-52s %8.3f ms (%lld rows)\n", what, ms, static_cast<long long>(found));
        };
        ProjectSearch all;
        all.from = QStringLiteral("01.01.2000");
        all.to = QStringLiteral("31.12.2030");

        ProjectSearch s = all;
        s.projectName = QStringLiteral("Lager Dach 1");
        run("projects by project name, all dates", s);
        s.kind = DocumentKind::Rechnung;
        run("invoices by project name, all dates", s);
        s = all;
        s.contactName = QStringLiteral("Holz Wagner");
        run("projects by company name, all dates", s);
        s.kind = DocumentKind::Rechnung;
        run("invoices by company name, all dates", s);
        s = all;
        s.persons = true;
        s.contactName = QStringLiteral("Elektro Bau");
        run("projects by a person's last name, all dates", s);
        s = all;
        s.customer = 1234;
        run("projects of one customer, all dates", s);
        s.kind = DocumentKind::Angebot;
        run("quotations of one customer, all dates", s);
        s = all;
        s.from = QStringLiteral("01.12.2019");
        s.to = QStringLiteral("31.12.2019");
        run("projects of one month, no text", s);
        s.kind = DocumentKind::Rechnung;
        run("invoices of one month, no text", s);

        qsizetype listed = 0;
        const double customers =
            medianMs(21, [&] { listed = store.customerNumbers(DocumentKind::Rechnung, false).size(); });
        std::printf("%-52s %8.3f ms (%lld numbers)\n", "customer numbers with invoices", customers,
                    static_cast<long long>(listed));
        const double numbers = medianMs(21, [&] { listed = store.projectNumbers(DocumentKind::Rechnung, false).size(); });
        std::printf("%-52s %8.3f ms (%lld numbers)\n", "project numbers with invoices", numbers,
                    static_cast<long long>(listed));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
