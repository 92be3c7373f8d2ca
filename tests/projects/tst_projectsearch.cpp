#include "Errors.h"
#include "ProjectSearchStore.h"
#include "TestEnv.h"

#include <QtTest>

namespace {

// Three companies and two persons with six projects around the turn of 2004/2005,
// their invoices, two quotations and a dunning letter.
void addSearchData(TestEnv &env)
{
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (10, 'Muster GmbH', '1'), (11, 'O''Brien & Söhne', '1'), "
             "(12, '100% Bio GmbH', '1')");
    env.exec("INSERT INTO name (IDN, Anrede, VName, NName, St) VALUES (20, 'Herr', 'Hans', 'Meier', '1'), "
             "(21, 'Frau', 'Eva', 'O''Neil', '1')");
    const char *projects[][6] = {
        {"1", "10", "Muster GmbH", "Bau", "Dach 50% Rabatt", "31.12.2004"},
        {"2", "11", "O''Brien & Söhne", "Handel", "Müller''s Halle", "01.01.2005"},
        {"3", "12", "100% Bio GmbH", "Handel", "Lager_Nord", "31.01.2005"},
        {"4", "10", "Muster GmbH", "Bau", "LagerXNord 500 Rabatt", "01.02.2005"},
        {"5", "20", "Hans", "Meier", "Hans Bad", "15.06.2005"},
        {"6", "21", "Eva", "O''Neil", "Küche", "28.02.2005"},
    };
    for (const auto &p : projects) {
        env.exec(QStringLiteral("INSERT INTO projekt (PrNr, KNr, VName, NName, Datum) VALUES (%1, %2, '%3', '%4', '%5')")
                     .arg(p[0], p[1], QString::fromUtf8(p[2]), QString::fromUtf8(p[3]), p[5]));
        env.exec(QStringLiteral("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (%1, %2, '%3')")
                     .arg(p[0], p[1], QString::fromUtf8(p[4])));
    }
    env.exec("INSERT INTO rechnungen (BelegNr, ProjektNr, Datum) VALUES (1, 1, '30.12.2004'), (2, 1, '31.12.2004'), "
             "(3, 2, '01.01.2005'), (4, 3, '31.01.2005'), (5, 4, '01.02.2005'), (6, 4, '02.02.2005'), "
             "(7, 5, '01.01.2005')");
    env.exec("INSERT INTO angebote (BelegNr, ProjektNr, Datum) VALUES (1, 2, '15.12.2004'), (2, 6, '01.03.2005')");
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr, ProjektNr, Datum) VALUES (1, 2, 1, 1, '10.02.2005')");
}

// "project:document" per row, in the order found.
QStringList found(const QList<ProjectSearchRow> &rows)
{
    QStringList out;
    for (const ProjectSearchRow &r : rows)
        out << QStringLiteral("%1:%2").arg(r.project).arg(r.number);
    return out;
}

} // namespace

class TestProjectSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void search_data();
    void search();
    void rowsAndLists();
};

