#include "DocumentFixtures.h"
#include "EInvoice.h"
#include "InvoiceTerms.h"
#include "TotalsList.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace EInvoice;

// The writer's XML goes through the official rules (validate-cii beside the
// project); amounts are compared with what the totals list shows on paper.
class TestEInvoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void validAndAsPrinted_data();
    void validAndAsPrinted();
    void missingData_data();
    void missingData();
    void addressParts_data();
    void addressParts();
    void skontoDaysInText_data();
    void skontoDaysInText();
};

namespace {

Data baseData()
{
    Data d;
    d.number = QStringLiteral("20240017");
    d.date = QStringLiteral("15.03.2024");
    d.tableRates = ratesFrom(QStringLiteral("7;19;0"));
    d.categories = {{Amount::fromUnits(7), QStringLiteral("S"), {}},
                    {Amount::fromUnits(19), QStringLiteral("S"), {}},
                    {Amount(), QStringLiteral("E"), QStringLiteral("Steuerfrei nach § 4 Nr. 21 UStG")}};
    d.seller = {QStringLiteral("Halvard Büro & Technik GmbH"), QStringLiteral("Hafenstraße 3"), QStringLiteral("28195"),
                QStringLiteral("Bremen"), QStringLiteral("DE123456789"), QStringLiteral("60/123/45678"),
                QStringLiteral("HRB 1234 Bremen"), QStringLiteral("DE02120300000000202051"),
                QStringLiteral("BYLADEM1001"), QStringLiteral("Testbank"), QStringLiteral("Erika Sommer"),
                QStringLiteral("rechnung@halvard.example"), QStringLiteral("+49 421 123456")};
    d.buyer = {QStringLiteral("Stadt Musterhausen"), QStringLiteral("Rathausplatz 1"), QStringLiteral("12345"),
               QStringLiteral("Musterhausen"), QStringLiteral("DE"), QString(), QStringLiteral("eingang@musterhausen.example")};
    d.buyerReference = QStringLiteral("04011000-12345-03");
    d.customerNumber = QStringLiteral("1042");
    d.dueDate = QStringLiteral("29.03.2024");
    return d;
}

// Text of every element without child elements, by local name, in document order.
QMultiMap<QString, QString> elements(const QByteArray &xml)
{
    QMultiMap<QString, QString> out;
    QXmlStreamReader r(xml);
    QString text;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement: text.clear(); break;
        case QXmlStreamReader::Characters: text += r.text(); break;
        case QXmlStreamReader::EndElement:
            if (!text.trimmed().isEmpty())
                out.insert(r.name().toString(), text);
            text.clear();
            break;
        default: break;
        }
    }
    return out;
}

// "1.234,50 €" → "1234.50"
QString xmlAmount(const QString &shown)
{
    return Amount::fromDisplay(shown).toPlainText().replace(',', '.');
}

QString validatorPath()
{
    return QStringLiteral(ORVELLA_VALIDATE_CII);
}

} // namespace

void TestEInvoice::validAndAsPrinted_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("skonto"); // percent|days
    QTest::addColumn<QStringList>("mustContain"); // Element=text, one of the element's texts

    QTest::newRow("two rates, discount and Skonto")
        << int(DocumentKind::Rechnung)
        << QStringList{"1|B-7|Fachbuch|3|24,90|  7,00 %", "2|S-19|Schreibtisch|1,5|1.234,56|19,00 %",
                       "3|K|Kabel|7|0,335|19,00 %", "4||Sonderrabatt||10,00 %||10,00"}
        << "2,00|10"
        << QStringList{"Description=Zahlbar bis 29.03.2024 ohne Abzug.\n#SKONTO#TAGE=10#PROZENT=2.00#\n",
                       "Reason=Sonderrabatt", "IBANID=DE02120300000000202051", "BICID=BYLADEM1001", "TypeCode=380",
                       "DateTimeString=20240329", "BuyerReference=04011000-12345-03"};
    QTest::newRow("text lines and special characters")
        << int(DocumentKind::Rechnung)
        << QStringList{"1|A&1|Müller & Söhne <Spezial>|2|10,00|19,00 %", "||Zeile mit \"Anführung\" & <Tag>",
                       "||O'Briens Äpfel", "2||Größe 'XL' > M|1|5,00|19,00 %"}
        << ""
        << QStringList{"Name=Müller & Söhne <Spezial>", "Description=Zeile mit \"Anführung\" & <Tag>\nO'Briens Äpfel",
                       "Name=Größe 'XL' > M", "SellerAssignedID=A&1", "Name=Halvard Büro & Technik GmbH"};
    QTest::newRow("0 % line with exemption reason")
        << int(DocumentKind::Rechnung)
        << QStringList{"1||Heilbehandlung|1|80,00|0,00 %", "2||Material|2|12,50|19,00 %"} << ""
        << QStringList{"CategoryCode=E", "ExemptionReason=Steuerfrei nach § 4 Nr. 21 UStG", "BasisAmount=80.00"};
    QTest::newRow("intra-community supply names delivery and both VAT IDs")
        << int(DocumentKind::Rechnung) << QStringList{"1||Maschine\x01 Typ 4|1|8.400,00|0,00 %"} << ""
        << QStringList{"CategoryCode=K", "ExemptionReason=Innergemeinschaftliche Lieferung", "CountryID=AT",
                       "Name=Maschine Typ 4", "DateTimeString=20240315"};
    QTest::newRow("credit note refers to its invoice")
        << int(DocumentKind::Gutschrift) << QStringList{"1||Rücknahme Schreibtisch|1|1.234,56|19,00 %"} << ""
        << QStringList{"TypeCode=381", "IssuerAssignedID=20240011", "DateTimeString=20240301"};
    QTest::newRow("the gross is net plus VAT as printed, no rounding amount")
        << int(DocumentKind::Rechnung) << QStringList{"1||Kleinteil|1|0,26|19,00 %", "2||Heft|1|0,50|  7,00 %"} << ""
        << QStringList{"GrandTotalAmount=0.85", "DuePayableAmount=0.85"};
    QTest::newRow("stored before: the gross it was issued with, the cent as rounding amount")
        << int(DocumentKind::Rechnung) << QStringList{"1||Kleinteil|1|0,26|19,00 %", "2||Heft|1|0,50|  7,00 %"} << ""
        << QStringList{"RoundingAmount=-0.01", "GrandTotalAmount=0.85", "DuePayableAmount=0.84"};
    QTest::newRow("a period of service")
        << int(DocumentKind::Rechnung) << QStringList{"1||Wartung November|1|120,00|19,00 %"} << ""
        << QStringList{"DateTimeString=20241101", "DateTimeString=20241130"};
}

