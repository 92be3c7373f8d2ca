#include "BackupFixtures.h"
#include "BackupProgress.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "InvoiceArchive.h"
#include "Transaction.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>


namespace {

// The helper writes each invoice's line count into its project name, so a torn
// save shows as a mismatch in any of the invoice's tables. Returns the number of
// invoices and of torn ones; the statement runs on data sets and archives alike.
std::pair<int, int> invoicesAndTorn(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec("WITH d AS (SELECT BelegNr AS n, CAST(substr(PName, 8) AS INTEGER) AS k FROM rechnungen) "
                "SELECT COUNT(*), TOTAL(k < 1"
                " OR (SELECT COUNT(*) || '/' || MAX(RF) FROM rechnungenartikel WHERE BelegNr=n) <> k || '/' || k"
                " OR (SELECT COUNT(*) FROM rechnungenextra WHERE BelegNr=n) <> 1"
                " OR (SELECT group_concat(Art || '=' || Name, ';') FROM (SELECT Art, Name FROM rechnungenanschrift"
                "     WHERE BelegNr=n ORDER BY Art)) <> 'Anschrift=Kunde ' || n || ';Rechnungsanschrift=Buchhaltung ' || n"
                " OR (SELECT COUNT(*) || '/' || MAX(CASE Zeile WHEN 1 THEN Text END) FROM rechnungenztext"
                "     WHERE BelegNr=n) <> '4/' || k || ' Zeilen'"
                " OR (SELECT COUNT(*) FROM rechnungenop WHERE RNR=n AND abs(Betrag - 11.9 * k) < 0.005) <> 1"
                " OR (SELECT COUNT(*) FROM rechnungenbetrag WHERE BelegNr=n AND abs(Brutto - 11.9 * k) < 0.005) <> 1)"
                " FROM d")
        || !q.next())
        return {-1, -1};
    return {q.value(0).toInt(), q.value(1).toInt()};
}

} // namespace

// Backups taken while another program saves invoices without pause: each copy
// passes the integrity check and holds only whole invoices, the archive too, and
// restoring one brings back exactly its rows.
class TestBackupCrash : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The copies are made with the file engine's own backup; a server data set is
    // copied by the server's tools.
    void initTestCase() { ORVELLA_SQLITE_ONLY(); }
    void backupsWhileInvoicesAreSaved();
    void killedRestores();
};

void TestBackupCrash::backupsWhileInvoicesAreSaved()
{
    TestEnv env;
    const QString target = env.path("ziel");
    QDir().mkpath(target);
    QProcess saver;
    saver.start(QStringLiteral(CRASH_SAVER), {env.home()});
    QVERIFY(saver.waitForStarted());
    QVERIFY2(saver.waitForReadyRead(20000), saver.readAllStandardError().constData());
    QCOMPARE(saver.readLine().trimmed(), QByteArray("ready"));
    QTest::qWait(300);

    auto copier = MakeDataSetCopier(env.db());
    BackupContext context;
    context.exeDir = env.home();
    QList<int> counts;
    QStringList folders;
    for (int round = 0; round < 6; ++round) {
        context.now = QDateTime::currentDateTime();
        BackupProgress full, archive;
        folders << RunFullBackup(context, *copier, target, full);
        const QString archived = RunInvoiceArchive(context, *copier, target, std::nullopt, archive);
        QVERIFY2(saver.state() == QProcess::Running, saver.readAllStandardError().constData());

        Database copy(QStringLiteral("copy"));
        copy.openExisting(folders.last() + "/orvella.db", true);
        QSqlQuery check(copy.connection());
        QVERIFY(check.exec("PRAGMA integrity_check") && check.next());
        QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
        const auto [invoices, torn] = invoicesAndTorn(copy.connection());
        QVERIFY(invoices > 0);
        QCOMPARE(torn, 0);
        counts << invoices;
        copy.close();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "archive");
            db.setDatabaseName(archived + "/" + InvoiceArchive::FileName);
            QVERIFY(db.open());
            // the check looks each invoice up in every table: without indexes it
            // grows with the square of the invoices the helper managed to save
            for (const char *table : {"rechnungenartikel", "rechnungenextra", "rechnungenanschrift", "rechnungenztext",
                                      "rechnungenbetrag"})
                QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE INDEX IF NOT EXISTS pruef_%1 ON %1 (BelegNr)").arg(table)));
            QVERIFY(QSqlQuery(db).exec("CREATE INDEX IF NOT EXISTS pruef_op ON rechnungenop (RNR)"));
            const auto [archived, tornArchived] = invoicesAndTorn(db);
            QVERIFY(archived > 0);
            QCOMPARE(tornArchived, 0);
        }
        QSqlDatabase::removeDatabase("archive");
        QTest::qWait(150);
    }
    // A restore while the other program works in the data set is refused, naming it.
    try {
        BackupProgress refused;
        RunRestore(context, *copier, folders[3], refused);
        QFAIL("restored while another program saved");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().contains("wird noch benutzt von: das Programm \"crash_saver\""), qPrintable(e.message()));
    }
    saver.kill();
    QVERIFY(saver.waitForFinished());
    qInfo() << "invoices in the backups:" << counts;
    // the helper kept saving while the backups were taken
    QVERIFY2(counts.last() > counts.first(), "the helper saved nothing during the backups");

    // restoring a backup from the middle brings back exactly its rows
    const QString chosen = folders[3];
    QStringList expected;
    {
        Database copy(QStringLiteral("chosen"));
        copy.openExisting(chosen + "/orvella.db", true);
        expected = DumpDataSet(copy);
    }
    QVERIFY(DumpDataSet(env.db()) != expected);
    BackupProgress restoring;
    context.now = QDateTime::currentDateTime();
    RunRestore(context, *copier, chosen, restoring);
    QCOMPARE(DumpDataSet(env.db()), expected);
}

