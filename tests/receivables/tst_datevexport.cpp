#include "DatevExport.h"
#include "DatevFile.h"

#include <QtTest>
#include <algorithm>

using namespace Datev;

Q_DECLARE_METATYPE(Datev::Chart)
Q_DECLARE_METATYPE(QList<Datev::Document>)
Q_DECLARE_METATYPE(QList<Datev::Payment>)

namespace {

Amount money(const char *text)
{
    return Amount::fromText(QString::fromLatin1(text));
}

RateAmount rated(int rate, const char *category, const char *gross)
{
    return {Amount::fromUnits(rate), QString::fromLatin1(category), money(gross)};
}

Document invoice(qint64 number, const QDate &date, qint64 customer, const QString &name, QList<RateAmount> rates)
{
    Document d;
    d.number = number;
    d.date = date;
    d.customerNumber = customer;
    d.customerName = name;
    d.rates = rates;
    return d;
}

Payment payment(qint64 invoiceNumber, const QDate &date, qint64 customer, const QString &name, const char *paid,
                const char *skonto = "0", QList<RateAmount> rates = {})
{
    return {invoiceNumber, date, money(paid), money(skonto), rates, customer, name};
}

Settings settings()
{
    Settings s = Settings::presets(Chart::Skr03);
    s.consultantNumber = QStringLiteral("29098");
    s.clientNumber = QStringLiteral("55003");
    s.fiscalYearStart = QDate(2024, 1, 1);
    return s;
}

const Period January{QDate(2024, 1, 1), QDate(2024, 1, 31)};
const QDateTime Created(QDate(2024, 2, 1), QTime(9, 30, 5, 123));

// January worked out by hand: 123 one rate, 124 two rates, credit note 7, the
// supply 126 to the Netherlands, a first payment of 123, 124 paid with 2 % Skonto.
// Given out of order on purpose.
QList<Document> januaryDocuments()
{
    Document a = invoice(123, QDate(2024, 1, 5), 4711, "Alpha GmbH", {rated(19, "S", "119,00")});
    a.serviceDate = QDate(2024, 1, 3);
    Document b = invoice(124, QDate(2024, 1, 10), 4712, "Beta KG", {rated(7, "S", "107,00"), rated(19, "S", "238,00")});
    Document credit = invoice(7, QDate(2024, 1, 12), 4711, "Alpha GmbH", {rated(19, "S", "59,50")});
    credit.creditNote = true;
    Document eu = invoice(126, QDate(2024, 1, 15), 4713, "Gamma B.V.", {rated(0, "K", "1000,00")});
    eu.customerVatId = QStringLiteral("NL 123456789B01");
    return {eu, credit, b, a};
}

QList<Payment> januaryPayments()
{
    return {payment(124, QDate(2024, 1, 22), 4712, "Beta KG", "338,10", "6,90",
                    {rated(19, "S", "238,00"), rated(7, "S", "107,00")}),
            payment(123, QDate(2024, 1, 20), 4711, "Alpha GmbH", "50,00")};
}

// The fields of one line as written, quotes included; a ";" inside quotes stays.
QList<QByteArray> fields(const QByteArray &line)
{
    QList<QByteArray> out{QByteArray()};
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        if (c == ';' && !quoted)
            out << QByteArray();
        else
            out.last() += c;
    }
    return out;
}

QList<QByteArray> lines(const QByteArray &file)
{
    QList<QByteArray> out = file.split('\n');
    if (out.last().isEmpty())
        out.removeLast();
    for (QByteArray &l : out) {
        if (!l.endsWith('\r'))
            return {}; // every line must end CR LF
        l.chop(1);
    }
    return out;
}

} // namespace

class TestDatevExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void january_data();
    void january();
    void header_data();
    void header();
    void splitSkonto_data();
    void splitSkonto();
    void negativeAmounts_data();
    void negativeAmounts();
    void encoding_data();
    void encoding();
    void debtors_data();
    void debtors();
    void refusals();
    void sameBytes();
};

// The columns of a booking line that this program fills: amount, side, account,
// contra account, date, voucher, text, VAT ID, service date.
const QList<int> Filled{0, 1, 6, 7, 9, 10, 13, 39, 114};

