#include "ArticleStore.h"
#include "BackupProgress.h"
#include "BackupTasks.h"
#include "ContactListStore.h"
#include "DataSetCopier.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "ProjectSearchStore.h"
#include "Schema.h"
#include "SqlSearch.h"
#include "TestEnv.h"

#include <QRandomGenerator>
#include <QtTest>

#include <functional>

namespace {

// Texts with umlauts in both cases, apostrophes, wildcards, quotes and a
// character outside the basic plane; two joined make a generated text.
const QStringList pieces = {"Müller", "MÜLLER", "müller", "Bäcker's", "O'Neil", "100% Bio", "Bio_Laden",
                            "Back\\Slash", "\"Zitat\"", "Straße", "STRASSE", "Ölmühle", "Café", "ÉCOLE",
                            "𝄞 Notenhaus", "Zimmerei", "0711 12_3", "Ulm"};
// A long text pasted into the search field: more runs of three characters than
// one statement may count.
QString pastedText()
{
    QRandomGenerator r(7);
    QString t;
    for (int i = 0; i < 2500; ++i)
        t += QChar(u'a' + r.bounded(26));
    return t;
}

// Terms a user may type: parts of the texts in other cases, wildcards typed
// literally, short terms the index cannot serve, and terms found nowhere.
const QStringList terms = {"Müller", "müll", "ÜLLER", "üll", "0% B", "o_L", "\\S", "\"Z", "r's", "'",
                           "raß", "strasse", "É", "é", "𝄞 N", "𝄞 ", "Mü", "%", "_", "Weg", "711 1",
                           "Zwickau", "1", "ü", "ß", "Ö", "s'", "xq", "q", "𝄞", "O'", "0%", "", pastedText()};

QString piece(QRandomGenerator &r)
{
    return pieces[r.bounded(int(pieces.size()))];
}

QString text(QRandomGenerator &r)
{
    return piece(r) + QLatin1Char(' ') + piece(r);
}

// Companies 1..200 and persons 201..400, each with a main and a further address;
// some blocked, some without a main address, some with two.
void fillContacts(TestEnv &env)
{
    QRandomGenerator r(23);
    for (int id = 1; id <= 400; ++id) {
        const QString q = QStringLiteral("'%1'");
        const QString st = id % 7 == 0 ? "'0'" : "'1'", kat = q.arg(id % 3 ? "Kunde" : "Lieferant''s");
        if (id <= 200)
            env.exec("INSERT INTO firma (IDF, Name, Branche, Begriffe, Telefon, Kategorie, St) VALUES ("
                     + QString::number(id) + ", '" + SqlQuote(text(r)) + "', '" + SqlQuote(piece(r)) + "', '"
                     + SqlQuote(text(r)) + "', '" + SqlQuote(piece(r)) + "', " + kat + ", " + st + ")");
        else
            env.exec("INSERT INTO name (IDN, VName, NName, Begriffe, Telefon, Kategorie, St) VALUES ("
                     + QString::number(id) + ", '" + SqlQuote(piece(r)) + "', '" + SqlQuote(text(r)) + "', '"
                     + SqlQuote(text(r)) + "', '" + SqlQuote(piece(r)) + "', " + kat + ", " + st + ")");
        for (int a = 0; a < 2; ++a) {
            const int ida = 2 * id + a;
            env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort, Land) VALUES (" + QString::number(ida) + ", '"
                     + SqlQuote(piece(r)) + " Weg " + QString::number(id) + "', '" + SqlQuote(piece(r)) + "', '"
                     + SqlQuote(piece(r)) + "', '" + SqlQuote(piece(r)) + "')");
            const bool main = (a == 0 && id % 11 != 0) || (a == 1 && id % 13 == 0);
            env.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (%1, %2, 'Haupt', '%3')")
                         .arg(ida)
                         .arg(id)
                         .arg(main ? 1 : 0));
        }
    }
}

