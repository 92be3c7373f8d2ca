#include "ContactFixtures.h"
#include "Errors.h"
#include "ExtendedData.h"
#include "ExtendedDataStore.h"
#include "ExtendedFixtures.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace ExtendedRules;
using namespace Fixtures;

namespace {

enum class Field { PaymentDays, CashDiscountDays, CashDiscount, Discount, Maximum };

ExtendedData withField(Field f, const QString &text)
{
    ExtendedData d;
    switch (f) {
    case Field::PaymentDays: d.zahlungsziel = text; break;
    case Field::CashDiscountDays: d.skontoTage = text; break;
    case Field::CashDiscount: d.skonto = text; break;
    case Field::Discount: d.rabatt = text; break;
    case Field::Maximum: d.hoechstwert = text; break;
    }
    return d;
}

QString sqlOf(Field f, const QString &text)
{
    switch (f) {
    case Field::PaymentDays:
    case Field::CashDiscountDays:
        return sqlDays(text);
    case Field::CashDiscount:
    case Field::Discount:
        return sqlPercent(text);
    case Field::Maximum:
        return sqlAmount(text);
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Field)
Q_DECLARE_METATYPE(ExtendedRules::IbanState)

class TestExtendedData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typedNumbers_data();
    void typedNumbers();
    void iban_data();
    void iban();
    void storedValuesForDisplay_data();
    void storedValuesForDisplay();
    void rateEntries_data();
    void rateEntries();
    void pictureSize_data();
    void pictureSize();
    void rowColours_data();
    void rowColours();

    void firstSaveInsertsSecondUpdates_data();
    void firstSaveInsertsSecondUpdates();
    void everyFieldRoundTrips();
    void refusedNumberStoresNothing();
    void pictureThatCannotBeWrittenLeavesTheRow();
    void paymentHistoryFromOpenItems();
};

// --- rules --------------------------------------------------------------------------

void TestExtendedData::typedNumbers_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sql");      // the statement's value; empty when refused
    QTest::addColumn<QString>("message");  // part of the message when refused

    QTest::newRow("amount with thousands point") << Field::Maximum << "1.500,50" << "1500.5" << "";
    QTest::newRow("amount without thousands point") << Field::Maximum << "1500,5" << "1500.5" << "";
    QTest::newRow("amount in millions") << Field::Maximum << "1.234.567,89" << "1234567.89" << "";
    QTest::newRow("whole amount") << Field::Maximum << "250" << "250" << "";
    QTest::newRow("empty amount") << Field::Maximum << "" << "NULL" << "";
    QTest::newRow("amount with dot as decimal point") << Field::Maximum << "1.5" << "" << "Komma";
    QTest::newRow("negative amount") << Field::Maximum << "-20,00" << "" << "nicht negativ";
    QTest::newRow("amount as text") << Field::Maximum << "viel" << "" << "kein gültiger Betrag";
    QTest::newRow("amount with three decimals") << Field::Maximum << "12,345" << "" << "zwei Nachkommastellen";
    QTest::newRow("amount with misplaced point") << Field::Maximum << "15.00,00" << "" << "kein gültiger Betrag";

    QTest::newRow("percentage") << Field::CashDiscount << "2,5" << "2.5" << "";
    QTest::newRow("percentage with four decimals") << Field::Discount << "0,335" << "0.335" << "";
    QTest::newRow("hundred percent") << Field::Discount << "100" << "100" << "";
    QTest::newRow("percentage with dot") << Field::CashDiscount << "2.5" << "" << "Komma";
    QTest::newRow("negative percentage") << Field::Discount << "-3" << "" << "nicht negativ";
    QTest::newRow("percentage above 100") << Field::Discount << "100,01" << "" << "zwischen 0 und 100";
    QTest::newRow("percentage with thousands point") << Field::Discount << "1.000" << "" << "zwischen 0 und 100";
    QTest::newRow("percentage as text") << Field::CashDiscount << "zwei" << "" << "kein gültiger Prozentsatz";

