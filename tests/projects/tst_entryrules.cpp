#include "ArticleEntryRules.h"
#include "DialogButtons.h"
#include "DialogParts.h"
#include "EntryFields.h"

#include <QtTest>

// The key rules of the number fields, the checks of typed prices, quantities and
// VAT rates, and which dialog commands each document page offers.
class TestEntryRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keys_data();
    void keys();
    void leaving_data();
    void leaving();
    void typingIntoTheField();
    void checks_data();
    void checks();
    void dialogButtons_data();
    void dialogButtons();
};

namespace {
enum Field { Price, Quantity, Percent, Stock, Plain };

NumberRules rulesOf(int field)
{
    switch (field) {
    case Price: return ArticleEntryRules::PriceRules;
    case Quantity: return ArticleEntryRules::QuantityRules;
    case Percent: return DialogParts::PercentRules;
    case Stock: return NumberRules{false, false, 0, true};
    default: return NumberRules{};
    }
}
} // namespace

void TestEntryRules::keys_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret"); // -1: at the end
    QTest::addColumn<bool>("selection");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << int(Price) << "12" << -1 << false << "3" << true;
    QTest::newRow("letter") << int(Price) << "12" << -1 << false << "a" << false;
    QTest::newRow("minus") << int(Quantity) << "" << -1 << false << "-" << false;
    QTest::newRow("first comma") << int(Price) << "12" << -1 << false << "," << true;
    QTest::newRow("second comma") << int(Price) << "1,2" << -1 << false << "," << false;
    QTest::newRow("comma behind the first 19 characters is not seen")
        << int(Plain) << "1234567890123456789,5" << -1 << false << "," << true;
    QTest::newRow("no comma in a whole number") << int(Stock) << "" << -1 << false << "," << false;
    QTest::newRow("thousands point in a price") << int(Price) << "1" << -1 << false << "." << true;
    QTest::newRow("thousands point in a quantity") << int(Quantity) << "1" << -1 << false << "." << true;
    QTest::newRow("no point in a percentage") << int(Percent) << "1" << -1 << false << "." << false;
    QTest::newRow("third decimal of a price at the end") << int(Price) << "1.234,50" << -1 << false << "1" << false;
    QTest::newRow("third decimal, caret just before the end") << int(Price) << "1,50" << 3 << false << "1" << false;
    QTest::newRow("digit in front of the comma") << int(Price) << "1,50" << 0 << false << "2" << true;
    QTest::newRow("third decimal over a selection") << int(Price) << "1,50" << -1 << true << "1" << true;
    QTest::newRow("third decimal of a quantity") << int(Quantity) << "0,33" << -1 << false << "5" << true;
    QTest::newRow("sixth character of a quantity") << int(Quantity) << "0,335" << -1 << false << "1" << false;
    QTest::newRow("points do not count towards the length") << int(Quantity) << "1.000" << -1 << false << "0" << true;
    QTest::newRow("sixth character of a percentage") << int(Percent) << "10,00" << 0 << false << "1" << false;
    QTest::newRow("fourteen price characters") << int(Price) << "12345678901234" << -1 << false << "5" << false;
    QTest::newRow("stock: digits") << int(Stock) << "12" << -1 << false << "7" << true;
}

void TestEntryRules::keys()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(bool, selection);
    QFETCH(QString, key);
    QFETCH(bool, accepted);
    QCOMPARE(rulesOf(field).accepts(text, caret < 0 ? int(text.size()) : caret, selection, key.at(0)), accepted);
}

void TestEntryRules::leaving_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rebuilt");
    QTest::newRow("pasted commas") << int(Percent) << "1,2,3" << "1,23";
    QTest::newRow("percentage cut at five") << int(Percent) << "12,345" << "12,34";
    QTest::newRow("price keeps its cents") << int(Price) << "1.234,50" << "1.234,50";
    QTest::newRow("quantity of five") << int(Quantity) << "0,335" << "0,335";
    QTest::newRow("quantity: points not counted") << int(Quantity) << "10.000,5" << "10.000";
    QTest::newRow("unchanged") << int(Stock) << "42" << "42";
}

void TestEntryRules::leaving()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, rebuilt);
    QCOMPARE(rulesOf(field).rebuilt(text), rebuilt);
}

void TestEntryRules::typingIntoTheField()
{
    NumberEdit price(ArticleEntryRules::PriceRules);
    QTest::keyClicks(&price, "1.2a34,5x0,7");
    QCOMPARE(price.text(), QStringLiteral("1.234,50"));
    QTest::keyClick(&price, Qt::Key_Backspace);
    QTest::keyClicks(&price, "9");
    QCOMPARE(price.text(), QStringLiteral("1.234,59"));
    price.setText(QStringLiteral("12,3,4"));
    price.rebuild();
    QCOMPARE(price.text(), QStringLiteral("12,34"));
}

