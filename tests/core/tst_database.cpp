#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlLiterals.h"
#include "HomeDir.h"
#include "Settings.h"
#include "Schema.h"
#include "SqlOptional.h"
#include "SqlQuery.h"
#include "TestEnv.h"
#include "Transaction.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QByteArray fileDigest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void createdFromNothing();
    void reopenKeepsData();
    void cleanCloseIsMarked();
    void refusesForeignFiles_data();
    void refusesForeignFiles();
    void quotedAndUnquotedNumbers();
    void datesCompareAndSortByCalendar();
    void numericOrderOfLinesAndPermissions();
    void namesWithoutRegardToCase();
    void readBackRules();
    void textsSurviveRoundTrip_data();
    void textsSurviveRoundTrip();
    void dmyCollation_data();
    void dmyCollation();
    void transactionRollsBackOnError();
    void nestedTransactions();
    void databaseErrorCarriesStatement();
    void engineFailuresSpeakGerman_data();
    void engineFailuresSpeakGerman();
    void uniqueNumbersRefuseDuplicates();
    void contactListStatementRuns();
    void lostConnectionAbandonsTheCommand();
    void filesAreTheAccountsOwn();
};

void TestDatabase::createdFromNothing()
{
    TestEnv env;
    QVERIFY(env.db().createdNow());
    QCOMPARE(env.db().schemaVersion(), Schema::Version);
    for (const QString &table : Schema::tableNames())
        QVERIFY2(env.column(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).size() == 1, qPrintable(table));
    QCOMPARE(Schema::tableNames().size(), 73);
    if (TestsOnServer()) {
        QCOMPARE(env.scalar("SELECT value FROM orvella_info WHERE key='version'"), QString::number(Schema::Version));
    } else {
        QCOMPARE(env.scalar("PRAGMA application_id"), QString::number(Schema::ApplicationId));
        QCOMPARE(env.scalar("PRAGMA journal_mode"), QStringLiteral("wal"));
    }

    QCOMPARE(env.column("SELECT X FROM foot WHERE Firma = 1 ORDER BY X"),
             QStringList({"a", "b", "c", "d", "e"}));
    for (const char *art : {"A", "U", "L", "R", "G"})
        QCOMPARE(env.column(QStringLiteral("SELECT X FROM ztext WHERE Firma=1 AND Art='%1' ORDER BY X").arg(art)),
                 QStringList({"a", "b", "c", "d"}));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM ztext"), QStringLiteral("20"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungenstext"), QStringLiteral("75"));
    QStringList order;
    for (int ms = 1; ms <= 3; ++ms)
        for (int rv = 0; rv < 25; ++rv)
            order << QStringLiteral("%1/%2").arg(ms).arg(rv);
    QCOMPARE(env.column("SELECT MS || '/' || RV FROM mahnungenstext ORDER BY ID"), order);
    // every dunning level names the invoice, its date and amount
    for (int ms = 1; ms <= 3; ++ms) {
        const QString text = env.column(QStringLiteral("SELECT Text FROM mahnungenstext WHERE MS='%1'").arg(ms)).join('\n');
        for (const char *ph : {"[RNr]", "[Datum]", "[brutto]", "[SAnrede]"})
            QVERIFY2(text.contains(QLatin1String(ph)), ph);
    }
    QCOMPARE(env.column("SELECT UStSatz FROM prust ORDER BY ID"), QStringList({"7", "19"}));
}

void TestDatabase::reopenKeepsData()
{
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (3, 'Bäckerei Kühn', '1')");
    env.db().close();
    Database again(QStringLiteral("again"));
    again.open(env.databaseConfig());
    QVERIFY(!again.createdNow());
    SqlQuery q(again);
    q.open("SELECT Name FROM firma WHERE IDF=3");
    QCOMPARE(q.field("Name"), QStringLiteral("Bäckerei Kühn"));
}

