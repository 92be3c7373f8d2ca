#include "ArticleEntryRules.h"
#include "DialogButtons.h"
#include "DocumentCommands.h"
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
    void pageCommands_data();
    void pageCommands();
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

// The commands a document page opens, as a row of marks in this order: save,
// change, new, print, e-invoice, history, "übernehmen in", document list.
void TestEntryRules::pageCommands_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("state"); // write, hidden, edit, clean, new, lines: each 1 or 0
    QTest::addColumn<QString>("open");
    const int rechnung = DocumentKind::Rechnung, gutschrift = DocumentKind::Gutschrift;
    // A page behind "keine Berechtigung" hands nothing out, however full it is.
    QTest::newRow("invoice hidden") << rechnung << "010101" << "00000001";
    QTest::newRow("invoice read only") << rechnung << "000101" << "00011101";
    QTest::newRow("invoice begun, unsaved") << rechnung << "101011" << "10111010";
    QTest::newRow("invoice stored, shown") << rechnung << "100101" << "01111111";
    QTest::newRow("empty page") << rechnung << "101100" << "00000001";
    // The credit note's list stays open with unsaved changes.
    QTest::newRow("credit note unsaved") << gutschrift << "101011" << "10111011";
}

void TestEntryRules::pageCommands()
{
    QFETCH(int, kind);
    QFETCH(QString, state);
    QFETCH(QString, open);
    const auto bit = [&](int i) { return state.at(i) == QLatin1Char('1'); };
    DocumentPageState s;
    s.kind = *DocumentKind::fromNumber(kind);
    s.mayWrite = bit(0);
    s.hidden = bit(1);
    s.editMode = bit(2);
    s.clean = bit(3);
    s.isNew = bit(4);
    s.hasFirstPosition = s.hasFirstLine = bit(5);
    const DocumentCommands c = DocumentCommands::decide(s);
    QString got;
    for (bool b : {c.save, c.change, c.create, c.print, c.eInvoice, c.history, c.takeOverInto, c.numberList})
        got += b ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(got, open);
}

QTEST_MAIN(TestEntryRules)
#include "tst_entryrules.moc"
