#include "DocumentFixtures.h"
#include "EInvoice.h"
#include "EInvoiceChecks.h"
#include "EInvoiceReader.h"

#include <QtTest>

#include <functional>

// Invoices received from suppliers: our own XRechnung and the sample files read
// back field by field, each check breaking on purpose, and files that must be
// refused before anything in them is used.
using Mutation = std::function<void(ReceivedInvoice &)>;
Q_DECLARE_METATYPE(Mutation)

class TestReceivedInvoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readBack_data();
    void readBack();
    void checks_data();
    void checks();
    void refused_data();
    void refused();
};

namespace {

// Our own XRechnung: two rates and a discount of 10 % that splits exactly
// (7 %: 74,70 − 7,47; 19 %: 300,00 − 30,00), Skonto and a due date.
QByteArray ownXRechnung()
{
    EInvoice::Data d;
    d.number = QStringLiteral("20240017");
    d.date = QStringLiteral("15.03.2024");
    d.tableRates = ratesFrom(QStringLiteral("7;19"));
    d.categories = {{Amount::fromUnits(7), QStringLiteral("S"), {}}, {Amount::fromUnits(19), QStringLiteral("S"), {}}};
    d.seller = {QStringLiteral("Halvard Büro & Technik GmbH"), QStringLiteral("Hafenstraße 3"), QStringLiteral("28195"),
                QStringLiteral("Bremen"), QStringLiteral("DE123456789"), QStringLiteral("60/123/45678"),
                QStringLiteral("HRB 1234 Bremen"), QStringLiteral("DE02120300000000202051"),
                QStringLiteral("BYLADEM1001"), QStringLiteral("Testbank"), QStringLiteral("Erika Sommer"),
                QStringLiteral("rechnung@halvard.example"), QStringLiteral("+49 421 123456"), QString()};
    d.buyer = {QStringLiteral("Stadt Musterhausen"), QStringLiteral("Rathausplatz 1"), QStringLiteral("12345"),
               QStringLiteral("Musterhausen"), QStringLiteral("DE"), QString(), QStringLiteral("eingang@musterhausen.example")};
    d.buyerReference = QStringLiteral("04011000-12345-03");
    d.customerNumber = QStringLiteral("1042");
    d.dueDate = QStringLiteral("29.03.2024");
    d.skontoPercent = QStringLiteral("2,00");
    d.skontoDays = QStringLiteral("10");
    d.discountText = QStringLiteral("Sonderrabatt");
    d.lines = linesFrom({"1|B-7|Fachbuch|3|24,90|  7,00 %", "2|S-19|Schreibtisch|2|150,00|19,00 %",
                         "3||Sonderrabatt||10,00 %||10,00"});
    return EInvoice::writeCii(d, EInvoice::Profile::XRechnung);
}

QByteArray sampleFile(const QString &name)
{
    QFile f(QStringLiteral(RECEIVED_SAMPLES "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray source(const QString &name)
{
    return name == u"own" ? ownXRechnung() : sampleFile(name);
}

QString n(Amount a)
{
    return a.toSqlText();
}
QString n(const std::optional<Amount> &a)
{
    return a ? a->toSqlText() : QString();
}
QString d(QDate date)
{
    return date.toString(Qt::ISODate);
}

// Every field of the record, one "key=value" per item; empty fields are left out.
QStringList describe(const ReceivedInvoice &i)
{
    QStringList out;
    const auto add = [&](const QString &key, const QStringList &parts) {
        if (std::any_of(parts.begin(), parts.end(), [](const QString &p) { return !p.isEmpty(); }))
            out << key + u'=' + parts.join(u'|');
    };
    add("syntax", {i.syntax == ReceivedInvoice::Syntax::Cii ? "CII" : "UBL"});
    add("document", {i.typeCode, i.number, d(i.issueDate), i.currency, i.buyerReference});
    add("customization", {i.customizationId});
    for (const auto &[key, p] : {std::pair{"seller", &i.seller}, std::pair{"buyer", &i.buyer}}) {
        add(key, {p->name, p->addressLines.join(';'), p->postcode, p->town, p->country, p->vatId, p->taxNumber});
        add(QString(key) + ".contact", {p->contactName, p->phone, p->email, p->electronicAddressScheme,
                                        p->electronicAddress});
    }
    add("service", {d(i.serviceDate), d(i.periodStart), d(i.periodEnd)});
    for (const auto &l : i.lines)
        add("line", {l.id, l.name, l.description, n(l.quantity), l.unitCode, n(l.netPrice), n(l.baseQuantity),
                     n(l.allowances), n(l.charges), n(l.netAmount), l.vatCategory, n(l.vatRate)});
    for (const auto &a : i.allowancesCharges)
        add(a.charge ? "charge" : "allowance", {n(a.amount), n(a.base), n(a.percent), a.reason, a.vatCategory,
                                                n(a.vatRate)});
    for (const auto &v : i.vat)
        add("vat", {v.category, n(v.rate), n(v.taxable), n(v.tax), v.exemptionReason});
    const auto &t = i.totals;
    add("totals", {n(t.lineTotal), n(t.allowances), n(t.charges), n(t.taxExclusive), n(t.vatTotal),
                   n(t.taxInclusive), n(t.prepaid), n(t.rounding), n(t.due)});
    add("payment", {d(i.dueDate), i.paymentMeansCode, i.iban, i.bic});
    add("terms", {i.paymentTerms});
    for (const auto &s : i.skonto)
        add("skonto", {QString::number(s.days), n(s.percent), n(s.base)});
    return out;
}

ReceivedInvoice::VatRow &vatAt(ReceivedInvoice &i, int rate)
{
    for (auto &v : i.vat)
        if (v.rate == Amount::fromUnits(rate))
            return v;
    return i.vat.first();
}

Amount money(const char *text)
{
    return *EInvoiceReader::parseDecimal(QString::fromLatin1(text));
}

} // namespace

void TestReceivedInvoice::readBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("replace"); // text → text in the file, for variants of a sample
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("our own XRechnung") << "own" << QStringList() << QStringList{
        "syntax=CII", "document=380|20240017|2024-03-15|EUR|04011000-12345-03",
        "customization=urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0",
        "seller=Halvard Büro & Technik GmbH|Hafenstraße 3|28195|Bremen|DE|DE123456789|60/123/45678",
        "seller.contact=Erika Sommer|+49 421 123456|rechnung@halvard.example|EM|rechnung@halvard.example",
        "buyer=Stadt Musterhausen|Rathausplatz 1|12345|Musterhausen|DE||",
        "buyer.contact=|||EM|eingang@musterhausen.example", "service=2024-03-15||",
        "line=1|Fachbuch||3|C62|24.9||0|0|74.7|S|7", "line=2|Schreibtisch||2|C62|150||0|0|300|S|19",
        "allowance=7.47|||Sonderrabatt|S|7", "allowance=30|||Sonderrabatt|S|19", "vat=S|7|67.23|4.71|",
        "vat=S|19|270|51.3|", "totals=374.7|37.47||337.23|56.01|393.24|||393.24",
        "payment=2024-03-29|58|DE02120300000000202051|BYLADEM1001",
        "terms=Zahlbar bis 29.03.2024 ohne Abzug.\n#SKONTO#TAGE=10#PROZENT=2.00#", "skonto=10|2|"};
    QTest::newRow("UBL XRechnung") << "ubl-invoice.xml" << QStringList() << QStringList{
        "syntax=UBL", "document=380|2024-4711|2024-05-06|EUR|991-01234-56",
        "customization=urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0",
        "seller=Heizung Keßler GmbH|Mühlweg 7;Hinterhaus|97070|Würzburg|DE|DE811223344|257/123/45678",
        "seller.contact=Jonas Keßler|+49 931 555123|buchhaltung@heizung-kessler.example|EM|"
        "rechnung@heizung-kessler.example",
        "buyer=Schreinerei Vogt e.K.|Industriestraße 21|97318|Kitzingen|DE|DE299887766|",
        "buyer.contact=Anna Vogt|||EM|eingang@schreinerei-vogt.example", "service=2024-04-29||",
        "line=1|Wartung Heizungsanlage|Jahreswartung Gasbrennwertkessel|3|HUR|85||0|0|255|S|19",
        "line=2|Fachbuch Heiztechnik||2|C62|24.95||0|0|49.9|S|7", "line=3|Dichtungen||150|C62|12.5|100|0|0|18.75|S|19",
        "allowance=25.5|255|10|Treuerabatt|S|19", "charge=6.5|||Versandkosten|S|19", "vat=S|19|254.75|48.4|",
        "vat=S|7|49.9|3.49|", "totals=323.65|25.5|6.5|304.65|51.89|356.54|50||306.54",
        "payment=2024-06-05|58|DE89370400440532013000|COBADEFFXXX",
        "terms=Zahlbar innerhalb von 30 Tagen ohne Abzug.\n#SKONTO#TAGE=10#PROZENT=2.00#", "skonto=10|2|"};
    QTest::newRow("UBL credit note, other prefixes") << "ubl-creditnote.xml" << QStringList() << QStringList{
        "syntax=UBL", "document=381|GS-2024-017|2024-07-15|EUR|Bestellung 4500123",
        "customization=urn:cen.eu:en16931:2017", "seller=Heizung Keßler GmbH|Mühlweg 7|97070|Würzburg|DE|DE811223344|",
        "buyer=Schreinerei Vogt e.K.|Industriestraße 21|97318|Kitzingen|DE||",
        "line=1|Rücknahme Thermostat||2|C62|39.9||0|0|79.8|S|19", "line=2|Gutschrift Fachbuch||1|C62|24.95||0|0|24.95|S|7",
        "allowance=5|||Kulanz|S|19", "charge=3|||Bearbeitungsgebühr|S|19", "vat=S|19|77.8|14.78|",
        "vat=S|7|24.95|1.75|", "totals=104.75|5|3|102.75|16.53|119.28|||119.28",
        "payment=2024-07-25|58|DE89370400440532013000|", "terms=Der Betrag wird innerhalb von 10 Tagen erstattet."};
    const QStringList cii = {
        "syntax=CII", "document=380|RE-2024-0815|2024-11-04|EUR|", "customization=urn:cen.eu:en16931:2017",
        "seller=Kanzlei Brandt & Partner|Sendlinger Straße 12;3. Stock|80331|München|DE|DE987654321|",
        "buyer=Holzbau Lindner GmbH|Am Sägewerk 4|83022|Rosenheim|DE||", "service=|2024-10-01|2024-10-31",
        "line=1|Beratung Oktober|Umstellung der Buchhaltung|4|HUR|110||0|0|440|S|19",
        "line=2|Flyer A5||500|C62|0.12||0|0|60|S|7", "line=3|Reisekosten||1|C62|35.4||0|0|35.4|S|19",
        "allowance=22|440|5|Stammkundenrabatt|S|19", "vat=S|19|453.4|86.15|", "vat=S|7|60|4.2|",
        "totals=535.4|22||513.4|90.35|603.75|||603.75", "payment=2024-11-29|58|DE02500105170137075030|",
        "terms=Zahlbar bis 29.11.2024 ohne Abzug.\n#SKONTO#TAGE=14#PROZENT=3.00#", "skonto=14|3|"};
    QTest::newRow("CII EN 16931, period of service") << "cii-en16931.xml" << QStringList() << cii;
    // The same Skonto once more in the structure (counted once), and a second one only there.
    QStringList structured = cii;
    structured.append("skonto=30|1.5|513.4");
    QTest::newRow("CII, Skonto also structured")
        << "cii-en16931.xml"
        << QStringList{"</a:DueDateDateTime>",
                       "</a:DueDateDateTime><a:ApplicableTradePaymentDiscountTerms><a:BasisPeriodMeasure unitCode=\"DAY\">14"
                       "</a:BasisPeriodMeasure><a:CalculationPercent>3</a:CalculationPercent>"
                       "</a:ApplicableTradePaymentDiscountTerms></a:SpecifiedTradePaymentTerms><a:SpecifiedTradePaymentTerms>"
                       "<a:ApplicableTradePaymentDiscountTerms>"
                       "<a:BasisPeriodMeasure unitCode=\"DAY\">30</a:BasisPeriodMeasure><a:BasisAmount>513.40"
                       "</a:BasisAmount><a:CalculationPercent>1.50</a:CalculationPercent>"
                       "</a:ApplicableTradePaymentDiscountTerms>"}
        << structured;
}

void TestReceivedInvoice::readBack()
{
    QFETCH(QString, file);
    QFETCH(QStringList, replace);
    QFETCH(QStringList, expected);
    QByteArray content = source(file);
    if (!replace.isEmpty())
        content.replace(replace[0].toUtf8(), replace[1].toUtf8());
    const ReceivedInvoiceFile r = EInvoiceReader::read(content, file);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(describe(r.invoice), expected);
    // Every sample is sound: no rule of ours may complain about it.
    QCOMPARE(EInvoiceChecks::check(r.invoice), QStringList());
}

void TestReceivedInvoice::checks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Mutation>("mutation");
    QTest::addColumn<QStringList>("expected");
    const QString own = QStringLiteral("own");
    const auto row = [&](const char *tag, const QString &file, Mutation m, const QStringList &expected) {
        QTest::newRow(tag) << file << m << expected;
    };
    row("number", own, [](auto &i) { i.number.clear(); }, {"Die Rechnungsnummer (BT-1) fehlt."});
    row("issue date", own, [](auto &i) { i.issueDate = {}; }, {"Das Rechnungsdatum (BT-2) fehlt."});
    row("type code", own, [](auto &i) { i.typeCode.clear(); }, {"Die Art der Rechnung (BT-3) fehlt."});
    row("currency", own, [](auto &i) { i.currency.clear(); }, {"Die Währung (BT-5) fehlt."});
    row("seller name", own, [](auto &i) { i.seller.name.clear(); }, {"Der Name des Verkäufers (BT-27) fehlt."});
    row("seller country", own, [](auto &i) { i.seller.country.clear(); }, {"Das Land des Verkäufers (BT-40) fehlt."});
    row("buyer name", own, [](auto &i) { i.buyer.name.clear(); }, {"Der Name des Käufers (BT-44) fehlt."});
    row("no lines", own, [](auto &i) { i.lines.clear(); },
        {"Die Rechnung hat keine Position (BG-25).",
         "Die Summe der Positionen (BT-106) ist 374,70 €, die Positionen ergeben 0,00 €.",
         "Der steuerpflichtige Betrag der Kategorie S mit 7,00 % (BT-116) ist 67,23 €, Positionen, Nachlässe und "
         "Zuschläge dieses Satzes ergeben -7,47 €.",
         "Der steuerpflichtige Betrag der Kategorie S mit 19,00 % (BT-116) ist 270,00 €, Positionen, Nachlässe und "
         "Zuschläge dieses Satzes ergeben -30,00 €."});
    row("no VAT breakdown", own, [](auto &i) { i.vat.clear(); },
        {"Die Aufschlüsselung der Umsatzsteuer (BG-23) fehlt.",
         "Für die Position 1 (Kategorie S mit 7,00 %) fehlt eine Zeile in der Aufschlüsselung der Umsatzsteuer.",
         "Für die Position 2 (Kategorie S mit 19,00 %) fehlt eine Zeile in der Aufschlüsselung der Umsatzsteuer."});
    row("amount due", own, [](auto &i) { i.totals.due.reset(); }, {"Der Zahlbetrag (BT-115) fehlt."});
    row("BT-106", own, [](auto &i) { i.totals.lineTotal = money("374.80"); },
        {"Die Summe der Positionen (BT-106) ist 374,80 €, die Positionen ergeben 374,70 €.",
         "Der Nettobetrag (BT-109) ist 337,23 €, Summe der Positionen − Nachlässe + Zuschläge ergibt 337,33 €."});
    row("BT-107", own, [](auto &i) { i.allowancesCharges[0].amount = money("7.57"); },
        {"Die Summe der Nachlässe (BT-107) ist 37,47 €, die Nachlässe ergeben 37,57 €.",
         "Der steuerpflichtige Betrag der Kategorie S mit 7,00 % (BT-116) ist 67,23 €, Positionen, Nachlässe und "
         "Zuschläge dieses Satzes ergeben 67,13 €."});
    row("BT-108", own, [](auto &i) { i.totals.charges = money("1"); },
        {"Die Summe der Zuschläge (BT-108) ist 1,00 €, die Zuschläge ergeben 0,00 €.",
         "Der Nettobetrag (BT-109) ist 337,23 €, Summe der Positionen − Nachlässe + Zuschläge ergibt 338,23 €."});
    row("BT-109", own, [](auto &i) { i.totals.taxExclusive = money("337.33"); },
        {"Der Nettobetrag (BT-109) ist 337,33 €, Summe der Positionen − Nachlässe + Zuschläge ergibt 337,23 €.",
         "Der Bruttobetrag (BT-112) ist 393,24 €, Nettobetrag + Umsatzsteuer ergibt 393,34 €."});
    row("BT-112", own, [](auto &i) { i.totals.taxInclusive = money("393.34"); },
        {"Der Bruttobetrag (BT-112) ist 393,34 €, Nettobetrag + Umsatzsteuer ergibt 393,24 €.",
         "Der Zahlbetrag (BT-115) ist 393,24 €, Bruttobetrag − bereits gezahlt + Rundung ergibt 393,34 €."});
    row("BT-115 with prepaid and rounding", own,
        [](auto &i) { i.totals.prepaid = money("100"); i.totals.rounding = money("0.01"); },
        {"Der Zahlbetrag (BT-115) ist 393,24 €, Bruttobetrag − bereits gezahlt + Rundung ergibt 293,25 €."});
    row("BT-110", own, [](auto &i) { i.totals.vatTotal = money("56.11"); },
        {"Die Umsatzsteuer (BT-110) ist 56,11 €, die Aufschlüsselung ergibt 56,01 €.",
         "Der Bruttobetrag (BT-112) ist 393,24 €, Nettobetrag + Umsatzsteuer ergibt 393,34 €."});
    row("taxable amount of a rate", own, [](auto &i) { vatAt(i, 19).taxable = money("270.05"); },
        {"Der steuerpflichtige Betrag der Kategorie S mit 19,00 % (BT-116) ist 270,05 €, Positionen, Nachlässe und "
         "Zuschläge dieses Satzes ergeben 270,00 €."});
    const auto taxOf19 = [](const char *tax, const char *total, const char *gross) {
        return Mutation([=](ReceivedInvoice &i) {
            vatAt(i, 19).tax = money(tax);
            i.totals.vatTotal = money(total);
            i.totals.taxInclusive = i.totals.due = money(gross);
        });
    };
    row("tax of a rate two cents off", own, taxOf19("51.32", "56.03", "393.26"),
        {"Die Steuer der Kategorie S mit 19,00 % (BT-117) ist 51,32 €, 270,00 € × 19,00 % ergibt 51,30 €."});
    row("tax of a rate a cent off is allowed", own, taxOf19("51.29", "56.00", "393.23"), {});
    row("line without its VAT row", own, [](auto &i) { vatAt(i, 7).category = "Z"; },
        {"Der steuerpflichtige Betrag der Kategorie Z mit 7,00 % (BT-116) ist 67,23 €, Positionen, Nachlässe und "
         "Zuschläge dieses Satzes ergeben 0,00 €.",
         "Für die Position 1 (Kategorie S mit 7,00 %) fehlt eine Zeile in der Aufschlüsselung der Umsatzsteuer."});
    row("line amount", own, [](auto &i) { i.lines[1].quantity = money("2.001"); },
        {"Der Nettobetrag der Position 2 (BT-131) ist 300,00 €, Menge × Preis ergibt 300,15 €."});
    row("line amount per base quantity", "ubl-invoice.xml", [](auto &i) { i.lines[2].baseQuantity = money("10"); },
        {"Der Nettobetrag der Position 3 (BT-131) ist 18,75 €, Menge × Preis ergibt 187,50 €."});
    row("XRechnung: buyer reference", own, [](auto &i) { i.buyerReference.clear(); },
        {"Eine XRechnung muss die Käuferreferenz (BT-10) nennen."});
    row("XRechnung: contact", own, [](auto &i) { i.seller.contactName.clear(); },
        {"Eine XRechnung muss den Ansprechpartner des Verkäufers (BT-41) nennen."});
    row("XRechnung: phone", own, [](auto &i) { i.seller.phone.clear(); },
        {"Eine XRechnung muss die Telefonnummer des Verkäufers (BT-42) nennen."});
    row("XRechnung: e-mail", "ubl-invoice.xml", [](auto &i) { i.seller.email.clear(); },
        {"Eine XRechnung muss die E-Mail-Adresse des Verkäufers (BT-43) nennen."});
    row("XRechnung: postcode", own, [](auto &i) { i.seller.postcode.clear(); },
        {"Eine XRechnung muss die Postleitzahl des Verkäufers (BT-38) nennen."});
    row("XRechnung: town", own, [](auto &i) { i.seller.town.clear(); },
        {"Eine XRechnung muss den Ort des Verkäufers (BT-37) nennen."});
    row("XRechnung: payment instructions", "ubl-invoice.xml", [](auto &i) { i.paymentMeansCode.clear(); },
        {"Eine XRechnung muss die Zahlungsanweisungen (BG-16) nennen."});
    row("not an XRechnung: none of its own rules", "ubl-creditnote.xml",
        [](auto &i) {
            i.buyerReference.clear();
            i.seller.town.clear();
            i.seller.postcode.clear();
            i.paymentMeansCode.clear();
        },
        {});
}

void TestReceivedInvoice::checks()
{
    QFETCH(QString, file);
    QFETCH(Mutation, mutation);
    QFETCH(QStringList, expected);
    ReceivedInvoiceFile r = EInvoiceReader::read(source(file), file);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(EInvoiceChecks::check(r.invoice), QStringList()); // sound before
    mutation(r.invoice);
    QCOMPARE(EInvoiceChecks::check(r.invoice), expected);
}

void TestReceivedInvoice::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    const QByteArray cii = "<rsm:CrossIndustryInvoice xmlns:rsm=\"urn:un:unece:uncefact:data:standard:"
                           "CrossIndustryInvoice:100\">";
    const QString file = QStringLiteral("Die Datei „lieferant.xml“ ");

