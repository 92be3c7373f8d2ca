// Printed documents and dunning letters, read back from the PDF: the texts of
// every block at their places, page breaks, sizes and styles, prices, Skonto,
// footer, grid, letterhead, the PDF's information and failures.

#include "DocumentFixtures.h"
#include "Errors.h"
#include "Formats.h"
#include "PdfText.h"
#include "PrintCommands.h"
#include "PrintSystem.h"
#include "Settings.h"
#include "TestEnv.h"
#include "Totals.h"

#include <QtTest>
#include <memory>

namespace {

constexpr double Tolerance = 5.0; // half a millimetre
constexpr int T = 100;            // SHTop by default

// Invoice 123 of project 7, customer 10: line i is i pieces of 12,50 at 19 %
// (every fifth at 7 %); Skonto 2 %, four styled text lines.
Document invoice(int n, DocumentKind kind = DocumentKind::Rechnung)
{
    QStringList rows;
    for (int i = 1; i <= n; ++i)
        rows << QStringLiteral("%1|A-%1|Artikel %1|%1|12,50|%2").arg(i).arg(i % 5 ? "19,00 %" : "  7,00 %");
    Document d = sampleDocument(kind, 123, rows);
    d.projectNumber = 7;
    d.ownCompany = QStringLiteral("Halvard GmbH - Hafenstraße 1 - 20457 Hamburg");
    d.addressLeft = false;
    d.secondAddress.name = QStringLiteral("Buchhaltung Muster");
    d.skontoText = QStringLiteral("Skonto");
    Totals::compute(d.lines, d.totals, {Amount::fromUnits(7), Amount::fromUnits(19)});
    return d;
}

DocumentPrintOptions optionsFor(const Document &d, bool prices = true)
{
    return {d.kind.listCaption() + QStringLiteral("       ") + PadNumber(d.number), PadNumber(10),
            PadNumber(d.projectNumber), prices, false, QImage()};
}

} // namespace

class TestDocumentPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnv>(); }
    void cleanup() { m_env.reset(); }
    void blockPositions_data();
    void blockPositions();
    void pageBreaks_data();
    void pageBreaks();
    void longTextsStayInTheirFields_data();
    void longTextsStayInTheirFields();
    void sizesAndStyles();
    void variants_data();
    void variants();
    void footerRows_data();
    void footerRows();
    void gridPensAndLetterhead_data();
    void gridPensAndLetterhead();
    void dunningLetter_data();
    void dunningLetter();
    void pdfInformationAndFailures();

private:
    QString print(const Document &d, const DocumentPrintOptions &o)
    {
        const QString path = m_env->path(QStringLiteral("druck%1.pdf").arg(++m_files));
        Print(m_env->state(), m_system, DocumentPrintRequest(m_env->state(), d, o), PrintTarget::pdf(path));
        return path;
    }

    std::unique_ptr<TestEnv> m_env;
    PrintSystem m_system;
    int m_files = 0;
};

void TestDocumentPrint::blockPositions_data()
{
    QTest::addColumn<int>("shLeft");
    QTest::addColumn<int>("shTop");
    QTest::newRow("default origin") << 200 << 100;
    // 10 mm further right; a larger SHTop moves the page up by as much (y = T − b).
    QTest::newRow("moved origin") << 300 << 200;
}