void TestDatevExport::january_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArrayList>("expected"); // the fields of Filled, as written
    const auto row = [](const char *tag, int line, QByteArrayList fields) { QTest::newRow(tag) << line << fields; };
    row("123 one rate", 0, {"119,00", "\"S\"", "14711", "8400", "0501", "\"000123\"", "\"Alpha GmbH\"", "", "03012024"});
    row("124 at 19 %", 1, {"238,00", "\"S\"", "14712", "8400", "1001", "\"000124\"", "\"Beta KG\"", "", ""});
    row("124 at 7 %", 2, {"107,00", "\"S\"", "14712", "8300", "1001", "\"000124\"", "\"Beta KG\"", "", ""});
    row("credit note 7", 3, {"59,50", "\"H\"", "14711", "8400", "1201", "\"000007\"", "\"Alpha GmbH\"", "", ""});
    row("126 to NL", 4,
        {"1000,00", "\"S\"", "14713", "8125", "1501", "\"000126\"", "\"Gamma B.V.\"", "\"NL123456789B01\"", ""});
    row("first payment 123", 5, {"50,00", "\"S\"", "1200", "14711", "2001", "\"000123\"", "\"Alpha GmbH\"", "", ""});
    row("payment 124", 6, {"338,10", "\"S\"", "1200", "14712", "2201", "\"000124\"", "\"Beta KG\"", "", ""});
    // 6,90 × 238 / 345 = 4,76 and 6,90 × 107 / 345 = 2,14
    row("Skonto 124 at 19 %", 7, {"4,76", "\"S\"", "8736", "14712", "2201", "\"000124\"", "\"Beta KG\"", "", ""});
    row("Skonto 124 at 7 %", 8, {"2,14", "\"S\"", "8731", "14712", "2201", "\"000124\"", "\"Beta KG\"", "", ""});
}

void TestDatevExport::january()
{
    QFETCH(int, line);
    QFETCH(QByteArrayList, expected);
    const ExportResult r = exportBookingBatch(settings(), January, Created, januaryDocuments(), januaryPayments());
    QVERIFY2(r.ok(), qPrintable(r.problems.join(QLatin1Char('\n'))));
    const QList<QByteArray> all = lines(r.bytes);
    QCOMPARE(all.size(), 2 + 9);
    QList<QByteArray> f = fields(all[2 + line]);
    QCOMPARE(f.size(), 125);
    QByteArrayList got;
    for (int i : Filled)
        got << std::exchange(f[i], QByteArray());
    QCOMPARE(got, expected);
    QCOMPARE(f, QList<QByteArray>(125)); // nothing else written
}

void TestDatevExport::header_data()
{
    QTest::addColumn<Chart>("chart");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char *tag, int line, int position, const QByteArray &expected, Chart c = Chart::Skr03) {
        QTest::newRow(tag) << c << line << position << expected;
    };
    row("mark", 0, 1, "\"EXTF\"");
    row("header version", 0, 2, "700");
    row("category", 0, 3, "21");
    row("format name", 0, 4, "\"Buchungsstapel\"");
    row("format version", 0, 5, "13");
    row("created", 0, 6, "20240201093005123");
    row("imported", 0, 7, "");
    row("origin", 0, 8, "\"RE\"");
    row("consultant", 0, 11, "29098");
    row("client", 0, 12, "55003");
    row("fiscal year", 0, 13, "20240101");
    row("account length", 0, 14, "4");
    row("from", 0, 15, "20240101");
    row("to", 0, 16, "20240131");
    row("description", 0, 17, "\"Orvella Rechnungsausgang\"");
    row("booking type", 0, 19, "1");
    row("purpose", 0, 20, "0");
    row("not fixed", 0, 21, "0");
    row("currency", 0, 22, "\"EUR\"");
    row("SKR03", 0, 27, "\"03\"");
    row("SKR04", 0, 27, "\"04\"", Chart::Skr04);
    row("last", 0, 31, "\"\"");
    row("column 1", 1, 1, "Umsatz (ohne Soll/Haben-Kz)");
    row("column 8", 1, 8, "Gegenkonto (ohne BU-Schl\xFCssel)");
    row("column 11", 1, 11, "Belegfeld 1");
    row("column 40", 1, 40, "EU-Land u. UStID (Bestimmung)");
    row("column 115", 1, 115, "Leistungsdatum");
    row("column 125", 1, 125, "Abw. Skontokonto");
}

