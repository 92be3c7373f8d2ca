#include "Amount.h"
#include "Errors.h"
#include "Formats.h"
#include "SqlLiterals.h"

#include <QtTest>

class TestAmount : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textToAmount_data();
    void textToAmount();
    void notAnAmount_data();
    void notAnAmount();
    void amountToText_data();
    void amountToText();
    void products_data();
    void products();
    void userInput_data();
    void userInput();
    void moneyText_data();
    void moneyText();
    void displayTexts();
};

void TestAmount::textToAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("comma") << "1234,5" << qint64(12345000);
    QTest::newRow("thousands") << "1.234,50" << qint64(12345000);
    QTest::newRow("millions") << "1.234.567,89" << qint64(12345678900);
    QTest::newRow("blanks around") << "  12,34 " << qint64(123400);
    QTest::newRow("negative") << "-12,34" << qint64(-123400);
    QTest::newRow("four decimals") << "0,3350" << qint64(3350);
    QTest::newRow("fifth decimal halfway even down") << "1,00005" << qint64(10000);
    QTest::newRow("fifth decimal halfway even up") << "1,00015" << qint64(10002);
    QTest::newRow("whole") << "7" << qint64(70000);
    QTest::newRow("leading comma") << ",5" << qint64(5000);
    QTest::newRow("dots are thousands points") << "1.5" << qint64(150000);
}

void TestAmount::textToAmount()
{
    QFETCH(QString, text);
    QFETCH(qint64, raw);
    QCOMPARE(Amount::fromText(text).raw(), raw);
}

void TestAmount::notAnAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "abc";
    QTest::newRow("two commas") << "1,2,3";
    QTest::newRow("blank inside") << "1 234,5";
    QTest::newRow("trailing text") << "12 €";
    QTest::newRow("only sign") << "-";
    QTest::newRow("too large") << "123456789012345678";
}

void TestAmount::notAnAmount()
{
    QFETCH(QString, text);
    try {
        Amount::fromText(text);
        QFAIL("no conversion error");
    } catch (const ConversionError &e) {
        QVERIFY2(e.message().contains(QLatin1Char('\'') + text + QLatin1Char('\'')), qPrintable(e.message()));
    }
}

void TestAmount::amountToText_data()
{
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sql");
    QTest::newRow("grouping") << qint64(12345000) << "1.234,50" << "1234.5";
    QTest::newRow("negative") << qint64(-123400) << "-12,34" << "-12.34";
    QTest::newRow("halfway down to even") << qint64(10050) << "1,00" << "1.005";
    QTest::newRow("halfway up to even") << qint64(10150) << "1,02" << "1.015";
    QTest::newRow("above halfway") << qint64(10051) << "1,01" << "1.0051";
    QTest::newRow("negative halfway") << qint64(-10050) << "-1,00" << "-1.005";
    QTest::newRow("tiny negative is zero") << qint64(-40) << "0,00" << "-0.004";
    QTest::newRow("million") << qint64(10000000000) << "1.000.000,00" << "1000000";
    QTest::newRow("zero") << qint64(0) << "0,00" << "0";
}

void TestAmount::amountToText()
{
    QFETCH(qint64, raw);
    QFETCH(QString, text);
    QFETCH(QString, sql);
    QCOMPARE(Amount::fromRaw(raw).toText(), text);
    QCOMPARE(Amount::fromRaw(raw).toSqlText(), sql);
    // the SQL form reads back to the same amount once its point becomes a comma
    QCOMPARE(Amount::fromText(QString(sql).replace('.', ',')).raw(), raw);
}

void TestAmount::products_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("product");
    QTest::newRow("quantity times price") << "1,5" << "1.234,50" << "1851,75";
    QTest::newRow("halfway line") << "3" << "0,335" << "1,005";
    QTest::newRow("fifth decimal halfway to even") << "0,0001" << "0,5" << "0";
    QTest::newRow("fifth decimal halfway odd up") << "0,0003" << "0,5" << "0,0002";
    QTest::newRow("negative") << "-2" << "0,125" << "-0,25";
}

void TestAmount::products()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, product);
    QCOMPARE((Amount::fromText(a) * Amount::fromText(b)).raw(), Amount::fromText(product).raw());
    // VAT of 16 % of 1,0050 is 0,1608 (taken from the unrounded amount)
    QCOMPARE(Amount::mulDiv(Amount::fromText("1,005"), Amount::fromText("16"), 100).raw(), qint64(1608));
    QCOMPARE((Amount::fromText("10") / Amount::fromText("3")).raw(), qint64(33333));
    QVERIFY_THROWS_EXCEPTION(ConversionError, Amount::fromText("1") / Amount());
}

void TestAmount::userInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("grouped") << "1.234,50" << true << qint64(12345000);
    QTest::newRow("plain") << "1234,5" << true << qint64(12345000);
    QTest::newRow("three decimals") << "0,335" << true << qint64(3350);
    QTest::newRow("negative") << "-12" << true << qint64(-120000);
    QTest::newRow("blanks") << " 5 " << true << qint64(50000);
    QTest::newRow("dot as decimal point") << "1.5" << false << qint64(0);
    QTest::newRow("dot after comma") << "1,5.0" << false << qint64(0);
    QTest::newRow("bad group") << "12.34,5" << false << qint64(0);
    QTest::newRow("five decimals") << "1,23456" << false << qint64(0);
    QTest::newRow("text") << "zehn" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("two commas") << "1,2,3" << false << qint64(0);
}

void TestAmount::userInput()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, raw);
    const auto a = Amount::parseInput(text);
    QCOMPARE(a.has_value(), ok);
    if (ok)
        QCOMPARE(a->raw(), raw);
}

void TestAmount::moneyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << "" << "0,00 €";
    QTest::newRow("grouping") << "1234,5" << "1.234,50 €";
    QTest::newRow("halfway down") << "1,005" << "1,00 €";
    QTest::newRow("halfway up") << "1,015" << "1,02 €";
    QTest::newRow("negative") << "-1234,56" << "-1.234,56 €";
}

void TestAmount::moneyText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(MoneyText(text), shown);
}

void TestAmount::displayTexts()
{
    QCOMPARE(Amount::fromDisplay("1.234,50 €").raw(), qint64(12345000));
    QCOMPARE(Amount::fromDisplay("  7,00 %").raw(), qint64(70000));
    QCOMPARE(Amount::fromDisplay("296,28 CHF", "CHF").raw(), qint64(2962800));
    QCOMPARE(SqlDecimal("1.851,75 €"), QStringLiteral("1851.75"));
    QCOMPARE(SqlDecimal("16,00 %"), QStringLiteral("16"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, SqlDecimal("zwölf €"));
}

QTEST_GUILESS_MAIN(TestAmount)
#include "tst_amount.moc"
