// Printed documents and dunning letters, read back from the PDF: the texts of
// every block at their places, page breaks, styles, prices, footer and grid.

#include "Document.h"
#include "DocumentFixtures.h"
#include "Errors.h"
#include "Formats.h"
#include "PdfText.h"
#include "PrintCommands.h"
#include "PrintSettings.h"
#include "PrintSystem.h"
#include "Settings.h"
#include "TestEnv.h"
#include "Totals.h"

#include <QtTest>
#include <memory>

namespace {

// Within half a millimetre.
constexpr double Tolerance = 5.0;

// An invoice 123 of project 7 for customer 10 with n article lines, line i being
// i pieces of 12,50 at 19 % (every fifth at 7 %), Skonto 2 %, four styled text lines.
Document invoice(int n, DocumentKind kind = DocumentKind::Rechnung)
{
    QStringList rows;
    for (int i = 1; i <= n; ++i)
        rows << QStringLiteral("%1|A-%1|Artikel %1|%1|12,50|%2").arg(i).arg(i % 5 == 0 ? "  7,00 %" : "19,00 %");
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
    DocumentPrintOptions o;
    o.title = d.kind.listCaption() + QStringLiteral("       ") + PadNumber(d.number);
    o.customerNumber = PadNumber(10);
    o.projectNumber = PadNumber(d.projectNumber);
    o.prices = prices;
    return o;
}

} // namespace

class TestDocumentPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void blockPositions_data();
    void blockPositions();
    void pageBreaks_data();
    void pageBreaks();
    void windowLabelAndCreditNote_data();
    void windowLabelAndCreditNote();
    void stylesAndSizes();
    void skontoAndPrices_data();
    void skontoAndPrices();
    void footerRows_data();
    void footerRows();
    void gridPensAndLetterhead_data();
    void gridPensAndLetterhead();
    void dunningLetter_data();
    void dunningLetter();
    void pdfFileAndMetadata();

private:
    QString print(const Document &d, const DocumentPrintOptions &o, int copies = 1);
    QString printLetter(const Document &letter, int copies = 1);

    std::unique_ptr<TestEnv> m_env;
    PrintSystem m_system;
    int m_files = 0;
};

void TestDocumentPrint::init()
{
    m_env = std::make_unique<TestEnv>();
}

void TestDocumentPrint::cleanup()
{
    m_env.reset();
}

QString TestDocumentPrint::print(const Document &d, const DocumentPrintOptions &o, int copies)
{
    const QString path = m_env->path(QStringLiteral("druck%1.pdf").arg(++m_files));
    Print(m_env->state(), m_system, DocumentPrintRequest(m_env->state(), d, o), PrintTarget::pdf(path, copies));
    return path;
}

QString TestDocumentPrint::printLetter(const Document &letter, int copies)
{
    const QString path = m_env->path(QStringLiteral("mahnung%1.pdf").arg(++m_files));
    PrintDunningLetter(m_env->state(), letter, PadNumber(10), PrintTarget::pdf(path, copies));
    return path;
}