    QTest::newRow("days") << Field::PaymentDays << "30" << "30" << "";
    QTest::newRow("days with leading zero") << Field::CashDiscountDays << "014" << "14" << "";
    QTest::newRow("days with letter") << Field::PaymentDays << "3a" << "" << "Ziffern";
    QTest::newRow("negative days") << Field::CashDiscountDays << "-5" << "" << "Ziffern";
    QTest::newRow("days with comma") << Field::PaymentDays << "7,5" << "" << "Ziffern";
    QTest::newRow("six digits of days") << Field::PaymentDays << "123456" << "" << "fünf Ziffern";
}

void TestExtendedData::typedNumbers()
{
    QFETCH(Field, field);
    QFETCH(QString, typed);
    QFETCH(QString, sql);
    QFETCH(QString, message);
    const std::optional<QString> error = inputError(withField(field, typed));
    if (message.isEmpty()) {
        QCOMPARE(error, std::nullopt);
        QCOMPARE(sqlOf(field, typed), sql);
    } else {
        QVERIFY(error);
        QVERIFY2(error->contains(message), qPrintable(*error));
        QVERIFY(error->endsWith(QStringLiteral("Keine Speicherung.")));
        // the statement builder refuses the same text on its own
        QVERIFY_THROWS_EXCEPTION(ConversionError, sqlOf(field, typed));
    }
}

void TestExtendedData::iban_data()
{
    QTest::addColumn<QString>("iban");
    QTest::addColumn<IbanState>("state");
    QTest::newRow("German, in groups") << "DE89 3704 0044 0532 0130 00" << IbanState::Valid;
    QTest::newRow("German, small letters, no blanks") << "de89370400440532013000" << IbanState::Valid;
    QTest::newRow("British with letters") << "GB82 WEST 1234 5698 7654 32" << IbanState::Valid;
    QTest::newRow("Austrian") << "AT61 1904 3002 3457 3201" << IbanState::Valid;
    QTest::newRow("check digits wrong") << "DE88 3704 0044 0532 0130 00" << IbanState::BadChecksum;
    QTest::newRow("two digits swapped") << "DE89 3704 0044 0523 0130 00" << IbanState::BadChecksum;
    QTest::newRow("last letter wrong") << "GB82 WEST 1234 5698 7654 33" << IbanState::BadChecksum;
    QTest::newRow("account number only") << "0532013000" << IbanState::BadForm;
    QTest::newRow("hyphens") << "DE89-3704-0044-0532-0130-00" << IbanState::BadForm;
    QTest::newRow("too short") << "DE89 3704" << IbanState::BadForm;
    QTest::newRow("empty") << "" << IbanState::Empty;
    QTest::newRow("blanks") << "   " << IbanState::Empty;
}

void TestExtendedData::iban()
{
    QFETCH(QString, iban);
    QFETCH(IbanState, state);
    QCOMPARE(checkIban(iban), state);
    const QString problem = ibanProblem(iban);
    if (state == IbanState::Valid || state == IbanState::Empty) {
        QCOMPARE(problem, QString());
    } else {
        QVERIFY(problem.startsWith(QStringLiteral("Die IBAN \"") + iban.trimmed() + QStringLiteral("\" ist ungültig")));
        QCOMPARE(problem.contains(QStringLiteral("Prüfziffern stimmen nicht")), state == IbanState::BadChecksum);
    }
}