void TestDatevExport::header()
{
    QFETCH(Chart, chart);
    QFETCH(int, line);
    QFETCH(int, position);
    QFETCH(QByteArray, expected);
    Settings s = settings();
    s.chart = chart;
    const ExportResult r = exportBookingBatch(s, January, Created, januaryDocuments(), {});
    QVERIFY(r.ok());
    const QList<QByteArray> f = fields(lines(r.bytes).value(line));
    QCOMPARE(f.size(), line == 0 ? 31 : 125);
    QCOMPARE(f[position - 1], expected);
}

void TestDatevExport::splitSkonto_data()
{
    QTest::addColumn<QString>("skonto");
    QTest::addColumn<QStringList>("gross");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("in proportion") << "6,90" << QStringList{"238,00", "107,00"} << QStringList{"4,76", "2,14"};
    // 2,5 cents round to 2 twice: the missing cent goes to the largest amount
    QTest::newRow("remainder to the largest") << "0,10" << QStringList{"10,00", "20,00", "10,00"}
                                              << QStringList{"0,02", "0,06", "0,02"};
    QTest::newRow("halves to even, then the remainder") << "0,01" << QStringList{"50,00", "50,00"}
                                                        << QStringList{"0,01", "0,00"};
    QTest::newRow("too much taken off") << "0,03" << QStringList{"1,00", "1,00"} << QStringList{"0,01", "0,02"};
    QTest::newRow("negative amount") << "1,00" << QStringList{"150,00", "-50,00"} << QStringList{"1,50", "-0,50"};
    QTest::newRow("nothing to split by") << "1,00" << QStringList{"50,00", "-50,00"} << QStringList{};
}

void TestDatevExport::splitSkonto()
{
    QFETCH(QString, skonto);
    QFETCH(QStringList, gross);
    QFETCH(QStringList, expected);
    QList<RateAmount> rates;
    for (const QString &g : gross)
        rates << RateAmount{Amount::fromUnits(19), "S", Amount::fromText(g)};
    QStringList shares;
    for (const Amount &a : splitByRates(Amount::fromText(skonto), rates))
        shares << a.toPlainText();
    QCOMPARE(shares, expected);
}

void TestDatevExport::negativeAmounts_data()
{
    QTest::addColumn<QList<Document>>("documents");
    QTest::addColumn<QList<Payment>>("payments");
    QTest::addColumn<QStringList>("expected"); // amount, side, account and contra account of each booking
    const QDate day(2024, 1, 15);
    Document credit = invoice(8, day, 1, "A", {rated(19, "S", "-5,00")});
    credit.creditNote = true;
    QTest::newRow("deduction on an invoice")
        << QList<Document>{invoice(1, day, 1, "A", {rated(19, "S", "100,00"), rated(7, "S", "-10,70")})}
        << QList<Payment>{} << QStringList{"100,00 S 10001 8400", "10,70 H 10001 8300"};
    QTest::newRow("negative credit note") << QList<Document>{credit} << QList<Payment>{} << QStringList{"5,00 S 10001 8400"};
    QTest::newRow("money paid back") << QList<Document>{} << QList<Payment>{payment(1, day, 1, "A", "-20,00")}
                                     << QStringList{"20,00 H 1200 10001"};
    QTest::newRow("Skonto reversed")
        << QList<Document>{} << QList<Payment>{payment(1, day, 1, "A", "0", "-1,00", {rated(19, "S", "119,00")})}
        << QStringList{"1,00 H 8736 10001"};
    QTest::newRow("zero gives nothing")
        << QList<Document>{invoice(1, day, 1, "A", {rated(19, "S", "0,004"), rated(16, "S", "0")})}
        << QList<Payment>{payment(1, day, 1, "A", "0,00")} << QStringList{};
}

void TestDatevExport::negativeAmounts()
{
    QFETCH(QList<Document>, documents);
    QFETCH(QList<Payment>, payments);
    QFETCH(QStringList, expected);
    const Bookings b = buildBookings(settings(), January, documents, payments);
    QCOMPARE(b.problems, QStringList());
    QStringList got;
    for (const Booking &booking : b.bookings)
        got << QStringLiteral("%1 %2 %3 %4")
                   .arg(booking.amount.toPlainText(), booking.side == Side::Debit ? "S" : "H")
                   .arg(booking.account)
                   .arg(booking.contraAccount);
    QCOMPARE(got, expected);
}