void TestDocumentPrint::blockPositions_data()
{
    QTest::addColumn<int>("shLeft");
    QTest::addColumn<int>("shTop");
    QTest::newRow("default origin") << 200 << 100;
    // 10 mm further right; a larger SHTop moves the page up by the same amount.
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
    d.addressLeft = true;
    const PdfText pdf(print(d, optionsFor(d)));
    QCOMPARE(pdf.pages(), 1);

    const double L = shLeft - 200, T = shTop;
    // text, layout position (a, b), anchored at its right end
    const struct
    {
        const char *text;
        int a, b;
        bool right;
    } expected[] = {
        {"Halvard GmbH - Hafenstraße 1 - 20457 Hamburg", 250, 550, false},
        {"Postanschrift:", 1000, 610, false},
        // the invoice address stands left in the envelope window
        {"Buchhaltung Muster", 250, 660, false},
        {"Postfach 9", 250, 720, false},
        {"12340 Musterstadt", 250, 820, false},
        {"Muster GmbH", 1000, 660, false},
        {"Marktplatz 3", 1000, 720, false},
        {"12345 Musterstadt", 1000, 820, false},
        {"Datum:", 1700, 820, false},
        {"01.03.2004", 2000, 820, true},
        {"Kd-Nr.:", 1700, 850, false},
        {"000010", 2000, 850, true},
        {"Projekt Nr.:", 1700, 880, false},
        {"000007", 2000, 880, true},
        {"Seite:", 1700, 910, false},
        {"Rechnung", 250, 940, false},
        {"Pos.", 255, 1010, false},
        {"Art.-Nr.", 355, 1010, false},
        {"Bezeichnung", 555, 1010, false},
        {"Anzahl", 1405, 1010, false},
        {"Einzelp. €", 1505, 1010, false},
        {"Betrag €", 1685, 1010, false},
        {"MwSt.", 1895, 1010, false},
        // line 2 in slot 2
        {"2", 340, 1100, true},
        {"A-2", 530, 1100, true},
        {"Artikel 2", 550, 1100, false},
        {"25,00", 1870, 1100, true},
        {"19,00 %", 1990, 1060, true}, // the first line's
        {"12,50", 1660, 1060, true},
        {"Vielen Dank für Ihren Auftrag.", 260, 2100, false},
        {"Zahlbar ohne Abzug.", 260, 2140, false},
        {"Es gelten unsere AGB.", 260, 2220, false},
        {"Nettowert", 520, 2350, true},
        {"MwSt.", 1609, 2350, true},
        {"Rechnungsbetrag", 1972, 2350, true},
        {"75,00 €", 520, 2390, true},
        {"14,25 € (19,00 %)", 1609, 2390, true},
        {"89,25 €", 1972, 2430, true},
        {"Skonto 2,00 %. Entspricht", 250, 2530, false},
        {"Ihre Firma", 250, 2620, false},
        {"Telefon: [bitte eintragen]", 687, 2620, false},
        {"Bank: [bitte eintragen]", 1124, 2620, false},
        {"Steuernummer: [bitte eintragen]", 1561, 2620, false},
        {"Internet: [bitte eintragen]", 687, 2710, false},
    };
    for (const auto &e : expected) {
        const QString text = QString::fromUtf8(e.text);
        // The totals heading "MwSt." is the second on the page.
        std::optional<PdfWord> w = pdf.find(text);
        if (text == QLatin1String("MwSt.") && e.b == 2350) {
            for (const PdfWord &x : pdf.words())
                if (x.text == text && x.y0 > 2000)
                    w = x;
        }
        QVERIFY2(w, qPrintable(text));
        const double x = e.right ? w->x1 : w->x0;
        QVERIFY2(std::abs(x - (L + e.a)) < Tolerance,
                 qPrintable(QStringLiteral("%1: x %2, expected %3").arg(text).arg(x).arg(L + e.a)));
        QVERIFY2(std::abs(w->y0 - (e.b - T)) < Tolerance,
                 qPrintable(QStringLiteral("%1: y %2, expected %3").arg(text).arg(w->y0).arg(e.b - T)));
    }
    // "1/1" ends one blank's width (0.8 mm at 8 points) before the edge.
    const std::optional<PdfWord> page = pdf.find(QStringLiteral("1/1"));
    QVERIFY(page);
    QVERIFY2(std::abs(page->x1 - (L + 2000 - 7.8)) < Tolerance, qPrintable(QString::number(page->x1)));
    // The title is the kind and the number field's text with its blanks.
    QCOMPARE(pdf.lineAt(1, 940 - T, L + 200, L + 1500), QStringLiteral("Rechnung 000123"));
    QVERIFY(std::abs(pdf.find(QStringLiteral("000123"))->x0 - pdf.find(QStringLiteral("Rechnung"))->x1) > 30);
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
    const double T = 100;
    for (int p = 1; p <= pages; ++p) {
        const bool last = p == pages;
        QCOMPARE(pdf.lineAt(p, 910 - T, 1700), QStringLiteral("Seite: %1/%2").arg(p).arg(pages));
        // Every page carries head, table and footer.
        QCOMPARE(pdf.lineAt(p, 550 - T), d.ownCompany);
        QCOMPARE(pdf.lineAt(p, 2100 - T), QStringLiteral("Vielen Dank für Ihren Auftrag."));
        QCOMPARE(pdf.lineAt(p, 2620 - T, 0, 600), QStringLiteral("Ihre Firma"));
        // The slots of the page hold the lines 25 (p − 1) + 1 …
        for (int slot : {1, 25}) {
            const int row = 25 * (p - 1) + slot;
            const QString expected = row <= lines ? QStringLiteral("Artikel %1").arg(row) : QString();
            QCOMPARE(pdf.lineAt(p, 1060 + 40 * (slot - 1) - T, 540, 1390), expected);
        }
        // … and the totals wait for the last page.
        QCOMPARE(pdf.lineAt(p, 2320 - T, 1640), last ? QString() : QStringLiteral("Rechnungsbetrag"));
        QCOMPARE(pdf.lineAt(p, 2380 - T, 1640), last ? QString() : QStringLiteral("Siehe letzte Seite"));
        QCOMPARE(pdf.contains(d.totals.gross(), p), last);
        QCOMPARE(pdf.find(QStringLiteral("Nettowert"), p).has_value(), last);
    }
}