// The list as the statement defines it: the names in list order (company name,
// person's last name), and the rows; among equal names the order is left to the
// engine, so where the list is cut may differ, never the names.
QStringList rowsOf(const QList<ContactRow> &rows, bool companies = true)
{
    QStringList names, out;
    for (const ContactRow &c : rows) {
        names << (companies ? c.name : c.second);
        out << QStringList{c.name, c.second, c.plz, c.ort, c.telefon, c.id, c.art, c.strasse}.join(QLatin1Char('|'));
    }
    if (rows.size() == ContactListStore::MaxRows)
        return names;
    out.sort();
    return names + out;
}

// The result with the substring indexes, and without them as every search ran before.
template <typename Rows>
std::pair<Rows, Rows> withAndWithout(const std::function<Rows()> &search)
{
    SetSearchIndexUse(false);
    const Rows scan = search();
    SetSearchIndexUse(true);
    return {search(), scan};
}

// The names the search lists, with the index equal to those of the scan.
void checkSearch(ContactListStore &store, bool companies, bool blocked, SearchTab tab, const QString &term,
                 const QStringList &names)
{
    const auto [indexed, scan] = withAndWithout<QList<ContactRow>>(
        [&] { return store.search(companies, blocked, QString(), int(tab), term); });
    QStringList got;
    for (const ContactRow &c : indexed)
        got << c.name;
    QCOMPARE(got, names);
    QCOMPARE(rowsOf(indexed, companies), rowsOf(scan, companies));
}

// A data set of the version before the substring indexes: no index tables, no triggers.
void dropIndexes(TestEnv &env)
{
    for (const QString &trigger : env.column("SELECT name FROM sqlite_master WHERE type = 'trigger'"))
        env.exec("DROP TRIGGER " + trigger);
    for (const QString &index : env.column("SELECT name FROM sqlite_master WHERE sql LIKE 'CREATE VIRTUAL%'"))
        env.exec("DROP TABLE " + index);
    env.exec("PRAGMA user_version = 3");
}

} // namespace

class TestSearchIndex : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { SetSearchIndexUse(true); }
    void contactSearchesFindTheRowsOfTheScan();
    void indexFollowsEveryWriter();
    void projectAndArticleSearchesFindTheRowsOfTheScan();
    void listTakesItsFirstContacts_data();
    void listTakesItsFirstContacts();
    void upgradeFillsTheIndexes();
    void serverUpgradeAddsTrigramIndexes();
    void restoredBackupIsFound_data();
    void restoredBackupIsFound();
};

void TestSearchIndex::contactSearchesFindTheRowsOfTheScan()
{
    TestEnv env;
    fillContacts(env);
    ContactListStore store(env.db());
    int found = 0, full = 0;
    for (bool companies : {true, false})
        for (int tab = 0; tab < 7; ++tab)
            for (bool blocked : {false, true})
                for (const QString &category : {QString(), QStringLiteral("Lieferant's")})
                    for (const QString &term : terms) {
                        const auto [indexed, scan] = withAndWithout<QStringList>(
                            [&] { return rowsOf(store.search(companies, blocked, category, tab, term), companies); });
                        QVERIFY2(indexed == scan, qPrintable(QStringLiteral("%1 tab %2 blocked %3 '%4' '%5'")
                                                                  .arg(companies ? "firma" : "name")
                                                                  .arg(tab)
                                                                  .arg(blocked)
                                                                  .arg(category, term)));
                        const auto rows = store.search(companies, blocked, category, tab, term).size();
                        found += int(rows);
                        full += rows == ContactListStore::MaxRows;
                    }
    QVERIFY(found > 5000); // the terms find rows, and lists are cut at 100 rows
    QVERIFY(full > 10);
    // The searches do read the index: without its rows they find nothing.
    if (TestsOnServer())
        return; // the server's trigram indexes are its own, not tables of ours
    QCOMPARE(store.search(true, false, QString(), int(SearchTab::Allgemein), "Weg").size(), ContactListStore::MaxRows);
    QVERIFY(store.search(true, false, QString(), int(SearchTab::Firmenname), "fé").size() > 0);
    for (const char *index : {"suche_firma", "suche_adresse"})
        env.exec(QStringLiteral("DELETE FROM %1").arg(index));
    QCOMPARE(store.search(true, false, QString(), int(SearchTab::Allgemein), "Weg").size(), 0);
    QCOMPARE(store.search(true, false, QString(), int(SearchTab::Firmenname), "fé").size(), 0);
}