void TestEInvoice::validAndAsPrinted()
{
    QFETCH(int, kind);
    QFETCH(QStringList, rows);
    QFETCH(QString, skonto);
    QFETCH(QStringList, mustContain);

    Data d = baseData();
    d.kind = *DocumentKind::fromNumber(kind);
    d.lines = linesFrom(rows);
    d.discountText = QStringLiteral("Sonderrabatt");
    d.skontoPercent = skonto.section('|', 0, 0);
    d.skontoDays = skonto.section('|', 1, 1);
    if (QString(QTest::currentDataTag()).startsWith("intra")) {
        d.categories[2] = {Amount(), "K", "Innergemeinschaftliche Lieferung"};
        d.buyer.country = "AT";
        d.buyer.vatId = "ATU12345678";
    }
    const QString tag = QTest::currentDataTag();
    if (tag.startsWith("stored before"))
        d.grossRule = GrossRule::RoundedOnce;
    if (tag.startsWith("a period")) {
        d.serviceDate = "01.11.2024";
        d.serviceDateTo = "30.11.2024";
    }
    if (d.kind == DocumentKind::Gutschrift) {
        d.precedingInvoice = QStringLiteral("20240011");
        d.precedingInvoiceDate = QStringLiteral("01.03.2024");
    }
    QCOMPARE(EInvoice::missingData(d), QStringList());

    const QByteArray xml = writeCii(d, Profile::XRechnung);
    const auto e = elements(xml);
    for (const QString &s : mustContain)
        QVERIFY2(e.values(s.section('=', 0, 0)).contains(s.section('=', 1)), qPrintable(s));

    // What the paper shows, by the page's own totals.
    LineList lines = d.lines;
    TotalsList printed;
    Totals::compute(lines, printed, d.tableRates, QStringLiteral("€"), d.grossRule);
    QCOMPARE(e.contains("RoundingAmount"), d.grossRule == GrossRule::RoundedOnce);
    // the date of service: one day (BT-72), or a period (BT-73, BT-74) instead
    QCOMPARE(xml.contains("ActualDeliverySupplyChainEvent"), d.serviceDateTo.isEmpty());
    QCOMPARE(xml.contains("BillingSpecifiedPeriod"), !d.serviceDateTo.isEmpty());
    QCOMPARE(e.value("TaxBasisTotalAmount"), xmlAmount(printed.net()));
    QCOMPARE(e.value("DuePayableAmount"), xmlAmount(printed.gross()));
    QStringList printedVat, xmlVat;
    for (const QString &line : printed.vatLines())
        printedVat << xmlAmount(line.section(QChar(0x20AC), 0, 0));
    const QStringList calculated = e.values("CalculatedAmount");
    for (const QString &v : calculated)
        if (v != "0.00")
            xmlVat.prepend(v); // QMultiMap gives the last first
    QCOMPARE(xmlVat, printedVat);

    const QString validator = validatorPath();
    if (!QFileInfo::exists(validator))
        QSKIP("validate-cii is not beside the project");
    QTemporaryDir dir;
    const QString path = dir.filePath("invoice.xml");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(xml);
    f.close();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("bash", {validator, path});
    QVERIFY(p.waitForFinished(120000));
    const QString report = QString::fromUtf8(p.readAll());
    QVERIFY2(p.exitCode() == 0 && report.contains("== result: VALID"), qPrintable(report + "\n" + QString::fromUtf8(xml)));
}

