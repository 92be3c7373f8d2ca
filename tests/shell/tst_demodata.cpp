#include "DemoData.h"
#include "DocumentStore.h"
#include "Formats.h"
#include "OptionsRules.h"
#include "SellerData.h"
#include "Settings.h"
#include "TestEnv.h"

#include <QtTest>

class TestDemoData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fillsAnEmptyDataSet();
    void leavesAFilledDataSetAlone();
};

void TestDemoData::fillsAnEmptyDataSet()
{
    TestEnv env;
    QVERIFY(DemoData::isEmpty(env.state()));
    QVERIFY(DemoData::fill(env.state()));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma") .toInt() + env.scalar("SELECT COUNT(*) FROM name").toInt(), 12);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM adressetofn WHERE St='1'"), QStringLiteral("12"));
    QVERIFY(env.scalar("SELECT COUNT(*) FROM comtofn").toInt() >= 24);
    QVERIFY(env.scalar("SELECT COUNT(*) FROM firmamehr").toInt() + env.scalar("SELECT COUNT(*) FROM namemehr").toInt() >= 6);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM artikel"), QStringLiteral("20"));
    QVERIFY(env.scalar("SELECT COUNT(*) FROM artikeltext").toInt() > 5);
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM projekt"), QStringLiteral("3"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM pradresse"), QStringLiteral("9"));
    for (const char *table : {"angebote", "auftraege", "lieferscheine", "rechnungen", "gutschriften", "ablage", "mahnungen"})
        QVERIFY2(env.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt() >= 1, table);
    // invoices open, part-paid and paid, one of them dunned
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenop WHERE Gebucht='J' AND RBetrag=0"), QStringLiteral("1"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenop WHERE Gebucht='N' AND RBetrag>0 AND RBetrag<Betrag"),
             QStringLiteral("1"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM rechnungenop r WHERE NOT EXISTS (SELECT 1 FROM teilbuchung t WHERE t.RNr=r.RNR)"),
             QStringLiteral("2"));
    QCOMPARE(env.scalar("SELECT MStufe FROM rechnungenop r, mahnungen m WHERE m.RNr=r.RNR"), QStringLiteral("1"));
    // every document loads back with the totals that were stored
    DocumentStore store(env.db(), env.dialogs());
    for (const QString &n : env.column("SELECT BelegNr FROM rechnungen")) {
        const DocumentStore::Loaded loaded = store.load(DocumentKind::Rechnung, n.toLongLong());
        QVERIFY(loaded.linesFound);
        QVERIFY(loaded.lineError.isEmpty());
        const QString gross = env.scalar("SELECT Brutto FROM rechnungenbetrag WHERE BelegNr=" + n);
        QCOMPARE(loaded.document.totals.gross(), Amount::fromText(gross).toText() + QStringLiteral(" €"));
    }
    QCOMPARE(ReadOwnCompany(env.home()).line, QStringLiteral("Schreinerei Lindner GmbH - Werkstraße 12 - 79110 Freiburg"));
    // a complete footer and seller data that pass the checks; invoices numbered in date order
    const QString footer = env.column("SELECT A || B || C || D FROM foot").join(' ');
    QVERIFY2(!footer.contains("bitte eintragen") && footer.contains("IBAN: DE86680501010047110815"), qPrintable(footer));
    QCOMPARE(OptionsRules::sellerDataProblems(ReadSellerData(env.db(), env.home())), QString());
    for (const QString &table : {"rechnungen", "mahnungen", "projekt"}) {
        const QString number = table == QLatin1String("projekt") ? "PrNr" : "BelegNr";
        QCOMPARE(env.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 a, %1 b WHERE a.%2 < b.%2 AND a.Datum > b.Datum")
                                .arg(table, number)),
                 "0");
    }
    QVERIFY(!DemoData::isEmpty(env.state()));
    QVERIFY(env.dialogs().log().isEmpty());
}

void TestDemoData::leavesAFilledDataSetAlone()
{
    TestEnv env;
    env.exec("INSERT INTO artikel (Bez) VALUES ('Eigenes')");
    QVERIFY(!DemoData::fill(env.state()));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM artikel"), QStringLiteral("1"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firma"), QStringLiteral("0"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM projekt"), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