void TestDocumentPrint::blockPositions()
{
    QFETCH(int, shLeft);
    QFETCH(int, shTop);
    UserSettings settings;
    settings.writeInt(QStringLiteral("SHLeft"), shLeft);
    settings.writeInt(QStringLiteral("SHTop"), shTop);
    Document d = invoice(3);
    d.addressLeft = true; // the invoice address stands left in the envelope window
    d.serviceDate = "24.02.2004";
    d.serviceDateTo = "28.02.2004";
    const PdfText pdf(print(d, optionsFor(d)));
    QCOMPARE(pdf.pages(), 1);

    // text, a, b of the layout; ">" marks a text that ends at a
    const QStringList expected = {
        "Halvard GmbH - Hafenstraße 1 - 20457 Hamburg|250|550", "Postanschrift:|1000|610",
        "Buchhaltung Muster|250|660", "Postfach 9|250|720", "12340 Musterstadt|250|820",
        "Muster GmbH|1000|660", "Marktplatz 3|1000|720", "12345 Musterstadt|1000|820",
        "Datum:|1700|820", "01.03.2004|>2000|820", "Kd-Nr.:|1700|850", "000010|>2000|850",
        "Projekt Nr.:|1700|880", "000007|>2000|880", "Seite:|1700|910", "1/1|>1992|910", // a blank before the edge
        "Rechnung|250|940", "Pos.|255|1010", "Art.-Nr.|355|1010", "Bezeichnung|555|1010", "Anzahl|1405|1010",
        "Einzelp. €|1505|1010", "Betrag €|1685|1010", "MwSt.|1895|1010",
        "19,00 %|>1990|1060", "12,50|>1660|1060", "2|>340|1100", "A-2|>530|1100", "Artikel 2|550|1100",
        "25,00|>1870|1100", "Vielen Dank für Ihren Auftrag.|260|2100", "Zahlbar ohne Abzug.|260|2140",
        "Es gelten unsere AGB.|260|2220", "Nettowert|>520|2350", "Rechnungsbetrag|>1972|2350",
        "75,00 €|>520|2390", "14,25 € (19,00 %)|>1609|2390", "89,25 €|>1972|2430",
        "Skonto 2,00 %. Entspricht|250|2530", "Zahlbar bis 15.03.2004 ohne Abzug.|250|2565",
        "28.02.2004|>2000|790", "Ihre Firma|250|2620", "Telefon: [bitte eintragen]|687|2620",
        "Bank: [bitte eintragen]|1124|2620", "Steuernummer: [bitte eintragen]|1561|2620",
        "Internet: [bitte eintragen]|687|2710"};
    for (const QString &e : expected) {
        const QStringList f = e.split(QLatin1Char('|'));
        const std::optional<PdfWord> w = pdf.find(f[0]);
        QVERIFY2(w, qPrintable(f[0]));
        const bool right = f[1].startsWith(QLatin1Char('>'));
        const double x = right ? w->x1 : w->x0, a = shLeft - 200 + f[1].mid(right ? 1 : 0).toDouble();
        const double y = w->y0, b = f[2].toDouble() - shTop;
        QVERIFY2(std::abs(x - a) < Tolerance && std::abs(y - b) < Tolerance,
                 qPrintable(QStringLiteral("%1 at %2/%3, expected %4/%5").arg(f[0]).arg(x).arg(y).arg(a).arg(b)));
    }
    // The period of service above the date, its label moved left of its value.
    QCOMPARE(pdf.lineAt(1, 790 - shTop), QStringLiteral("Leistungszeitraum: 24.02.2004 – 28.02.2004"));
    // The title is the kind and the number field's text, blanks and all.
    QCOMPARE(pdf.lineAt(1, 940 - shTop, shLeft - 200 + 200, shLeft + 1300), QStringLiteral("Rechnung 000123"));
    QVERIFY(pdf.find(QStringLiteral("000123"))->x0 - pdf.find(QStringLiteral("Rechnung"))->x1 > 30);
}

void TestDocumentPrint::pageBreaks_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::newRow("no lines") << 0 << 1;
    QTest::newRow("one line") << 1 << 1;
    QTest::newRow("25 lines fill one page") << 25 << 1;
    QTest::newRow("26 lines") << 26 << 2;
    QTest::newRow("60 lines") << 60 << 3;
}