// The mark of a clean close lives exactly from the close to the next open, so
// a session that ends any other way leaves none and the next start checks.
void TestDatabase::cleanCloseIsMarked()
{
    ORVELLA_SQLITE_ONLY();
    TestEnv env;
    const QString mark = env.dataDir() + "/orvella.db-geschlossen";
    QVERIFY(!QFile::exists(mark)); // open now
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'Muster GmbH', '1')");
    {
        // a second connection's close leaves the data set open: no mark
        Database second(QStringLiteral("second"));
        second.open(env.databaseConfig());
        second.close();
        QVERIFY(!QFile::exists(mark));
    }
    env.db().close();
    QVERIFY(QFile::exists(mark));
    env.reopen();
    QVERIFY(!QFile::exists(mark));
    // a close inside a transaction is no clean end
    env.db().begin();
    env.db().close();
    QVERIFY(!QFile::exists(mark));
    env.reopen();
    SqlQuery q(env.db());
    q.open("SELECT Name FROM firma WHERE IDF = 1");
    QCOMPARE(q.field("Name"), QStringLiteral("Muster GmbH"));
}

void TestDatabase::refusesForeignFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("text file") << "text" << "kein Orvella-Datenbestand";
    QTest::newRow("empty file") << "empty" << "kein Orvella-Datenbestand";
    QTest::newRow("other sqlite file") << "foreign" << "kein Orvella-Datenbestand";
    QTest::newRow("newer version") << "newer" << "neueren Orvella-Version";
    QTest::newRow("damaged data set") << "damaged" << "ist beschädigt.\nEr wurde nicht verändert. Bitte spielen Sie "
                                                      "die letzte Datensicherung zurück";
    // After a clean close the next start skips the full check only while the file
    // is as that close left it: a change with its size and times set back is
    // still seen (the change time cannot be set back).
    QTest::newRow("damaged, times set back") << "damaged times" << "ist beschädigt.";
}

void TestDatabase::refusesForeignFiles()
{
    ORVELLA_SQLITE_ONLY();
    QFETCH(QString, kind);
    QFETCH(QString, message);
    TestEnv env(false);
    const QString file = env.dataDir() + "/orvella.db";
    if (kind.startsWith("damaged")) {
        // a real data set with rows, closed cleanly, then garbage over some pages
        // behind the header
        env.reopen();
        env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'Muster GmbH', '1')");
        env.db().close();
        QVERIFY(QFile::exists(file + "-geschlossen"));
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &before), 0);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(3 * 4096));
            f.write(QByteArray(3 * 4096, char(0xA5)));
        }
        if (kind == "damaged times") {
            const timespec times[2] = {before.st_atim, before.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
        }
    } else if (kind == "text" || kind == "empty") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == "text")
            f.write(QByteArray("Kundenliste;Name;Ort\n").repeated(20));
    } else {
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw");
            raw.setDatabaseName(file);
            QVERIFY(raw.open());
            QSqlQuery q(raw);
            QVERIFY(q.exec("CREATE TABLE t (a INTEGER)"));
            if (kind == "newer") {
                QVERIFY(q.exec(QStringLiteral("PRAGMA application_id=%1").arg(Schema::ApplicationId)));
                QVERIFY(q.exec(QStringLiteral("PRAGMA user_version=%1").arg(Schema::Version + 1)));
            }
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw");
    }
    const QByteArray before = fileDigest(file);
    try {
        env.reopen();
        QFAIL("the file was accepted");
    } catch (const DataSetError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QVERIFY(!env.db().isOpen());
    QCOMPARE(fileDigest(file), before);
    QVERIFY(QFileInfo(file + "-wal").size() == 0); // nothing waits to be written into it either
}

void TestDatabase::engineFailuresSpeakGerman_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("full disk") << "full" << "ist kein Platz mehr.\nEs wurde nichts gespeichert. Bitte schaffen Sie Platz";
    QTest::newRow("locked by another program")
        << "locked" << "ist von einem anderen Programm oder einem anderen Arbeitsplatz gesperrt.\nEs wurde nichts gespeichert.";
}