void TestEntryRules::checks_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("refusedText"); // empty when accepted
    QTest::addColumn<QString>("storedVat");
    QTest::newRow("German forms") << "1,5" << "1.234,50" << "19,00 %" << "" << "19,00 %";
    QTest::newRow("plain price") << "0,335" << "1234,5" << "  7,00 %" << "" << "  7,00 %";
    QTest::newRow("typed rate brought into form") << "3" << "10" << "16" << "" << "16,00 %";
    QTest::newRow("no VAT") << "3" << "10" << "" << "" << "";
    QTest::newRow("decimal point in the price") << "1" << "1.5" << "" << "'1.5' ist kein gültiger Preis" << "";
    QTest::newRow("three price decimals") << "1" << "0,335" << "" << "'0,335' ist kein gültiger Preis" << "";
    QTest::newRow("bad grouping") << "1" << "12.34,5" << "" << "'12.34,5' ist kein gültiger Preis" << "";
    QTest::newRow("quantity with a point") << "1.5" << "1" << "" << "'1.5' ist keine gültige Anzahl" << "";
    QTest::newRow("rate that is a word") << "1" << "1" << "voll" << "'voll' ist kein gültiger MwSt-Satz" << "";
}

void TestEntryRules::checks()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, vat);
    QFETCH(QString, refusedText);
    QFETCH(QString, storedVat);
    ArticleLine line{"A1", "Schrank", quantity, price, vat, {}};
    const QString refusal = ArticleEntryRules::checkLine(line);
    if (refusedText.isEmpty()) {
        QCOMPARE(refusal, QString());
        QCOMPARE(line.vat, storedVat);
    } else {
        QVERIFY2(refusal.startsWith(refusedText), qPrintable(refusal));
    }
}

void TestEntryRules::dialogButtons_data()
{
    // Per command: "b" button, "m" menu entry, "e" enabled, "-" not offered.
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("mayWrite");
    QTest::addColumn<QStringList>("expected"); // articles, Rabatt, Skonto, Zusatztext
    const int A = DocumentKind::Angebot, U = DocumentKind::Auftrag, L = DocumentKind::Lieferschein,
              R = DocumentKind::Rechnung, G = DocumentKind::Gutschrift, B = DocumentKind::Ablage,
              M = DocumentKind::Mahnung;
    QTest::newRow("Angebot editing") << A << true << true << QStringList{"bme", "bme", "-", "bme"};
    QTest::newRow("Angebot read-only") << A << false << true << QStringList{"bm", "bm", "-", "bm"};
    QTest::newRow("Auftrag editing") << U << true << true << QStringList{"bme", "bme", "-", "bme"};
    QTest::newRow("Lieferschein editing") << L << true << true << QStringList{"bme", "me", "-", "bme"};
    QTest::newRow("Lieferschein read-only") << L << false << true << QStringList{"bm", "m", "-", "bm"};
    QTest::newRow("Rechnung editing") << R << true << true << QStringList{"bme", "bme", "bme", "bme"};
    QTest::newRow("Rechnung read-only") << R << false << true << QStringList{"bm", "bm", "bm", "bm"};
    QTest::newRow("Gutschrift editable") << G << true << true << QStringList{"bme", "-", "-", "bme"};
    QTest::newRow("Gutschrift not editable") << G << false << true << QStringList{"bm", "-", "-", "bm"};
    QTest::newRow("Ablage, always editable") << B << false << true << QStringList{"bme", "bme", "me", "me"};
    QTest::newRow("Ablage without write permission") << B << true << false << QStringList{"bm", "bm", "m", "m"};
    QTest::newRow("Rechnung without write permission") << R << true << false << QStringList{"bm", "bm", "bm", "bm"};
    QTest::newRow("Mahnung") << M << true << true << QStringList{"-", "-", "-", "-"};
}

void TestEntryRules::dialogButtons()
{
    QFETCH(int, kind);
    QFETCH(bool, editable);
    QFETCH(bool, mayWrite);
    QFETCH(QStringList, expected);
    const PageDialogState s = ::dialogButtons(*DocumentKind::fromNumber(kind), editable, mayWrite);
    auto code = [](const DialogCommand &c) {
        QString out;
        if (c.button)
            out += QLatin1Char('b');
        if (c.menu)
            out += QLatin1Char('m');
        if (c.enabled)
            out += QLatin1Char('e');
        return out.isEmpty() ? QStringLiteral("-") : out;
    };
    QCOMPARE((QStringList{code(s.articles), code(s.rabatt), code(s.skonto), code(s.zusatztext)}), expected);
    if (kind != DocumentKind::Mahnung)
        QCOMPARE(s.articles.hint, kind == DocumentKind::Rechnung ? QStringLiteral("Artikeldaten eintragen")
                                                                  : QStringLiteral("Artikeldaten verwalten"));
}

QTEST_MAIN(TestEntryRules)
#include "tst_entryrules.moc"