void TestDocumentPrint::pageBreaks()
{
    QFETCH(int, lines);
    QFETCH(int, pages);
    const Document d = invoice(lines);
    const PdfText pdf(print(d, optionsFor(d)));
    QCOMPARE(pdf.pages(), pages);
    for (int p = 1; p <= pages; ++p) {
        const bool last = p == pages;
        QCOMPARE(pdf.lineAt(p, 910 - T, 1700), QStringLiteral("Seite: %1/%2").arg(p).arg(pages));
        QCOMPARE(pdf.lineAt(p, 550 - T), d.ownCompany); // every page has head, text and footer
        QCOMPARE(pdf.lineAt(p, 2100 - T), QStringLiteral("Vielen Dank für Ihren Auftrag."));
        QCOMPARE(pdf.lineAt(p, 2620 - T, 0, 600), QStringLiteral("Ihre Firma"));
        for (int slot : {1, 25}) { // the page's slots hold the lines 25 (p − 1) + 1 …
            const int row = 25 * (p - 1) + slot;
            QCOMPARE(pdf.lineAt(p, 1060 + 40 * (slot - 1) - T, 540, 1390),
                     row <= lines ? QStringLiteral("Artikel %1").arg(row) : QString());
        }
        // … and the totals wait for the last page.
        QCOMPARE(pdf.lineAt(p, 2320 - T, 1640), last ? QString() : QStringLiteral("Rechnungsbetrag"));
        QCOMPARE(pdf.lineAt(p, 2380 - T, 1640), last ? QString() : QStringLiteral("Siehe letzte Seite"));
        QCOMPARE(pdf.contains(d.totals.gross(), p), last);
    }
}

void TestDocumentPrint::longTextsStayInTheirFields_data()
{
    QTest::addColumn<int>("lines");    // of the invoice
    QTest::addColumn<int>("longLine"); // the one with a description of two slots
    QTest::addColumn<int>("page");     // where it is printed
    QTest::addColumn<int>("slot");     // its first slot there
    QTest::newRow("second of three") << 3 << 2 << 1 << 2;
    QTest::newRow("fits at the foot of the page") << 24 << 24 << 1 << 24;
    QTest::newRow("moves to the next page whole") << 26 << 25 << 2 << 1;
}

// A description wider than its column wraps onto the following slots, and the
// lines after it move down (to the next page when the slots run out); an article
// number and the addresses are cut at their fields' edges.
void TestDocumentPrint::longTextsStayInTheirFields()
{
    QFETCH(int, lines);
    QFETCH(int, longLine);
    QFETCH(int, page);
    QFETCH(int, slot);
    Document d = invoice(lines);
    const QString description = QStringLiteral("Lieferung und Montage einer Schiebetür aus Eichenholz mit "
                                               "Glaseinsatz, Beschlägen und Dichtungen, eingebaut");
    d.lines.setCell(longLine, LineList::Bezeichnung, description);
    d.lines.setCell(longLine, LineList::ArtikelNr, QStringLiteral("HOLZ-EICHE-SCHIEBETUER-2000"));
    d.address.name = QString(5000, QLatin1Char('W'));
    d.secondAddress.street = QStringLiteral("Hinter dem langen Wiesenweg am Mühlbach 1234567890");
    const PdfText pdf(print(d, optionsFor(d)));
    const double slotTop = 1060 + 40 * (slot - 1) - T;
    // The description's words all in its column, on the slots from its first on.
    double bottom = 0;
    for (const QString &word : description.split(' ')) {
        const std::optional<PdfWord> w = pdf.find(word, page);
        QVERIFY2(w && w->x0 >= 545 && w->x1 <= 1395 && w->y0 > slotTop - 10, qPrintable(word));
        bottom = std::max(bottom, w->y0);
    }
    QVERIFY2(bottom > slotTop + 30, "the description takes more than one slot");
    // its amounts on its first slot; the next line on the slot after its description
    QStringList amounts;
    for (auto column : {LineList::Anzahl, LineList::Einzelpreis, LineList::Betrag, LineList::MwSt})
        amounts << d.lines.cell(longLine, column).simplified();
    QCOMPARE(pdf.lineAt(page, slotTop, 1400), amounts.join(' '));
    if (longLine < lines)
        QVERIFY(std::abs(pdf.find(QStringLiteral("Artikel %1").arg(longLine + 1))->y0 - (bottom + 40)) < Tolerance);
    QCOMPARE(pdf.pages(), page);
    // the article number's beginning ends at its column's edge, never past the table
    const std::optional<PdfWord> article = pdf.find(pdf.lineAt(page, slotTop, 340, 545));
    QVERIFY(article && article->text.startsWith("HOLZ") && article->x0 >= 345 && std::abs(article->x1 - 530) < 5);
    // the addresses end before the second address and before the information block
    for (const PdfWord &w : {*pdf.find(pdf.lineAt(1, 660 - T, 0, 1000)), *pdf.find(pdf.lineAt(1, 720 - T, 1000))}) {
        QVERIFY2(w.x1 < (w.x0 < 900 ? 990 : 1690), qPrintable(w.text));
        QVERIFY(!w.text.isEmpty());
    }
}

