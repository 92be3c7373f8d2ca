#include "DocumentFixtures.h"
#include "DocumentKind.h"
#include "Totals.h"
#include "TotalsList.h"

#include "Errors.h"

#include <QtTest>

namespace {

// "Art.-Nr.|Bezeichnung|Anzahl|Einzelpreis|MwSt|Text 1;Text 2;..." as the
// line-item window hands it over.
ArticleLine articleFrom(const QString &text)
{
    const QStringList c = text.split(QLatin1Char('|'));
    ArticleLine line{c.value(0), c.value(1), c.value(2), c.value(3), c.value(4), {}};
    if (c.size() > 5)
        line.texts = c.value(5).split(QLatin1Char(';'));
    return line;
}

const QStringList threeLines = {"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|T1|Tisch|2|50,00|19,00 %",
                                "||rund", "||ausziehbar", "3|L1|Lampe|1|20,00|  7,00 %", "4||Rabatt||10,00 %||10,00"};

} // namespace

class TestLineList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void normalise_data();
    void normalise();
    void discountLast_data();
    void discountLast();
    void movedDiscountIsComputedFromAllLines();
    void kinds_data();
    void kinds();
    void appendArticle_data();
    void appendArticle();
    void badPriceLeavesTheListAlone();
    void replaceArticle_data();
    void replaceArticle();
    void removeArticle_data();
    void removeArticle();
    void articleEntriesAndArticleAt();
    void discountRowEdits();
};

void TestLineList::normalise_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("several gaps")
        << QStringList{"1||A|1|1,00|16,00 %", "", "||Zubehör", "", "", "5||B|2|3,00|16,00 %", "7||C|1|1,00", ""}
        << QStringList{"1||A|1|1,00|16,00 %", "||Zubehör", "2||B|2|3,00|16,00 %", "3||C|1|1,00"};
    QTest::newRow("article without a name is not a gap")
        << QStringList{"1|X1||2|5,00|16,00 %", "", "2||B|1|1,00"}
        << QStringList{"1|X1||2|5,00|16,00 %", "2||B|1|1,00"};
    QTest::newRow("a leftover position alone is a gap")
        << QStringList{"1||A|1|1,00", "4"} << QStringList{"1||A|1|1,00"};
    QTest::newRow("positions renumbered, text lines keep none")
        << QStringList{"3||A|1|1,00", "||Text zu A", "9||B|1|1,00", "12||Rabatt||5,00 %||5,00"}
        << QStringList{"1||A|1|1,00", "||Text zu A", "2||B|1|1,00", "3||Rabatt||5,00 %||5,00"};
    QTest::newRow("only gaps leave one empty line") << QStringList{"", "", ""} << QStringList{""};
    QTest::newRow("nothing to do") << QStringList{"1||A|1|1,00"} << QStringList{"1||A|1|1,00"};
}

void TestLineList::normalise()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, expected);
    LineList lines = linesFrom(rows);
    lines.normalise();
    QCOMPARE(rowsOf(lines), expected);
    QCOMPARE(lines.cell(0, LineList::Pos), QStringLiteral("Pos."));
}

void TestLineList::discountLast_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("skonto");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("discountCaption");
    QTest::addColumn<QString>("skontoCaption");
    QTest::newRow("discount in the middle")
        << QStringList{"1||A|1|100,00|16,00 %", "2||Rabatt||10,00 %||10,00", "3||B|1|50,00|16,00 %", "||Text zu B"}
        << "2,00"
        << QStringList{"1||A|1|100,00|16,00 %", "2||B|1|50,00|16,00 %", "||Text zu B", "3||Rabatt||10,00 %||10,00"}
        << "&Rabatt 10,00 %" << "&Skonto 2,00 %";
    QTest::newRow("discount first")
        << QStringList{"1||Rabatt||7,5 %||7,5", "2||A|1|10,00"} << ""
        << QStringList{"1||A|1|10,00", "2||Rabatt||7,5 %||7,5"} << "&Rabatt 7,5 %" << "&Skonto";
    QTest::newRow("discount already last")
        << QStringList{"1||A|1|10,00", "2||Rabatt||5,00 %||5,00"} << "3,00"
        << QStringList{"1||A|1|10,00", "2||Rabatt||5,00 %||5,00"} << "&Rabatt 5,00 %" << "&Skonto 3,00 %";
    QTest::newRow("no discount") << QStringList{"1||A|1|10,00", "||Text"} << ""
                                 << QStringList{"1||A|1|10,00", "||Text"} << "&Rabatt" << "&Skonto";
    QTest::newRow("empty list") << QStringList{} << "" << QStringList{""} << "&Rabatt" << "&Skonto";
}

