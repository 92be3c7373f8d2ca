#include "DocumentFixtures.h"
#include "Errors.h"
#include "Totals.h"
#include "TotalsList.h"

#include <QtTest>

class TestTotals : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void totals_data();
    void totals();
    void grossRule_data();
    void grossRule();
    void vatRowsAreNeverLost();
    void currencySymbol();
    void badCells_data();
    void badCells();
    void outstanding_data();
    void outstanding();
};

void TestTotals::totals_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("rates");
    QTest::addColumn<QStringList>("amounts"); // the computed Betrag column
    QTest::addColumn<QString>("net");
    QTest::addColumn<QStringList>("vat");
    QTest::addColumn<QString>("gross");

    QTest::newRow("1,5 × 1.234,50 at 16 %")
        << QStringList{"1|A1|Schrank|1,5|1.234,50|16,00 %"} << "7;16" << QStringList{"1.851,75 "}
        << "1.851,75 €" << QStringList{"296,28 € (16,00 %)"} << "2.148,03 €";
    QTest::newRow("3 × 0,335: net from the rounded, VAT from the exact amount")
        << QStringList{"1||Schraube|3|0,335|16,00 %"} << "7;16" << QStringList{"1,00 "} << "1,00 €"
        << QStringList{"0,16 € (16,00 %)"} << "1,16 €";
    QTest::newRow("12,345 at 19 %: display rounds to even, VAT and gross use the exact amount")
        << QStringList{"1||Meterware|1|12,345|19,00 %"} << "7;19" << QStringList{"12,34 "} << "12,34 €"
        << QStringList{"2,35 € (19,00 %)"} << "14,69 €";
    QTest::newRow("two rates in rate-table order, not line order")
        << QStringList{"1||Gerät|1|100,00|16,00 %", "2||Buch|1|20,00|  7,00 %"} << "7;16"
        << QStringList{"100,00 ", "20,00 "} << "120,00 €"
        << QStringList{"1,40 €   (7,00 %)", "16,00 € (16,00 %)"} << "137,40 €";
    QTest::newRow("a rate not in the table comes after the others")
        << QStringList{"1||Neu|1|10,00|19,00 %", "2||Buch|1|10,00|  7,00 %", "3||Gerät|1|10,00|16,00 %"}
        << "0;7;16" << QStringList{"10,00 ", "10,00 ", "10,00 "} << "30,00 €"
        << QStringList{"0,70 €   (7,00 %)", "1,60 € (16,00 %)", "1,90 € (19,00 %)"} << "34,20 €";
    QTest::newRow("no VAT rate counts as 0 % and shows no VAT line")
        << QStringList{"1||Porto|2|4,50|"} << "7;16" << QStringList{"9,00 "} << "9,00 €" << QStringList{}
        << "9,00 €";
    QTest::newRow("only 0 % lines: gross equals net")
        << QStringList{"1||Porto|1|4,50|0,00 %", "2||Gebühr|1|1,25|  0,00 %"} << "0;7" << QStringList{"4,50 ", "1,25 "}
        << "5,75 €" << QStringList{} << "5,75 €";
    QTest::newRow("discount of 10 % under 100,00 at 16 %")
        << QStringList{"1||Gerät|1|100,00|16,00 %", "2||Rabatt||10,00 %||10,00"} << "7;16"
        << QStringList{"100,00 ", "-10,00"} << "90,00 €" << QStringList{"14,40 € (16,00 %)"} << "104,40 €";
    QTest::newRow("text lines and empty rows add nothing")
        << QStringList{"1||Gerät|2|50,00|16,00 %", "||mit Zubehör", "", "2||Kabel|1|0,99|16,00 %"} << "16"
        << QStringList{"100,00 ", "", "", "0,99 "} << "100,99 €" << QStringList{"16,16 € (16,00 %)"}
        << "117,15 €";
    QTest::newRow("gross is the sum of the displayed parts")
        << QStringList{"1||a|1|0,05|10,00 %", "2||b|1|0,10|  5,00 %"} << "5;10" << QStringList{"0,05 ", "0,10 "}
        << "0,15 €" << QStringList{"0,00 €   (5,00 %)", "0,00 € (10,00 %)"} << "0,15 €";
    QTest::newRow("rate listed twice in the table counts once")
        << QStringList{"1||Buch|1|100,00|  7,00 %"} << "7;7;16" << QStringList{"100,00 "} << "100,00 €"
        << QStringList{"7,00 €   (7,00 %)"} << "107,00 €";
    QTest::newRow("more than ten rates: every rate keeps its VAT line")
        << QStringList{"1||l|1|100,00|12,00 %", "2||k|1|100,00|11,00 %", "3||e|1|100,00|  5,00 %",
                       "4||m|1|100,00|13,00 %"}
        << "1;2;3;4;5;6;7;8;9;10;11;12" << QStringList{"100,00 ", "100,00 ", "100,00 ", "100,00 "}
        << "400,00 €"
        << QStringList{"5,00 €   (5,00 %)", "12,00 € (12,00 %)", "11,00 € (11,00 %)", "13,00 € (13,00 %)"}
        << "441,00 €";
    QTest::newRow("negative quantities give negative amounts")
        << QStringList{"1||Rücknahme|-2|10,00|16,00 %"} << "16" << QStringList{"-20,00 "} << "-20,00 €"
        << QStringList{"-3,20 € (16,00 %)"} << "-23,20 €";
    QTest::newRow("empty list") << QStringList{} << "7;16" << QStringList{""} << "0,00 €" << QStringList{}
                                << "0,00 €";
}