void TestDocumentPrint::sizesAndStyles()
{
    Document d = invoice(2);
    const PdfText pdf(print(d, optionsFor(d)));
    m_env->state().PrintSizeOffset = SizeGradeOffset(7); // font scale +2: every width grows by 80
    const PdfText grown(print(d, optionsFor(d)));
    m_env->state().PrintSizeOffset = 0;
    // S900, S1000, S1100, S1300 (bold address; 11 points would be 138,2 mm), S1800, footer S1000
    const QStringList sizes = {"Halvard GmbH|7|7", "Pos.|7|8", "Datum:|8|9", "Muster GmbH|10|10", "Rechnung|14|14",
                               "Ihre Firma|7|8"};
    for (const QString &s : sizes) {
        QCOMPARE(pdf.points(s.section('|', 0, 0)), s.section('|', 1, 1).toInt());
        QCOMPARE(grown.points(s.section('|', 0, 0)), s.section('|', 2, 2).toInt());
    }
    // A sender line wider than 90 mm at the address size makes the address smaller.
    d.ownCompany = QStringLiteral("Halvard Gebäudetechnik und Haustechnik GmbH & Co. KG - Hafenstraße 112 - 20457 Hamburg");
    QCOMPARE(PdfText(print(d, optionsFor(d))).points(QStringLiteral("Muster GmbH")), 8);

    const QMultiMap<QString, QString> styled = pdf.styled();
    const QStringList bold = styled.values(QStringLiteral("b"));
    for (const char *text : {"Vielen Dank für Ihren Auftrag.", "Muster GmbH", "Pos."})
        QVERIFY2(bold.contains(QString::fromUtf8(text)), text);
    QVERIFY(bold.contains(d.totals.gross()) && !bold.contains(d.totals.net()));
    QCOMPARE(styled.values(QStringLiteral("bi")), QStringList{QStringLiteral("Es gelten unsere AGB.")});
    QVERIFY(styled.values(QString()).contains(QStringLiteral("Zahlbar ohne Abzug.")));
}

void TestDocumentPrint::variants_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("skonto");
    QTest::addColumn<bool>("prices");
    QTest::addColumn<bool>("left");   // "… links" ticked
    QTest::addColumn<bool>("second"); // a second address filled
    QTest::addColumn<QString>("expected"); // Skonto line | window label | right address name
    const QString line = QStringLiteral("1|B-7|Regal|2|500,00|19,00 %"); // 1.190,00 gross
    const QString skonto = QStringLiteral("Skonto 2,00 %. Entspricht 1.166,20 €");
    QTest::newRow("invoice") << 7 << line << "2,00" << true << false << true
                             << skonto + "|Rechnungsanschrift:|Muster GmbH Buchhaltung";
    // 10,25 less 2 % is 10,045, shown as 10,04 (halfway to the even cent)
    QTest::newRow("Skonto rounded to even, no invoice address") << 7 << "1|B|R|1|10,25|0,00 %" << "2,00" << true
                                                                << false << false << "Skonto 2,00 %. Entspricht 10,04 €||";
    QTest::newRow("credit note without Skonto") << 9 << line << "" << true << false << true
                                                << "|Rechnungsanschrift:|Muster GmbH Buchhaltung";
    QTest::newRow("order with prices") << 3 << line << "2,00" << true << true << false << skonto + "||";
    QTest::newRow("order, Preis drucken off") << 3 << line << "2,00" << false << false << false << "||";
    QTest::newRow("delivery note, Preis drucken off") << 5 << line << "2,00" << false << false << true
                                                      << "|Lieferanschrift:|Muster GmbH Buchhaltung";
    QTest::newRow("delivery address left") << 5 << line << "" << true << true << true
                                           << "|Postanschrift:|Muster GmbH";
    QTest::newRow("working document") << 11 << line << "" << true << false << true << "||Muster GmbH Buchhaltung";
}