void TestSearchIndex::indexFollowsEveryWriter()
{
    TestEnv env;
    ContactListStore store(env.db());
    const auto check = [&](bool companies, bool blocked, SearchTab tab, const QString &term, const QStringList &names) {
        checkSearch(store, companies, blocked, tab, term, names);
    };
    const auto general = SearchTab::Allgemein;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'Eisvogel GmbH', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (1, 'Amselweg 1', '08056', 'Zwickau')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (2, 'Lagerweg 2', '08523', 'Plauen')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 1, 'Haupt', '1'), (2, 1, 'Lager', '0')");
    check(true, false, SearchTab::Firmenname, "Eisvogel", {"Eisvogel GmbH"});
    check(true, false, general, "Zwickau", {"Eisvogel GmbH"});
    check(true, false, general, "Plauen", {}); // only the main address counts
    env.exec("UPDATE adresse SET Ort = 'Chemnitz' WHERE IDA = 1");
    check(true, false, general, "Zwickau", {});
    check(true, false, general, "Chemnitz", {"Eisvogel GmbH"});
    env.exec("UPDATE adressetofn SET St = CASE IDA WHEN 1 THEN '0' ELSE '1' END WHERE IDFN = 1");
    check(true, false, general, "Chemnitz", {});
    check(true, false, general, "Plauen", {"Eisvogel GmbH"});
    env.exec("UPDATE firma SET Name = 'Kranich AG', Begriffe = 'Vogelfutter' WHERE IDF = 1");
    check(true, false, SearchTab::Firmenname, "Eisvogel", {});
    check(true, false, SearchTab::Begriff, "futter", {"Kranich AG"});
    env.exec("UPDATE firma SET St = '0' WHERE IDF = 1");
    check(true, false, general, "Kranich", {});
    check(true, true, general, "Kranich", {"Kranich AG"});
    env.exec("DELETE FROM adresse WHERE IDA = 2");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (2, 'Neuer Weg 3', '07545', 'Gera')");
    check(true, true, general, "Plauen", {});
    check(true, true, general, "Gera", {"Kranich AG"});
    env.exec("DELETE FROM firma WHERE IDF = 1");
    check(true, true, general, "Kranich", {});
    // persons, and an address stored before its link (as a restored backup may)
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (3, 5, 'privat', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (3, 'Ufer 1', '04109', 'Leipzig')");
    env.exec("INSERT INTO name (IDN, VName, NName, St) VALUES (5, 'Edda', 'Eisvogel', '1')");
    check(false, false, SearchTab::Personenname, "Eisvogel", {"Edda"});
    check(false, false, general, "Leipzig", {"Edda"});
    env.exec("UPDATE name SET NName = 'Reiher' WHERE IDN = 5");
    check(false, false, SearchTab::Personenname, "Eisvogel", {});
    check(false, false, general, "Reiher", {"Edda"});
    env.exec("DELETE FROM name WHERE IDN = 5");
    check(false, false, general, "Leipzig", {});
}

