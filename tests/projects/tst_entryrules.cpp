#include "ArticleEntryRules.h"
#include "DialogButtons.h"
#include "DialogParts.h"

#include <QtTest>

// The checks of typed prices, quantities and VAT rates, and which dialog
// commands each document page offers.
class TestEntryRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checks_data();
    void checks();
    void dialogButtons_data();
    void dialogButtons();
};

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
    QTest::newRow("decimal point in the price")
        << "1" << "1.5" << "" << "\"Einzelpreis\": \"1.5\" ist kein gültiger Betrag" << "";
    QTest::newRow("three price decimals")
        << "1" << "0,335" << "" << "\"Einzelpreis\": Bitte höchstens zwei Nachkommastellen" << "";
    QTest::newRow("bad grouping") << "1" << "12.34,5" << "" << "\"Einzelpreis\": \"12.34,5\" ist kein gültiger Betrag"
                                  << "";
    QTest::newRow("quantity with a point") << "1.5" << "1" << "" << "\"Anzahl\": \"1.5\" ist keine gültige Anzahl" << "";
    QTest::newRow("price beyond a billion")
        << "1" << "99999999999999" << "" << "\"Einzelpreis\": \"99999999999999\" ist zu groß" << "";
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