void TestDocumentPrint::windowLabelAndCreditNote_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("left");   // "… links" ticked
    QTest::addColumn<bool>("second"); // the second address filled
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("rightName");
    QTest::newRow("delivery note") << int(DocumentKind::Lieferschein) << false << true << "Lieferanschrift:"
                                   << "Buchhaltung Muster";
    QTest::newRow("delivery address left") << int(DocumentKind::Lieferschein) << true << true << "Postanschrift:"
                                           << "Muster GmbH";
    QTest::newRow("credit note") << int(DocumentKind::Gutschrift) << false << true << "Rechnungsanschrift:"
                                 << "Buchhaltung Muster";
    QTest::newRow("invoice without invoice address") << int(DocumentKind::Rechnung) << false << false << "" << "";
    QTest::newRow("quotation: the box does not count") << int(DocumentKind::Angebot) << true << false << "" << "";
    QTest::newRow("working document") << int(DocumentKind::Ablage) << false << true << "" << "Buchhaltung Muster";
}

void TestDocumentPrint::windowLabelAndCreditNote()
{
    QFETCH(int, kind);
    QFETCH(bool, left);
    QFETCH(bool, second);
    Document d = invoice(30, DocumentKind::Kind(kind));
    d.addressLeft = left;
    if (!second)
        d.secondAddress = {};
    d.invoiceNumber = 42;
    const PdfText pdf(print(d, optionsFor(d)));
    const double T = 100;
    QTEST(pdf.lineAt(1, 610 - T), "label");
    QTEST(pdf.lineAt(1, 660 - T, 1000, 1690), "rightName");
    // Under a credit note's title, the invoice it reduces; its totals are a "Gutschrift".
    const bool credit = kind == int(DocumentKind::Gutschrift);
    const std::optional<PdfWord> caption = pdf.find(QStringLiteral("(Gutschrift zur Rechnung Nr.: 000042)"));
    QCOMPARE(caption.has_value(), credit);
    if (credit)
        QVERIFY(std::abs(caption->x0 - 950) < Tolerance && std::abs(caption->y0 - (960 - T)) < Tolerance);
    QCOMPARE(pdf.lineAt(1, 2320 - T, 1640), credit ? QStringLiteral("Gutschrift") : QStringLiteral("Rechnungsbetrag"));
}