    QTest::newRow("not XML") << QByteArray("%PDF-1.7\n%\xe2\xe3\xcf\xd3\n1 0 obj") << file + "ist keine XML-Datei.";
    QTest::newRow("empty") << QByteArray() << file + "ist keine XML-Datei.";
    QTest::newRow("a bank statement")
        << QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.08\"><BkToCstmrStmt/></Document>")
        << file + "ist keine elektronische Rechnung (weder UN/CEFACT CII noch UBL Invoice/CreditNote), sondern ein "
                  "XML-Dokument „{urn:iso:std:iso:20022:tech:xsd:camt.053.001.08}Document“.";
    QTest::newRow("the right name in another namespace")
        << QByteArray("<Invoice xmlns=\"urn:example:invoice\"/>")
        << file + "ist keine elektronische Rechnung (weder UN/CEFACT CII noch UBL Invoice/CreditNote), sondern ein "
                  "XML-Dokument „{urn:example:invoice}Invoice“.";
    const QString dtd = file + "enthält eine Dokumenttypdeklaration (DTD) und wird deshalb nicht gelesen.";
    QTest::newRow("external entity")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n") + cii
               + "<rsm:ExchangedDocument>&x;</rsm:ExchangedDocument></rsm:CrossIndustryInvoice>"
        << dtd;
    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol0 \"lol\">\n";
    for (int k = 1; k <= 9; ++k)
        laughs += QStringLiteral("<!ENTITY lol%1 \"%2\">\n").arg(k).arg(QString("&lol%1;").arg(k - 1).repeated(10)).toUtf8();
    QTest::newRow("billion laughs") << laughs + "]>\n<lolz>&lol9;</lolz>" << dtd;
    QTest::newRow("undeclared entity")
        << cii + "\n<rsm:ExchangedDocument>&nbsp;</rsm:ExchangedDocument></rsm:CrossIndustryInvoice>"
        << file + "enthält den nicht auflösbaren Verweis „&nbsp;“ (Zeile 2).";
    QByteArray huge = cii + "<!--";
    huge += QByteArray(EInvoiceReader::MaxFileSize, 'x') + "--></rsm:CrossIndustryInvoice>";
    QTest::newRow("over 20 MiB") << huge << file + "ist größer als 20 MB und wird nicht als Rechnung gelesen.";
    QTest::newRow("cut off") << sampleFile("cii-en16931.xml").left(2000)
                             << file + "ist unvollständig: sie endet mitten im XML (Zeile 35).";
    QTest::newRow("nested beyond any invoice") << cii + QByteArray("<a>").repeated(100)
                                               << file + "ist tiefer verschachtelt als jede Rechnung (Zeile 1).";
    QTest::newRow("an amount with a decimal comma")
        << sampleFile("cii-en16931.xml").replace("<a:ChargeAmount>0.12<", "<a:ChargeAmount>0,12<")
        << file + "enthält in „ChargeAmount“ keine gültige Zahl: „0,12“.";
}

void TestReceivedInvoice::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    const ReceivedInvoiceFile r = EInvoiceReader::read(content, QStringLiteral("lieferant.xml"));
    QCOMPARE(r.error, expected);
    QVERIFY(r.invoice.number.isEmpty() && r.invoice.lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestReceivedInvoice)
#include "tst_receivedinvoice.moc"