void TestLineList::discountLast()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, skonto);
    QFETCH(QStringList, expected);
    QFETCH(QString, discountCaption);
    QFETCH(QString, skontoCaption);
    LineList lines = linesFrom(rows);
    // an amount left from an earlier totals run does not travel with the line
    for (int r = 1; r < lines.rowCount(); ++r)
        if (!lines.cell(r, LineList::Rabatt).isEmpty())
            lines.setCell(r, LineList::Betrag, QStringLiteral("-1,00"));
    const LineList::Captions captions = lines.discountLast(skonto);
    QCOMPARE(rowsOf(lines), expected);
    QCOMPARE(captions.discount, discountCaption);
    QCOMPARE(captions.skonto, skontoCaption);
    // the discount line keeps only position, text, percentage text and percentage
    const int last = lines.rowCount() - 1;
    if (lines.isDiscountLine(last))
        QCOMPARE(lines.cell(last, LineList::Betrag), QString());
}

void TestLineList::movedDiscountIsComputedFromAllLines()
{
    LineList lines = linesFrom({"1||A|1|100,00|16,00 %", "2||Rabatt||10,00 %||10,00", "3||B|1|50,00|16,00 %"});
    lines.discountLast(QString());
    TotalsList totals;
    Totals::compute(lines, totals, ratesFrom("7;16"));
    QCOMPARE(lines.cell(3, LineList::Betrag), QStringLiteral("-15,00"));
    QCOMPARE(totals.net(), QStringLiteral("135,00 €"));
    QCOMPARE(totals.vatLines(), QStringList{"21,60 € (16,00 %)"});
    QCOMPARE(totals.gross(), QStringLiteral("156,60 €"));
}

void TestLineList::kinds_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("secondArt");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("gross");
    const int R = DocumentKind::RabattDialog, S = DocumentKind::SkontoDialog, Z = DocumentKind::ZusatztextDialog;
    QTest::newRow("Angebot") << 1 << "Angebot" << "Angebot" << "angebote" << "" << (R | Z) << "A" << "Rechnungsbetrag";
    QTest::newRow("Auftrag") << 3 << "Auftrag" << "Auftrag" << "auftraege" << "" << (R | Z) << "U" << "Rechnungsbetrag";
    QTest::newRow("Lieferschein") << 5 << "Lieferschein" << "Lieferschein" << "lieferscheine" << "Lieferanschrift"
                                  << (R | Z) << "L" << "Rechnungsbetrag";
    QTest::newRow("Rechnung") << 7 << "Rechnung" << "Rechnung" << "rechnungen" << "Rechnungsanschrift"
                              << (R | S | Z) << "R" << "Rechnungsbetrag";
    QTest::newRow("Gutschrift") << 9 << "Gutschrift" << "Gutschrift" << "gutschriften" << "Rechnungsanschrift" << Z
                                << "G" << "Gutschrift";
    QTest::newRow("Mahnung") << 0 << "Mahnung" << "Mahnung" << "mahnungen" << "R" << 0 << "" << "Rechnungsbetrag";
    QTest::newRow("Ablage") << 11 << "Ablage" << "Arbeitsablage" << "ablage" << "Zweitanschrift" << (R | S | Z)
                            << "B" << "Rechnungsbetrag";
}

