#include "Amount.h"
#include "SqlQuery.h"
#include "TestEnv.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

namespace {

// Every stored invoice is whole in all its tables, and nothing belongs to an
// invoice that is not there. The crash helper's invoices carry their line count in
// the project name, and their number in the customer's name unless another
// workstation took the number first.
void checkWholeInvoices(TestEnv &env, bool namesCarryNumbers, int &count)
{
    SqlQuery q(env.db());
    q.open("SELECT r.BelegNr AS n, r.PName AS pname,"
           " (SELECT COUNT(*) FROM rechnungenartikel a WHERE a.BelegNr=r.BelegNr) AS lines,"
           " (SELECT MAX(RF) FROM rechnungenartikel a WHERE a.BelegNr=r.BelegNr) AS lastRf,"
           " (SELECT COUNT(*) FROM rechnungenextra e WHERE e.BelegNr=r.BelegNr) AS extra,"
           " (SELECT COUNT(*) FROM rechnungenanschrift s WHERE s.BelegNr=r.BelegNr) AS addresses,"
           " (SELECT Name FROM rechnungenanschrift s WHERE s.BelegNr=r.BelegNr AND Art='Anschrift') AS name,"
           " (SELECT COUNT(*) FROM rechnungenanschrift s WHERE s.BelegNr=r.BelegNr"
           "   AND Art='Rechnungsanschrift') AS second,"
           " (SELECT COUNT(*) FROM rechnungenztext z WHERE z.BelegNr=r.BelegNr) AS texts,"
           " (SELECT Text FROM rechnungenztext z WHERE z.BelegNr=r.BelegNr AND Zeile=1) AS text1,"
           " (SELECT COUNT(*) FROM rechnungenop o WHERE o.RNR=r.BelegNr) AS items,"
           " (SELECT Betrag FROM rechnungenop o WHERE o.RNR=r.BelegNr) AS item,"
           " (SELECT COUNT(*) FROM rechnungenbetrag b WHERE b.BelegNr=r.BelegNr) AS amounts,"
           " (SELECT Netto FROM rechnungenbetrag b WHERE b.BelegNr=r.BelegNr) AS net,"
           " (SELECT Brutto FROM rechnungenbetrag b WHERE b.BelegNr=r.BelegNr) AS gross"
           " FROM rechnungen r ORDER BY r.BelegNr");
    int invoices = 0;
    for (; !q.eof(); q.next(), ++invoices) {
        const QString n = q.field("n");
        const int k = q.field("pname").mid(QStringLiteral("Zeilen ").size()).toInt();
        const QByteArray where = QStringLiteral("invoice %1 with %2 lines").arg(n).arg(k).toUtf8();
        QVERIFY2(k >= 1 && k <= 13, where);
        QVERIFY2(q.fieldInt("lines") == k && q.fieldInt("lastRf") == k, where);
        QVERIFY2(q.fieldInt("extra") == 1, where);
        QVERIFY2(q.fieldInt("addresses") == 2 && q.fieldInt("second") == 1, where);
        QVERIFY2(!namesCarryNumbers || q.field("name") == QStringLiteral("Kunde ") + n, where);
        QVERIFY2(q.fieldInt("texts") == 4 && q.field("text1") == QStringLiteral("%1 Zeilen").arg(k), where);
        QVERIFY2(q.fieldInt("items") == 1 && q.fieldInt("amounts") == 1, where);
        const Amount net = Amount::fromUnits(10 * k);
        const Amount gross = Amount::mulDiv(net, Amount::fromText("119"), 100);
        QVERIFY2(q.fieldAmount("net") == net && q.fieldAmount("gross") == gross, where);
        QVERIFY2(q.fieldAmount("item") == gross, where);
    }
    qInfo("%d invoices checked", invoices);
    count = invoices;

    // nothing belongs to an invoice that is not there
    for (const char *orphans :
         {"SELECT COUNT(*) FROM rechnungenartikel WHERE BelegNr NOT IN (SELECT BelegNr FROM rechnungen)",
          "SELECT COUNT(*) FROM rechnungenextra WHERE BelegNr NOT IN (SELECT BelegNr FROM rechnungen)",
          "SELECT COUNT(*) FROM rechnungenanschrift WHERE BelegNr NOT IN (SELECT BelegNr FROM rechnungen)",
          "SELECT COUNT(*) FROM rechnungenztext WHERE BelegNr NOT IN (SELECT BelegNr FROM rechnungen)",
          "SELECT COUNT(*) FROM rechnungenop WHERE RNR NOT IN (SELECT BelegNr FROM rechnungen)",
          "SELECT COUNT(*) FROM rechnungenbetrag WHERE BelegNr NOT IN (SELECT BelegNr FROM rechnungen)"})
        QVERIFY2(env.scalar(QString::fromUtf8(orphans)) == "0", orphans);
}

// The helper works on the test's data set: its file, or its schema on the server.
QProcessEnvironment helperEnvironment(TestEnv &env)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVELLA_TEST_SCHEMA"), env.databaseConfig().schema);
    return environment;
}

} // namespace