void TestExtendedData::storedValuesForDisplay_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("lieferbesch");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("maximum amount") << "Hoechstwert" << "2" << "1500,5" << "1.500,50";
    QTest::newRow("maximum amount empty") << "Hoechstwert" << "2" << "" << "";
    QTest::newRow("maximum amount unreadable") << "Hoechstwert" << "2" << "abc" << "";
    QTest::newRow("maximum amount without condition") << "Hoechstwert" << "" << "1500,5" << "";
    QTest::newRow("payment days") << "Zahlungsziel" << "" << "30" << "30";
    QTest::newRow("payment days unreadable") << "Zahlungsziel" << "" << "dreißig" << "";
    QTest::newRow("cash-discount days as decimal") << "SkontoTage" << "" << "7,5" << "";
    QTest::newRow("cash discount") << "Skonto" << "" << "2,5" << "2,5";
    QTest::newRow("discount, four decimals") << "Rabatt" << "" << "0,335" << "0,335";
    QTest::newRow("discount unreadable") << "Rabatt" << "" << "x" << "";
    QTest::newRow("VAT rate") << "MwSt" << "" << "16" << "16,00";
    QTest::newRow("VAT rate with decimals") << "MwSt" << "" << "7,5" << "7,50";
    QTest::newRow("VAT rate unreadable") << "MwSt" << "" << "voll" << "";
}

void TestExtendedData::storedValuesForDisplay()
{
    QFETCH(QString, column);
    QFETCH(QString, lieferbesch);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    ExtendedData d;
    d.lieferbesch = lieferbesch;
    d.skontoText = QStringLiteral("bleibt");
    QString ExtendedData::*member = nullptr;
    if (column == QLatin1String("Hoechstwert")) member = &ExtendedData::hoechstwert;
    if (column == QLatin1String("Zahlungsziel")) member = &ExtendedData::zahlungsziel;
    if (column == QLatin1String("SkontoTage")) member = &ExtendedData::skontoTage;
    if (column == QLatin1String("Skonto")) member = &ExtendedData::skonto;
    if (column == QLatin1String("Rabatt")) member = &ExtendedData::rabatt;
    if (column == QLatin1String("MwSt")) member = &ExtendedData::mwSt;
    QVERIFY(member);
    d.*member = stored;
    const ExtendedData out = forDisplay(d);
    QCOMPARE(out.*member, shown);
    QCOMPARE(out.skontoText, QStringLiteral("bleibt"));
    QCOMPARE(out.lieferbesch, lieferbesch);
}

void TestExtendedData::rateEntries_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("entry");
    QTest::newRow("7") << "7" << "  7,00 %";
    QTest::newRow("9,99") << "9,99" << "  9,99 %";
    QTest::newRow("10") << "10" << "10,00 %";
    QTest::newRow("16") << "16" << "16,00 %";
    QTest::newRow("0") << "0" << "  0,00 %";
}

void TestExtendedData::rateEntries()
{
    QFETCH(QString, rate);
    QFETCH(QString, entry);
    QCOMPARE(rateEntry(Amount::fromText(rate)), entry);
    // and back into the statement
    QCOMPARE(sqlRate(entry), Amount::fromText(rate).toSqlText());
}

void TestExtendedData::pictureSize_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("drawn");
    QTest::newRow("wide: scaled to the width") << QSize(1000, 200) << QSize(350, 71);
    QTest::newRow("tall: scaled to the height") << QSize(200, 400) << QSize(72, 144);
    QTest::newRow("exactly the area") << QSize(350, 144) << QSize(350, 144);
    QTest::newRow("small: enlarged to the height") << QSize(100, 50) << QSize(289, 144);
    QTest::newRow("square") << QSize(720, 720) << QSize(144, 144);
    QTest::newRow("empty") << QSize(0, 0) << QSize();
}

void TestExtendedData::pictureSize()
{
    QFETCH(QSize, source);
    QFETCH(QSize, drawn);
    QCOMPARE(pictureTargetSize(source), drawn);
}

