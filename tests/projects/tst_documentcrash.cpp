#include "Amount.h"
#include "SqlQuery.h"
#include "TestEnv.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

// A save killed at any moment must leave every invoice either whole or absent:
// the crash helper saves invoices in a loop and is killed with SIGKILL twenty
// times at random moments; then every stored invoice is checked in all its tables.
class TestDocumentCrash : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedSavesLeaveWholeInvoices();
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
    QCOMPARE(env.scalar("PRAGMA integrity_check"), QStringLiteral("ok"));

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
        QVERIFY2(q.field("name") == QStringLiteral("Kunde ") + n, where);
        QVERIFY2(q.fieldInt("texts") == 4 && q.field("text1") == QStringLiteral("%1 Zeilen").arg(k), where);
        QVERIFY2(q.fieldInt("items") == 1 && q.fieldInt("amounts") == 1, where);
        const Amount net = Amount::fromUnits(10 * k);
        const Amount gross = Amount::mulDiv(net, Amount::fromText("119"), 100);
        QVERIFY2(q.fieldAmount("net") == net && q.fieldAmount("gross") == gross, where);
        QVERIFY2(q.fieldAmount("item") == gross, where);
    }
    qInfo("%d invoices checked", invoices);
    QVERIFY2(invoices >= 20, "the helper saved too few invoices to tell anything");

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

QTEST_GUILESS_MAIN(TestDocumentCrash)
#include "tst_documentcrash.moc"