// A save killed at any moment must leave every invoice either whole or absent:
// the crash helper saves invoices in a loop and is killed with SIGKILL twenty
// times at random moments; then every stored invoice is checked in all its tables.
class TestDocumentCrash : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedSavesLeaveWholeInvoices();
    void twoWorkstationsSaveAtOnce();
};

void TestDocumentCrash::killedSavesLeaveWholeInvoices()
{
    TestEnv env;
    env.db().close();
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);

    for (int kill = 0; kill < 20; ++kill) {
        QProcess saver;
        saver.setProcessEnvironment(helperEnvironment(env));
        saver.start(QStringLiteral(CRASH_SAVER), {env.home()});
        QVERIFY(saver.waitForStarted());
        QVERIFY2(saver.waitForReadyRead(20000), saver.readAllStandardError().constData());
        QCOMPARE(saver.readLine().trimmed(), QByteArray("ready"));
        QThread::msleep(random.bounded(1, 150));
        QVERIFY2(saver.state() == QProcess::Running, saver.readAllStandardError().constData());
        saver.kill(); // SIGKILL
        QVERIFY(saver.waitForFinished());
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
    }

    env.reopen();
    if (!TestsOnServer())
        QCOMPARE(env.scalar("PRAGMA integrity_check"), QStringLiteral("ok"));
    int invoices = 0;
    checkWholeInvoices(env, true, invoices);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(invoices >= 20, "the helper saved too few invoices to tell anything");
}

// Two workstations save 500 new invoices each at the same time, each drawing the
// next number as the project window does: 1,000 invoices under 1,000 numbers, all
// whole.
void TestDocumentCrash::twoWorkstationsSaveAtOnce()
{
    TestEnv env;
    QProcess savers[2];
    for (QProcess &saver : savers) {
        saver.setProcessEnvironment(helperEnvironment(env));
        saver.start(QStringLiteral(CRASH_SAVER), {env.home(), QStringLiteral("500")});
    }
    for (QProcess &saver : savers) {
        QVERIFY(saver.waitForFinished(600000));
        QVERIFY2(saver.exitStatus() == QProcess::NormalExit && saver.exitCode() == 0,
                 saver.readAllStandardError().constData());
        qInfo("%s", saver.readAllStandardOutput().trimmed().constData());
    }
    QCOMPARE(env.scalar("SELECT COUNT(DISTINCT BelegNr) FROM rechnungen"), QStringLiteral("1000"));
    int invoices = 0;
    checkWholeInvoices(env, false, invoices);
    QCOMPARE(invoices, 1000);
}

QTEST_GUILESS_MAIN(TestDocumentCrash)
#include "tst_documentcrash.moc"
