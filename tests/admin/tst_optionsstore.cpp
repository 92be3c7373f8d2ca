#include "CompanyStore.h"
#include "Database.h"
#include "DunningStore.h"
#include "OptionsRules.h"
#include "PrintSetup.h"
#include "Schema.h"
#include "SellerData.h"
#include "Settings.h"
#include "TestEnv.h"
#include "TextTemplateStore.h"
#include "VatRateStore.h"

#include <QFile>
#include <QtTest>

#include <sqlite3.h>

// The statements behind the options: VAT rates, company data, document texts and
// dunning templates, and the schema step that brought the seller data.
class TestOptionsStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void vatRateUsage();
    void vatCategories_data();
    void vatCategories();
    void companyDataRoundTrip();
    void lostRowsAreWrittenAnew();
    void upgradeFromVersion2();
};

void TestOptionsStore::vatRateUsage()
{
    TestEnv env;
    // Two invoices and a quotation at 7 % (written with and without the leading
    // blanks), a line at 17 % that must not count, an article, a project and two
    // contacts preset to 7 %.
    for (const char *row : {"rechnungenartikel VALUES (1, '  7,00 %')", "rechnungenartikel VALUES (1, '  7,00 %')",
                            "rechnungenartikel VALUES (2, '7,00 %')", "angeboteartikel VALUES (1, '  7,00 %')",
                            "gutschriftenartikel VALUES (3, '17,00 %')"})
        env.exec(QString("INSERT INTO %1").arg(row).replace("VALUES", "(BelegNr, MwSt) VALUES"));
    env.exec("INSERT INTO artikel (Bez, MwSt) VALUES ('Brot', '  7,00 %')");
    env.exec("INSERT INTO projekt (PrNr, USt) VALUES (1, '  7,00 %')");
    env.exec("INSERT INTO firmamehr (IDF, MwSt) VALUES (10, 7)");
    env.exec("INSERT INTO namemehr (IDN, MwSt) VALUES (20, 7.0)");
    env.exec("INSERT INTO namemehr (IDN, MwSt) VALUES (21, 19)");
    VatRateStore store(env.db());
    const OptionsRules::VatUsage seven = store.usage(Amount::fromText("7"));
    QCOMPARE(QList<int>({seven.documents, seven.articles, seven.projects, seven.contacts}), QList<int>({3, 1, 1, 2}));
    QVERIFY(OptionsRules::rateInUseQuestion(Amount::fromText("7"), seven)
                .startsWith("Der Steuersatz 7,00 % wird noch in 3 Vorgängen, 1 Projekt, 1 Artikel und 2 Kontakten "
                            "verwendet."));
    QCOMPARE(OptionsRules::rateInUseQuestion(Amount::fromText("19"), store.usage(Amount::fromText("19"))).section('\n', 0, 0),
             "Der Steuersatz 19,00 % wird noch in 1 Kontakt verwendet.");
    QVERIFY(!store.usage(Amount::fromText("16")).any());
}

void TestOptionsStore::vatCategories_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("19 % standard") << "19" << "S" << "" << true;
    QTest::newRow("19 % exempt is refused") << "19" << "E" << "§ 4 UStG" << false;
    QTest::newRow("0 % standard is refused") << "0" << "S" << "" << false;
    QTest::newRow("0 % exempt with reason, quote kept") << "0" << "E" << "Steuerfrei nach § 4 Nr. 21 UStG ('Heilbehandlung')" << true;
    QTest::newRow("0 % exempt without reason") << "0" << "E" << "  " << false;
    QTest::newRow("0 % reverse charge") << "0" << "AE" << "Steuerschuldnerschaft des Leistungsempfängers" << true;
    QTest::newRow("0 % zero rate names no reason") << "0" << "Z" << "" << true;
    QTest::newRow("0 % zero rate with reason") << "0" << "Z" << "warum" << false;
}

