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
        env.exec(QStringLiteral("INSERT INTO projekt (PrNr, KNr, VName, NName, Datum, PrMemo, Anrede) "
                                "VALUES (%1, %2, '%3', '%4', '%5', 'Notiz %1', 'Herr')")
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
    void rowContents();
    void numberFilter_data();
    void numberFilter();
    void badDateIsRefused();
    void numberLists();
    void detail();
};

void TestProjectSearch::search_data()
{
    QTest::addColumn<int>("kind"); // -1: projects
    QTest::addColumn<bool>("persons");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("projectName");
    QTest::addColumn<QString>("contactName");
    QTest::addColumn<QString>("from"); // with "-" before: one day
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("byProjectDate");
    QTest::addColumn<QStringList>("expected");

    const QString y0 = QStringLiteral("01.01.2000"), y9 = QStringLiteral("31.12.2009");
    const int P = -1, R = DocumentKind::Rechnung;
    QTest::newRow("project name with an apostrophe")
        << P << false << "" << "" << "Müller's" << "" << y0 << y9 << false << QStringList{"2:0"};
    QTest::newRow("a percent sign is a percent sign")
        << P << false << "" << "" << "50%" << "" << y0 << y9 << false << QStringList{"1:0"};
    QTest::newRow("an underscore is an underscore")
        << P << false << "" << "" << "r_N" << "" << y0 << y9 << false << QStringList{"3:0"};
    QTest::newRow("a crafted text stays text")
        << P << false << "" << "" << "x' OR '1'='1" << "" << y0 << y9 << false << QStringList{};
    QTest::newRow("company with an apostrophe")
        << P << false << "" << "" << "" << "O'Brien" << y0 << y9 << false << QStringList{"2:0"};
    QTest::newRow("company with a percent sign")
        << P << false << "" << "" << "" << "100%" << y0 << y9 << false << QStringList{"3:0"};
    QTest::newRow("companies, highest project first")
        << P << false << "" << "" << "" << "gmbh" << y0 << y9 << false << QStringList{"4:0", "3:0", "1:0"};
    QTest::newRow("persons by last name")
        << P << true << "" << "" << "" << "Meier" << y0 << y9 << false << QStringList{"5:0"};
    QTest::newRow("persons not by first name")
        << P << true << "" << "" << "" << "Hans" << y0 << y9 << false << QStringList{};
    QTest::newRow("person with an apostrophe")
        << P << true << "" << "" << "" << "O'Neil" << y0 << y9 << false << QStringList{"6:0"};
    QTest::newRow("customer number")
        << P << false << "10" << "" << "" << "" << y0 << y9 << false << QStringList{"4:0", "1:0"};
    QTest::newRow("customer number as listed, with zeros")
        << R << false << "000010" << "" << "" << "" << y0 << y9 << false << QStringList{"4:6", "4:5", "1:2", "1:1"};
    QTest::newRow("project number and kind")
        << int(DocumentKind::Angebot) << false << "" << "2" << "" << "" << y0 << y9 << false << QStringList{"2:1"};
    QTest::newRow("invoices across the year end")
        << R << false << "" << "" << "" << "" << "31.12.2004" << "01.01.2005" << false << QStringList{"2:3", "1:2"};
    QTest::newRow("invoices across a month end")
        << R << false << "" << "" << "" << "" << "31.01.2005" << "01.02.2005" << false << QStringList{"4:5", "3:4"};
    QTest::newRow("a person's invoices of one day")
        << R << true << "" << "" << "" << "" << "-01.01.2005" << "" << false << QStringList{"5:7"};
    QTest::newRow("invoices of the projects created in February")
        << R << false << "" << "" << "" << "" << "01.02.2005" << "28.02.2005" << true << QStringList{"4:6", "4:5"};
    QTest::newRow("projects created across the year end")
        << P << false << "" << "" << "" << "" << "31.12.2004" << "01.01.2005" << false << QStringList{"2:0", "1:0"};
    QTest::newRow("project name and company together")
        << R << false << "" << "" << "Rabatt" << "Muster" << "01.02.2005" << "01.02.2005" << false
        << QStringList{"4:5"};
    QTest::newRow("dunning letters")
        << int(DocumentKind::Mahnung) << false << "" << "" << "" << "" << y0 << y9 << false << QStringList{"1:1"};
    QTest::newRow("nothing found")
        << R << false << "" << "" << "gibt es nicht" << "" << y0 << y9 << false << QStringList{};
}