void TestEInvoice::missingData_data()
{
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("message");

    QTest::newRow("VAT ID and tax number") << "vat" << "USt-IdNr. oder Steuernummer der eigenen Firma";
    QTest::newRow("IBAN") << "iban" << "IBAN der eigenen Firma";
    QTest::newRow("IBAN with a wrong checksum") << "badiban" << "gültige IBAN der eigenen Firma";
    QTest::newRow("buyer's town") << "town" << "Anschrift des Kunden (Name, Straße, PLZ, Ort)";
    QTest::newRow("buyer's e-mail") << "buyermail" << "E-Mail-Adresse des Kunden";
    QTest::newRow("reference and customer number") << "reference" << "Leitweg-ID / Käuferreferenz oder Kundennummer";
    QTest::newRow("0 % without reason") << "reason" << "Befreiungsgrund für den MwSt-Satz 0,00 % (Optionen)";
    QTest::newRow("0 % without category") << "category" << "Steuerkategorie für den MwSt-Satz 0,00 % (Optionen)";
    QTest::newRow("reverse charge without the buyer's VAT ID") << "reverse" << "USt-IdNr. des Kunden (Kategorie AE)";
    QTest::newRow("Skonto without a period")
        << "skontodays"
        << "Skontofrist in Tagen (im Skontotext, z. B. „innerhalb von 8 Tagen“, oder als Skontotage in den Kundendaten)";
}

void TestEInvoice::missingData()
{
    QFETCH(QString, blank);
    QFETCH(QString, message);
    Data d = baseData();
    d.lines = linesFrom({"1||Porto|1|4,50|0,00 %"});
    if (blank == "vat")
        d.seller.vatId.clear(), d.seller.taxNumber.clear();
    else if (blank == "iban")
        d.seller.iban.clear();
    else if (blank == "badiban")
        d.seller.iban = "DE03120300000000202051";
    else if (blank == "town")
        d.buyer.town.clear();
    else if (blank == "buyermail")
        d.buyer.email.clear();
    else if (blank == "reference")
        d.buyerReference.clear(), d.customerNumber.clear();
    else if (blank == "reason")
        d.categories[2].reason.clear();
    else if (blank == "category")
        d.categories.removeLast();
    else if (blank == "reverse")
        d.categories[2] = {Amount(), "AE", "Steuerschuldnerschaft des Leistungsempfängers"};
    else if (blank == "skontodays")
        d.skontoPercent = "2,00";
    QCOMPARE(EInvoice::missingData(d), QStringList{message});

    // Everything missing at once is listed at once.
    Data empty;
    empty.lines = linesFrom({"1||Porto|1|4,50|19,00 %"});
    QCOMPARE(EInvoice::missingData(empty).size(), 11);
}

void TestEInvoice::addressParts_data()
{
    QTest::addColumn<QString>("postcodeTown");
    QTest::addColumn<QString>("land");
    QTest::addColumn<QString>("expected"); // postcode|town|country

    QTest::newRow("German") << "28195 Bremen" << "Deutschland" << "28195|Bremen|DE";
    QTest::newRow("Austrian with prefix") << "A-1010 Wien" << "Österreich" << "1010|Wien|AT";
    QTest::newRow("town only, empty country") << "Hamburg" << "" << "|Hamburg|DE";
    QTest::newRow("unknown country") << "1000 Xyz" << "Atlantis" << "1000|Xyz|";
}

void TestEInvoice::addressParts()
{
    QFETCH(QString, postcodeTown);
    QFETCH(QString, land);
    QFETCH(QString, expected);
    QString postcode, town;
    splitPostcodeTown(postcodeTown, postcode, town);
    QCOMPARE(postcode + '|' + town + '|' + countryCode(land), expected);
}

void TestEInvoice::skontoDaysInText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("days"); // 0: none found
    QTest::newRow("the usual sentence") << "Bei Zahlung innerhalb von 8 Tagen" << 8;
    QTest::newRow("percent before the days") << "2 % Skonto bei Zahlung binnen 14 Tagen" << 14;
    QTest::newRow("days first") << "10 Tage 3 %" << 10;
    QTest::newRow("one day") << "bei Zahlung am 1 Tag nach Erhalt" << 1;
    QTest::newRow("no number of days") << "bei Zahlung innerhalb einer Woche" << 0;
    QTest::newRow("zero days") << "bei Zahlung in 0 Tagen" << 0;
    QTest::newRow("a number that is no period") << "Skonto 2 % (Tagespreis)" << 0;
}

void TestEInvoice::skontoDaysInText()
{
    QFETCH(QString, text);
    QFETCH(int, days);
    QCOMPARE(InvoiceTerms::skontoDaysInText(text).value_or(0), days);
}

QTEST_GUILESS_MAIN(TestEInvoice)
#include "tst_einvoice.moc"