void TestDocumentPrint::variants()
{
    QFETCH(int, kind);
    QFETCH(QString, line);
    QFETCH(QString, skonto);
    QFETCH(bool, prices);
    QFETCH(bool, left);
    QFETCH(bool, second);
    QFETCH(QString, expected);
    Document d = sampleDocument(DocumentKind::Kind(kind), 5, {line});
    d.skontoText = QStringLiteral("Skonto");
    d.skontoPercent = skonto;
    d.addressLeft = left;
    d.invoiceNumber = 42;
    if (!second)
        d.secondAddress = {};
    Totals::compute(d.lines, d.totals, {Amount::fromUnits(19)});
    const PdfText pdf(print(d, optionsFor(d, prices)));
    const QString skontoLine = expected.section('|', 0, 0);
    QCOMPARE(pdf.lineAt(1, 2530 - T), skontoLine);
    QCOMPARE(pdf.lineAt(1, 610 - T), expected.section('|', 1, 1));
    QCOMPARE(pdf.lineAt(1, 660 - T, 1000, 1690), expected.section('|', 2, 2));
    // The quantity always prints; price, amount, VAT and totals only with prices.
    QCOMPARE(pdf.lineAt(1, 1060 - T, 1400, 1480), line.section(QLatin1Char('|'), 3, 3));
    QCOMPARE(pdf.lineAt(1, 1060 - T, 1500).isEmpty(), !prices);
    QCOMPARE(pdf.contains(QStringLiteral("Nettowert")), prices);
    if (!skontoLine.isEmpty()) // the amount in bold, the text before it not
        QVERIFY(pdf.styled().values(QStringLiteral("b")).contains(skontoLine.section(QStringLiteral("Entspricht "), 1)) &&
                pdf.styled().values(QString()).contains(skontoLine.section(QStringLiteral(" 1"), 0, 0)));
    // Under a credit note's title the invoice it reduces; its totals are a "Gutschrift".
    const auto caption = pdf.find(QStringLiteral("(Gutschrift zur Rechnung Nr.: 000042)"));
    QCOMPARE(caption.has_value(), kind == 9);
    QVERIFY(kind != 9 || (std::abs(caption->x0 - 950) < Tolerance && std::abs(caption->y0 - (960 - T)) < Tolerance));
    QCOMPARE(pdf.contains(QStringLiteral("Gutschrift"), 1), kind == 9);
}

void TestDocumentPrint::footerRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("five rows") << 5;
    QTest::newRow("two rows: the last repeats") << 2;
    QTest::newRow("no rows") << 0;
}

void TestDocumentPrint::footerRows()
{
    QFETCH(int, rows);
    m_env->exec(QStringLiteral("DELETE FROM foot"));
    m_env->exec(QStringLiteral("INSERT INTO foot (Firma, X, A) VALUES (2, 'a', 'andere Firma')"));
    for (int r = rows; r >= 1; --r) // inserted backwards: they are read ordered by X
        m_env->exec(QStringLiteral("INSERT INTO foot (Firma, X, A, B, C, D) VALUES (1, '%1', 'A%2', 'B%2', 'C%2', "
                                   "'D%2')").arg(QChar(u'a' + r - 1)).arg(r));
    const Document d = invoice(1);
    const PdfText pdf(print(d, optionsFor(d)));
    for (int line = 0; line < 5; ++line) {
        const int r = std::min(line + 1, rows);
        QCOMPARE(pdf.lineAt(1, 2620 + 30 * line - T), rows ? QStringLiteral("A%1 B%1 C%1 D%1").arg(r) : QString());
        for (int c = 0; c < 4 && rows; ++c)
            QVERIFY(std::abs(pdf.find(QStringLiteral("%1%2").arg("ABCD"[c]).arg(r))->x0 - (250 + 437 * c)) < Tolerance);
    }
}

