// Contact list and start-up timings over a large data set: half companies, half
// persons (200,000 contacts unless told otherwise), each with a main and a
// further address, every fiftieth contact blocked. Also times saving a contact,
// which the triggers of the substring indexes make a little dearer.
//   bench_contacts [DIR] [CONTACTS]   (DIR keeps the generated data set for later runs)
//
// With ORVELLA_TEST_DATABASE=postgresql the data set lies on the server of the PG*
// variables, in the schema ORVELLA_TEST_SCHEMA (default "bench_contacts", kept for
// later runs). There the searches are timed by the clock, since the work happens
// in the server's process; "bare" and "scan" there are the server's own planning
// and execution times of the statements (EXPLAIN ANALYZE).
//
// Every search is timed three ways (medians of the processor time spent, which
// other programs on a busy machine do not distort): "program" is the store's search as
// the main window runs it (statements, driver, rows), "bare" the statements it
// sends, run straight on the engine, and "scan" the statement without the
// substring index, as every search ran before, also bare. Terms come as a common,
// a rare ("Eisvogel" stands in one company and one person) and a term that
// matches nothing.
#include "BareStatements.h"
#include "ContactListStore.h"
#include "Database.h"
#include "HomeDir.h"
#include "SqlQuery.h"
#include "SqlSearch.h"
#include "TestEnv.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
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
    QRandomGenerator rnd(4711);
    for (int i = 1; i <= 2 * perKind; ++i) {
        const bool company = i <= perKind;
        const bool rare = i == perKind / 2 + 1 || i == perKind + perKind / 2 + 1;
        const QString st = i % 50 == 0 ? QStringLiteral("0") : QStringLiteral("1");
        const QString town = QString::fromUtf8(towns[rnd.bounded(8)]);
        const QString plz = QString::number(10000 + rnd.bounded(89999));
        const QString phone = QStringLiteral("0%1 %2").arg(rnd.bounded(100, 999)).arg(rnd.bounded(10000, 999999));
        const QString last = rare ? QStringLiteral("Eisvogel") : QString::fromUtf8(lastNames[rnd.bounded(16)]);
        const QString terms = rare ? QStringLiteral("Eisvogel") : QStringLiteral("Stichwort%1").arg(i % 1000);
        if (company)
            db.exec(QStringLiteral("INSERT INTO firma (IDF, Name, Branche, Kategorie, Begriffe, Telefon, St) "
                                   "VALUES (%1, '%2 %3 GmbH', '%4', 'Kunde', '%5', '%6', '%7')")
                        .arg(i)
                        .arg(last)
                        .arg(i)
                        .arg(QString::fromUtf8(trades[rnd.bounded(8)]), terms, phone, st));
        else
            db.exec(QStringLiteral("INSERT INTO name (IDN, Anrede, VName, NName, Kategorie, Begriffe, Telefon, St) "
                                   "VALUES (%1, 'Frau', '%2', '%3', 'Lieferant', '%4', '%5', '%6')")
                        .arg(i)
                        .arg(QString::fromUtf8(firstNames[rnd.bounded(16)]), rare ? last : last + QString::number(i),
                             terms, phone, st));
        for (int a = 0; a < 2; ++a, ++ida) {
            db.exec(QStringLiteral("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (%1, 'Hauptstraße %2', "
                                   "'%3', '%4', 'Deutschland')")
                        .arg(ida)
                        .arg(rnd.bounded(1, 200))
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

// What the triggers add to saving a contact: a company with a main and a further
// address in one transaction, as the contact editor writes it, and its deletion.
void timeSaves(Database &db)
{
    qint64 id = 900000000;
    const double save = MedianMs(
        [&] {
            ++id;
            Transaction tr(db);
            db.exec(QStringLiteral("INSERT INTO firma (IDF, Name, Branche, Begriffe, Telefon, St) VALUES (%1, "
                                   "'Messfirma %1 GmbH', 'Handel', 'Messung', '0711 %1', '1')")
                        .arg(id));
            for (int a = 0; a < 2; ++a) {
                db.exec(QStringLiteral("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (%1, "
                                       "'Messweg %2', '70173', 'Stuttgart', 'Deutschland')")
                            .arg(2 * id + a)
                            .arg(a));
                db.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (%1, %2, 'Haupt', '%3')")
                            .arg(2 * id + a)
                            .arg(id)
                            .arg(1 - a));
            }
            tr.commit();
        },
        21);
    const double remove = MedianMs(
        [&] {
            Transaction tr(db);
            db.exec(QStringLiteral("DELETE FROM adresse WHERE IDA IN (%1, %2)").arg(2 * id).arg(2 * id + 1));
            db.exec(QStringLiteral("DELETE FROM adressetofn WHERE IDFN = %1").arg(id));
            db.exec(QStringLiteral("DELETE FROM firma WHERE IDF = %1").arg(id));
            tr.commit();
            --id;
        },
        21);
    std::printf("%-44s %10.2f\n%-44s %10.2f\n", "save a company with two addresses", save,
                "delete a company with two addresses", remove);
}

struct Case
{
    SearchTab tab;
    const char *term;
    const char *what; // common, middle, rare, none, short
    bool blocked = false;
};

const char *tabName(SearchTab tab)
{
    static const char *const names[] = {"Firmenname", "Personenname", "Begriff", "Kundennummer",
                                        "Postleitzahl", "Telefonnummer", "Allgemein"};
    return names[int(tab)];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString home = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::temp().filePath("orvella-bench-contacts");
    const int contacts = argc > 2 ? QByteArray(argv[2]).toInt() : 200000;
    PrepareHomeDir(home);
    if (qEnvironmentVariableIsEmpty("ORVELLA_TEST_SCHEMA"))
        qputenv("ORVELLA_TEST_SCHEMA", "bench_contacts");
    const DatabaseConfig config = TestDatabaseConfig(DataDirOf(home));
    const bool server = config.isServer();
    Database db;
    QElapsedTimer opening;
    opening.start();
    db.open(config); // an earlier data set is brought up to date here
    std::printf("data set opened in %.1f s\n", double(opening.elapsed()) / 1000.0);
    {
        SqlQuery q(db);
        q.open("SELECT COUNT(*) AS n FROM firma");
        if (q.fieldInt("n") == 0) {
            q.close();
            if (server) {
                // the server's trigram indexes are kept by the server itself
                generate(db, contacts / 2);
                db.exec(QStringLiteral("ANALYZE"));
            } else {
                // as an existing data set that the upgrade step gives its indexes
                const double built = FillThenIndex(db, [&] { generate(db, contacts / 2); });
                std::printf("substring indexes built in %.1f s\n", built);
                db.close();
                db.open(config); // statistics are taken when a data set is opened
            }
        }
        q.open("SELECT (SELECT COUNT(*) FROM firma) + (SELECT COUNT(*) FROM name) AS n");
        std::printf("%lld contacts, data set %s\n", q.fieldInt("n"),
                    server ? qPrintable(config.describe())
                           : qPrintable(QStringLiteral("%1 MB").arg(QFile(db.filePath()).size() / 1048576)));
    }
    ContactListStore store(db);
    std::printf("%-44s %10s\n", "operation", "median ms");
    for (bool companies : {true, false}) {
        const char *kind = companies ? "companies" : "persons";
        std::printf("LoadContactList %-28s %10.2f\n", kind, MedianMs([&] { store.load(companies, false); }));
        std::printf("LoadContactList blocked %-20s %10.2f\n", kind, MedianMs([&] { store.load(companies, true); }));
        std::printf("categories %-33s %10.2f\n", kind, MedianMs([&] { store.categories(companies); }));
    }
    timeSaves(db);

    std::printf("\n%-10s %-13s %-15s %-15s %5s %10s %10s %10s\n", "kind", "tab", "term", "text", "rows",
                "program ms", "bare ms", "scan ms");
    for (bool companies : {true, false}) {
        const SearchTab byName = companies ? SearchTab::Firmenname : SearchTab::Personenname;
        const std::vector<Case> cases = {
            {byName, "Müller", "common"},
            {byName, "Eisvogel", "rare"},
            {byName, "Zwickau", "none"},
            {SearchTab::Begriff, "Stichwort1", "common"},
            {SearchTab::Begriff, "Stichwort81", "middle"},
            {SearchTab::Begriff, "Eisvogel", "rare"},
            {SearchTab::Begriff, "Zwickau", "none"},
            {SearchTab::Allgemein, "Freiburg", "common"},
            {SearchTab::Allgemein, "Hauptstraße 17", "middle"},
            {SearchTab::Allgemein, "Eisvogel", "rare"},
            {SearchTab::Allgemein, "Zwickau", "none"},
            {SearchTab::Allgemein, "Mü", "short"},
            {SearchTab::Allgemein, "xq", "short none"},
            {SearchTab::Allgemein, "Freiburg", "common blocked", true},
            {byName, "Müller", "common blocked", true},
            {SearchTab::Kundennummer, "4711", "number"},
            {SearchTab::Postleitzahl, "701", "prefix"},
            {SearchTab::Telefonnummer, "0711", "prefix"},
        };
        for (const Case &c : cases) {
            const QString term = QString::fromUtf8(c.term);
            qsizetype rows = 0;
            const auto search = [&] { rows = store.search(companies, c.blocked, QString(), int(c.tab), term).size(); };
            const double program = server ? MedianMs(search) : MedianCpuMs(search);
            const double bare = BareStatementsMs(db, RecordStatements(db, search));
            SetSearchIndexUse(false);
            const double scan = BareStatementsMs(db, RecordStatements(db, search));
            SetSearchIndexUse(true);
            std::printf("%-10s %-13s %-15s %-15s %5lld %10.2f %10.2f %10.2f\n", companies ? "companies" : "persons",
                        tabName(c.tab), c.what, c.term, static_cast<long long>(rows), program, bare, scan);
        }
    }
    db.close();
    if (server)
        return 0;

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
        p.start(ORVELLA_BINARY, {});
        const bool finished = p.waitForFinished(60000);
        const QByteArray out = p.readAllStandardOutput();
        const int at = int(out.indexOf("after "));
        if (at < 0) {
            // No time to report: say why, rather than a number that looks like one.
            p.kill();
            p.waitForFinished();
            std::printf("\nstart-up failed (%s, exit code %d): %s\n", finished ? "ended" : "no end within 60 s",
                        p.exitCode(), p.readAllStandardError().trimmed().right(400).constData());
            return 1;
        }
        starts.push_back(out.mid(at + 6).split(' ').first().toDouble());
    }
    std::sort(starts.begin(), starts.end());
    std::printf("\nstart-up to main window shown %15.0f\n", starts[starts.size() / 2]);
    return 0;
}