void TestLineList::kinds()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, base);
    QFETCH(QString, secondArt);
    QFETCH(int, dialogs);
    QFETCH(QString, letter);
    QFETCH(QString, gross);
    const auto kind = DocumentKind::fromNumber(number);
    QVERIFY(kind.has_value());
    QCOMPARE(kind->number(), number);
    QCOMPARE(kind->name(), name);
    QCOMPARE(kind->listCaption(), caption);
    QCOMPARE(kind->baseTable(), base);
    QCOMPARE(kind->secondAddressArt(), secondArt);
    QCOMPARE(kind->dialogs(), dialogs);
    QCOMPARE(kind->textLetter().isNull() ? QString() : QString(kind->textLetter()), letter);
    QCOMPARE(kind->grossHeading(), gross);
    QVERIFY(DocumentKind::all().contains(*kind));
    QVERIFY(!DocumentKind::fromNumber(number + 100).has_value());
}

void TestLineList::appendArticle_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("first line, gaps in the text dropped")
        << QStringList{""} << "S1|Schrank|1,5|1234,5|19,00 %|aus Eiche;;;geölt;"
        << QStringList{"1|S1|Schrank|1,5|1.234,50|19,00 %", "||aus Eiche", "||geölt"};
    QTest::newRow("price with thousands point, no text")
        << QStringList{"1||A|1|1,00"} << "|B|3|1.234,5|" << QStringList{"1||A|1|1,00", "2||B|3|1.234,50"};
    QTest::newRow("after the discount line, which counts as a position")
        << QStringList{"1||A|1|100,00|19,00 %", "2||Rabatt||10,00 %||10,00"} << "|B|0,335|3|19,00 %|x"
        << QStringList{"1||A|1|100,00|19,00 %", "2||Rabatt||10,00 %||10,00", "3||B|0,335|3,00|19,00 %", "||x"};
    QTest::newRow("empty rows at the end are taken")
        << QStringList{"1||A|1|1,00", "||Text", "", ""} << "|B|1|2|"
        << QStringList{"1||A|1|1,00", "||Text", "2||B|1|2,00"};
}

void TestLineList::appendArticle()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, article);
    QFETCH(QStringList, expected);
    LineList lines = linesFrom(rows);
    lines.appendArticle(articleFrom(article));
    QCOMPARE(rowsOf(lines), expected);
}

void TestLineList::badPriceLeavesTheListAlone()
{
    for (const char *price : {"1.5", "12a", "", "1,2,3"}) {
        LineList lines = linesFrom(threeLines);
        const LineList before = lines;
        QVERIFY_THROWS_EXCEPTION(ConversionError, lines.appendArticle(articleFrom(QStringLiteral("|X|1|") + QLatin1String(price) + "|")));
        QVERIFY_THROWS_EXCEPTION(ConversionError, lines.replaceArticle("2", articleFrom(QStringLiteral("|X|1|") + QLatin1String(price) + "|")));
        QCOMPARE(lines, before);
    }
}

void TestLineList::replaceArticle_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("middle line keeps its place, texts replaced")
        << "2" << "T1|Tisch|2|75,5|19,00 %|oval"
        << QStringList{"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|T1|Tisch|2|75,50|19,00 %", "||oval",
                       "3|L1|Lampe|1|20,00|  7,00 %", "4||Rabatt||10,00 %||10,00"};
    QTest::newRow("first line gains texts")
        << "1" << "S2|Regal|3|10|19,00 %|Buche;;hell"
        << QStringList{"1|S2|Regal|3|10,00|19,00 %", "||Buche", "||hell", "2|T1|Tisch|2|50,00|19,00 %",
                       "||rund", "||ausziehbar", "3|L1|Lampe|1|20,00|  7,00 %", "4||Rabatt||10,00 %||10,00"};
    QTest::newRow("unknown position appends")
        << "9" << "|Neu|1|1|"
        << (QStringList(threeLines) << "5||Neu|1|1,00");
}