void TestDatevExport::encoding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("field"); // Buchungstext as written
    QTest::newRow("umlauts") << "Müller & Söhne" << QByteArray("\"M\xFCller & S\xF6hne\"");
    QTest::newRow("quote and semicolon") << "Bau \"Nord\"; Süd" << QByteArray("\"Bau \"\"Nord\"\"; S\xFC" "d\"");
    QTest::newRow("0x80 to 0x9F") << "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"
                                  << QByteArray("\"\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93"
                                                "\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F\"");
    QTest::newRow("not in Windows-1252") << "Łódź 😀 Ω" << QByteArray("\"?\xF3" "d? ? ?\"");
    QTest::newRow("line break") << "Zeile 1\r\nZeile 2" << QByteArray("\"Zeile 1  Zeile 2\"");
    QTest::newRow("cut to 60") << QString(58, 'x') + "äöü" << "\"" + QByteArray(58, 'x') + "\xE4\xF6\"";
}

void TestDatevExport::encoding()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, field);
    const ExportResult r = exportBookingBatch(settings(), January, Created,
                                              {invoice(1, QDate(2024, 1, 2), 1, name, {rated(19, "S", "1,19")})}, {});
    QVERIFY(r.ok());
    const QList<QByteArray> f = fields(lines(r.bytes).value(2));
    QCOMPARE(f.size(), 125);
    QCOMPARE(f[13], field);
}

void TestDatevExport::debtors_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char *tag, int line, int position, const QByteArray &expected) {
        QTest::newRow(tag) << line << position << expected;
    };
    row("category", 0, 3, "16");
    row("format name", 0, 4, "\"Debitoren/Kreditoren\"");
    row("format version", 0, 5, "5");
    row("fiscal year", 0, 13, "20240101");
    row("no period", 0, 15, "");
    row("no booking type", 0, 19, "");
    row("no currency", 0, 22, "\"\"");
    row("chart", 0, 27, "\"03\"");
    row("column 10", 1, 10, "EU-UStID");
    row("column 99", 1, 99, "Kunden-/Lief.-Nr.");
    row("column 254", 1, 254, "Letzte Frist");
    row("lower account first", 2, 1, "14711");
    row("the first of two entries", 2, 2, "\"Alpha GmbH\"");
    row("second account", 3, 1, "14712");
    row("company", 3, 7, "\"2\"");
    row("short name cut to 15", 3, 8, "\"Beta Baustoffe\"");
    row("VAT ID country", 3, 9, "\"DE\"");
    row("VAT ID number", 3, 10, "\"133546770\"");
    row("street address", 3, 15, "\"STR\"");
    row("street", 3, 16, "\"Hauptstra\xDF" "e 1\"");
    row("postcode", 3, 18, "\"90482\"");
    row("city", 3, 19, "\"N\xFCrnberg\"");
    row("country", 3, 20, "\"DE\"");
    row("customer number", 3, 99, "\"004712\"");
}

void TestDatevExport::debtors()
{
    QFETCH(int, line);
    QFETCH(int, position);
    QFETCH(QByteArray, expected);
    const ExportResult r = exportDebtors(
        settings(), Created,
        {{4712, "Beta Baustoffe Handel KG", "Hauptstraße 1", "90482", "Nürnberg", "de", "DE 133 546 770"},
         {4711, "Alpha GmbH", "", "", "", "", ""},
         {4711, "Alpha GmbH (alt)", "", "", "", "", ""}});
    QVERIFY2(r.ok(), qPrintable(r.problems.join(QLatin1Char('\n'))));
    const QList<QByteArray> all = lines(r.bytes);
    QCOMPARE(all.size(), 4);
    const QList<QByteArray> f = fields(all[line]);
    QCOMPARE(f.size(), line == 0 ? 31 : 254);
    QCOMPARE(f[position - 1], expected);
}