void TestProjectSearch::search_data()
{
    QTest::addColumn<int>("kind"); // -1: projects
    QTest::addColumn<bool>("persons");
    QTest::addColumn<QString>("numbers"); // "customer/project" as typed
    QTest::addColumn<QString>("projectName");
    QTest::addColumn<QString>("contactName");
    QTest::addColumn<QString>("dates"); // "from-to", or one day; "P" in front: project creation dates
    QTest::addColumn<QStringList>("expected");

    const QString all = QStringLiteral("01.01.2000-31.12.2009");
    const int P = -1, R = DocumentKind::Rechnung;
    const auto row = [](const char *name, int kind, bool persons, const QString &numbers, const QString &projectName,
                        const QString &contactName, const QString &dates, const QStringList &expected) {
        QTest::newRow(name) << kind << persons << numbers << projectName << contactName << dates << expected;
    };
    row("project name with an apostrophe", P, false, "/", "Müller's", "", all, {"2:0"});
    row("a percent sign is a percent sign", P, false, "/", "50%", "", all, {"1:0"});
    row("an underscore is an underscore", P, false, "/", "r_N", "", all, {"3:0"});
    row("a crafted text stays text", P, false, "/", "x' OR '1'='1", "", all, {});
    row("company with an apostrophe", P, false, "/", "", "O'Brien", all, {"2:0"});
    row("company with a percent sign", P, false, "/", "", "100%", all, {"3:0"});
    row("companies, highest project first", P, false, "/", "", "gmbh", all, {"4:0", "3:0", "1:0"});
    row("persons by last name", P, true, "/", "", "O'Neil", all, {"6:0"});
    row("persons not by first name", P, true, "/", "", "Hans", all, {});
    row("customer number as listed, with blanks", R, false, " 000010 /", "", "", all, {"4:6", "4:5", "1:2", "1:1"});
    row("project number and kind", DocumentKind::Angebot, false, "/2", "", "", all, {"2:1"});
    row("invoices across the year end", R, false, "/", "", "", "31.12.2004-01.01.2005", {"2:3", "1:2"});
    row("invoices across a month end", R, false, "/", "", "", "31.01.2005-01.02.2005", {"4:5", "3:4"});
    row("a person's invoices of one day", R, true, "/", "", "", "01.01.2005", {"5:7"});
    row("invoices of projects created in February", R, false, "/", "", "", "P01.02.2005-28.02.2005", {"4:6", "4:5"});
    row("projects created across the year end", P, false, "/", "", "", "31.12.2004-01.01.2005", {"2:0", "1:0"});
    row("dunning letters", DocumentKind::Mahnung, false, "/", "", "", all, {"1:1"});
    row("nothing found", R, false, "/", "gibt es nicht", "", all, {});
    // Numbers and dates that are none are refused before they reach a statement.
    row("letters in a number", P, false, "12a/", "", "", all, {"Die Kundennummer \"12a\" ist keine Zahl."});
    row("a number too long", P, false, "99999999999999999999/", "", "", all,
        {"Die Kundennummer \"99999999999999999999\" ist keine Zahl."});
    row("SQL in a number", P, false, "/1 OR 1=1", "", "", all, {"Die Projektnummer \"1 OR 1=1\" ist keine Zahl."});
    row("a day that does not exist", P, false, "/", "", "", "31.02.2005", {"'31.02.2005' ist kein gültiges Datum."});
}

void TestProjectSearch::search()
{
    QFETCH(int, kind);
    QFETCH(bool, persons);
    QFETCH(QString, numbers);
    QFETCH(QString, projectName);
    QFETCH(QString, contactName);
    QFETCH(QString, dates);
    QFETCH(QStringList, expected);
    TestEnv env;
    addSearchData(env);
    try {
        ProjectSearch s;
        if (kind >= 0)
            s.kind = DocumentKind::fromNumber(kind);
        s.persons = persons;
        s.customer = ProjectSearchStore::numberFilter(numbers.section('/', 0, 0), QStringLiteral("Kundennummer"));
        s.project = ProjectSearchStore::numberFilter(numbers.section('/', 1, 1), QStringLiteral("Projektnummer"));
        s.projectName = projectName;
        s.contactName = contactName;
        s.byProjectDate = dates.startsWith('P');
        const QStringList period = dates.mid(s.byProjectDate ? 1 : 0).split('-');
        s.dates = period.size() == 1 ? ProjectSearch::Dates::Day : ProjectSearch::Dates::Range;
        s.day = s.from = period.first();
        s.to = period.last();
        QCOMPARE(found(ProjectSearchStore(env.db()).search(s)), expected);
    } catch (const ConversionError &e) {
        QCOMPARE(QStringList{e.message()}, expected);
    }
}

void TestProjectSearch::rowsAndLists()
{
    TestEnv env;
    addSearchData(env);
    ProjectSearchStore store(env.db());
    ProjectSearch s;
    s.kind = DocumentKind::Rechnung;
    s.persons = true;
    s.dates = ProjectSearch::Dates::Day;
    s.day = QStringLiteral("1.1.2005"); // a date, however written
    const QList<ProjectSearchRow> rows = store.search(s);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(QStringList({rows[0].projectName, rows[0].date, rows[0].contact}),
             QStringList({"Hans Bad", "01.01.2005", "Hans Meier"}));
    QCOMPARE(rows[0].customer, qint64(20));

    QCOMPARE(store.customerNumbers(DocumentKind::Rechnung, false), (QList<qint64>{10, 11, 12}));
    QCOMPARE(store.customerNumbers(DocumentKind::Rechnung, true), QList<qint64>{20});
    QCOMPARE(store.projectNumbers(DocumentKind::Angebot, true), QList<qint64>{6});
    QCOMPARE(store.projectNumbers(std::nullopt, false), (QList<qint64>{1, 2, 3, 4}));
}

QTEST_GUILESS_MAIN(TestProjectSearch)
#include "tst_projectsearch.moc"