void TestOptionsStore::vatCategories()
{
    QFETCH(QString, rate);
    QFETCH(QString, code);
    QFETCH(QString, reason);
    QFETCH(bool, accepted);
    TestEnv env;
    env.exec("INSERT INTO prust (UStSatz) VALUES (0)");
    VatRateStore store(env.db());
    const Amount r = Amount::fromText(rate);
    const VatRateStore::Category c{code, reason};
    QCOMPARE(VatRateStore::categoryProblem(r, c).isEmpty(), accepted);
    if (!accepted)
        return;
    store.setCategory(r, c);
    QCOMPARE(store.category(r).code, code);
    QCOMPARE(store.category(r).reason, reason.trimmed());
    // The other rates keep theirs.
    QCOMPARE(store.category(Amount::fromUnits(7)).code, QString());
}

void TestOptionsStore::companyDataRoundTrip()
{
    TestEnv env;
    CompanyStore store(env.db(), env.home());
    // Nothing written yet: the sender line reads "0" as always, the seller data are empty.
    QCOMPARE(store.load().name, "0");
    QCOMPARE(ReadSellerData(env.db(), env.home()), SellerData());

    CompanyData d;
    d.name = "Bäcker O'Hara & Söhne";
    d.street = "Große Straße 1";
    d.postcode = "79098";
    d.town = "Freiburg im Breisgau";
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            d.footer[r][std::size_t(c)] = QString("%1%2 d'Zeile ä").arg(QChar('A' + c)).arg(r + 1);
    d.seller = {d.name, d.street, d.postcode, d.town, "DE123456788", "06/123/45678", "Amtsgericht Freiburg HRB 1'2",
                "DE02 1203 0000 0000 2020 51", "BYLADEM1001", "Bank 'Süd'", "Jörg O'Neil", "info@example.de",
                "0761 123"};
    store.save(d);

    QCOMPARE(store.load(), d);
    QCOMPARE(ReadSellerData(env.db(), env.home()), d.seller);
    // New projects take this sender line; every printout takes these footer lines.
    QCOMPARE(ReadOwnCompany(env.home()).line, "Bäcker O'Hara & Söhne - Große Straße 1 - 79098 Freiburg im Breisgau");
    const QList<FooterRow> printed = ReadFooter(env.db());
    QCOMPARE(printed.size(), 5);
    QCOMPARE(printed[0], (FooterRow{"A1 d'Zeile ä", "B1 d'Zeile ä", "C1 d'Zeile ä", "D1 d'Zeile ä"}));
    QCOMPARE(printed[4][3], "D5 d'Zeile ä");
    QFile file(EFirmaPath(env.home()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains("[EFirmaName]\r\nString=Bäcker O'Hara & Söhne\r\n"));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM foot"), "5");
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firmendaten"), "1");
}

void TestOptionsStore::lostRowsAreWrittenAnew()
{
    TestEnv env;
    env.exec("DELETE FROM foot WHERE X='c'");
    env.exec("DELETE FROM firmendaten");
    env.exec("DELETE FROM ztext WHERE Art='R' AND X='b'");
    env.exec("DELETE FROM mahnungenstext WHERE MS='2' AND RV=7");
    CompanyData d;
    d.footer[2] = {"c1", "c2", "c3", "c4"};
    d.seller.iban = "DE02120300000000202051";
    CompanyStore(env.db(), env.home()).save(d);
    QCOMPARE(env.column("SELECT X || A || D FROM foot WHERE Firma=1 ORDER BY X").value(2), "cc1c4");
    QCOMPARE(ReadSellerData(env.db(), env.home()).iban, "DE02120300000000202051");

    TextTemplateStore texts(env.db());
    texts.saveAdditionalTexts("R", {{"eins", ""}, {"zwei", "fsItalic"}, {"drei", ""}, {"vier", ""}});
    QCOMPARE(texts.additionalTexts("R").value(1), (TextLine{"zwei", "fsItalic"}));
    QStringList letter;
    for (int i = 0; i < 25; ++i)
        letter << QString("Zeile %1").arg(i);
    texts.saveDunningTemplate(2, letter);
    // Read in ID order, as the dunning window reads it, the lines stand in their order.
    QCOMPARE(DunningStore(env.db(), env.dialogs(), env.state().dmCommon, "€").templateRows(2), letter);
    QCOMPARE(env.column("SELECT RV FROM mahnungenstext WHERE MS='2' ORDER BY ID").join(','),
             "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24");
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM mahnungenstext"), "75");
}

namespace {

int dmy(void *, int na, const void *a, int nb, const void *b)
{
    return CompareDmy(QByteArray::fromRawData(static_cast<const char *>(a), na),
                      QByteArray::fromRawData(static_cast<const char *>(b), nb));
}

// Every table of the data set with its row count (the substring indexes of the
// searches and their own tables aside).
QStringList rowCounts(TestEnv &env)
{
    QStringList out;
    for (const QString &table : env.column("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                                           "'sqlite%' AND name NOT LIKE 'suche%' ORDER BY name"))
        out << table + '=' + env.scalar("SELECT COUNT(*) FROM " + table);
    return out;
}

} // namespace

void TestOptionsStore::upgradeFromVersion2()
{
    TestEnv env(false);
    QFile fixture(QStringLiteral(ORVELLA_FIXTURES "/orvella-v2.sql"));
    QVERIFY(fixture.open(QIODevice::ReadOnly));
    const QByteArray dump = fixture.readAll();
    const QByteArray path = QFile::encodeName(env.dataDir() + "/orvella.db");
    sqlite3 *h = nullptr;
    QCOMPARE(sqlite3_open(path.constData(), &h), SQLITE_OK);
    QCOMPARE(sqlite3_create_collation(h, "DMY", SQLITE_UTF8, nullptr, dmy), SQLITE_OK);
    QCOMPARE(sqlite3_exec(h, dump.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QByteArray mark = QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=2;")
                                .arg(Schema::ApplicationId).toUtf8();
    QCOMPARE(sqlite3_exec(h, mark.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(h);

    env.db().open(env.dataDir());
    QCOMPARE(env.db().schemaVersion(), Schema::Version);
    // Every table and row of version 2 is still there; the seller data came along, empty.
    QStringList after = rowCounts(env);
    QVERIFY(after.removeOne("firmendaten=1"));
    for (const char *history : {"belegverlauf", "belegverlaufartikel", "belegverlaufanschrift", "belegverlaufztext",
                                "anmeldeversuche", "bankbuchungen", "eingangsrechnungen", "datev"})
        QVERIFY(after.removeOne(QLatin1String(history) + "=0"));
    QCOMPARE(after.size(), int(dump.count("\nCREATE TABLE ")));
    QVERIFY2(after.contains("firma=7") && after.contains("projekt=3") && after.contains("mahnungenstext=75"),
             qPrintable(after.join(' ')));
    for (const QString &row : after) {
        const QString table = row.section('=', 0, 0);
        const int inserts = int(dump.count(QStringLiteral("INSERT INTO %1 VALUES").arg(table).toUtf8()));
        QCOMPARE(row, table + '=' + QString::number(inserts));
    }
    QCOMPARE(env.column("PRAGMA table_info(firmendaten)").size(), 11);
    // The invoices stored before count as issued and keep the gross they were issued with.
    QCOMPARE(env.column("SELECT Ausgestellt || '/' || COALESCE(BruttoRegel, '-') FROM rechnungen"),
             QStringList(4, Schema::IssuedBeforeUpgrade + "/-"));
    // the later steps ran as well: the companies are in their substring index
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM suche_firma"), "7");
    SellerData seller = ReadSellerData(env.db(), env.home());
    QCOMPARE(seller.vatId, QString());
    seller.vatId = "DE123456788";
    WriteSellerDetails(env.db(), seller);
    QCOMPARE(ReadSellerData(env.db(), env.home()).vatId, "DE123456788");
}

QTEST_GUILESS_MAIN(TestOptionsStore)
#include "tst_optionsstore.moc"