void TestDatabase::engineFailuresSpeakGerman()
{
    ORVELLA_SQLITE_ONLY();
    QFETCH(QString, failure);
    QFETCH(QString, message);
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'Muster GmbH', '1')");
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
    other.setDatabaseName(env.db().filePath());
    QVERIFY(other.open());
    QSqlQuery hold(other);
    if (failure == "full") {
        // the engine's own full-disk error: the file may not grow by a single page
        env.exec("PRAGMA max_page_count=" + env.scalar("PRAGMA page_count"));
    } else {
        env.db().setBusyTimeout(50);
        QVERIFY(hold.exec("BEGIN IMMEDIATE"));
    }
    try {
        Transaction tr(env.db());
        SqlQuery q(env.db());
        for (int i = 2; i < 2000; ++i)
            q.execSql(QStringLiteral("INSERT INTO firma (IDF, Name, St) VALUES (%1, '%2', '1')").arg(i).arg(QString(200, 'x')));
        tr.commit();
        QFAIL("the save went through");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.message().startsWith("Der Datenbestand \"" + env.db().filePath() + "\"")
                     || e.message().startsWith("Auf dem Datenträger des Datenbestands \"" + env.db().filePath() + "\""),
                 qPrintable(e.message()));
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        QVERIFY2(e.message().contains("\n\nMeldung der Datenbank: " + e.engineMessage()), qPrintable(e.message()));
    }
    hold.exec("ROLLBACK");
    hold = QSqlQuery();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("other");
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("1"));
}

void TestDatabase::quotedAndUnquotedNumbers()
{
    TestEnv env;
    env.exec("INSERT INTO name (IDN, NName, Telefon, St) VALUES ('17', 'Meier', '0711', '1')");
    env.exec("INSERT INTO name (IDN, NName, Telefon, St) VALUES (18, 'Schulz', '123', '1')");
    QCOMPARE(env.scalar("SELECT NName FROM name WHERE IDN=17"), QStringLiteral("Meier"));
    QCOMPARE(env.scalar("SELECT NName FROM name WHERE IDN='18'"), QStringLiteral("Schulz"));
    if (!TestsOnServer()) {
        QCOMPARE(env.scalar("SELECT typeof(IDN) FROM name WHERE IDN='17'"), QStringLiteral("integer"));
        // an unquoted number against a text column is taken as its digits
        QCOMPARE(env.scalar("SELECT NName FROM name WHERE Telefon = 123"), QStringLiteral("Schulz"));
    }
    env.exec("INSERT INTO rechnungenop (RNR, Betrag) VALUES ('5', '116.5')");
    QCOMPARE(env.scalar("SELECT Betrag FROM rechnungenop WHERE Betrag = 116.5"), QStringLiteral("116,5"));
}

void TestDatabase::datesCompareAndSortByCalendar()
{
    TestEnv env;
    const QStringList dates = {"01.02.2005", "31.01.2005", "15.12.2004", "02.01.2006", "28.02.2005", ""};
    int nr = 1;
    for (const QString &d : dates)
        env.exec(QStringLiteral("INSERT INTO rechnungen (BelegNr, Datum) VALUES (%1, %2)").arg(nr++).arg(SqlOptional(d)));
    QCOMPARE(env.column("SELECT Datum FROM rechnungen WHERE Datum >= '01.02.2005' ORDER BY Datum"),
             QStringList({"01.02.2005", "28.02.2005", "02.01.2006"}));
    // An empty date is '' in the file and NULL on the server.
    const QString given = TestsOnServer() ? QStringLiteral("Datum IS NOT NULL") : QStringLiteral("Datum <> ''");
    QCOMPARE(env.column("SELECT Datum FROM rechnungen WHERE Datum <= '31.01.2005' AND " + given + " ORDER BY Datum"),
             QStringList({"15.12.2004", "31.01.2005"}));
    QCOMPARE(env.column("SELECT Datum FROM rechnungen WHERE Datum = '01.02.2005'"), QStringList({"01.02.2005"}));
    QCOMPARE(env.column("SELECT Datum FROM rechnungen WHERE " + given + " ORDER BY Datum DESC").mid(0, 2),
             QStringList({"02.01.2006", "28.02.2005"}));
    QCOMPARE(env.scalar("SELECT MAX(Datum) FROM rechnungen"), QStringLiteral("02.01.2006"));
    // the literal on the left compares by date as well
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungen WHERE '01.01.2005' < Datum"), QStringLiteral("4"));
}