void TestDocumentPrint::stylesAndSizes()
{
    Document d = invoice(2);
    // Font scale +2: every fitting width grows by 80.
    m_env->state().PrintSizeOffset = SizeGradeOffset(7);
    const QString grown = print(d, optionsFor(d));
    m_env->state().PrintSizeOffset = 0;
    const QString file = print(d, optionsFor(d));

    // pdftotext's box is ascent plus descent: 1.117 times the size in points.
    const auto points = [](const PdfText &pdf, const QString &text) {
        const std::optional<PdfWord> w = pdf.find(text);
        return w ? qRound((w->y1 - w->y0) * 72.0 / 254.0 / 1.117) : 0;
    };
    const PdfText pdf(file), big(grown);
    const struct
    {
        const char *text;
        int size, grownSize;
    } sizes[] = {
        {"Halvard GmbH", 7, 7},     // S900
        {"Pos.", 7, 8},             // S1000
        {"Datum:", 8, 9},           // S1100
        {"Muster GmbH", 10, 10},    // S1300, bold address: 11 points would be 138,2 mm
        {"Rechnung", 14, 14},       // S1800
        {"Ihre Firma", 7, 8},       // S1000
    };
    for (const auto &s : sizes) {
        QCOMPARE(points(pdf, QString::fromUtf8(s.text)), s.size);
        QCOMPARE(points(big, QString::fromUtf8(s.text)), s.grownSize);
    }

    // A sender line wider than 90 mm at the address size makes the address smaller.
    d.ownCompany = QStringLiteral("Halvard Gebäudetechnik und Haustechnik GmbH & Co. KG - Hafenstraße 112 - 20457 Hamburg");
    QCOMPARE(points(PdfText(print(d, optionsFor(d))), QStringLiteral("Muster GmbH")), 8);

    QMap<QString, QPair<bool, bool>> styles; // text → bold, italic
    for (const PdfRun &r : PdfText::runs(file))
        styles.insert(r.text, {r.bold, r.italic});
    const QPair<bool, bool> regular{false, false}, bold{true, false}, italic{false, true}, both{true, true};
    QCOMPARE(styles.value(QStringLiteral("Vielen Dank für Ihren Auftrag.")), bold);
    QCOMPARE(styles.value(QStringLiteral("Zahlbar ohne Abzug.")), regular);
    QCOMPARE(styles.value(QStringLiteral("Es gelten unsere AGB.")), both);
    QCOMPARE(styles.value(QStringLiteral("Muster GmbH")), bold);
    QCOMPARE(styles.value(QStringLiteral("Pos.")), bold);
    QCOMPARE(styles.value(QStringLiteral("Nettowert")), regular);
    QCOMPARE(styles.value(d.totals.net()), regular);
    QCOMPARE(styles.value(d.totals.gross()), bold);
    QVERIFY(!styles.values().contains(italic));
}

void TestDocumentPrint::skontoAndPrices_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("skonto");
    QTest::addColumn<bool>("prices");
    QTest::addColumn<QString>("skontoLine");

    // 1.000,00 net at 19 %: 1.190,00 gross.
    const QString line = QStringLiteral("1|B-7|Regal|2|500,00|19,00 %");
    QTest::newRow("invoice, Skonto 2 %") << int(DocumentKind::Rechnung) << line << "2,00" << true
                                         << "Skonto 2,00 %. Entspricht 1.166,20 €";
    QTest::newRow("invoice without Skonto") << int(DocumentKind::Rechnung) << line << "" << true << "";
    // 10,25 less 2 % is 10,045, shown as 10,04 (halfway to the even cent).
    QTest::newRow("Skonto rounded to even") << int(DocumentKind::Rechnung) << "1|B-7|Regal|1|10,25|0,00 %" << "2,00"
                                            << true << "Skonto 2,00 %. Entspricht 10,04 €";
    QTest::newRow("order with prices") << int(DocumentKind::Auftrag) << line << "2,00" << true
                                       << "Skonto 2,00 %. Entspricht 1.166,20 €";
    QTest::newRow("order, Preis drucken off") << int(DocumentKind::Auftrag) << line << "2,00" << false << "";
    QTest::newRow("delivery note, Preis drucken off") << int(DocumentKind::Lieferschein) << line << "2,00" << false
                                                      << "";
}

