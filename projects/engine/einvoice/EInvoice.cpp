#include "EInvoice.h"

#include "Errors.h"
#include "ExtendedData.h"
#include "TotalsList.h"

#include <QDate>
#include <algorithm>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace EInvoice {
namespace {

const QString Rsm = QStringLiteral("urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100");
const QString Ram = QStringLiteral("urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100");
const QString Qdt = QStringLiteral("urn:un:unece:uncefact:data:standard:QualifiedDataType:100");
const QString Udt = QStringLiteral("urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100");

// Two decimals with a decimal point, as the XML's amounts are written.
QString money(Amount a)
{
    return a.roundedToCents().toPlainText().replace(QLatin1Char(','), QLatin1Char('.'));
}

QString decimal(Amount a)
{
    return a.toSqlText();
}

QString isoDate(const QString &ddMMyyyy)
{
    return QDate::fromString(ddMMyyyy, QStringLiteral("dd.MM.yyyy")).toString(QStringLiteral("yyyyMMdd"));
}

Amount rateOfCell(const QString &cell)
{
    QString text = cell;
    return Amount::fromText(text.remove(QLatin1Char('%')));
}

QString currencyCode(const QString &currency)
{
    const QString c = currency.trimmed();
    if (c.isEmpty() || c == QStringLiteral("€") || c.compare(QLatin1String("EUR"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("EUR");
    return c.toUpper();
}

bool validDate(const QString &text)
{
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy")).isValid();
}

struct Line
{
    QString id, articleNumber, name, description;
    Amount quantity, price, amount, rate;
};

// The article lines with their text lines as description. A negative price
// moves its sign to the quantity, because a net price may not be negative.
QList<Line> linesOf(const LineList &list)
{
    QList<Line> out;
    int id = 0;
    for (int r = 1; r < list.rowCount(); ++r) {
        if (list.isArticleLine(r)) {
            Line l;
            l.id = QString::number(++id);
            l.articleNumber = list.cell(r, LineList::ArtikelNr).trimmed();
            l.name = list.cell(r, LineList::Bezeichnung).trimmed();
            if (l.name.isEmpty())
                l.name = l.articleNumber.isEmpty() ? QStringLiteral("Position %1").arg(id) : l.articleNumber;
            l.quantity = Amount::fromText(list.cell(r, LineList::Anzahl));
            l.price = Amount::fromText(list.cell(r, LineList::Einzelpreis));
            // Filled in by the totals; missingData looks at lines not yet totalled.
            l.amount = Amount::tryFromText(list.cell(r, LineList::Betrag).trimmed()).value_or(Amount());
            l.rate = rateOfCell(list.cell(r, LineList::MwSt));
            if (l.price.isNegative()) {
                l.price = -l.price;
                l.quantity = -l.quantity;
            }
            out << l;
        } else if (!out.isEmpty() && !list.isDiscountLine(r) && list.cell(r, LineList::Pos).isEmpty()
                   && !list.cell(r, LineList::Bezeichnung).trimmed().isEmpty()) {
            QString &d = out.last().description;
            if (!d.isEmpty())
                d += QLatin1Char('\n');
            d += list.cell(r, LineList::Bezeichnung).trimmed();
        }
    }
    return out;
}

class Writer
{
public:
    Writer(QByteArray &out) : x(&out) { x.setAutoFormatting(true); }

    void start(const QString &name) { x.writeStartElement(name); }
    void end() { x.writeEndElement(); }
    void text(const QString &name, const QString &value) { x.writeTextElement(name, clean(value)); }
    // XML 1.0 admits no control characters but tab and line breaks; one pasted
    // into a field would make the whole invoice unreadable.
    static QString clean(QString v)
    {
        v.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\n' && c != u'\t' && c != u'\r'; });
        return v;
    }
    // An element only when there is something to say.
    void optional(const QString &name, const QString &value)
    {
        if (!value.trimmed().isEmpty())
            text(name, value.trimmed());
    }
    void withAttribute(const QString &name, const QString &attr, const QString &attrValue, const QString &value)
    {
        x.writeStartElement(name);
        x.writeAttribute(attr, attrValue);
        x.writeCharacters(clean(value));
        x.writeEndElement();
    }
    void date(const QString &name, const QString &ddMMyyyy, const QString &prefix = QStringLiteral("udt"))
    {
        start(name);
        withAttribute(prefix + QStringLiteral(":DateTimeString"), QStringLiteral("format"), QStringLiteral("102"),
                      isoDate(ddMMyyyy));
        end();
    }
    // The category of a line or of a document-level allowance.
    void category(const VatCategory &c)
    {
        text(QStringLiteral("ram:TypeCode"), QStringLiteral("VAT"));
        text(QStringLiteral("ram:CategoryCode"), c.code);
        text(QStringLiteral("ram:RateApplicablePercent"), decimal(c.rate));
    }

    QXmlStreamWriter x;
};

void writeParty(Writer &w, const Party &p, const QString &id, const SellerData *seller)
{
    w.optional(QStringLiteral("ram:ID"), id);
    w.text(QStringLiteral("ram:Name"), p.name.trimmed());
    if (seller) {
        w.optional(QStringLiteral("ram:Description"), seller->commercialRegister);
        w.start(QStringLiteral("ram:DefinedTradeContact"));
        w.optional(QStringLiteral("ram:PersonName"), seller->contactName);
        if (!seller->telephone.trimmed().isEmpty()) {
            w.start(QStringLiteral("ram:TelephoneUniversalCommunication"));
            w.text(QStringLiteral("ram:CompleteNumber"), seller->telephone.trimmed());
            w.end();
        }
        if (!seller->email.trimmed().isEmpty()) {
            w.start(QStringLiteral("ram:EmailURIUniversalCommunication"));
            w.text(QStringLiteral("ram:URIID"), seller->email.trimmed());
            w.end();
        }
        w.end();
    }
    w.start(QStringLiteral("ram:PostalTradeAddress"));
    w.optional(QStringLiteral("ram:PostcodeCode"), p.postcode);
    w.optional(QStringLiteral("ram:LineOne"), p.street);
    w.optional(QStringLiteral("ram:CityName"), p.town);
    w.text(QStringLiteral("ram:CountryID"), p.country.isEmpty() ? QStringLiteral("DE") : p.country);
    w.end();
    if (!p.email.trimmed().isEmpty()) {
        w.start(QStringLiteral("ram:URIUniversalCommunication"));
        w.withAttribute(QStringLiteral("ram:URIID"), QStringLiteral("schemeID"), QStringLiteral("EM"), p.email.trimmed());
        w.end();
    }
    if (!p.vatId.trimmed().isEmpty()) {
        w.start(QStringLiteral("ram:SpecifiedTaxRegistration"));
        w.withAttribute(QStringLiteral("ram:ID"), QStringLiteral("schemeID"), QStringLiteral("VA"),
                        p.vatId.simplified().remove(QLatin1Char(' ')));
        w.end();
    }
    if (seller && !seller->taxNumber.trimmed().isEmpty()) {
        w.start(QStringLiteral("ram:SpecifiedTaxRegistration"));
        w.withAttribute(QStringLiteral("ram:ID"), QStringLiteral("schemeID"), QStringLiteral("FC"),
                        seller->taxNumber.trimmed());
        w.end();
    }
}

// Exempt categories state why; the zero rate (Z) must not.
bool needsReason(const QString &code)
{
    return code != QLatin1String("S") && code != QLatin1String("Z");
}

QString paymentTermsText(const Data &d)
{
    QString text;
    if (d.kind == DocumentKind::Gutschrift)
        text = QStringLiteral("Der Betrag wird Ihnen gutgeschrieben.");
    else if (validDate(d.dueDate))
        text = QStringLiteral("Zahlbar bis %1 ohne Abzug.").arg(d.dueDate);
    else
        text = QStringLiteral("Zahlbar sofort ohne Abzug.");
    const auto percent = Amount::tryFromText(d.skontoPercent);
    bool daysOk = false;
    const int days = d.skontoDays.trimmed().toInt(&daysOk);
    if (d.kind == DocumentKind::Rechnung && percent && !percent->isZero() && daysOk && days > 0) {
        // The structured Skonto line that invoice software reads; it must stand on
        // a line of its own and end with a line break.
        text += QStringLiteral("\n#SKONTO#TAGE=%1#PROZENT=%2#\n").arg(days).arg(money(*percent));
    }
    return text;
}

} // namespace

VatCategory categoryOf(Amount rate, const QList<VatCategory> &categories)
{
    // A rate above 0 % is always standard; 0 % needs a category other than S (a
    // rate changed to 0 % in the options may still carry its old S).
    if (rate > Amount())
        return {rate, QStringLiteral("S"), QString()};
    for (const VatCategory &c : categories) {
        const QString code = c.code.trimmed().toUpper();
        if (c.rate == rate && !code.isEmpty() && code != QLatin1String("S"))
            return {rate, code, c.reason.trimmed()};
    }
    return {rate, QString(), QString()};
}

Figures figures(const Data &data)
{
    Figures f;
    LineList lines = data.lines;
    TotalsList totals;
    f.totals = Totals::compute(lines, totals, data.tableRates, data.currency, data.grossRule);
    const TotalsBreakdown &t = f.totals;

    f.lineTotal = t.lineTotal;
    f.taxBasis = t.net.roundedToCents();
    f.allowanceTotal = f.lineTotal - f.taxBasis;
    int largest = -1;
    Amount shared;
    for (const TotalsBreakdown::Rate &r : t.rates) {
        Figures::Rate fr;
        fr.category = categoryOf(r.rate, data.categories);
        fr.lineNet = r.lineNet;
        fr.vat = r.vat.roundedToCents();
        if (!t.lineTotal.isZero())
            fr.allowance = Amount::fromRaw(divRoundHalfEven(__int128(f.allowanceTotal.raw()) * r.lineNet.raw(),
                                                            __int128(t.lineTotal.raw())))
                               .roundedToCents();
        shared += fr.allowance;
        f.taxTotal += fr.vat;
        if (largest < 0 || r.lineNet > f.rates[largest].lineNet)
            largest = int(f.rates.size());
        f.rates << fr;
    }
    if (largest >= 0)
        f.rates[largest].allowance += f.allowanceTotal - shared;
    f.grandTotal = f.taxBasis + f.taxTotal;
    f.duePayable = t.gross.roundedToCents();
    f.rounding = f.duePayable - f.grandTotal;
    return f;
}

QStringList missingData(const Data &d)
{
    QStringList m;
    const SellerData &s = d.seller;
    if (s.name.trimmed().isEmpty())
        m << QStringLiteral("Name der eigenen Firma");
    if (s.postcode.trimmed().isEmpty() || s.town.trimmed().isEmpty() || s.street.trimmed().isEmpty())
        m << QStringLiteral("Anschrift der eigenen Firma (Straße, PLZ, Ort)");
    if (s.vatId.trimmed().isEmpty() && s.taxNumber.trimmed().isEmpty())
        m << QStringLiteral("USt-IdNr. oder Steuernummer der eigenen Firma");
    if (s.iban.trimmed().isEmpty())
        m << QStringLiteral("IBAN der eigenen Firma");
    else if (ExtendedRules::checkIban(s.iban) != ExtendedRules::IbanState::Valid)
        m << QStringLiteral("gültige IBAN der eigenen Firma");
    if (s.contactName.trimmed().isEmpty())
        m << QStringLiteral("Ansprechpartner der eigenen Firma");
    if (s.telephone.trimmed().isEmpty())
        m << QStringLiteral("Telefonnummer der eigenen Firma");
    if (s.email.trimmed().isEmpty())
        m << QStringLiteral("E-Mail-Adresse der eigenen Firma");
    if (d.buyer.name.trimmed().isEmpty() || d.buyer.street.trimmed().isEmpty()
        || d.buyer.postcode.trimmed().isEmpty() || d.buyer.town.trimmed().isEmpty())
        m << QStringLiteral("Anschrift des Kunden (Name, Straße, PLZ, Ort)");
    else if (d.buyer.country.isEmpty())
        m << QStringLiteral("Land des Kunden als bekannter Ländername oder Ländercode");
    if (d.buyer.email.trimmed().isEmpty())
        m << QStringLiteral("E-Mail-Adresse des Kunden");
    if (d.buyerReference.trimmed().isEmpty() && d.customerNumber.trimmed().isEmpty())
        m << QStringLiteral("Leitweg-ID / Käuferreferenz oder Kundennummer");
    if (!validDate(d.date))
        m << QStringLiteral("Datum des Belegs");
    if (d.kind == DocumentKind::Gutschrift && d.precedingInvoice.trimmed().isEmpty())
        m << QStringLiteral("Rechnung, auf die sich die Gutschrift bezieht");
    QList<Amount> seen;
    for (const Line &l : linesOf(d.lines)) {
        if (seen.contains(l.rate))
            continue;
        seen << l.rate;
        const VatCategory c = categoryOf(l.rate, d.categories);
        if (c.code.isEmpty())
            m << QStringLiteral("Steuerkategorie für den MwSt-Satz %1 % (Optionen)").arg(l.rate.toText());
        else if (needsReason(c.code) && c.reason.isEmpty())
            m << QStringLiteral("Befreiungsgrund für den MwSt-Satz %1 % (Optionen)").arg(l.rate.toText());
        // Reverse charge, intra-community supply and export name the seller's VAT
        // ID; the first two also the buyer's.
        const bool crossBorder = c.code == u"AE" || c.code == u"K";
        if ((crossBorder || c.code == u"G") && s.vatId.trimmed().isEmpty())
            m << QStringLiteral("USt-IdNr. der eigenen Firma (Kategorie %1)").arg(c.code);
        if (crossBorder && d.buyer.vatId.trimmed().isEmpty())
            m << QStringLiteral("USt-IdNr. des Kunden (Kategorie %1)").arg(c.code);
    }
    if (seen.isEmpty())
        m << QStringLiteral("mindestens eine Position mit Menge und Preis");
    // The Skonto the paper grants must be in the XML too, with its period.
    const auto skonto = Amount::tryFromText(d.skontoPercent);
    if (d.kind == DocumentKind::Rechnung && skonto && *skonto > Amount() && d.skontoDays.trimmed().toInt() <= 0)
        m << QStringLiteral("Skontofrist in Tagen (im Skontotext, z. B. „innerhalb von 8 Tagen“, oder als Skontotage "
                            "in den Kundendaten)");
    if (!d.serviceDate.isEmpty() && !validDate(d.serviceDate))
        m << QStringLiteral("gültiges Leistungsdatum");
    return m;
}

QByteArray writeCii(const Data &d, Profile profile)
{
    LineList lines = d.lines;
    const Figures f = figures(d);
    {
        // The line amounts as the totals fill them in.
        TotalsList totals;
        Totals::compute(lines, totals, d.tableRates, d.currency, d.grossRule);
    }
    const QString currency = currencyCode(d.currency);
    const bool creditNote = d.kind == DocumentKind::Gutschrift;

    QByteArray out;
    Writer w(out);
    w.x.writeStartDocument();
    w.x.writeNamespace(Rsm, QStringLiteral("rsm"));
    w.x.writeNamespace(Ram, QStringLiteral("ram"));
    w.x.writeNamespace(Qdt, QStringLiteral("qdt"));
    w.x.writeNamespace(Udt, QStringLiteral("udt"));
    w.start(QStringLiteral("rsm:CrossIndustryInvoice"));

    w.start(QStringLiteral("rsm:ExchangedDocumentContext"));
    if (profile == Profile::XRechnung) {
        w.start(QStringLiteral("ram:BusinessProcessSpecifiedDocumentContextParameter"));
        w.text(QStringLiteral("ram:ID"), QStringLiteral("urn:fdc:peppol.eu:2017:poacc:billing:01:1.0"));
        w.end();
    }
    w.start(QStringLiteral("ram:GuidelineSpecifiedDocumentContextParameter"));
    w.text(QStringLiteral("ram:ID"), profile == Profile::XRechnung
                                         ? QStringLiteral("urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0")
                                         : QStringLiteral("urn:cen.eu:en16931:2017"));
    w.end();
    w.end();

    w.start(QStringLiteral("rsm:ExchangedDocument"));
    w.text(QStringLiteral("ram:ID"), d.number);
    w.text(QStringLiteral("ram:TypeCode"), creditNote ? QStringLiteral("381") : QStringLiteral("380"));
    w.start(QStringLiteral("ram:IssueDateTime"));
    w.withAttribute(QStringLiteral("udt:DateTimeString"), QStringLiteral("format"), QStringLiteral("102"), isoDate(d.date));
    w.end();
    w.end();

    w.start(QStringLiteral("rsm:SupplyChainTradeTransaction"));
    for (const Line &l : linesOf(lines)) {
        w.start(QStringLiteral("ram:IncludedSupplyChainTradeLineItem"));
        w.start(QStringLiteral("ram:AssociatedDocumentLineDocument"));
        w.text(QStringLiteral("ram:LineID"), l.id);
        w.end();
        w.start(QStringLiteral("ram:SpecifiedTradeProduct"));
        w.optional(QStringLiteral("ram:SellerAssignedID"), l.articleNumber);
        w.text(QStringLiteral("ram:Name"), l.name);
        w.optional(QStringLiteral("ram:Description"), l.description);
        w.end();
        w.start(QStringLiteral("ram:SpecifiedLineTradeAgreement"));
        w.start(QStringLiteral("ram:NetPriceProductTradePrice"));
        w.text(QStringLiteral("ram:ChargeAmount"), decimal(l.price));
        w.end();
        w.end();
        w.start(QStringLiteral("ram:SpecifiedLineTradeDelivery"));
        // Our catalogue keeps no units: every quantity counts pieces.
        w.withAttribute(QStringLiteral("ram:BilledQuantity"), QStringLiteral("unitCode"), QStringLiteral("C62"),
                        decimal(l.quantity));
        w.end();
        w.start(QStringLiteral("ram:SpecifiedLineTradeSettlement"));
        w.start(QStringLiteral("ram:ApplicableTradeTax"));
        w.category(categoryOf(l.rate, d.categories));
        w.end();
        w.start(QStringLiteral("ram:SpecifiedTradeSettlementLineMonetarySummation"));
        w.text(QStringLiteral("ram:LineTotalAmount"), money(l.amount));
        w.end();
        w.end();
        w.end();
    }

    w.start(QStringLiteral("ram:ApplicableHeaderTradeAgreement"));
    w.text(QStringLiteral("ram:BuyerReference"),
           d.buyerReference.trimmed().isEmpty() ? d.customerNumber.trimmed() : d.buyerReference.trimmed());
    w.start(QStringLiteral("ram:SellerTradeParty"));
    const Party seller{d.seller.name, d.seller.street, d.seller.postcode, d.seller.town, QStringLiteral("DE"),
                       d.seller.vatId, d.seller.email};
    writeParty(w, seller, QString(), &d.seller);
    w.end();
    w.start(QStringLiteral("ram:BuyerTradeParty"));
    writeParty(w, d.buyer, d.customerNumber, nullptr);
    w.end();
    w.end();

    const QString serviceDate = validDate(d.serviceDate) ? d.serviceDate : d.date;
    const bool period = validDate(d.serviceDateTo) && d.serviceDateTo != serviceDate;
    w.start(QStringLiteral("ram:ApplicableHeaderTradeDelivery"));
    if (std::any_of(f.rates.begin(), f.rates.end(), [](const Figures::Rate &r) { return r.category.code == u"K"; })) {
        // An intra-community supply names where it was delivered.
        w.start(QStringLiteral("ram:ShipToTradeParty"));
        w.text(QStringLiteral("ram:Name"), d.buyer.name.trimmed());
        w.start(QStringLiteral("ram:PostalTradeAddress"));
        w.optional(QStringLiteral("ram:PostcodeCode"), d.buyer.postcode);
        w.optional(QStringLiteral("ram:LineOne"), d.buyer.street);
        w.optional(QStringLiteral("ram:CityName"), d.buyer.town);
        w.text(QStringLiteral("ram:CountryID"), d.buyer.country);
        w.end();
        w.end();
    }
    if (!period) {
        // The date of service (BT-72); a period is stated with the settlement.
        w.start(QStringLiteral("ram:ActualDeliverySupplyChainEvent"));
        w.date(QStringLiteral("ram:OccurrenceDateTime"), serviceDate);
        w.end();
    }
    w.end();

    w.start(QStringLiteral("ram:ApplicableHeaderTradeSettlement"));
    if (!creditNote)
        w.text(QStringLiteral("ram:PaymentReference"), d.number);
    w.text(QStringLiteral("ram:InvoiceCurrencyCode"), currency);
    w.start(QStringLiteral("ram:SpecifiedTradeSettlementPaymentMeans"));
    w.text(QStringLiteral("ram:TypeCode"), QStringLiteral("58"));
    w.start(QStringLiteral("ram:PayeePartyCreditorFinancialAccount"));
    w.text(QStringLiteral("ram:IBANID"), d.seller.iban.simplified().remove(QLatin1Char(' ')).toUpper());
    w.optional(QStringLiteral("ram:AccountName"), d.seller.name);
    w.end();
    if (!d.seller.bic.trimmed().isEmpty()) {
        w.start(QStringLiteral("ram:PayeeSpecifiedCreditorFinancialInstitution"));
        w.text(QStringLiteral("ram:BICID"), d.seller.bic.simplified().remove(QLatin1Char(' ')).toUpper());
        w.end();
    }
    w.end();
    for (const Figures::Rate &r : f.rates) {
        w.start(QStringLiteral("ram:ApplicableTradeTax"));
        w.text(QStringLiteral("ram:CalculatedAmount"), money(r.vat));
        w.text(QStringLiteral("ram:TypeCode"), QStringLiteral("VAT"));
        if (needsReason(r.category.code))
            w.text(QStringLiteral("ram:ExemptionReason"), r.category.reason);
        w.text(QStringLiteral("ram:BasisAmount"), money(r.basis()));
        w.text(QStringLiteral("ram:CategoryCode"), r.category.code);
        w.text(QStringLiteral("ram:RateApplicablePercent"), decimal(r.category.rate));
        w.end();
    }
    if (period) {
        // The period of service (BT-73, BT-74).
        w.start(QStringLiteral("ram:BillingSpecifiedPeriod"));
        w.date(QStringLiteral("ram:StartDateTime"), serviceDate);
        w.date(QStringLiteral("ram:EndDateTime"), d.serviceDateTo);
        w.end();
    }
    for (const Figures::Rate &r : f.rates) {
        if (r.allowance.isZero())
            continue;
        // The discount line becomes one allowance per rate, so that every rate's
        // basis shows what it was reduced by.
        w.start(QStringLiteral("ram:SpecifiedTradeAllowanceCharge"));
        w.start(QStringLiteral("ram:ChargeIndicator"));
        w.text(QStringLiteral("udt:Indicator"), QStringLiteral("false"));
        w.end();
        w.text(QStringLiteral("ram:ActualAmount"), money(r.allowance));
        w.text(QStringLiteral("ram:Reason"),
               d.discountText.trimmed().isEmpty() ? QStringLiteral("Rabatt") : d.discountText.trimmed());
        w.start(QStringLiteral("ram:CategoryTradeTax"));
        w.category(r.category);
        w.end();
        w.end();
    }
    w.start(QStringLiteral("ram:SpecifiedTradePaymentTerms"));
    w.text(QStringLiteral("ram:Description"), paymentTermsText(d));
    if (!creditNote && validDate(d.dueDate))
        w.date(QStringLiteral("ram:DueDateDateTime"), d.dueDate);
    w.end();

    w.start(QStringLiteral("ram:SpecifiedTradeSettlementHeaderMonetarySummation"));
    w.text(QStringLiteral("ram:LineTotalAmount"), money(f.lineTotal));
    if (!f.allowanceTotal.isZero())
        w.text(QStringLiteral("ram:AllowanceTotalAmount"), money(f.allowanceTotal));
    w.text(QStringLiteral("ram:TaxBasisTotalAmount"), money(f.taxBasis));
    w.withAttribute(QStringLiteral("ram:TaxTotalAmount"), QStringLiteral("currencyID"), currency, money(f.taxTotal));
    if (!f.rounding.isZero())
        w.text(QStringLiteral("ram:RoundingAmount"), money(f.rounding));
    w.text(QStringLiteral("ram:GrandTotalAmount"), money(f.grandTotal));
    w.text(QStringLiteral("ram:DuePayableAmount"), money(f.duePayable));
    w.end();
    if (creditNote) {
        w.start(QStringLiteral("ram:InvoiceReferencedDocument"));
        w.text(QStringLiteral("ram:IssuerAssignedID"), d.precedingInvoice.trimmed());
        if (validDate(d.precedingInvoiceDate))
            w.date(QStringLiteral("ram:FormattedIssueDateTime"), d.precedingInvoiceDate, QStringLiteral("qdt"));
        w.end();
    }
    w.end(); // ApplicableHeaderTradeSettlement
    w.end(); // SupplyChainTradeTransaction
    w.end(); // CrossIndustryInvoice
    w.x.writeEndDocument();
    return out;
}

void splitPostcodeTown(const QString &text, QString &postcode, QString &town)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(?:[A-Za-z]{1,3}-)?(\\d{4,5})\\s+(.*)$"));
    const auto m = re.match(text);
    if (m.hasMatch()) {
        postcode = m.captured(1);
        town = m.captured(2).trimmed();
    } else {
        postcode.clear();
        town = text.trimmed();
    }
}

QString countryCode(const QString &land)
{
    const QString l = land.trimmed().toLower();
    if (l.isEmpty() || l == QLatin1String("deutschland") || l == QLatin1String("d") || l == QLatin1String("de")
        || l == QLatin1String("germany") || l == QLatin1String("brd"))
        return QStringLiteral("DE");
    static const QList<std::pair<QString, QString>> names = {
        {QStringLiteral("österreich"), QStringLiteral("AT")}, {QStringLiteral("a"), QStringLiteral("AT")},
        {QStringLiteral("schweiz"), QStringLiteral("CH")},    {QStringLiteral("ch"), QStringLiteral("CH")},
        {QStringLiteral("frankreich"), QStringLiteral("FR")}, {QStringLiteral("f"), QStringLiteral("FR")},
        {QStringLiteral("niederlande"), QStringLiteral("NL")}, {QStringLiteral("nl"), QStringLiteral("NL")},
        {QStringLiteral("belgien"), QStringLiteral("BE")},    {QStringLiteral("b"), QStringLiteral("BE")},
        {QStringLiteral("luxemburg"), QStringLiteral("LU")},  {QStringLiteral("l"), QStringLiteral("LU")},
        {QStringLiteral("dänemark"), QStringLiteral("DK")},   {QStringLiteral("dk"), QStringLiteral("DK")},
        {QStringLiteral("polen"), QStringLiteral("PL")},      {QStringLiteral("pl"), QStringLiteral("PL")},
        {QStringLiteral("tschechien"), QStringLiteral("CZ")}, {QStringLiteral("cz"), QStringLiteral("CZ")},
        {QStringLiteral("italien"), QStringLiteral("IT")},    {QStringLiteral("i"), QStringLiteral("IT")},
        {QStringLiteral("spanien"), QStringLiteral("ES")},    {QStringLiteral("e"), QStringLiteral("ES")},
    };
    for (const auto &[name, code] : names)
        if (l == name)
            return code;
    if (l.size() == 2 && l.at(0).isLetter() && l.at(1).isLetter())
        return l.toUpper();
    return QString();
}

} // namespace EInvoice