void TestDocumentPrint::gridPensAndLetterhead_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<int>("minPixels"); // of the 821 between x = 560 and 1380
    QTest::addColumn<int>("maxPixels");
    QTest::newRow("no line (the default)") << 0 << 0 << QColor(Qt::black) << 0 << 0;
    QTest::newRow("solid black") << 0 << 1 << QColor(Qt::black) << 780 << 821;
    QTest::newRow("dashed red") << 9 << 2 << QColor(Qt::red) << 410 << 660;
    QTest::newRow("dotted blue") << 12 << 3 << QColor(Qt::blue) << 160 << 490;
}

void TestDocumentPrint::gridPensAndLetterhead()
{
    QFETCH(int, colour);
    QFETCH(int, style);
    QFETCH(QColor, ink);
    QFETCH(int, minPixels);
    QFETCH(int, maxPixels);
    UserSettings settings;
    for (const char *pen : {"StiftColorW", "StiftColorS", "StiftLinieW", "StiftLinieS"})
        settings.writeInt(QLatin1String(pen), QByteArray(pen).contains("Color") ? colour : style);
    Document d = invoice(30);
    DocumentPrintOptions o = optionsFor(d);
    o.letterhead = true;
    o.letterheadImage = QImage(400, 80, QImage::Format_RGB32);
    o.letterheadImage.fill(QColor(0, 160, 0));
    const PdfText pdf(print(d, o));
    for (int p = 1; p <= 2; ++p) {
        // The line under slot 3 (empty on page 2) between two column separators.
        const QImage page = pdf.picture(p);
        int pixels = 0;
        for (int y = 1176 - T; y <= 1178 - T; ++y) {
            int row = 0;
            for (int x = 560; x <= 1380; ++x)
                row += page.pixelColor(x, y) == ink;
            pixels = std::max(pixels, row);
        }
        QVERIFY2(pixels >= minPixels && pixels <= maxPixels, qPrintable(QString::number(pixels)));
        // The letterhead fills (L + 250, T − 200) to (L + 2005, T − 536) on the first page only.
        const QColor green(0, 160, 0);
        QCOMPARE(page.pixelColor(255, 205 - T) == green && page.pixelColor(2000, 530 - T) == green, p == 1);
        QVERIFY(page.pixelColor(240, 368 - T) != green && page.pixelColor(1127, 545 - T) != green);
    }
}

void TestDocumentPrint::dunningLetter_data()
{
    QTest::addColumn<bool>("billingLeft");
    QTest::addColumn<bool>("billing");
    QTest::addColumn<QString>("heads"); // label | left name | right name
    QTest::newRow("postal address left") << false << true << "Rechnungsanschrift:|Muster GmbH|Buchhaltung";
    QTest::newRow("billing address left") << true << true << "Postanschrift:|Buchhaltung|Muster GmbH";
    QTest::newRow("no billing address") << false << false << "|Muster GmbH|";
}