void TestDatabase::numericOrderOfLinesAndPermissions()
{
    TestEnv env;
    for (int rf : {10, 2, 12, 1, 11, 3, 4, 5, 6, 7, 8, 9})
        env.exec(QStringLiteral("INSERT INTO rechnungenartikel (BelegNr, Bezeichnung, RF) VALUES (1, 'Zeile %1', '%1')").arg(rf));
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected << QString::number(i);
    QCOMPARE(env.column("SELECT RF FROM rechnungenartikel WHERE BelegNr='1' ORDER BY RF"), expected);
    for (int p = 16; p >= 1; --p)
        env.exec(QStringLiteral("INSERT INTO permission (IDU, IDP, Perm) VALUES (1, '%1', 'J')").arg(p));
    expected.clear();
    for (int i = 1; i <= 16; ++i)
        expected << QString::number(i);
    QCOMPARE(env.column("SELECT IDP FROM permission WHERE IDU=1 ORDER BY IDP"), expected);
}

void TestDatabase::namesWithoutRegardToCase()
{
    TestEnv env;
    env.exec("INSERT INTO Artikeltext (IDA, Text) VALUES (1, 'x')");
    QCOMPARE(env.scalar("SELECT text FROM ARTIKELTEXT WHERE ida=1"), QStringLiteral("x"));
    QCOMPARE(env.column("SELECT UstSatz FROM prust ORDER BY id").size(), 2);
    env.exec("INSERT INTO projekt (PrNr, Lanschrift) VALUES (1, 4)");
    SqlQuery q(env.db());
    q.open("SELECT LAnschrift, lanschrift AS x FROM projekt");
    QCOMPARE(q.field("lanschrift"), QStringLiteral("4"));
    QCOMPARE(q.field("X"), QStringLiteral("4"));
}

void TestDatabase::readBackRules()
{
    TestEnv env;
    SqlQuery q(env.db());
    q.open("SELECT MAX(BelegNr) AS m FROM angebote");
    QCOMPARE(q.field("m"), QString());
    QCOMPARE(q.fieldInt("m"), qint64(0));
    env.exec("INSERT INTO rechnungenbetrag (BelegNr, Netto, Brutto) VALUES (1, 1234.5, 0.1)");
    env.exec("UPDATE rechnungenbetrag SET Brutto = Brutto + 0.2");
    q.open("SELECT BelegNr, Netto, Brutto, NULL AS leer FROM rechnungenbetrag");
    QCOMPARE(q.field("BelegNr"), QStringLiteral("1"));
    QCOMPARE(q.field("Netto"), QStringLiteral("1234,5"));
    QCOMPARE(q.field("Brutto"), QStringLiteral("0,3"));
    QCOMPARE(q.field("leer"), QString());
    QCOMPARE(q.fieldAmount("Netto").toText(), QStringLiteral("1.234,50"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, q.field("gibtsnicht"));
    QCOMPARE(SqlValueText(QVariant(100.0)), QStringLiteral("100"));
    QCOMPARE(SqlValueText(QVariant(-0.0125)), QStringLiteral("-0,0125"));
    QCOMPARE(SqlValueText(QVariant(1e-7)), QStringLiteral("0,0000001"));
    // walking a result
    q.open("SELECT UStSatz FROM prust ORDER BY ID");
    QCOMPARE(q.recordCount(), 2);
    QStringList seen;
    for (; !q.eof(); q.next())
        seen << q.field("UStSatz");
    QCOMPARE(seen, QStringList({"7", "19"}));
    QCOMPARE(q.field("UStSatz"), QString());
    q.first();
    QCOMPARE(q.field("UStSatz"), QStringLiteral("7"));
}

void TestDatabase::textsSurviveRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophes") << "O'Neil's 'Werk'statt";
    QTest::newRow("quotes and backslashes") << "\"Zitat\" C:\\Daten\\ \\' \\\\";
    QTest::newRow("percent and underscore") << "100 % _Rabatt_ %%";
    QTest::newRow("umlauts") << "Größenänderung Übermaß Straße";
    QTest::newRow("emoji") << "Danke 👍🏽 €";
    QTest::newRow("line breaks") << "Zeile 1\nZeile 2\r\nZeile 3";
    QTest::newRow("semicolon and comment") << "x'; DROP TABLE firma; --";
    QTest::newRow("10000 characters") << QString(10000, QChar(u'ä')).replace(5000, 1, "'");
    // a NUL would end the statement: it is left out, nothing else
    QTest::newRow("NUL") << QStringLiteral("Mül") + QChar(0) + QStringLiteral("ler'; --");
}