void TestSearchIndex::projectAndArticleSearchesFindTheRowsOfTheScan()
{
    TestEnv env;
    QRandomGenerator r(42);
    for (int p = 1; p <= 120; ++p) {
        const bool person = p % 3 == 0;
        env.exec(QStringLiteral("INSERT INTO %1 VALUES (%2, '%3', '1')")
                     .arg(person ? "name (IDN, NName, St)" : "firma (IDF, Name, St)")
                     .arg(p)
                     .arg(SqlQuote(text(r))));
        env.exec(QStringLiteral("INSERT INTO projekt (PrNr, VName, NName, Datum, KNr) VALUES (%1, '%2', '%3', "
                                "'01.02.2024', %1)")
                     .arg(p)
                     .arg(SqlQuote(text(r)), SqlQuote(text(r))));
        env.exec(QStringLiteral("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (%1, %1, '%2')").arg(p).arg(SqlQuote(text(r))));
        env.exec(QStringLiteral("INSERT INTO rechnungen (BelegNr, ProjektNr, Datum) VALUES (%1, %1, '03.02.2024')").arg(p));
        env.exec(QStringLiteral("INSERT INTO artikel (Bez, ArtikelNr, ArtikelGruppe) VALUES ('%1', '%2', '%3')")
                     .arg(SqlQuote(text(r)), SqlQuote(piece(r)), p % 2 ? "Möbel" : ""));
    }
    ProjectSearchStore projects(env.db());
    ArticleStore articles(env.db());
    qsizetype found = 0;
    for (const QString &term : terms) {
        for (bool persons : {false, true})
            for (bool invoices : {false, true})
                for (bool byName : {false, true}) {
                    ProjectSearch s;
                    s.kind = invoices ? std::optional(DocumentKind(DocumentKind::Rechnung)) : std::nullopt;
                    s.persons = persons;
                    (byName ? s.projectName : s.contactName) = term;
                    s.from = "01.01.2020";
                    s.to = "31.12.2030";
                    const auto [indexed, scan] =
                        withAndWithout<QList<ProjectSearchRow>>([&] { return projects.search(s); });
                    QVERIFY2(indexed == scan, qPrintable(term));
                    found += scan.size();
                }
        for (auto column : {ArticleStore::SearchColumn::Bezeichnung, ArticleStore::SearchColumn::ArtikelNr})
            for (const QString &group : {QString(), QStringLiteral("Möbel")})
                for (qint64 after : {0, 40}) {
                    const auto [indexed, scan] = withAndWithout<QList<ArticleRow>>(
                        [&] { return articles.search(column, term, group, after, after ? 7 : 0); });
                    QVERIFY2(indexed == scan, qPrintable(term));
                    found += scan.size();
                }
    }
    QVERIFY(found > 1000);
    // a renamed project and article are found by their new names only
    env.exec("UPDATE projekttofn SET PrName = 'Dachstuhl Kranich' WHERE IDP = 7");
    env.exec("UPDATE artikel SET Bez = 'Kranichfutter' WHERE ID = 9");
    ProjectSearch s;
    s.projectName = "Kranich";
    s.from = "01.01.2020";
    s.to = "31.12.2030";
    QCOMPARE(projects.search(s).size(), 1);
    QCOMPARE(articles.search(ArticleStore::SearchColumn::Bezeichnung, "kranich", QString()).value(0).id, "9");
}

void TestSearchIndex::listTakesItsFirstContacts_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QStringList>("names");
    const QStringList general = Schema::contactText(Schema::SearchIndex::Firma)->columns;
    const QStringList name = {"firma.Name"};
    // "Aaa Zaun" has no main address and "Zaunkönig 0" is blocked: neither is listed.
    QTest::newRow("late in the order, all texts") << general << "ZAUN" << QStringList{"Zaunkönig 1", "Zaunkönig 2"};
    QTest::newRow("late in the order, one column") << name << "zaun" << QStringList{"Zaunkönig 1", "Zaunkönig 2"};
    QTest::newRow("early in the order") << general << "amsel" << QStringList{"Amsel 000", "Amsel 001"};
    QTest::newRow("in an address only") << general << "vogelweg" << QStringList{"Zaunkönig 3"};
    QTest::newRow("short, nowhere") << general << "xq" << QStringList{};
    QTest::newRow("short, late in the order") << general << "Kö" << QStringList{"Zaunkönig 1", "Zaunkönig 2"};
    QTest::newRow("short, one column") << name << "kö" << QStringList{"Zaunkönig 1", "Zaunkönig 2"};
    QTest::newRow("short, in an address only") << general << "vo" << QStringList{"Zaunkönig 3"};
}