void TestTotals::totals()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, rates);
    QFETCH(QStringList, amounts);
    QFETCH(QString, net);
    QFETCH(QStringList, vat);
    QFETCH(QString, gross);

    LineList lines = linesFrom(rows);
    TotalsList totals;
    Totals::compute(lines, totals, ratesFrom(rates), QStringLiteral("€"));
    QCOMPARE(column(lines, LineList::Betrag), amounts);
    QCOMPARE(totals.net(), net);
    QCOMPARE(totals.vatLines(), vat);
    QCOMPARE(totals.gross(), gross);
    // VAT lines stand in rows 1, 2, ... of their column without gaps
    for (int i = 0; i < vat.size(); ++i)
        QCOMPARE(totals.cell(i + 1, TotalsList::Vat), vat[i]);
    QCOMPARE(totals.rowCount(), vat.size() >= 2 ? vat.size() + 2 : 3);
    // an article line without rate is given "0,0 %"
    for (int r = 1; r < lines.rowCount(); ++r)
        if (lines.isArticleLine(r))
            QVERIFY(!lines.cell(r, LineList::MwSt).isEmpty());
}

void TestTotals::grossRule_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("shownParts"); // the gross of documents written now
    QTest::addColumn<QString>("roundedOnce"); // the gross of documents stored before
    // 1.819,80 net less 5 %: 1.728,81 + 3,31 + 319,48 on paper
    QTest::newRow("two rates and a discount")
        << QStringList{"1||Material|1|49,80|  7,00 %", "2||Arbeitsstunde Geselle|30|59,00|19,00 %",
                       "3||Rabatt||5,00 %||5,00"}
        << "2.051,60 €" << "2.051,61 €";
    QTest::newRow("two small VAT sums below half a cent")
        << QStringList{"1||a|1|0,05|10,00 %", "2||b|1|0,10|  5,00 %"} << "0,15 €" << "0,16 €";
    QTest::newRow("one rate without discount: both rules agree")
        << QStringList{"1||Meterware|1|12,345|19,00 %"} << "14,69 €" << "14,69 €";
}

void TestTotals::grossRule()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, shownParts);
    QFETCH(QString, roundedOnce);
    for (const GrossRule rule : {GrossRule::SumOfShownParts, GrossRule::RoundedOnce}) {
        LineList lines = linesFrom(rows);
        TotalsList totals;
        const TotalsBreakdown b = Totals::compute(lines, totals, ratesFrom("5;7;10;19"), QStringLiteral("€"), rule);
        QCOMPARE(totals.gross(), rule == GrossRule::SumOfShownParts ? shownParts : roundedOnce);
        QCOMPARE(b.gross.toText() + " €", totals.gross());
        if (rule == GrossRule::RoundedOnce)
            continue;
        // what the paper shows adds up to the cent
        Amount sum = Amount::fromDisplay(totals.net());
        for (const QString &vat : totals.vatLines())
            sum += Amount::fromDisplay(vat.section(QLatin1Char('('), 0, 0));
        QCOMPARE(sum.toText() + " €", totals.gross());
    }
}

void TestTotals::vatRowsAreNeverLost()
{
    LineList lines = linesFrom({"1||a|1|10,00|  7,00 %", "2||b|1|10,00|16,00 %", "3||c|1|10,00|19,00 %"});
    TotalsList totals;
    Totals::compute(lines, totals, ratesFrom("7;16;19"));
    QCOMPARE(totals.rowCount(), 5);
    QCOMPARE(lines.cell(1, LineList::MwSt), QStringLiteral("  7,00 %"));

    // fewer rates later: the old VAT cells are emptied, the rows stay
    lines = linesFrom({"1||a|1|10,00|16,00 %"});
    Totals::compute(lines, totals, ratesFrom("7;16;19"));
    QCOMPARE(totals.rowCount(), 5);
    QCOMPARE(totals.vatLines(), QStringList{"1,60 € (16,00 %)"});
    QCOMPARE(totals.cell(2, TotalsList::Vat), QString());
    QCOMPARE(totals.cell(3, TotalsList::Vat), QString());
    QCOMPARE(totals.gross(), QStringLiteral("11,60 €"));
    QCOMPARE(totals.cell(0, TotalsList::Brutto), QStringLiteral("Rechnungsbetrag"));
}