void TestDocumentPrint::skontoAndPrices()
{
    QFETCH(int, kind);
    QFETCH(QString, line);
    QFETCH(QString, skonto);
    QFETCH(bool, prices);
    QFETCH(QString, skontoLine);
    Document d = sampleDocument(DocumentKind::Kind(kind), 5, {line});
    d.addressLeft = false;
    d.skontoText = QStringLiteral("Skonto");
    d.skontoPercent = skonto;
    Totals::compute(d.lines, d.totals, {Amount::fromUnits(19)});
    const QString file = print(d, optionsFor(d, prices));
    const PdfText pdf(file);
    const double T = 100;
    QCOMPARE(pdf.lineAt(1, 2530 - T), skontoLine);
    // The quantity always prints; price, amount, VAT and totals only with prices.
    QCOMPARE(pdf.lineAt(1, 1060 - T, 1400, 1480), line.section(QLatin1Char('|'), 3, 3));
    const QString cells = pdf.lineAt(1, 1060 - T, 1500);
    QCOMPARE(cells.isEmpty(), !prices);
    QCOMPARE(pdf.contains(QStringLiteral("Nettowert")), prices);
    QCOMPARE(pdf.contains(d.totals.gross()), prices);
    // the headings of the table stay
    QVERIFY(pdf.contains(QStringLiteral("Einzelp. €")));
    if (!skontoLine.isEmpty()) {
        // the amount in bold, the text before it not
        const QString amount = skontoLine.section(QStringLiteral("Entspricht "), 1);
        int checked = 0;
        for (const PdfRun &r : PdfText::runs(file)) {
            if (r.text.startsWith(QLatin1String("Skonto")))
                checked += !r.bold;
            if (r.text == amount)
                checked += r.bold;
        }
        QCOMPARE(checked, 2);
    }
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
    const char letters[] = "abcde";
    for (int r = 0; r < rows; ++r)
        m_env->exec(QStringLiteral("INSERT INTO foot (Firma, X, A, B, C, D) VALUES (1, '%1', 'A%2', 'B%2', 'C%2', 'D%2')")
                        .arg(QLatin1Char(letters[4 - r]))
                        .arg(5 - r)); // inserted backwards: the rows come ordered by X
    m_env->exec(QStringLiteral("INSERT INTO foot (Firma, X, A) VALUES (2, 'a', 'andere Firma')"));
    const Document d = invoice(1);
    const PdfText pdf(print(d, optionsFor(d)));
    const double T = 100;
    for (int line = 0; line < 5; ++line) {
        const int source = std::min(line, rows - 1) + 1 + (5 - rows);
        const QString expected = rows == 0 ? QString()
                                           : QStringLiteral("A%1 B%1 C%1 D%1").arg(source);
        QCOMPARE(pdf.lineAt(1, 2620 + 30 * line - T), expected);
        if (rows > 0)
            for (int c = 0; c < 4; ++c) {
                const auto w = pdf.find(QStringLiteral("%1%2").arg(QLatin1Char("ABCD"[c])).arg(source));
                QVERIFY(std::abs(w->x0 - (250 + 437 * c)) < Tolerance);
            }
    }
}

void TestDocumentPrint::gridPensAndLetterhead_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("ink");
    QTest::addColumn<double>("minShare");
    QTest::addColumn<double>("maxShare");
    QTest::newRow("no line (the default)") << 0 << 0 << QColor(Qt::black) << 0.0 << 0.0;
    QTest::newRow("solid black") << 0 << 1 << QColor(Qt::black) << 0.95 << 1.0;
    QTest::newRow("dashed red") << 9 << 2 << QColor(Qt::red) << 0.5 << 0.8;
    QTest::newRow("dotted blue") << 12 << 3 << QColor(Qt::blue) << 0.2 << 0.6;
}