void TestDocumentPrint::dunningLetter()
{
    QFETCH(QString, heads);
    QFETCH(bool, billing);
    QFETCH(bool, billingLeft);
    Document letter(DocumentKind::Mahnung);
    letter.number = 4;
    letter.projectNumber = 7;
    letter.invoiceNumber = 123;
    letter.dunningLevel = 2;
    letter.date = QStringLiteral("15.04.2004");
    letter.ownCompany = QStringLiteral("Halvard GmbH - Hafenstraße 1 - 20457 Hamburg");
    letter.address = {QStringLiteral("Muster GmbH"), QStringLiteral("Marktplatz 3"), QStringLiteral("12345 Musterstadt")};
    if (billing)
        letter.secondAddress = {QStringLiteral("Buchhaltung"), QStringLiteral("Postfach 9"), QStringLiteral("12340 Ort")};
    letter.addressLeft = billingLeft;
    for (int k = 1; k <= 27; ++k)
        letter.letterLines << (k == 2 ? QString() : QStringLiteral("Zeile %1 des Briefes").arg(k));
    const auto printLetter = [&](int copies) {
        const QString path = m_env->path(QStringLiteral("mahnung%1.pdf").arg(++m_files));
        PrintDunningLetter(m_env->state(), letter, PadNumber(10), PrintTarget::pdf(path, copies));
        return path;
    };
    const PdfText pdf(printLetter(2));
    QCOMPARE(pdf.pages(), 2); // one page per copy, both the same
    QCOMPARE(pdf.picture(1), pdf.picture(2));
    QCOMPARE(pdf.lineAt(1, 610 - T), heads.section('|', 0, 0));
    QCOMPARE(pdf.lineAt(1, 660 - T, 250, 990), heads.section('|', 1, 1));
    QCOMPARE(pdf.lineAt(1, 660 - T, 1000, 1690), heads.section('|', 2, 2));
    QCOMPARE(pdf.lineAt(1, 940 - T), QStringLiteral("2. Mahnung zur Rechnung 000123"));
    const QStringList info = {"790|Mahnung Nr.: 000004", "820|Datum: 15.04.2004", "850|Kd-Nr.: 000010",
                              "880|Projekt Nr.: 000007", "910|Seite: 1/1"};
    for (const QString &i : info)
        QCOMPARE(pdf.lineAt(1, i.section('|', 0, 0).toInt() - T, 1700), i.section('|', 1));
    for (int k = 1; k <= 25; ++k)
        QCOMPARE(pdf.lineAt(1, 1060 + 55 * (k - 1) - T, 240, 2000), letter.letterLines.at(k - 1));
    QVERIFY(!pdf.contains(QStringLiteral("Zeile 26 des Briefes")));
    QCOMPARE(pdf.lineAt(1, 2620 - T, 0, 600), QStringLiteral("Ihre Firma"));
    // The project number ends a blank's width (at S1100) before the edge, like the page.
    QVERIFY(std::abs(pdf.find(QStringLiteral("000007"))->x1 - (2000 - 7.8)) < Tolerance);
    // Letters follow the font scale as documents do: +2 grows the body from 12 to 13 points.
    QCOMPARE(pdf.points(QStringLiteral("Zeile 1 des Briefes")), 12);
    m_env->state().PrintSizeOffset = SizeGradeOffset(7);
    QCOMPARE(PdfText(printLetter(1)).points(QStringLiteral("Zeile 1 des Briefes")), 13);
}

void TestDocumentPrint::pdfInformationAndFailures()
{
    WriteOwnCompany(m_env->home(), QStringLiteral("Schreinerei Müller"), QStringLiteral("Weg 1"), QStringLiteral("1"),
                    QStringLiteral("Ort"));
    const Document d = invoice(2);
    const QString file = print(d, optionsFor(d));
    const QString info = runTool(QStringLiteral("pdfinfo"), {file});
    for (const QString &line : {QStringLiteral("Title:\\s+Rechnung 000123\n"), QStringLiteral("Author:\\s+Schreinerei Müller\n"),
                                QStringLiteral("CreationDate:.*%1").arg(QDate::currentDate().year()),
                                QStringLiteral("Page size:\\s+595 x 842")}) // A4
        QVERIFY2(info.contains(QRegularExpression(line)), qPrintable(info));
    QVERIFY(!QFile::exists(file + QStringLiteral(".part")));

    // A folder that cannot be made, a printer that is not there: German messages.
    QFile plain(m_env->path(QStringLiteral("keinOrdner")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    const auto failure = [&](const PrintTarget &target) {
        try {
            m_system.run(target, {}, CopyMode::OneJob, [](QPainter &, QPagedPaintDevice &) {});
        } catch (const OrvellaError &e) {
            return e.message();
        }
        return QString();
    };
    QVERIFY(failure(PrintTarget::pdf(plain.fileName() + QStringLiteral("/R.pdf"))).startsWith("Die PDF-Datei „"));
    QCOMPARE(failure(PrintTarget::printer(QStringLiteral("Weg"))), QStringLiteral("Der Drucker „Weg“ ist nicht eingerichtet."));
    // A Skonto percentage that is no number stops the print before a page exists.
    Document bad = invoice(1);
    bad.skontoPercent = QStringLiteral("zwei");
    QVERIFY_THROWS_EXCEPTION(ConversionError, DocumentPrintRequest(m_env->state(), bad, optionsFor(bad)));
}

QTEST_MAIN(TestDocumentPrint)
#include "tst_documentprint.moc"