// A list of its first two contacts walks at most forty rows of its order on
// the server before it looks the term up; the contacts found late must be the
// same as those of the plain test.
void TestSearchIndex::listTakesItsFirstContacts()
{
    QFETCH(QStringList, columns);
    QFETCH(QString, term);
    QFETCH(QStringList, names);
    TestEnv env;
    int ida = 0;
    const auto add = [&](int id, const QString &name, const char *st, const QString &street) {
        env.exec(QStringLiteral("INSERT INTO firma (IDF, Name, St) VALUES (%1, '%2', '%3')").arg(id).arg(name, st));
        if (street.isEmpty())
            return;
        ++ida;
        env.exec(QStringLiteral("INSERT INTO adresse (IDA, Strasse, Ort) VALUES (%1, '%2', 'Ulm')").arg(ida).arg(street));
        env.exec(QStringLiteral("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (%1, %2, '1')").arg(ida).arg(id));
    };
    for (int i = 0; i < 130; ++i)
        add(i + 1, QStringLiteral("Amsel %1").arg(i, 3, 10, QLatin1Char('0')), "1", "Ring 1");
    add(200, "Aaa Zaun", "1", QString());
    for (int i = 0; i < 4; ++i)
        add(201 + i, QStringLiteral("Zaunkönig %1").arg(i), i == 0 ? "0" : "1", i == 3 ? "Vogelweg 2" : "Ring 2");
    const QString filter = "firma.St = '1'";
    const auto listed = [&] {
        return env.column("SELECT DISTINCT firma.Name FROM firma, adresse, adressetofn WHERE " + filter
                          + " AND firma.IDF = adressetofn.IDFN AND adressetofn.IDA = adresse.IDA AND "
                            "adressetofn.St = '1' AND "
                          + SqlContains(env.db(), Schema::SearchIndex::Firma, columns, term,
                                        ListedRows{2, "firma.Name", filter})
                          + " ORDER BY firma.Name LIMIT 2");
    };
    const auto [indexed, scan] = withAndWithout<QStringList>(listed);
    QCOMPARE(indexed, names);
    QCOMPARE(scan, names);
}

void TestSearchIndex::upgradeFillsTheIndexes()
{
    ORVELLA_SQLITE_ONLY();
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'Muster GmbH', '1')");
    env.exec("INSERT INTO adresse (IDA, Ort) VALUES (1, 'Stuttgart')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (1, 1, '1')");
    env.exec("INSERT INTO projekt (PrNr, VName, Datum, KNr) VALUES (1, 'Muster GmbH', '01.02.2024', 1)");
    env.exec("INSERT INTO projekttofn (IDP, IDFN, PrName) VALUES (1, 1, 'Dachausbau')");
    env.exec("INSERT INTO artikel (Bez, ArtikelNr) VALUES ('Dachlatte', 'D-1')");
    dropIndexes(env);
    env.db().close();
    env.reopen();
    QCOMPARE(env.db().schemaVersion(), Schema::Version);
    QCOMPARE(env.column("SELECT (SELECT COUNT(*) FROM suche_firma) || (SELECT COUNT(*) FROM suche_adresse) || "
                        "(SELECT COUNT(*) FROM suche_projekt) || (SELECT COUNT(*) FROM suche_projektname) || "
                        "(SELECT COUNT(*) FROM suche_artikel) || (SELECT COUNT(*) FROM suche_name)"),
             QStringList{"111110"});
    // every character of a text begins one of the index's runs, the last ones too
    for (const char *term : {"stutt", "H", "bH", "rt"})
        QCOMPARE(ContactListStore(env.db()).search(true, false, QString(), int(SearchTab::Allgemein), term).size(), 1);
    ProjectSearch s;
    s.projectName = "ausbau";
    s.from = "01.01.2020";
    s.to = "31.12.2030";
    QCOMPARE(ProjectSearchStore(env.db()).search(s).size(), 1);
    QCOMPARE(ArticleStore(env.db()).search(ArticleStore::SearchColumn::Bezeichnung, "latte", QString()).size(), 1);
    // and the triggers are back: a new company is found at once
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (2, 'Nachtrag KG', '1')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (1, 2, '1')");
    QCOMPARE(ContactListStore(env.db()).search(true, false, QString(), 0, "Nachtrag").size(), 1);
}

