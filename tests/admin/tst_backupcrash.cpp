#include "BackupFixtures.h"
#include "BackupProgress.h"
#include "BackupTasks.h"
#include "DataSetCopier.h"
#include "InvoiceArchive.h"

#include <QProcess>
#include <QtTest>

#include <cmath>

namespace {

// Checks that every invoice of a data set or archive is whole: the helper writes
// its line count into the project name, so a torn save shows as a mismatch in
// any of the invoice's tables. Returns the number of invoices, or -1 with why.
int wholeInvoices(const QSqlDatabase &db, QString &why)
{
    QSqlQuery q(db);
    if (!q.exec("SELECT r.BelegNr, r.PName,"
                " (SELECT COUNT(*) FROM rechnungenartikel a WHERE a.BelegNr=r.BelegNr),"
                " (SELECT MAX(RF) FROM rechnungenartikel a WHERE a.BelegNr=r.BelegNr),"
                " (SELECT COUNT(*) FROM rechnungenextra e WHERE e.BelegNr=r.BelegNr),"
                " (SELECT COUNT(*) FROM rechnungenanschrift s WHERE s.BelegNr=r.BelegNr AND Art='Anschrift'"
                "   AND Name='Kunde ' || r.BelegNr),"
                " (SELECT COUNT(*) FROM rechnungenanschrift s WHERE s.BelegNr=r.BelegNr AND Art='Rechnungsanschrift'),"
                " (SELECT COUNT(*) FROM rechnungenztext z WHERE z.BelegNr=r.BelegNr),"
                " (SELECT Text FROM rechnungenztext z WHERE z.BelegNr=r.BelegNr AND Zeile=1),"
                " (SELECT COUNT(*) FROM rechnungenop o WHERE o.RNR=r.BelegNr),"
                " (SELECT Betrag FROM rechnungenop o WHERE o.RNR=r.BelegNr),"
                " (SELECT COUNT(*) || '/' || MAX(Brutto) FROM rechnungenbetrag b WHERE b.BelegNr=r.BelegNr)"
                " FROM rechnungen r ORDER BY r.BelegNr")) {
        why = q.lastError().text();
        return -1;
    }
    int invoices = 0;
    for (; q.next(); ++invoices) {
        const int k = q.value(1).toString().mid(7).toInt();
        const double gross = 11.9 * k;
        const bool whole = k >= 1 && q.value(2).toInt() == k && q.value(3).toInt() == k && q.value(4).toInt() == 1
                           && q.value(5).toInt() == 1 && q.value(6).toInt() == 1 && q.value(7).toInt() == 4
                           && q.value(8).toString() == QStringLiteral("%1 Zeilen").arg(k) && q.value(9).toInt() == 1
                           && std::fabs(q.value(10).toDouble() - gross) < 0.005
                           && q.value(11).toString().section('/', 0, 0) == "1"
                           && std::fabs(q.value(11).toString().section('/', 1).toDouble() - gross) < 0.005;
        if (!whole) {
            why = QStringLiteral("invoice %1 (%2) is torn").arg(q.value(0).toString(), q.value(1).toString());
            return -1;
        }
    }
    return invoices;
}

} // namespace

// Backups taken while another program saves invoices without pause: each copy
// passes the integrity check and holds only whole invoices, the archive too, and
// restoring one brings back exactly its rows.
class TestBackupCrash : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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
        QString why;
        counts << wholeInvoices(copy.connection(), why);
        QVERIFY2(counts.last() > 0, qPrintable(why));
        copy.close();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "archive");
            db.setDatabaseName(archived + "/" + InvoiceArchive::FileName);
            QVERIFY(db.open());
            QVERIFY2(wholeInvoices(db, why) > 0, qPrintable(why));
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
