#include "ReceivablesFixtures.h"
#include "SqlQuery.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

// A booking killed at any moment must leave the open item and its postings in
// step: the helper books payments in a loop and is killed with SIGKILL twenty
// times; then for every invoice the postings add up to its amount less what remains.
class TestBookingCrash : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedBookingsKeepPostingsInStep();
};

void TestBookingCrash::killedBookingsKeepPostingsInStep()
{
    TestEnv env;
    AddReceivablesCustomers(env);
    for (int n = 1; n <= 40; ++n)
        AddInvoice(env, n, 1 + n % 2, QString::number(500 + 25 * n) + ".5", -n);
    env.db().close();
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);

    for (int kill = 0; kill < 20; ++kill) {
        QProcess booker;
        // the helper works on the test's data set: its file, or its schema on the server
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVELLA_TEST_SCHEMA"), env.databaseConfig().schema);
        booker.setProcessEnvironment(environment);
        booker.start(QStringLiteral(CRASH_BOOKER), {env.home()});
        QVERIFY(booker.waitForStarted());
        QVERIFY2(booker.waitForReadyRead(20000), booker.readAllStandardError().constData());
        QCOMPARE(booker.readLine().trimmed(), QByteArray("ready"));
        QThread::msleep(random.bounded(1, 150));
        QVERIFY2(booker.state() == QProcess::Running, booker.readAllStandardError().constData());
        booker.kill(); // SIGKILL
        QVERIFY(booker.waitForFinished());
        QCOMPARE(booker.exitStatus(), QProcess::CrashExit);
    }

    env.reopen();
    QCOMPARE(env.scalar("PRAGMA integrity_check"), QStringLiteral("ok"));
    SqlQuery q(env.db());
    q.open("SELECT o.RNR, o.Betrag, o.RBetrag, o.BDatum, o.Gebucht,"
           " (SELECT COUNT(*) FROM teilbuchung t WHERE t.RNr=o.RNR) AS n,"
           " (SELECT Datum FROM teilbuchung t WHERE t.RNr=o.RNR ORDER BY ID DESC LIMIT 1) AS last"
           " FROM rechnungenop o ORDER BY o.RNR");
    int booked = 0, postings = 0;
    for (; !q.eof(); q.next()) {
        const qint64 invoice = q.fieldInt("RNR");
        const QByteArray where = QStringLiteral("invoice %1").arg(invoice).toUtf8();
        Amount sum;
        for (const QString &amount : env.column(QStringLiteral("SELECT Betrag FROM teilbuchung WHERE RNr=%1").arg(invoice)))
            sum += Amount::fromText(amount);
        const Amount rest = q.fieldAmount("RBetrag");
        QVERIFY2(sum == q.fieldAmount("Betrag") - rest || (q.fieldInt("n") == 0 && rest.isZero()), where);
        QVERIFY2(q.field("Gebucht") == (rest > Amount() || q.fieldInt("n") == 0 ? "N" : "J"), where);
        QVERIFY2(q.field("BDatum") == q.field("last"), where); // the last posting's date; empty when never booked
        booked += q.fieldInt("n") > 0;
        postings += int(q.fieldInt("n"));
    }
    qInfo("%d postings on %d invoices checked", postings, booked);
    QVERIFY2(postings >= 40, "the helper booked too little to tell anything");
}

QTEST_GUILESS_MAIN(TestBookingCrash)
#include "tst_bookingcrash.moc"