void TestDocumentPrint::gridPensAndLetterhead()
{
    QFETCH(int, colour);
    QFETCH(int, style);
    QFETCH(QColor, ink);
    QFETCH(double, minShare);
    QFETCH(double, maxShare);
    UserSettings settings;
    for (const char *pen : {"StiftColorW", "StiftColorS"})
        settings.writeInt(QLatin1String(pen), colour);
    for (const char *pen : {"StiftLinieW", "StiftLinieS"})
        settings.writeInt(QLatin1String(pen), style);
    Document d = invoice(30);
    DocumentPrintOptions o = optionsFor(d);
    const QColor green(0, 160, 0);
    QImage head(400, 80, QImage::Format_RGB32);
    head.fill(green);
    o.letterhead = true;
    o.letterheadImage = head;
    const QString file = print(d, o);

    // The share of pixels in a row (or column) of the page that have the ink.
    const auto share = [&](const QImage &page, int x0, int y0, int x1, int y1) {
        int hits = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) {
                const QColor p = page.pixelColor(x, y);
                hits += std::abs(p.red() - ink.red()) + std::abs(p.green() - ink.green())
                            + std::abs(p.blue() - ink.blue()) < 150;
            }
        return double(hits) / std::max(x1 - x0 + 1, y1 - y0 + 1);
    };
    const int T = 100;
    for (int p = 1; p <= 2; ++p) {
        const QImage page = PdfText::picture(file, p);
        QVERIFY(!page.isNull());
        // The line under slot 3 (empty on page 2) between the column separators,
        // and the separator at x = 545 beside that slot.
        const int under = 1060 + 80 + 37 - T;
        double found = 0;
        for (int y = under - 1; y <= under + 1; ++y)
            found = std::max(found, share(page, 560, y, 1380, y));
        QVERIFY2(found >= minShare && found <= maxShare, qPrintable(QString::number(found)));
        double separator = 0;
        for (int x = 544; x <= 546; ++x)
            separator = std::max(separator, share(page, x, 1060 + 80 - T, x, 1060 + 80 + 30 - T));
        QVERIFY2(separator >= minShare - 0.1 && separator <= maxShare, qPrintable(QString::number(separator)));
        // The letterhead fills its rectangle on the first page only.
        QCOMPARE(page.pixelColor(1127, 368 - T) == green, p == 1);
        QCOMPARE(page.pixelColor(255, 205 - T) == green, p == 1);
        QCOMPARE(page.pixelColor(2000, 530 - T) == green, p == 1);
        QVERIFY(page.pixelColor(240, 368 - T) != green);
        QVERIFY(page.pixelColor(1127, 545 - T) != green);
    }
}

void TestDocumentPrint::dunningLetter_data()
{
    QTest::addColumn<bool>("billingLeft");
    QTest::addColumn<bool>("billing");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("leftName");
    QTest::addColumn<QString>("rightName");
    QTest::newRow("postal address left") << false << true << "Rechnungsanschrift:" << "Muster GmbH" << "Buchhaltung";
    QTest::newRow("billing address left") << true << true << "Postanschrift:" << "Buchhaltung" << "Muster GmbH";
    QTest::newRow("no billing address") << false << false << "" << "Muster GmbH" << "";
}

void TestDocumentPrint::dunningLetter()
{
    QFETCH(bool, billingLeft);
    QFETCH(bool, billing);
    QFETCH(QString, label);
    QFETCH(QString, leftName);
    QFETCH(QString, rightName);
    Document letter(DocumentKind::Mahnung);
    letter.number = 4;
    letter.projectNumber = 7;
    letter.invoiceNumber = 123;
    letter.dunningLevel = 2;
    letter.date = QStringLiteral("15.04.2004");
    letter.ownCompany = QStringLiteral("Halvard GmbH - Hafenstraße 1 - 20457 Hamburg");
    letter.address = {QStringLiteral("Muster GmbH"), QStringLiteral("Marktplatz 3"), QStringLiteral("12345 Musterstadt")};
    if (billing)
        letter.secondAddress = {QStringLiteral("Buchhaltung"), QStringLiteral("Postfach 9"), QStringLiteral("12340 Musterstadt")};
    letter.addressLeft = billingLeft;
    for (int k = 1; k <= 27; ++k)
        letter.letterLines << QStringLiteral("Zeile %1 des Briefes").arg(k);
    letter.letterLines[1].clear();

    const QString file = printLetter(letter, 2);
    const PdfText pdf(file);
    QCOMPARE(pdf.pages(), 2); // one page per copy
    const double T = 100;
    for (int p = 1; p <= 2; ++p) {
        QCOMPARE(pdf.lineAt(p, 610 - T), label);
        QCOMPARE(pdf.lineAt(p, 660 - T, 250, 990), leftName);
        QCOMPARE(pdf.lineAt(p, 660 - T, 1000, 1690), rightName);
        QCOMPARE(pdf.lineAt(p, 940 - T), QStringLiteral("2. Mahnung zur Rechnung 000123"));
        QCOMPARE(pdf.lineAt(p, 820 - T, 1700), QStringLiteral("Datum: 15.04.2004"));
        QCOMPARE(pdf.lineAt(p, 850 - T, 1700), QStringLiteral("Kd-Nr.: 000010"));
        QCOMPARE(pdf.lineAt(p, 880 - T, 1700), QStringLiteral("Projekt Nr.: 7"));
        QCOMPARE(pdf.lineAt(p, 910 - T, 1700), QStringLiteral("Seite: 1/1"));
        for (int k = 1; k <= 25; ++k)
            QCOMPARE(pdf.lineAt(p, 1060 + 55 * (k - 1) - T, 240, 2000),
                     k == 2 ? QString() : QStringLiteral("Zeile %1 des Briefes").arg(k));
        QVERIFY(!pdf.contains(QStringLiteral("Zeile 26 des Briefes"), p));
        QCOMPARE(pdf.lineAt(p, 2620 - T, 0, 600), QStringLiteral("Ihre Firma"));
    }
    // The project number ends a blank's width (at S1100) before the edge, like the page.
    const std::optional<PdfWord> project = pdf.find(QStringLiteral("7"));
    QVERIFY(project && std::abs(project->x1 - (2000 - 7.8)) < Tolerance);
    // Both copies are the same page.
    QCOMPARE(PdfText::picture(file, 1), PdfText::picture(file, 2));

    // Letters follow the font scale of the options as documents do: +2 grows the
    // body from 12 to 13 points.
    const auto bodyPoints = [](const QString &pdf) {
        const std::optional<PdfWord> w = PdfText(pdf).find(QStringLiteral("Zeile 1 des Briefes"));
        return w ? qRound((w->y1 - w->y0) * 72.0 / 254.0 / 1.117) : 0;
    };
    QCOMPARE(bodyPoints(file), 12);
    m_env->state().PrintSizeOffset = SizeGradeOffset(7);
    QCOMPARE(bodyPoints(printLetter(letter)), 13);
}