// Restores killed at any moment: the data set is the old one or the backup's,
// and every kept copy that carries its final name is a whole copy of what was
// replaced.
void TestBackupCrash::killedRestores()
{
    TestEnv env;
    Transaction fill(env.db());
    for (int n = 1; n <= 300; ++n)
        AddArchiveInvoice(env, n, "01.03.2003", 3);
    fill.commit();
    auto copier = MakeDataSetCopier(env.db());
    BackupContext context;
    context.exeDir = env.home();
    BackupProgress backup;
    QDir().mkpath(env.path("ziel"));
    const QString folder = RunFullBackup(context, *copier, env.path("ziel"), backup);
    env.exec("DELETE FROM rechnungenartikel WHERE BelegNr > 150");
    const QStringList before = DumpDataSet(env.db()), restored = [&] {
        Database copy(QStringLiteral("backup"));
        copy.openExisting(folder + "/orvella.db", true);
        return DumpDataSet(copy);
    }();
    env.db().close(); // the helper restores alone
    QRandomGenerator random(20261210);
    int finished = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess restorer;
        restorer.start(QStringLiteral(CRASH_RESTORER), {env.home(), folder});
        QVERIFY(restorer.waitForReadyRead(20000));
        QTest::qWait(int(random.bounded(200)));
        restorer.kill();
        restorer.waitForFinished();
        finished += restorer.readAll().contains("done") ? 1 : 0;
        Database check(QStringLiteral("check"));
        check.openExisting(env.dataDir() + "/orvella.db", true);
        const QStringList now = DumpDataSet(check);
        QVERIFY2(now == before || now == restored, "the data set is neither the old one nor the backup's");
        check.close();
        for (const QString &kept : QDir(env.dataDir()).entryList({"orvella.db.vor-Wiederherstellung-*"})) {
            if (kept.contains(".unvollstaendig")) // half-written, and named so
                continue;
            Database copy(QStringLiteral("kept"));
            copy.openExisting(env.dataDir() + "/" + kept, true);
            const QStringList held = DumpDataSet(copy);
            QVERIFY2(held == before || held == restored, qPrintable(kept + " is not a whole copy"));
        }
    }
    qInfo() << "restores that ran to their end:" << finished << "of 12";
    env.reopen();
}

QTEST_GUILESS_MAIN(TestBackupCrash)
#include "tst_backupcrash.moc"