void TestExtendedData::rowColours_data()
{
    QTest::addColumn<QString>("stage");
    QTest::addColumn<QString>("gebucht");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QString>("due");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    const QColor orange(226, 143, 0), green(0, 188, 0), lightGreen(192, 220, 192);
    const QColor black(Qt::black), white(Qt::white), red(Qt::red);
    // today is 15.06.2024
    QTest::newRow("open, not yet due") << "0" << "N" << "100" << "20.06.2024" << orange << lightGreen;
    QTest::newRow("open, due today") << "0" << "N" << "100" << "15.06.2024" << orange << white;
    QTest::newRow("open, overdue") << "1" << "N" << "100,5" << "01.01.2024" << orange << white;
    QTest::newRow("settled") << "2" << "J" << "0" << "01.01.2024" << green << white;
    QTest::newRow("settled, empty remainder") << "0" << "J" << "" << "20.06.2024" << green << white;
    QTest::newRow("open without remainder, overdue") << "1" << "N" << "0" << "10.06.2024" << red << white;
    QTest::newRow("open without remainder, not due") << "0" << "N" << "0" << "20.06.2024" << black << white;
    QTest::newRow("settled but amount left") << "0" << "J" << "50" << "10.06.2024" << black << white;
    QTest::newRow("no dunning stage") << "" << "N" << "100" << "10.06.2024" << black << white;
    QTest::newRow("unreadable due date") << "0" << "N" << "0" << "bald" << black << white;
}

void TestExtendedData::rowColours()
{
    QFETCH(QString, stage);
    QFETCH(QString, gebucht);
    QFETCH(QString, rest);
    QFETCH(QString, due);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    PaymentRow row;
    row.mStufe = stage;
    row.gebucht = gebucht;
    row.rBetrag = rest;
    row.eDatum = due;
    const RowLook look = paymentRowLook(row, QDate(2024, 6, 15));
    QCOMPARE(look.text, text);
    QCOMPARE(look.background, background);
}

// --- store ----------------------------------------------------------------------------

void TestExtendedData::firstSaveInsertsSecondUpdates_data()
{
    QTest::addColumn<bool>("company");
    QTest::newRow("company") << true;
    QTest::newRow("person") << false;
}

void TestExtendedData::firstSaveInsertsSecondUpdates()
{
    QFETCH(bool, company);
    TestEnv env;
    ExtendedDataStore store(env.state());
    const QString table = company ? QStringLiteral("firmamehr") : QStringLiteral("namemehr");
    const QString other = company ? QStringLiteral("namemehr") : QStringLiteral("firmamehr");
    const QString key = company ? QStringLiteral("IDF") : QStringLiteral("IDN");
    QCOMPARE(store.load(company, 7), std::nullopt);

    ExtendedData d = typedTerms();
    QVERIFY(store.save(company, 7, d));
    QCOMPARE(env.column(QStringLiteral("SELECT %1 FROM %2").arg(key, table)), QStringList{"7"});
    d.zahlungsziel = QStringLiteral("45");
    QVERIFY(!store.save(company, 7, d));
    QCOMPARE(env.column(QStringLiteral("SELECT %1 || '/' || Zahlungsziel FROM %2").arg(key, table)),
             QStringList{"7/45"});
    QCOMPARE(env.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(other)), QStringLiteral("0"));
    // another contact gets a row of its own
    QVERIFY(store.save(company, 8, typedTerms()));
    QCOMPARE(env.column(QStringLiteral("SELECT %1 || '/' || Zahlungsziel FROM %2 ORDER BY %1").arg(key, table)),
             (QStringList{"7/45", "8/30"}));
}