void TestDocumentPrint::pdfFileAndMetadata()
{
    WriteOwnCompany(m_env->home(), QStringLiteral("Schreinerei Müller"), QStringLiteral("Weg 1"), QStringLiteral("12345"),
                    QStringLiteral("Ort"));
    const Document d = invoice(2);
    const QString file = print(d, optionsFor(d));
    const QMap<QString, QString> info = PdfText::info(file);
    QCOMPARE(info.value(QStringLiteral("Title")), QStringLiteral("Rechnung 000123"));
    QCOMPARE(info.value(QStringLiteral("Author")), QStringLiteral("Schreinerei Müller"));
    QCOMPARE(info.value(QStringLiteral("Creator")), QStringLiteral("Orvella"));
    QVERIFY2(info.value(QStringLiteral("CreationDate")).contains(QString::number(QDate::currentDate().year())),
             qPrintable(info.value(QStringLiteral("CreationDate"))));
    QCOMPARE(info.value(QStringLiteral("Page size")).left(9), QStringLiteral("595 x 842")); // A4
    QVERIFY(!QFile::exists(file + QStringLiteral(".part")));

    // A folder that cannot be made (a file stands in its place): a German
    // message instead of a file.
    const QString blocked = m_env->path(QStringLiteral("keinOrdner"));
    QFile plain(blocked);
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    try {
        Print(m_env->state(), m_system, DocumentPrintRequest(m_env->state(), d, optionsFor(d)),
              PrintTarget::pdf(blocked + QStringLiteral("/Rechnung.pdf")));
        QFAIL("printing into a file as folder succeeded");
    } catch (const OrvellaError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Die PDF-Datei")), qPrintable(e.message()));
    }

    // A printer that is not there: a German message, no job.
    try {
        m_system.run(PrintTarget::printer(QStringLiteral("Gibt es nicht")), {}, CopyMode::OneJob,
                     [](QPainter &, QPagedPaintDevice &) { QFAIL("drawn without a printer"); });
        QFAIL("printed on a printer that does not exist");
    } catch (const OrvellaError &e) {
        QCOMPARE(e.message(), QStringLiteral("Der Drucker „Gibt es nicht“ ist nicht eingerichtet."));
    }

    // A Skonto percentage that is no number stops the print before a page exists.
    Document bad = invoice(1);
    bad.skontoPercent = QStringLiteral("zwei");
    QVERIFY_THROWS_EXCEPTION(ConversionError, DocumentPrintRequest(m_env->state(), bad, optionsFor(bad)));
}

QTEST_MAIN(TestDocumentPrint)
#include "tst_documentprint.moc"