void TestDatevExport::refusals()
{
    // Everything wrong at once, each named once, in the order of the file.
    QList<Document> documents{
        invoice(130, QDate(2024, 1, 8), 70001, "Müller GmbH", {rated(16, "S", "116,00")}),
        // renamed since: still the same customer, named once
        invoice(131, QDate(2024, 1, 9), 70001, "Müller GmbH & Co. KG", {rated(19, "S", "119,00")}),
        invoice(132, QDate(2024, 2, 2), 4711, "Alpha GmbH", {rated(19, "S", "119,00")}),
        invoice(133, QDate(2024, 1, 10), 4714, "Delta SA", {rated(0, "K", "500,00")}),
        invoice(134, QDate(2024, 1, 11), 4714, "Delta SA", {rated(0, "K", "700,00")}),
    };
    QList<Payment> payments{
        payment(140, QDate(2024, 1, 25), 4711, "Alpha GmbH", "100,00", "3,00",
                {rated(19, "S", "50,00"), rated(0, "E", "53,00")}),
        payment(141, QDate(2024, 1, 26), 4711, "Alpha GmbH", "100,00", "3,00"),
    };
    ExportResult r = exportBookingBatch(settings(), January, Created, documents, payments);
    QCOMPARE(r.problems,
             QStringList({
                 "Kunde 70001 (Müller GmbH): die Kundennummer ergibt kein Debitorenkonto zwischen 10000 und 69999.",
                 "Rechnung 000130: für 16,00 % (S) ist kein Erlöskonto eingestellt.",
                 "Kunde 4714 (Delta SA): für die innergemeinschaftliche Lieferung fehlt die USt-IdNr.",
                 "Zahlung zu Rechnung 000140: für 0,00 % (E) ist kein Skontokonto eingestellt.",
                 "Zahlung zu Rechnung 000141: der Skonto lässt sich nicht auf die Steuersätze der Rechnung "
                 "aufteilen, weil ihre Beträge fehlen.",
                 "Rechnung 000132 vom 02.02.2024 liegt außerhalb des Zeitraums 01.01.2024 bis 31.01.2024.",
             }));
    QVERIFY(r.bytes.isEmpty());
    QVERIFY(buildBookings(settings(), January, documents, payments).bookings.isEmpty());

    Settings s = settings();
    s.consultantNumber = "12";
    s.clientNumber.clear();
    s.fiscalYearStart = QDate(2024, 2, 1);
    s.bankAccount = 0;
    r = exportBookingBatch(s, January, Created, {}, januaryPayments());
    QCOMPARE(r.problems, QStringList({
                             "Die Beraternummer muss eine Zahl von 1001 bis 9999999 sein.",
                             "Die Mandantennummer muss eine Zahl von 1 bis 99999 sein.",
                             "Der Zeitraum 01.01.2024 bis 31.01.2024 liegt nicht im Wirtschaftsjahr ab 01.02.2024.",
                             "Es ist kein Bankkonto eingestellt.",
                         }));
    QVERIFY(r.bytes.isEmpty());

    r = exportDebtors(settings(), Created,
                      {{70001, "Müller GmbH", "", "", "", "DE", ""}, {4711, "Alpha GmbH", "", "", "", "Deutschland", ""}});
    QCOMPARE(r.problems, QStringList({
                             "Kunde 4711 (Alpha GmbH): „Deutschland“ ist kein Ländercode aus zwei Buchstaben.",
                             "Kunde 70001 (Müller GmbH): die Kundennummer ergibt kein Debitorenkonto zwischen 10000 "
                             "und 69999.",
                         }));
    QVERIFY(r.bytes.isEmpty());
}

void TestDatevExport::sameBytes()
{
    const ExportResult first = exportBookingBatch(settings(), January, Created, januaryDocuments(), januaryPayments());
    QVERIFY(first.ok());
    QCOMPARE(first.bookingCount, 9);
    QCOMPARE(exportBookingBatch(settings(), January, Created, januaryDocuments(), januaryPayments()).bytes,
             first.bytes);
    // The order in which the data set hands them in does not matter either.
    QList<Document> documents = januaryDocuments();
    QList<Payment> payments = januaryPayments();
    std::reverse(documents.begin(), documents.end());
    std::reverse(payments.begin(), payments.end());
    for (Document &d : documents)
        std::reverse(d.rates.begin(), d.rates.end());
    for (Payment &p : payments)
        std::reverse(p.invoiceRates.begin(), p.invoiceRates.end());
    QCOMPARE(exportBookingBatch(settings(), January, Created, documents, payments).bytes, first.bytes);
}

QTEST_GUILESS_MAIN(TestDatevExport)
#include "tst_datevexport.moc"