void TestDatabase::textsSurviveRoundTrip()
{
    QFETCH(QString, text);
    const QString stored = QString(text).remove(QChar(0));
    TestEnv env;
    for (const char *table : {"firma", "name"}) {
        const QString id = QLatin1String(table) == QLatin1String("firma") ? "IDF" : "IDN";
        env.exec(QStringLiteral("INSERT INTO %1 (%2, Begriffe) VALUES (1, '%3')").arg(table, id, SqlQuote(text)));
        QCOMPARE(env.scalar(QStringLiteral("SELECT Begriffe FROM %1 WHERE Begriffe = '%2'").arg(table, SqlQuote(text))), stored);
    }
    env.exec(QStringLiteral("INSERT INTO anmerkung (IDA, Anmerkung) VALUES (1, '%1')").arg(SqlQuote(text)));
    QCOMPARE(env.scalar("SELECT Anmerkung FROM anmerkung WHERE IDA=1"), stored);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("1"));
}

void TestDatabase::dmyCollation_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");
    QTest::newRow("month over day") << "31.01.2005" << "01.02.2005" << -1;
    QTest::newRow("year over month") << "01.12.2004" << "01.01.2005" << -1;
    QTest::newRow("equal") << "05.03.2004" << "05.03.2004" << 0;
    QTest::newRow("short form same day") << "5.3.2004" << "05.03.2004" << 1;
    QTest::newRow("empty first") << "" << "01.01.1900" << -1;
    QTest::newRow("text before dates") << "unbekannt" << "01.01.1900" << -1;
}

void TestDatabase::dmyCollation()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    QCOMPARE(CompareDmy(a.toUtf8(), b.toUtf8()), order);
    QCOMPARE(CompareDmy(b.toUtf8(), a.toUtf8()), -order);
}

void TestDatabase::transactionRollsBackOnError()
{
    TestEnv env;
    try {
        Transaction t(env.db());
        env.exec("INSERT INTO firma (IDF, Name) VALUES (1, 'halb')");
        env.exec("INSERT INTO adresse (IDA, Strasse) VALUES (1, 'Weg 1')");
        env.exec("INSERT INTO gibtsnicht VALUES (1)");
        t.commit();
        QFAIL("statement did not fail");
    } catch (const DatabaseError &) {
    }
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("0"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adresse"), QStringLiteral("0"));
    QCOMPARE(env.db().transactionDepth(), 0);
    {
        Transaction t(env.db());
        env.exec("INSERT INTO firma (IDF, Name) VALUES (2, 'ganz')");
        t.commit();
    }
    QCOMPARE(env.scalar("SELECT Name FROM firma"), QStringLiteral("ganz"));
}

void TestDatabase::nestedTransactions()
{
    TestEnv env;
    {
        Transaction outer(env.db());
        env.exec("INSERT INTO firma (IDF) VALUES (1)");
        try {
            Transaction inner(env.db());
            env.exec("INSERT INTO firma (IDF) VALUES (2)");
            throw ConversionError("abgebrochen");
        } catch (const ConversionError &) {
        }
        outer.commit();
    }
    QCOMPARE(env.column("SELECT IDF FROM firma"), QStringList({"1"}));
}

void TestDatabase::databaseErrorCarriesStatement()
{
    TestEnv env;
    SqlQuery q(env.db());
    q.add("SELECT Name FROM firma");
    q.add("WHERE gibtsnicht = 1");
    try {
        q.open();
        QFAIL("no error");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.statement(), QStringLiteral("SELECT Name FROM firma\nWHERE gibtsnicht = 1"));
        QVERIFY(e.engineMessage().contains("gibtsnicht"));
        QVERIFY(e.message().contains("Datenbankfehler"));
    }
}

void TestDatabase::uniqueNumbersRefuseDuplicates()
{
    TestEnv env;
    env.exec("INSERT INTO rechnungen (BelegNr) VALUES (7)");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, env.exec("INSERT INTO rechnungen (BelegNr) VALUES ('7')"));
    // the same number in another kind is fine
    env.exec("INSERT INTO angebote (BelegNr) VALUES (7)");
}

