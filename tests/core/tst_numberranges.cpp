#include "Settings.h"
#include "TdmCommon.h"
#include "TestEnv.h"

#include <QtTest>

class TestNumberRanges : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void businessRanges_data();
    void businessRanges();
    void startNumberReadAtEveryDraw();
    void contactNumbers_data();
    void contactNumbers();
    void contactNumberCollision();
    void plainRanges();
    void dunningStage();
    void lookUps();
};

void TestNumberRanges::businessRanges_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<QString>("start");     // stored start number, null for none
    QTest::addColumn<int>("highest");       // highest number in use, 0 for an empty table
    QTest::addColumn<qint64>("next");
    const int rechnung = int(NumberRange::Rechnung);
    QTest::newRow("empty, no start") << int(NumberRange::Projekt) << QString() << 0 << qint64(1);
    QTest::newRow("in use, no start") << int(NumberRange::Angebot) << QString() << 41 << qint64(42);
    QTest::newRow("start above in use") << rechnung << "5000" << 120 << qint64(5000);
    QTest::newRow("in use above start") << rechnung << "5000" << 7000 << qint64(7001);
    QTest::newRow("start equals in use") << rechnung << "120" << 120 << qint64(121);
    QTest::newRow("start not a number") << int(NumberRange::Gutschrift) << "abc" << 0 << qint64(1);
    QTest::newRow("Auftrag") << int(NumberRange::Auftrag) << "300" << 0 << qint64(300);
    QTest::newRow("Lieferschein") << int(NumberRange::Lieferschein) << QString() << 9 << qint64(10);
    QTest::newRow("Mahnung") << int(NumberRange::Mahnung) << "10" << 12 << qint64(13);
    QTest::newRow("Ablage") << int(NumberRange::Ablage) << "2" << 0 << qint64(2);
    QTest::newRow("Projekt with start") << int(NumberRange::Projekt) << "1000" << 5 << qint64(1000);
}

void TestNumberRanges::businessRanges()
{
    QFETCH(int, range);
    QFETCH(QString, start);
    QFETCH(int, highest);
    QFETCH(qint64, next);
    TestEnv env;
    const auto r = NumberRange(range);
    if (!start.isNull())
        WriteStartNumber(env.home(), TdmCommon::startKeyOf(r), start);
    const QString column = r == NumberRange::Projekt ? "PrNr" : "BelegNr";
    if (highest > 0) {
        env.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(TdmCommon::tableOf(r), column).arg(highest / 2 + 1));
        env.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(TdmCommon::tableOf(r), column).arg(highest));
    }
    QCOMPARE(env.state().dmCommon.GetNextBelegNr(r), next);
    // drawing takes nothing: the same number comes again until a row is inserted
    QCOMPARE(env.state().dmCommon.GetNextBelegNr(r), next);
}

void TestNumberRanges::startNumberReadAtEveryDraw()
{
    TestEnv env;
    TdmCommon &dm = env.state().dmCommon;
    QCOMPARE(dm.GetNextProjektNr(), qint64(1));
    WriteStartNumber(env.home(), StartKey::Projekt, "2027001");
    QCOMPARE(dm.GetNextProjektNr(), qint64(2027001));
}

void TestNumberRanges::contactNumbers_data()
{
    QTest::addColumn<int>("companies");
    QTest::addColumn<int>("persons");
    QTest::addColumn<QString>("start");
    QTest::addColumn<qint64>("next");
    QTest::newRow("empty") << 0 << 0 << QString() << qint64(1);
    QTest::newRow("persons highest") << 40 << 55 << QString() << qint64(56);
    QTest::newRow("companies highest") << 70 << 55 << QString() << qint64(71);
    QTest::newRow("start above") << 40 << 55 << "10000" << qint64(10000);
    QTest::newRow("start below") << 40 << 55 << "20" << qint64(56);
}

