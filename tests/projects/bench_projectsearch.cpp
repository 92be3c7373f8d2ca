// Benchmark, not a test: the project search over a data set of 20,000 projects
// with 100,000 documents (headers only; the search never reads lines), one
// contact to four projects. Prints per search the rows found and the median
// processor times (other programs on a busy machine do not distort them): "program" is the store's search (statements, driver, rows), "bare" the
// statements it sends run straight on the engine, "scan" the statement without
// the substring indexes, as the search ran before, also bare. The texts come as
// a common, a rare ("Eisvogel" names one project, one company and one person)
// and a term found nowhere.
//
//   bench_projectsearch [projects]   (default 20000; five documents per project)

#include "BareStatements.h"
#include "Database.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "ProjectSearchStore.h"
#include "SqlQuery.h"
#include "SqlSearch.h"
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

// Contacts are persons when their number divides by five. One company and one
// person are named "Eisvogel", the rare text of the contact-name searches.
QString contactName(int c, int contacts)
{
    if (c == contacts / 2 + 1 || c == 5 * (contacts / 10))
        return QStringLiteral("Eisvogel Feinkost %1").arg(c);
    return QStringLiteral("%1 %2 GmbH & Co. KG %3")
        .arg(QString::fromUtf8(firms[c % 16]), QString::fromUtf8(firms[(c / 16) % 16]))
        .arg(c);
}

void fill(Database &db, int projects)
{
    const int contacts = projects / 4;
    const QStringList kinds = {"angebote", "auftraege", "lieferscheine", "rechnungen", "ablage"};
    Transaction all(db);
    SqlQuery q(db);
    for (int c = 1; c <= contacts; ++c) {
        const QString name = contactName(c, contacts);
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
        const QString prName = p == projects / 2 + 1
                                   ? QStringLiteral("Eisvogel Sanierung")
                                   : QStringLiteral("%1 %2 %3")
                                         .arg(QString::fromUtf8(words[p % 16]), QString::fromUtf8(words[(p / 16) % 16]))
                                         .arg(p);
        const QString name = contactName(contact, contacts);
        const bool person = contact % 5 == 0;
        q.execSql(QStringLiteral("INSERT INTO projekt (PrNr, VName, NName, Datum, KNr) VALUES (%1, '%2', '%3', '%4', %5)")
                      .arg(p)
                      .arg(SqlQuote(person ? QStringLiteral("Hans") : name),
                           SqlQuote(person ? name : QStringLiteral("Handwerk")), date)
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
        const double built = FillThenIndex(db, [&] { fill(db, projects); });
        std::printf("%d projects, %d documents, %d contacts filled in %.1f s, substring indexes built in %.1f s\n",
                    projects, projects * 5, projects / 4, double(filled.elapsed()) / 1000, built);
        db.close();
        db.open(dir.path()); // statistics are taken when a data set is opened

        ProjectSearchStore store(db);
        std::printf("%-52s %6s %10s %10s %10s\n", "search", "rows", "program ms", "bare ms", "scan ms");
        const auto run = [&](const QString &what, const ProjectSearch &s) {
            qsizetype found = 0;
            const auto search = [&] { found = store.search(s).size(); };
            const double program = MedianCpuMs(search, 21);
            const double bare = BareStatementsMs(db, RecordStatements(db, search), 21);
            SetSearchIndexUse(false);
            const double scan = BareStatementsMs(db, RecordStatements(db, search), 21);
            SetSearchIndexUse(true);
            std::printf("%-52s %6lld %10.2f %10.2f %10.2f\n", qPrintable(what), static_cast<long long>(found), program,
                        bare, scan);
        };
        ProjectSearch all;
        all.from = QStringLiteral("01.01.2000");
        all.to = QStringLiteral("31.12.2030");

        const struct
        {
            const char *what;
            const char *projectName;
            const char *companyName;
            const char *personName;
        } texts[] = {{"common", "Lager", "Holz", "Elektro"},
                     {"middle", "Lager Dach", "Holz Wagner", "Elektro Bau"},
                     {"rare", "Eisvogel", "Eisvogel", "Eisvogel"},
                     {"none", "Zwickau", "Zwickau", "Zwickau"}};
        for (const auto &t : texts) {
            for (const bool invoices : {false, true}) {
                const QString kind = invoices ? QStringLiteral("invoices") : QStringLiteral("projects");
                ProjectSearch s = all;
                s.kind = invoices ? std::optional(DocumentKind(DocumentKind::Rechnung)) : std::nullopt;
                s.projectName = QString::fromUtf8(t.projectName);
                run(QStringLiteral("%1 by project name, %2 \"%3\"").arg(kind, QLatin1String(t.what), s.projectName), s);
                s.projectName.clear();
                s.contactName = QString::fromUtf8(t.companyName);
                run(QStringLiteral("%1 by company name, %2 \"%3\"").arg(kind, QLatin1String(t.what), s.contactName), s);
                s.persons = true;
                s.contactName = QString::fromUtf8(t.personName);
                run(QStringLiteral("%1 by last name, %2 \"%3\"").arg(kind, QLatin1String(t.what), s.contactName), s);
            }
        }
        ProjectSearch s = all;
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
            MedianMs([&] { listed = store.customerNumbers(DocumentKind::Rechnung, false).size(); }, 21);
        std::printf("%-52s %6lld %10.2f\n", "customer numbers with invoices", static_cast<long long>(listed), customers);
        const double numbers = MedianMs([&] { listed = store.projectNumbers(DocumentKind::Rechnung, false).size(); }, 21);
        std::printf("%-52s %6lld %10.2f\n", "project numbers with invoices", static_cast<long long>(listed), numbers);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
