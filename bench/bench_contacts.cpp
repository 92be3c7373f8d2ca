// Contact list and start-up timings over a large data set: 100,000 companies and
// 100,000 persons, each with a main and a further address.
//   bench_contacts [DIR]   (DIR keeps the generated data set for later runs)
#include "ContactListStore.h"
#include "Database.h"
#include "HomeDir.h"
#include "SqlQuery.h"
#include "TestEnv.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char *const lastNames[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker",
                                 "Schulz", "Hoffmann", "Koch", "Richter", "Klein", "Wolf", "Schröder", "Neumann"};
const char *const firstNames[] = {"Anna", "Ben", "Clara", "David", "Emma", "Felix", "Greta", "Hans",
                                  "Ida", "Jonas", "Karl", "Lena", "Marie", "Noah", "Olga", "Paul"};
const char *const trades[] = {"Bau", "Kfz", "Elektro", "Sanitär", "Handel", "Druck", "Holz", "IT"};
const char *const towns[] = {"Stuttgart", "München", "Berlin", "Hamburg", "Köln", "Leipzig", "Freiburg", "Ulm"};

void generate(Database &db, int perKind)
{
    QElapsedTimer t;
    t.start();
    Transaction tr(db);
    qint64 ida = 1;
    auto *rnd = QRandomGenerator::global();
    for (int i = 1; i <= 2 * perKind; ++i) {
        const bool company = i <= perKind;
        const QString town = QString::fromUtf8(towns[rnd->bounded(8)]);
        const QString plz = QString::number(10000 + rnd->bounded(89999));
        const QString phone = QStringLiteral("0%1 %2").arg(rnd->bounded(100, 999)).arg(rnd->bounded(10000, 999999));
        if (company)
            db.exec(QStringLiteral("INSERT INTO firma (IDF, Name, Branche, Kategorie, Begriffe, Telefon, St) "
                                   "VALUES (%1, '%2 %3 GmbH', '%4', 'Kunde', 'Stichwort%5', '%6', '1')")
                        .arg(i)
                        .arg(QString::fromUtf8(lastNames[rnd->bounded(16)]))
                        .arg(i)
                        .arg(QString::fromUtf8(trades[rnd->bounded(8)]))
                        .arg(i % 1000)
                        .arg(phone));
        else
            db.exec(QStringLiteral("INSERT INTO name (IDN, Anrede, VName, NName, Kategorie, Begriffe, Telefon, St) "
                                   "VALUES (%1, 'Frau', '%2', '%3%4', 'Lieferant', 'Stichwort%5', '%6', '1')")
                        .arg(i)
                        .arg(QString::fromUtf8(firstNames[rnd->bounded(16)]))
                        .arg(QString::fromUtf8(lastNames[rnd->bounded(16)]))
                        .arg(i)
                        .arg(i % 1000)
                        .arg(phone));
        for (int a = 0; a < 2; ++a, ++ida) {
            db.exec(QStringLiteral("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (%1, 'Hauptstraße %2', "
                                   "'%3', '%4', 'Deutschland')")
                        .arg(ida)
                        .arg(rnd->bounded(1, 200))
                        .arg(plz, town));
            db.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (%1, %2, '%3', '%4')")
                        .arg(ida)
                        .arg(i)
                        .arg(a == 0 ? QStringLiteral("Hauptadresse") : QStringLiteral("Lager"))
                        .arg(a == 0 ? 1 : 0));
        }
    }
    tr.commit();
    std::printf("generated %d contacts in %.1f s\n", 2 * perKind, t.elapsed() / 1000.0);
}

double medianMs(const std::function<void()> &f, int runs = 15)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString home = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::temp().filePath("orvella-bench-contacts");
    PrepareHomeDir(home);
    Database db;
    db.open(DataDirOf(home));
    {
        SqlQuery q(db);
        q.open("SELECT COUNT(*) AS n FROM firma");
        if (q.fieldInt("n") == 0) {
            q.close();
            generate(db, 100000);
            db.close();
            db.open(DataDirOf(home)); // statistics are taken when a data set is opened
        }
    }
    ContactListStore store(db);
    std::printf("%-32s %10s\n", "operation", "median ms");
    for (bool companies : {true, false}) {
        const char *kind = companies ? "companies" : "persons";
        std::printf("LoadContactList %-16s %10.2f\n", kind, medianMs([&] { store.load(companies, false); }));
        std::printf("categories %-21s %10.2f\n", kind, medianMs([&] { store.categories(companies); }));
        const struct
        {
            SearchTab tab;
            const char *term;
        } cases[] = {{SearchTab::Firmenname, "Weber 4711"},
                     {SearchTab::Personenname, "Weber4711"},
                     {SearchTab::Begriff, "Stichwort815"},
                     {SearchTab::Kundennummer, "4711"},
                     {SearchTab::Postleitzahl, "701"},
                     {SearchTab::Telefonnummer, "0711"},
                     {SearchTab::Allgemein, "Freiburg"},
                     {SearchTab::Firmenname, "Müller"},
                     {SearchTab::Allgemein, "Zwickau"}};
        for (const auto &c : cases) {
            const double ms = medianMs([&] { store.search(companies, false, QString(), int(c.tab), QString::fromUtf8(c.term)); });
            std::printf("search %-10s %-14s %10.2f\n", kind, c.term, ms);
        }
    }
    db.close();

    // Start-up: process start until the main window is shown.
    std::vector<double> starts;
    for (int i = 0; i < 7; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVELLA_EXIT_WHEN_SHOWN", "1");
        env.insert("ORVELLA_HOME", home);
        if (!env.contains("QT_QPA_PLATFORM") && !env.contains("DISPLAY"))
            env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(ORVELLA_BINARY, {});
        p.waitForFinished(60000);
        const QByteArray out = p.readAllStandardOutput();
        const int at = int(out.indexOf("after "));
        starts.push_back(at >= 0 ? out.mid(at + 6).split(' ').first().toDouble() : -1);
    }
    std::sort(starts.begin(), starts.end());
    std::printf("start-up to main window shown   %10.0f\n", starts[starts.size() / 2]);
    return 0;
}