void TestNumberRanges::contactNumbers()
{
    QFETCH(int, companies);
    QFETCH(int, persons);
    QFETCH(QString, start);
    QFETCH(qint64, next);
    TestEnv env;
    if (companies)
        env.exec(QStringLiteral("INSERT INTO firma (IDF, Name) VALUES (%1, 'F')").arg(companies));
    if (persons)
        env.exec(QStringLiteral("INSERT INTO name (IDN, NName) VALUES ('%1', 'P')").arg(persons));
    if (!start.isNull())
        WriteStartNumber(env.home(), StartKey::Kunden, start);
    QCOMPARE(env.state().dmCommon.GetNextKundenNr(), next);
    QVERIFY(env.dialogs().log().isEmpty());
}

void TestNumberRanges::contactNumberCollision()
{
    TestEnv env;
    env.exec("INSERT INTO firma (IDF) VALUES (40)");
    env.exec("INSERT INTO name (IDN) VALUES (55)");
    env.exec("INSERT INTO adressetofn (IDA, IDFN, St) VALUES (9, 56, '1')");
    QCOMPARE(env.state().dmCommon.GetNextKundenNr(), qint64(-1));
    // the number ranges tell nobody; the contact window shows the message
    QVERIFY(env.dialogs().log().isEmpty());
    QCOMPARE(TdmCommon::KundenNrError, QStringLiteral("Fehler beim holen der Kundennummer"));
}

void TestNumberRanges::plainRanges()
{
    TestEnv env;
    TdmCommon &dm = env.state().dmCommon;
    WriteStartNumber(env.home(), StartKey::Kunden, "500"); // plain ranges know no start number
    QCOMPARE(dm.GetNextIDA(), qint64(1));
    QCOMPARE(dm.GetNextPrAdresseIDA(), qint64(1));
    QCOMPARE(dm.GetNextIDC(), qint64(1));
    QCOMPARE(dm.GetNextIDU(), qint64(1));
    env.exec("INSERT INTO adresse (IDA) VALUES (9)");
    env.exec("INSERT INTO adresse (IDA) VALUES (10)");
    env.exec("INSERT INTO pradresse (IDA) VALUES (3)");
    env.exec("INSERT INTO com (IDC) VALUES (12)");
    env.exec("INSERT INTO usr (IDU) VALUES (2)");
    QCOMPARE(dm.GetNextIDA(), qint64(11));
    QCOMPARE(dm.GetNextPrAdresseIDA(), qint64(4));
    QCOMPARE(dm.GetNextIDC(), qint64(13));
    QCOMPARE(dm.GetNextIDU(), qint64(3));
}

void TestNumberRanges::dunningStage()
{
    TestEnv env;
    TdmCommon &dm = env.state().dmCommon;
    QCOMPARE(dm.GetNextMNr(100), 1);
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr) VALUES (1, 100, 1)");
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr) VALUES (2, 100, 2)");
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr) VALUES (3, 101, 7)");
    env.exec("INSERT INTO mahnungen (BelegNr, RNr, MNr) VALUES (4, 102, NULL)");
    QCOMPARE(dm.GetNextMNr(100), 3);
    QCOMPARE(dm.GetNextMNr(101), 8);
    QCOMPARE(dm.GetNextMNr(102), 1);
}

void TestNumberRanges::lookUps()
{
    TestEnv env;
    TdmCommon &dm = env.state().dmCommon;
    env.exec("INSERT INTO firma (IDF, Name) VALUES (3, 'Firma')");
    env.exec("INSERT INTO name (IDN, NName) VALUES (4, 'Person')");
    env.exec("INSERT INTO name (IDN, NName) VALUES (5, 'Ohne')");
    env.exec("INSERT INTO nametofirma (IDN, IDF, Pos) VALUES (4, 3, 'Chefin')");
    QCOMPARE(dm.GetContactTable(3), QStringLiteral("firma"));
    QCOMPARE(dm.GetContactTable(4), QStringLiteral("name"));
    QCOMPARE(dm.GetContactTable(99), QString());
    QCOMPARE(dm.GetFirmaOfPerson(4), qint64(3));
    QCOMPARE(dm.GetFirmaOfPerson(5), qint64(0));
    QCOMPARE(TdmCommon::PadNumber(42), QStringLiteral("000042"));
}

QTEST_GUILESS_MAIN(TestNumberRanges)
#include "tst_numberranges.moc"