void TestSearchIndex::serverUpgradeAddsTrigramIndexes()
{
    ORVELLA_SERVER_ONLY();
    TestEnv env;
    const QString searched = "SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() AND indexname IN "
                             "('ix_adresse_land_trgm', 'ix_projekt_vname_trgm', 'ix_projekt_nname_trgm', "
                             "'ix_firma_name_trgm', 'ix_firma_suchtext_kurz') ORDER BY indexname";
    const QStringList all = {"ix_adresse_land_trgm", "ix_firma_name_trgm", "ix_firma_suchtext_kurz",
                             "ix_projekt_nname_trgm", "ix_projekt_vname_trgm"};
    QCOMPARE(env.column(searched), all);
    // a data set of the version before: the country and the project's names
    // unindexed, no contact texts, a company stored then
    for (const char *index : {"ix_adresse_land_trgm", "ix_projekt_vname_trgm", "ix_projekt_nname_trgm"})
        env.exec(QStringLiteral("DROP INDEX %1").arg(index));
    for (const char *trigger : {"suchtext_firma ON firma", "suchtext_name ON name", "suchtext_verweis ON adressetofn",
                                "suchtext_adresse ON adresse"})
        env.exec(QStringLiteral("DROP TRIGGER %1").arg(trigger));
    env.exec("ALTER TABLE firma DROP COLUMN suchtext");
    env.exec("ALTER TABLE name DROP COLUMN suchtext");
    env.exec("INSERT INTO firma (IDF, Name, Telefon, St) VALUES (1, 'Muster GmbH', '0711 9', '1')");
    env.exec("INSERT INTO adresse (IDA, Ort) VALUES (1, 'Stuttgart')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (1, 1, '1')");
    env.exec("UPDATE orvella_info SET value = '3' WHERE key = 'version'");
    env.db().close();
    env.reopen();
    QCOMPARE(env.db().schemaVersion(), Schema::Version);
    QCOMPARE(env.column(searched), all);
    QCOMPARE(env.column("SELECT suchtext FROM firma"), QStringList{"muster gmbh\n0711 9\nstuttgart"});
    ContactListStore store(env.db());
    checkSearch(store, true, false, SearchTab::Allgemein, "STUTT", {"Muster GmbH"});
    checkSearch(store, true, false, SearchTab::Allgemein, "T", {"Muster GmbH"});
}

void TestSearchIndex::restoredBackupIsFound_data()
{
    QTest::addColumn<bool>("beforeIndexes");
    QTest::newRow("backup with the indexes") << false;
    QTest::newRow("backup of the version before them") << true;
}

void TestSearchIndex::restoredBackupIsFound()
{
    QFETCH(bool, beforeIndexes);
    if (beforeIndexes && TestsOnServer())
        QSKIP("only a file is ever without its index tables");
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'Eisvogel GmbH', '1')");
    env.exec("INSERT INTO adresse (IDA, Ort) VALUES (1, 'Zwickau')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (1, 1, '1')");
    if (beforeIndexes)
        dropIndexes(env);
    BackupContext context;
    context.exeDir = env.home();
    context.now = QDateTime(QDate(2024, 3, 1), QTime(12, 0));
    const QString target = env.path("sicherung");
    QDir().mkpath(target);
    auto copier = MakeDataSetCopier(env.db());
    BackupProgress saving, restoring;
    const QString folder = RunFullBackup(context, *copier, target, saving);
    if (beforeIndexes) { // the program of today runs on after the backup
        env.db().close();
        env.reopen();
    }
    env.exec("UPDATE firma SET Name = 'Kranich AG' WHERE IDF = 1");
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (2, 'Reiher KG', '1')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (1, 2, '1')");
    context.now = context.now.addDays(1);
    RunRestore(context, *copier, folder, restoring);

    ContactListStore store(env.db());
    QCOMPARE(env.db().schemaVersion(), Schema::Version);
    checkSearch(store, true, false, SearchTab::Firmenname, "vogel", {"Eisvogel GmbH"});
    checkSearch(store, true, false, SearchTab::Allgemein, "wickau", {"Eisvogel GmbH"});
    checkSearch(store, true, false, SearchTab::Firmenname, "Kranich", {});
    checkSearch(store, true, false, SearchTab::Allgemein, "Reiher", {});
    // and the restored data set keeps its index in step
    env.exec("UPDATE firma SET Name = 'Kranich AG' WHERE IDF = 1");
    checkSearch(store, true, false, SearchTab::Allgemein, "Kranich", {"Kranich AG"});
}

QTEST_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