void TestProjectSearch::search()
{
    QFETCH(int, kind);
    QFETCH(bool, persons);
    QFETCH(QString, customer);
    QFETCH(QString, project);
    QFETCH(QString, projectName);
    QFETCH(QString, contactName);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, byProjectDate);
    QFETCH(QStringList, expected);
    TestEnv env;
    addSearchData(env);
    ProjectSearch s;
    if (kind >= 0)
        s.kind = DocumentKind::fromNumber(kind);
    s.persons = persons;
    s.customer = ProjectSearchStore::numberFilter(customer, QStringLiteral("Kundennummer"));
    s.project = ProjectSearchStore::numberFilter(project, QStringLiteral("Projektnummer"));
    s.projectName = projectName;
    s.contactName = contactName;
    if (from.startsWith('-')) {
        s.dates = ProjectSearch::Dates::Day;
        s.day = from.mid(1);
    } else {
        s.from = from;
        s.to = to;
    }
    s.byProjectDate = byProjectDate;
    ProjectSearchStore store(env.db());
    QCOMPARE(found(store.search(s)), expected);
}

void TestProjectSearch::rowContents()
{
    TestEnv env;
    addSearchData(env);
    ProjectSearch s;
    s.kind = DocumentKind::Rechnung;
    s.persons = true;
    s.dates = ProjectSearch::Dates::Day;
    s.day = QStringLiteral("1.1.2005"); // as a date, however written
    const QList<ProjectSearchRow> rows = ProjectSearchStore(env.db()).search(s);
    QCOMPARE(rows.size(), 1);
    const ProjectSearchRow &r = rows.first();
    QCOMPARE(r.projectName, QStringLiteral("Hans Bad"));
    QCOMPARE(r.date, QStringLiteral("01.01.2005"));
    QCOMPARE(r.contact, QStringLiteral("Hans Meier"));
    QCOMPARE(r.customer, qint64(20));
    QVERIFY(r.kind == DocumentKind::Rechnung);
}

void TestProjectSearch::numberFilter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("number"); // -1: refused
    QTest::newRow("empty: every number") << "" << qint64(0);
    QTest::newRow("zero: every number") << "0" << qint64(0);
    QTest::newRow("as listed") << "000012" << qint64(12);
    QTest::newRow("blanks around") << " 12 " << qint64(12);
    QTest::newRow("letters") << "12a" << qint64(-1);
    QTest::newRow("sign") << "-3" << qint64(-1);
    QTest::newRow("SQL") << "1 OR 1=1" << qint64(-1);
    QTest::newRow("too long") << "99999999999999999999" << qint64(-1);
}

void TestProjectSearch::numberFilter()
{
    QFETCH(QString, text);
    QFETCH(qint64, number);
    try {
        QCOMPARE(ProjectSearchStore::numberFilter(text, QStringLiteral("Kundennummer")), number);
    } catch (const ConversionError &e) {
        QCOMPARE(number, qint64(-1));
        QCOMPARE(e.message(), QStringLiteral("Die Kundennummer \"%1\" ist keine Zahl.").arg(text));
    }
}

void TestProjectSearch::badDateIsRefused()
{
    TestEnv env;
    addSearchData(env);
    ProjectSearch s;
    s.from = QStringLiteral("31.02.2005");
    s.to = QStringLiteral("01.03.2005");
    try {
        ProjectSearchStore(env.db()).search(s);
        QFAIL("a date that is no date was searched");
    } catch (const ConversionError &e) {
        QCOMPARE(e.message(), QStringLiteral("'31.02.2005' ist kein gültiges Datum."));
    }
}

void TestProjectSearch::numberLists()
{
    TestEnv env;
    addSearchData(env);
    ProjectSearchStore store(env.db());
    QCOMPARE(store.customerNumbers(DocumentKind::Rechnung, false), (QList<qint64>{10, 11, 12}));
    QCOMPARE(store.customerNumbers(DocumentKind::Rechnung, true), QList<qint64>{20});
    QCOMPARE(store.projectNumbers(DocumentKind::Angebot, false), QList<qint64>{2});
    QCOMPARE(store.projectNumbers(DocumentKind::Angebot, true), QList<qint64>{6});
    QCOMPARE(store.projectNumbers(std::nullopt, false), (QList<qint64>{1, 2, 3, 4}));
    QCOMPARE(store.customerNumbers(DocumentKind::Gutschrift, false), QList<qint64>{});
}

void TestProjectSearch::detail()
{
    TestEnv env;
    addSearchData(env);
    ProjectSearchStore store(env.db());
    const std::optional<ProjectSearchDetail> d = store.detail(6);
    QVERIFY(d);
    QCOMPARE(QStringList({d->anrede, d->vname, d->nname, d->memo, d->date, d->projectName}),
             QStringList({"Herr", "Eva", "O'Neil", "Notiz 6", "28.02.2005", "Küche"}));
    QCOMPARE(d->customer, qint64(21));
    QVERIFY(!store.detail(99));
}

QTEST_GUILESS_MAIN(TestProjectSearch)
#include "tst_projectsearch.moc"