void TestTotals::currencySymbol()
{
    LineList lines = linesFrom({"1||a|1|1.000,00|16,00 %"}, QStringLiteral("EUR"));
    TotalsList totals(QStringLiteral("Gutschrift"));
    Totals::compute(lines, totals, ratesFrom("16"), QStringLiteral("EUR"));
    QCOMPARE(totals.net(), QStringLiteral("1.000,00 EUR"));
    QCOMPARE(totals.vatLines(), QStringList{"160,00 EUR (16,00 %)"});
    QCOMPARE(totals.gross(), QStringLiteral("1.160,00 EUR"));
    QCOMPARE(totals.cell(0, TotalsList::Brutto), QStringLiteral("Gutschrift"));
    QCOMPARE(lines.cell(0, LineList::Betrag), QStringLiteral("Betrag EUR"));
}

void TestTotals::badCells_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("message");
    const QString ok = "1||Gerät|1|100,00|16,00 %";
    QTest::newRow("quantity") << QStringList{ok, "||Text", "2||b|abc|1,00|16,00 %"}
                              << "Zeile 3: 'abc' ist keine gültige Menge.";
    QTest::newRow("price") << QStringList{ok, "2||b|1|1,0x|16,00 %"} << "Zeile 2: '1,0x' ist kein gültiger Einzelpreis.";
    QTest::newRow("VAT rate") << QStringList{ok, "2||b|1|1,00|16 Prozent"}
                              << "Zeile 2: '16 Prozent' ist kein gültiger MwSt-Satz.";
    QTest::newRow("discount") << QStringList{ok, "2||Rabatt||zehn %||zehn"} << "Zeile 2: 'zehn' ist kein gültiger Rabatt.";
    QTest::newRow("quantity missing") << QStringList{ok, "2||b||1,00|16,00 %"} << "Zeile 2: Die Menge fehlt.";
    QTest::newRow("price missing") << QStringList{ok, "2||b|3||16,00 %"} << "Zeile 2: Der Einzelpreis fehlt.";
    QTest::newRow("amount out of range") << QStringList{ok, "2||b|99.999.999.999|99.999.999.999|16,00 %"}
                                         << "Zeile 2: Der Betrag ist zu groß.";
}

void TestTotals::badCells()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, message);
    LineList lines = linesFrom(rows);
    TotalsList totals;
    const TotalsList before = totals;
    try {
        Totals::compute(lines, totals, ratesFrom("16"));
        QFAIL("totals accepted a bad cell");
    } catch (const ConversionError &e) {
        QCOMPARE(e.message(), message);
    }
    // the rows above keep their new amounts; the totals list is untouched
    QCOMPARE(lines.cell(1, LineList::Betrag), QStringLiteral("100,00 "));
    QVERIFY(totals == before);
}

void TestTotals::outstanding_data()
{
    QTest::addColumn<QString>("invoice");
    QTest::addColumn<QStringList>("deductions");
    QTest::addColumn<QString>("gross");
    QTest::addColumn<QString>("expected");
    QTest::newRow("credit above what is owed") << "116" << QStringList{"80"} << "50,00 €" << "-14";
    QTest::newRow("credit within what is owed") << "116" << QStringList{"30", "20"} << "50,00 €" << "16";
    QTest::newRow("thousands points and blanks") << "2148,03" << QStringList{} << " 1.148,03 € " << "1000";
    QTest::newRow("no gross amount") << "116" << QStringList{} << "" << "-1";
    QTest::newRow("no gross amount, only blanks and symbol") << "116" << QStringList{} << " € " << "-1";
    QTest::newRow("no open item") << "0" << QStringList{} << "10,00 €" << "-10";
}

void TestTotals::outstanding()
{
    QFETCH(QString, invoice);
    QFETCH(QStringList, deductions);
    QFETCH(QString, gross);
    QFETCH(QString, expected);
    QList<Amount> d;
    for (const QString &t : deductions)
        d << Amount::fromText(t);
    QCOMPARE(Totals::outstanding(Amount::fromText(invoice), d, gross), Amount::fromText(expected));
}

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