void TestLineList::replaceArticle()
{
    QFETCH(QString, position);
    QFETCH(QString, article);
    QFETCH(QStringList, expected);
    LineList lines = linesFrom(threeLines);
    lines.replaceArticle(position, articleFrom(article));
    lines.normalise();
    QCOMPARE(rowsOf(lines), expected);
}

void TestLineList::removeArticle_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("middle line with its two texts")
        << threeLines << "2"
        << QStringList{"1|S1|Schrank|1|100,00|19,00 %", "||aus Eiche", "2|L1|Lampe|1|20,00|  7,00 %",
                       "3||Rabatt||10,00 %||10,00"};
    QTest::newRow("last line leaves the rows before it")
        << QStringList{"1||A|1|1,00", "||a", "2||B|1|2,00", "||b"} << "2" << QStringList{"1||A|1|1,00", "||a"};
    QTest::newRow("only line leaves an empty list") << QStringList{"1||A|1|1,00", "||a"} << "1" << QStringList{""};
    QTest::newRow("unknown position keeps all") << QStringList{"1||A|1|1,00"} << "4" << QStringList{"1||A|1|1,00"};
}

void TestLineList::removeArticle()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, position);
    QFETCH(QStringList, expected);
    LineList lines = linesFrom(rows);
    lines.removeArticle(position);
    lines.normalise();
    QCOMPARE(rowsOf(lines), expected);
}

void TestLineList::articleEntriesAndArticleAt()
{
    LineList lines = linesFrom(threeLines);
    lines.setCell(1, LineList::Anzahl, QStringLiteral("1.000"));
    lines.setCell(1, LineList::Einzelpreis, QStringLiteral("1.234,50"));
    const QList<LineEntry> expected = {{"Schrank", "1"}, {"Tisch", "2"}, {"Lampe", "3"}};
    QCOMPARE(lines.articleEntries(), expected);
    QCOMPARE(lines.rowOfPosition("3"), 6);
    QCOMPARE(lines.rowOfPosition(""), -1);
    QCOMPARE(lines.articleAt(1), articleFrom("S1|Schrank|1000|1234,50|19,00 %|aus Eiche"));
    QCOMPARE(lines.articleAt(3), articleFrom("T1|Tisch|2|50,00|19,00 %|rund;ausziehbar"));
    // The discount line ends the texts of the line above it.
    QCOMPARE(lines.articleAt(6).texts, QStringList());
}

void TestLineList::discountRowEdits()
{
    LineList lines = linesFrom({"1||A|1|100,00|16,00 %"});
    QCOMPARE(lines.discountRow(), -1);
    lines.addDiscount(QStringLiteral("Treuerabatt"), Amount::fromText("1234,5"));
    QCOMPARE(rowsOf(lines), (QStringList{"1||A|1|100,00|16,00 %", "||Treuerabatt||1.234,50 %||1.234,50"}));
    QCOMPARE(lines.discountRow(), 2);
    lines.discountLast(QString());
    lines.changeDiscount(QStringLiteral("Sonderrabatt"), QStringLiteral("7,5"));
    QCOMPARE(rowsOf(lines), (QStringList{"1||A|1|100,00|16,00 %", "2||Sonderrabatt||7,5 %||7,5"}));
    QCOMPARE(lines.captions(QString()).discount, QStringLiteral("&Rabatt 7,5 %"));
    lines.removeDiscount();
    QCOMPARE(rowsOf(lines), QStringList{"1||A|1|100,00|16,00 %"});
    QCOMPARE(lines.captions(QString()).discount, QStringLiteral("&Rabatt"));
}

QTEST_GUILESS_MAIN(TestLineList)
#include "tst_linelist.moc"