void TestDatabase::contactListStatementRuns()
{
    TestEnv env;
    env.exec("INSERT INTO firma (IDF, Name, Branche, Telefon, St) VALUES (1, 'Zimmerei Holz', 'Bau', '07', '1')");
    env.exec("INSERT INTO firma (IDF, Name, Branche, Telefon, St) VALUES (2, 'Autohaus Blech', 'Kfz', '08', '1')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (1, 'Am Wald 3', '70173', 'Stuttgart')");
    env.exec("INSERT INTO adresse (IDA, Strasse, PLZ, Ort) VALUES (2, 'Ring 1', '80331', 'München')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (1, 1, 'Hauptadresse', '1')");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, Art, St) VALUES (2, 2, 'Hauptadresse', '1')");
    SqlQuery q(env.db());
    q.add("SELECT DISTINCT firma.Name AS n, firma.Branche AS b, adresse.PLZ AS p, firma.IDF as id");
    q.add("FROM firma, adresse, adressetofn");
    q.add("WHERE firma.IDF = adressetofn.IDFN AND adressetofn.IDA = adresse.IDA AND firma.St = '1' AND");
    q.add("adressetofn.St='1' AND adresse.plz LIKE '80%' ORDER BY firma.Name");
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.field("n"), QStringLiteral("Autohaus Blech"));
    QCOMPARE(q.field("id"), QStringLiteral("2"));
}

// The server ends the connection in the middle of a save (a restart, the network):
// a German message, nothing of the save stored, and the next command connects again.
void TestDatabase::lostConnectionAbandonsTheCommand()
{
    ORVELLA_SERVER_ONLY();
    TestEnv env;
    Database admin(QStringLiteral("admin"));
    admin.open(env.databaseConfig());
    const QString pid = env.scalar("SELECT pg_backend_pid()");
    try {
        Transaction tr(env.db());
        env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'halb', '1')");
        SqlQuery(admin).execSql(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
        env.exec("INSERT INTO adresse (IDA, Strasse) VALUES (1, 'Weg 1')");
        tr.commit();
        QFAIL("the save went through");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.message().startsWith("Die Verbindung zum Datenbankserver"), qPrintable(e.message()));
        QVERIFY2(e.message().contains("es wurde nichts halb gespeichert"), qPrintable(e.message()));
    }
    QVERIFY(env.scalar("SELECT pg_backend_pid()") != pid);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("0"));
    env.exec("INSERT INTO firma (IDF, Name, St) VALUES (1, 'ganz', '1')");
    QCOMPARE(env.scalar("SELECT Name FROM firma"), QStringLiteral("ganz"));
}

// Under the usual umask 022 the data set, its settings and the account's
// preferences are still the account's alone; a home folder made looser is mended
// at the next start.
void TestDatabase::filesAreTheAccountsOwn()
{
    TestEnv env(false);
    const mode_t before = umask(022);
    const auto modes = [](const QString &home) {
        QStringList out;
        const QString settings = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Halvard", "Orbel").fileName();
        for (const QString &path : {DataDirOf(home), DataDirOf(home) + "/orvella.db", DataDirOf(home) + "/orvella.db-wal",
                                    home + "Orbel.ini", home + "EFirma.ob1", settings})
            out << QString::number(QFileInfo(path).permissions() & 0x7777, 16);
        return out;
    };
    const QStringList own = {"7700", "6600", "6600", "6600", "6600", "6600"};
    const QString home = PrepareHomeDir(env.path("neu"), QString());
    {
        Database db(QStringLiteral("modes"));
        db.open(DataDirOf(home));
        WriteCurrency(home, "€");
        WriteOwnCompany(home, "Muster GmbH", "Weg 1", "12345", "Ort");
        UserSettings().writeInt("Probe", 1);
        QCOMPARE(modes(home), own);
    }
    // an older home folder, readable by everybody
    for (const QString &f : {QStringLiteral("/data/orvella.db"), QStringLiteral("/Orbel.ini"), QStringLiteral("/EFirma.ob1")})
        QFile::setPermissions(env.path("neu") + f, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(DataDirOf(home), QFile::permissions(DataDirOf(home)) | QFile::ReadOther | QFile::ExeOther);
    QFile(DataDirOf(home) + "/orvella.db-wal").open(QIODevice::Append);
    QFile::setPermissions(DataDirOf(home) + "/orvella.db-wal", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    QVERIFY(modes(home) != own);
    PrepareHomeDir(env.path("neu"), QString());
    QCOMPARE(modes(home), own);
    umask(before);
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
