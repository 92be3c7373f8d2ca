#include "BackupFixtures.h"
#include "BackupProgress.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "InvoiceArchive.h"

#include <QProcess>
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
            const auto [archived, tornArchived] = invoicesAndTorn(db);
            QVERIFY(archived > 0);
            QCOMPARE(tornArchived, 0);
        }
        QSqlDatabase::removeDatabase("archive");
        QTest::qWait(150);
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

QTEST_GUILESS_MAIN(TestBackupCrash)
#include "tst_backupcrash.moc"