void TestExtendedData::everyFieldRoundTrips()
{
    TestEnv env;
    ExtendedDataStore store(env.state());
    ExtendedData typed = typedTerms();
    typed.image = PictureMarker;
    store.save(true, 3, typed);
    const std::optional<ExtendedData> stored = store.load(true, 3);
    QVERIFY(stored);
    // numbers as the table reads them back, texts unchanged (the apostrophe included)
    ExtendedData expected = typed;
    expected.skonto = QStringLiteral("2,5");
    expected.rabatt = QStringLiteral("0,335");
    expected.mwSt = QStringLiteral("19");
    expected.hoechstwert = QStringLiteral("1500,5");
    QCOMPARE(*stored, expected);
    // stored as numbers, not as the typed texts (the server's columns take nothing else)
    if (!TestsOnServer())
        QCOMPARE(env.scalar("SELECT typeof(Hoechstwert) || typeof(Skonto) || typeof(Zahlungsziel) FROM firmamehr"),
                 QStringLiteral("realrealinteger"));
    // and in the window's forms again
    const ExtendedData shown = forDisplay(*stored);
    QCOMPARE(shown.hoechstwert, QStringLiteral("1.500,50"));
    QCOMPARE(shown.mwSt, QStringLiteral("19,00"));
    QCOMPARE(shown.skonto, typed.skonto);
    QCOMPARE(shown.rabatt, typed.rabatt);

    // emptied numbers are stored as absent values, not as zero
    ExtendedData empty;
    store.save(true, 3, empty);
    const ExtendedData back = *store.load(true, 3);
    QCOMPARE(back.zahlungsziel, QString());
    QCOMPARE(back.hoechstwert, QString());
    QCOMPARE(back.mwSt, QString());
    QCOMPARE(back.lieferbesch, QStringLiteral("1")); // no condition chosen counts as unrestricted
}

void TestExtendedData::refusedNumberStoresNothing()
{
    TestEnv env;
    ExtendedDataStore store(env.state());
    ExtendedData d = typedTerms();
    d.hoechstwert = QStringLiteral("1.5");
    QVERIFY_THROWS_EXCEPTION(ConversionError, store.save(false, 4, d));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM namemehr"), QStringLiteral("0"));
    store.save(false, 4, typedTerms());
    d = typedTerms();
    d.skonto = QStringLiteral("-2");
    d.uid = QStringLiteral("geändert");
    QVERIFY_THROWS_EXCEPTION(ConversionError, store.save(false, 4, d));
    QCOMPARE(env.scalar("SELECT UID FROM namemehr"), QStringLiteral("DE123456789"));
}

void TestExtendedData::pictureThatCannotBeWrittenLeavesTheRow()
{
    TestEnv env;
    ExtendedDataStore store(env.state());
    // a file where the picture folder should be
    QFile blocker(env.dataDir() + QStringLiteral("/Images"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QImage picture(350, 144, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ExtendedData d = typedTerms();
    d.image = PictureMarker;
    QVERIFY_THROWS_EXCEPTION(OrvellaError, store.save(true, 5, d, &picture));
    QCOMPARE(env.scalar("SELECT COUNT(*) FROM firmamehr"), QStringLiteral("0"));

    QVERIFY(blocker.remove());
    QVERIFY(store.save(true, 5, d, &picture));
    QCOMPARE(store.picturePath(5), env.dataDir() + QStringLiteral("/Images/5.BMP"));
    const QImage written(store.picturePath(5));
    QCOMPARE(written.size(), QSize(350, 144));
    QCOMPARE(written.pixelColor(100, 100), QColor(Qt::red));
    QVERIFY(store.deletePicture(5));
    QVERIFY(!QFile::exists(store.picturePath(5)));
    QVERIFY(store.deletePicture(5)); // nothing left to delete is no failure
}

void TestExtendedData::paymentHistoryFromOpenItems()
{
    TestEnv env;
    prepareOpenItems(env);
    ExtendedDataStore store(env.state());
    const QList<PaymentRow> rows = store.paymentHistory(1);
    QStringList seen;
    for (const PaymentRow &r : rows)
        seen << QStringList{r.mStufe, r.datum, r.zZiel, r.eDatum, r.betrag, r.gebucht, r.rBetrag}.join(QLatin1Char('|'));
    // earliest due date first, by calendar and not by text
    QCOMPARE(seen, (QStringList{"2|15.11.2023|30|15.12.2023|2380,5|N|380,5",
                                "0|01.01.2024|30|31.01.2024|1190|J|0",
                                "0|01.02.2024|14|15.02.2024|595|N|595"}));
    QCOMPARE(store.paymentHistory(2).size(), 1);
    QCOMPARE(store.paymentHistory(3).size(), 0);
}

QTEST_MAIN(TestExtendedData)
#include "tst_extendeddata.moc"
