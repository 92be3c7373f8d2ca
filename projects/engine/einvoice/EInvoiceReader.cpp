#include "EInvoiceReader.h"

#include <QRegularExpression>
#include <algorithm>
#include <QXmlStreamReader>

#include <vector>

namespace EInvoiceReader {
namespace {

const QString CiiRoot = QStringLiteral("urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100");
const QString UblInvoice = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:Invoice-2");
const QString UblCreditNote = QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CreditNote-2");

// Our own short names for the namespaces; the paths below use them, and they are
// matched against each element's namespace URI, whatever prefix the file uses.
const QList<std::pair<QStringView, QString>> Namespaces = {
    {u"rsm", CiiRoot},
    {u"ram", QStringLiteral("urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100")},
    {u"udt", QStringLiteral("urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100")},
    {u"qdt", QStringLiteral("urn:un:unece:uncefact:data:standard:QualifiedDataType:100")},
    {u"cac", QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2")},
    {u"cbc", QStringLiteral("urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2")},
};

// Far deeper than any invoice; keeps a hostile file from exhausting the stack.
constexpr int MaxDepth = 64;

struct Node
{
    QString ns, name, text;
    QXmlStreamAttributes attributes;
    std::vector<Node> children;

    // An attribute without namespace, as the syntaxes use them ("unitCode").
    QString attribute(QStringView n) const
    {
        for (const QXmlStreamAttribute &a : attributes)
            if (a.namespaceUri().isEmpty() && a.name() == n)
                return a.value().toString().trimmed();
        return {};
    }

    // "ram:A/ram:B": matches local names and namespace URIs one step after the other.
    static bool matches(const Node &n, QStringView step)
    {
        const qsizetype colon = step.indexOf(u':');
        if (n.name != step.mid(colon + 1))
            return false;
        for (const auto &[prefix, uri] : Namespaces)
            if (prefix == step.left(colon))
                return n.ns == uri;
        return false;
    }

    void collect(QStringView path, QList<const Node *> &out) const
    {
        const qsizetype slash = path.indexOf(u'/');
        const QStringView step = slash < 0 ? path : path.left(slash);
        for (const Node &c : children) {
            if (!matches(c, step))
                continue;
            if (slash < 0)
                out << &c;
            else
                c.collect(path.mid(slash + 1), out);
        }
    }
    QList<const Node *> all(QStringView path) const
    {
        QList<const Node *> out;
        collect(path, out);
        return out;
    }
    const Node *first(QStringView path) const
    {
        const auto found = all(path);
        return found.isEmpty() ? nullptr : found.first();
    }
    QString value(QStringView path) const
    {
        const Node *n = first(path);
        return n ? n->text.trimmed() : QString();
    }
};

QString quoted(const Node &n)
{
    return n.ns.isEmpty() ? n.name : QStringLiteral("{%1}%2").arg(n.ns, n.name);
}

// The first entity reference in the given line (counted from 1) other than the
// five XML predefines; without a document type every other one is undeclared.
QString undeclaredEntity(const QByteArray &xml, qint64 line)
{
    qsizetype start = 0;
    for (qint64 l = 1; l < line && start >= 0; ++l) {
        start = xml.indexOf('\n', start);
        if (start >= 0)
            ++start;
    }
    if (start < 0)
        return {};
    qsizetype end = xml.indexOf('\n', start);
    const QString text = QString::fromUtf8(xml.mid(start, end < 0 ? -1 : end - start).left(65536));
    static const QRegularExpression re(QStringLiteral("&([A-Za-z_][-A-Za-z0-9._]*);"));
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (name != u"amp" && name != u"lt" && name != u"gt" && name != u"quot" && name != u"apos")
            return name;
    }
    return {};
}

class Reader
{
public:
    Reader(const QString &fileName) : m_file(fileName) {}

    // The whole file as a tree, or the reason it cannot be one.
    bool parse(const QByteArray &xml)
    {
        QXmlStreamReader x(xml);
        std::vector<Node *> open;
        bool started = false;
        while (!x.atEnd()) {
            switch (x.readNext()) {
            case QXmlStreamReader::DTD:
                // Entity declarations can read local files or multiply into gigabytes;
                // an invoice never needs one.
                return fail(QStringLiteral("enthält eine Dokumenttypdeklaration (DTD) und wird deshalb nicht gelesen."));
            case QXmlStreamReader::EntityReference:
                return fail(QStringLiteral("enthält den nicht auflösbaren Verweis „&%1;“ (Zeile %2).")
                                .arg(x.name())
                                .arg(x.lineNumber()));
            case QXmlStreamReader::StartElement: {
                Node *n = &m_root;
                if (!open.empty())
                    n = &open.back()->children.emplace_back();
                started = true;
                if (open.size() >= MaxDepth)
                    return fail(QStringLiteral("ist tiefer verschachtelt als jede Rechnung (Zeile %1).").arg(x.lineNumber()));
                n->ns = x.namespaceUri().toString();
                n->name = x.name().toString();
                n->attributes = x.attributes();
                open.push_back(n);
                break;
            }
            case QXmlStreamReader::Characters:
                if (!open.empty())
                    open.back()->text += x.text();
                break;
            case QXmlStreamReader::EndElement:
                open.pop_back();
                break;
            default:
                break;
            }
        }
        if (!x.hasError())
            return true;
        if (!started)
            return fail(QStringLiteral("ist keine XML-Datei."));
        if (x.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return fail(QStringLiteral("ist unvollständig: sie endet mitten im XML (Zeile %1).").arg(x.lineNumber()));
        // An undeclared entity ("&nbsp;") is an error of the parser, not a token; its
        // text may be translated, so the line itself is looked at.
        if (const QString name = undeclaredEntity(xml, x.lineNumber()); !name.isEmpty())
            return fail(QStringLiteral("enthält den nicht auflösbaren Verweis „&%1;“ (Zeile %2).")
                            .arg(name)
                            .arg(x.lineNumber()));
        return fail(QStringLiteral("ist kein gültiges XML (Fehler in Zeile %1).").arg(x.lineNumber()));
    }

    ReceivedInvoiceFile read()
    {
        ReceivedInvoiceFile result;
        if (m_root.name == u"CrossIndustryInvoice" && m_root.ns == CiiRoot)
            readCii(result.invoice);
        else if ((m_root.name == u"Invoice" && m_root.ns == UblInvoice)
                 || (m_root.name == u"CreditNote" && m_root.ns == UblCreditNote))
            readUbl(result.invoice);
        else
            fail(QStringLiteral("ist keine elektronische Rechnung (weder UN/CEFACT CII noch UBL Invoice/CreditNote), "
                                "sondern ein XML-Dokument „%1“.")
                     .arg(quoted(m_root)));
        result.error = m_error;
        return result;
    }

    QString error() const { return m_error; }

private:
    bool fail(const QString &what)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Die Datei „%1“ %2").arg(m_file, what);
        return false;
    }

    Amount amount(const Node *n)
    {
        if (!n)
            return {};
        return optionalAmount(n).value_or(Amount());
    }
    std::optional<Amount> optionalAmount(const Node *n)
    {
        if (!n)
            return std::nullopt;
        const auto a = parseDecimal(n->text);
        if (!a)
            fail(QStringLiteral("enthält in „%1“ keine gültige Zahl: „%2“.").arg(n->name, n->text.trimmed().left(40)));
        return a;
    }
    std::optional<Amount> optionalAmount(const Node &parent, QStringView path) { return optionalAmount(parent.first(path)); }
    Amount amount(const Node &parent, QStringView path) { return amount(parent.first(path)); }

    QDate date(const QString &text, const QString &format)
    {
        if (text.isEmpty())
            return {};
        const QDate d = QDate::fromString(text, format);
        if (!d.isValid())
            fail(QStringLiteral("enthält das ungültige Datum „%1“.").arg(text.left(40)));
        return d;
    }
    QDate ciiDate(const Node &parent, QStringView path) { return date(parent.value(path), QStringLiteral("yyyyMMdd")); }
    QDate ublDate(const Node &parent, QStringView path) { return date(parent.value(path), QStringLiteral("yyyy-MM-dd")); }

    // The German XRechnung form of a Skonto: "#SKONTO#TAGE=14#PROZENT=2.00#", with an
    // optional "BASISBETRAG=…#", each on a line of its own.
    void skontoLines(ReceivedInvoice &inv)
    {
        static const QRegularExpression re(
            QStringLiteral("#SKONTO#TAGE=(\\d{1,4})#PROZENT=([0-9.]+)#(?:BASISBETRAG=(-?[0-9.]+)#)?"));
        for (auto it = re.globalMatch(inv.paymentTerms); it.hasNext();) {
            const auto m = it.next();
            const auto percent = parseDecimal(m.captured(2));
            if (!percent)
                continue;
            ReceivedInvoice::Skonto s{m.captured(1).toInt(), *percent, std::nullopt};
            if (m.hasCaptured(3))
                s.base = parseDecimal(m.captured(3));
            inv.skonto << s;
        }
    }

    // ---- CII -------------------------------------------------------------------

    void ciiParty(const Node *p, ReceivedInvoice::Party &party)
    {
        if (!p)
            return;
        party.name = p->value(u"ram:Name");
        party.contactName = p->value(u"ram:DefinedTradeContact/ram:PersonName");
        party.phone = p->value(u"ram:DefinedTradeContact/ram:TelephoneUniversalCommunication/ram:CompleteNumber");
        party.email = p->value(u"ram:DefinedTradeContact/ram:EmailURIUniversalCommunication/ram:URIID");
        if (const Node *a = p->first(u"ram:PostalTradeAddress")) {
            for (QStringView l : {u"ram:LineOne", u"ram:LineTwo", u"ram:LineThree"})
                if (const QString v = a->value(l); !v.isEmpty())
                    party.addressLines << v;
            party.postcode = a->value(u"ram:PostcodeCode");
            party.town = a->value(u"ram:CityName");
            party.country = a->value(u"ram:CountryID");
        }
        if (const Node *e = p->first(u"ram:URIUniversalCommunication/ram:URIID")) {
            party.electronicAddress = e->text.trimmed();
            party.electronicAddressScheme = e->attribute(u"schemeID");
        }
        for (const Node *t : p->all(u"ram:SpecifiedTaxRegistration/ram:ID"))
            (t->attribute(u"schemeID") == u"VA" ? party.vatId : party.taxNumber) = t->text.trimmed();
    }

    void ciiTax(const Node &t, QString &category, Amount &rate)
    {
        category = t.value(u"ram:CategoryCode");
        rate = amount(t, u"ram:RateApplicablePercent");
    }

    void readCii(ReceivedInvoice &inv)
    {
        inv.syntax = ReceivedInvoice::Syntax::Cii;
        const Node &r = m_root;
        inv.customizationId = r.value(u"rsm:ExchangedDocumentContext/ram:GuidelineSpecifiedDocumentContextParameter/ram:ID");
        inv.number = r.value(u"rsm:ExchangedDocument/ram:ID");
        inv.typeCode = r.value(u"rsm:ExchangedDocument/ram:TypeCode");
        inv.issueDate = ciiDate(r, u"rsm:ExchangedDocument/ram:IssueDateTime/udt:DateTimeString");

        const Node *trade = r.first(u"rsm:SupplyChainTradeTransaction");
        if (!trade)
            return;
        for (const Node *l : trade->all(u"ram:IncludedSupplyChainTradeLineItem")) {
            ReceivedInvoice::Line line;
            line.id = l->value(u"ram:AssociatedDocumentLineDocument/ram:LineID");
            line.name = l->value(u"ram:SpecifiedTradeProduct/ram:Name");
            line.description = l->value(u"ram:SpecifiedTradeProduct/ram:Description");
            line.netPrice = amount(*l, u"ram:SpecifiedLineTradeAgreement/ram:NetPriceProductTradePrice/ram:ChargeAmount");
            line.baseQuantity =
                optionalAmount(*l, u"ram:SpecifiedLineTradeAgreement/ram:NetPriceProductTradePrice/ram:BasisQuantity");
            if (const Node *q = l->first(u"ram:SpecifiedLineTradeDelivery/ram:BilledQuantity")) {
                line.quantity = amount(q);
                line.unitCode = q->attribute(u"unitCode");
            }
            if (const Node *s = l->first(u"ram:SpecifiedLineTradeSettlement")) {
                if (const Node *t = s->first(u"ram:ApplicableTradeTax"))
                    ciiTax(*t, line.vatCategory, line.vatRate);
                for (const Node *ac : s->all(u"ram:SpecifiedTradeAllowanceCharge"))
                    (ac->value(u"ram:ChargeIndicator/udt:Indicator") == u"true" ? line.charges : line.allowances) +=
                        amount(*ac, u"ram:ActualAmount");
                line.netAmount = amount(*s, u"ram:SpecifiedTradeSettlementLineMonetarySummation/ram:LineTotalAmount");
            }
            inv.lines << line;
        }

        inv.buyerReference = trade->value(u"ram:ApplicableHeaderTradeAgreement/ram:BuyerReference");
        ciiParty(trade->first(u"ram:ApplicableHeaderTradeAgreement/ram:SellerTradeParty"), inv.seller);
        ciiParty(trade->first(u"ram:ApplicableHeaderTradeAgreement/ram:BuyerTradeParty"), inv.buyer);
        inv.serviceDate = ciiDate(*trade, u"ram:ApplicableHeaderTradeDelivery/ram:ActualDeliverySupplyChainEvent/"
                                          u"ram:OccurrenceDateTime/udt:DateTimeString");

        const Node *s = trade->first(u"ram:ApplicableHeaderTradeSettlement");
        if (!s)
            return;
        inv.currency = s->value(u"ram:InvoiceCurrencyCode");
        if (const Node *m = s->first(u"ram:SpecifiedTradeSettlementPaymentMeans")) {
            inv.paymentMeansCode = m->value(u"ram:TypeCode");
            inv.iban = m->value(u"ram:PayeePartyCreditorFinancialAccount/ram:IBANID");
            inv.bic = m->value(u"ram:PayeeSpecifiedCreditorFinancialInstitution/ram:BICID");
        }
        for (const Node *t : s->all(u"ram:ApplicableTradeTax")) {
            ReceivedInvoice::VatRow row;
            ciiTax(*t, row.category, row.rate);
            row.taxable = amount(*t, u"ram:BasisAmount");
            row.tax = amount(*t, u"ram:CalculatedAmount");
            row.exemptionReason = t->value(u"ram:ExemptionReason");
            inv.vat << row;
        }
        inv.periodStart = ciiDate(*s, u"ram:BillingSpecifiedPeriod/ram:StartDateTime/udt:DateTimeString");
        inv.periodEnd = ciiDate(*s, u"ram:BillingSpecifiedPeriod/ram:EndDateTime/udt:DateTimeString");
        for (const Node *a : s->all(u"ram:SpecifiedTradeAllowanceCharge")) {
            ReceivedInvoice::AllowanceCharge ac;
            ac.charge = a->value(u"ram:ChargeIndicator/udt:Indicator") == u"true";
            ac.amount = amount(*a, u"ram:ActualAmount");
            ac.base = optionalAmount(*a, u"ram:BasisAmount");
            ac.percent = optionalAmount(*a, u"ram:CalculationPercent");
            ac.reason = a->value(u"ram:Reason");
            if (const Node *t = a->first(u"ram:CategoryTradeTax"))
                ciiTax(*t, ac.vatCategory, ac.vatRate);
            inv.allowancesCharges << ac;
        }
        QStringList terms;
        for (const Node *p : s->all(u"ram:SpecifiedTradePaymentTerms")) {
            if (const QString d = p->value(u"ram:Description"); !d.isEmpty())
                terms << d;
            if (!inv.dueDate.isValid())
                inv.dueDate = ciiDate(*p, u"ram:DueDateDateTime/udt:DateTimeString");
        }
        inv.paymentTerms = terms.join(QLatin1Char('\n'));
        skontoLines(inv);
        for (const Node *d : s->all(u"ram:SpecifiedTradePaymentTerms/ram:ApplicableTradePaymentDiscountTerms")) {
            ReceivedInvoice::Skonto k{d->value(u"ram:BasisPeriodMeasure").toInt(),
                                      amount(*d, u"ram:CalculationPercent"), optionalAmount(*d, u"ram:BasisAmount")};
            const bool known = std::any_of(inv.skonto.begin(), inv.skonto.end(), [&](const ReceivedInvoice::Skonto &o) {
                return o.days == k.days && o.percent == k.percent;
            });
            if (!known)
                inv.skonto << k;
        }

        if (const Node *m = s->first(u"ram:SpecifiedTradeSettlementHeaderMonetarySummation")) {
            ReceivedInvoice::Totals &t = inv.totals;
            t.lineTotal = optionalAmount(*m, u"ram:LineTotalAmount");
            t.charges = optionalAmount(*m, u"ram:ChargeTotalAmount");
            t.allowances = optionalAmount(*m, u"ram:AllowanceTotalAmount");
            t.taxExclusive = optionalAmount(*m, u"ram:TaxBasisTotalAmount");
            // A second tax total may state the VAT in the accounting currency.
            for (const Node *v : m->all(u"ram:TaxTotalAmount")) {
                const QString c = v->attribute(u"currencyID");
                if (!t.vatTotal || c == inv.currency)
                    t.vatTotal = optionalAmount(v);
            }
            t.rounding = optionalAmount(*m, u"ram:RoundingAmount");
            t.taxInclusive = optionalAmount(*m, u"ram:GrandTotalAmount");
            t.prepaid = optionalAmount(*m, u"ram:TotalPrepaidAmount");
            t.due = optionalAmount(*m, u"ram:DuePayableAmount");
        }
    }

    // ---- UBL -------------------------------------------------------------------

    void ublParty(const Node *p, ReceivedInvoice::Party &party)
    {
        if (!p)
            return;
        party.name = p->value(u"cac:PartyLegalEntity/cbc:RegistrationName");
        if (party.name.isEmpty())
            party.name = p->value(u"cac:PartyName/cbc:Name");
        if (const Node *e = p->first(u"cbc:EndpointID")) {
            party.electronicAddress = e->text.trimmed();
            party.electronicAddressScheme = e->attribute(u"schemeID");
        }
        if (const Node *a = p->first(u"cac:PostalAddress")) {
            for (QStringView l : {u"cbc:StreetName", u"cbc:AdditionalStreetName", u"cac:AddressLine/cbc:Line"})
                if (const QString v = a->value(l); !v.isEmpty())
                    party.addressLines << v;
            party.postcode = a->value(u"cbc:PostalZone");
            party.town = a->value(u"cbc:CityName");
            party.country = a->value(u"cac:Country/cbc:IdentificationCode");
        }
        for (const Node *t : p->all(u"cac:PartyTaxScheme"))
            (t->value(u"cac:TaxScheme/cbc:ID") == u"VAT" ? party.vatId : party.taxNumber) = t->value(u"cbc:CompanyID");
        party.contactName = p->value(u"cac:Contact/cbc:Name");
        party.phone = p->value(u"cac:Contact/cbc:Telephone");
        party.email = p->value(u"cac:Contact/cbc:ElectronicMail");
    }

    void ublCategory(const Node *c, QString &category, Amount &rate)
    {
        if (!c)
            return;
        category = c->value(u"cbc:ID");
        rate = amount(*c, u"cbc:Percent");
    }

    void readUbl(ReceivedInvoice &inv)
    {
        inv.syntax = ReceivedInvoice::Syntax::Ubl;
        const Node &r = m_root;
        const bool credit = r.name == u"CreditNote";
        inv.customizationId = r.value(u"cbc:CustomizationID");
        inv.number = r.value(u"cbc:ID");
        inv.issueDate = ublDate(r, u"cbc:IssueDate");
        inv.typeCode = r.value(credit ? u"cbc:CreditNoteTypeCode" : u"cbc:InvoiceTypeCode");
        inv.currency = r.value(u"cbc:DocumentCurrencyCode");
        inv.buyerReference = r.value(u"cbc:BuyerReference");
        inv.periodStart = ublDate(r, u"cac:InvoicePeriod/cbc:StartDate");
        inv.periodEnd = ublDate(r, u"cac:InvoicePeriod/cbc:EndDate");
        ublParty(r.first(u"cac:AccountingSupplierParty/cac:Party"), inv.seller);
        ublParty(r.first(u"cac:AccountingCustomerParty/cac:Party"), inv.buyer);
        inv.serviceDate = ublDate(r, u"cac:Delivery/cbc:ActualDeliveryDate");
        // A credit note states its due date with the payment means.
        inv.dueDate = ublDate(r, credit ? u"cac:PaymentMeans/cbc:PaymentDueDate" : u"cbc:DueDate");
        if (const Node *m = r.first(u"cac:PaymentMeans")) {
            inv.paymentMeansCode = m->value(u"cbc:PaymentMeansCode");
            inv.iban = m->value(u"cac:PayeeFinancialAccount/cbc:ID");
            inv.bic = m->value(u"cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cbc:ID");
        }
        QStringList terms;
        for (const Node *n : r.all(u"cac:PaymentTerms/cbc:Note"))
            terms << n->text.trimmed();
        inv.paymentTerms = terms.join(QLatin1Char('\n'));
        skontoLines(inv);

        for (const Node *a : r.all(u"cac:AllowanceCharge")) {
            ReceivedInvoice::AllowanceCharge ac;
            ac.charge = a->value(u"cbc:ChargeIndicator") == u"true";
            ac.amount = amount(*a, u"cbc:Amount");
            ac.base = optionalAmount(*a, u"cbc:BaseAmount");
            ac.percent = optionalAmount(*a, u"cbc:MultiplierFactorNumeric");
            ac.reason = a->value(u"cbc:AllowanceChargeReason");
            ublCategory(a->first(u"cac:TaxCategory"), ac.vatCategory, ac.vatRate);
            inv.allowancesCharges << ac;
        }
        // The tax total in the invoice's currency carries the breakdown; a second
        // one may state the VAT in the accounting currency.
        const Node *taxTotal = nullptr;
        for (const Node *t : r.all(u"cac:TaxTotal"))
            if (!taxTotal || (t->first(u"cbc:TaxAmount") && t->first(u"cbc:TaxAmount")->attribute(u"currencyID") == inv.currency))
                taxTotal = t;
        if (taxTotal) {
            inv.totals.vatTotal = optionalAmount(*taxTotal, u"cbc:TaxAmount");
            for (const Node *t : taxTotal->all(u"cac:TaxSubtotal")) {
                ReceivedInvoice::VatRow row;
                ublCategory(t->first(u"cac:TaxCategory"), row.category, row.rate);
                row.taxable = amount(*t, u"cbc:TaxableAmount");
                row.tax = amount(*t, u"cbc:TaxAmount");
                row.exemptionReason = t->value(u"cac:TaxCategory/cbc:TaxExemptionReason");
                inv.vat << row;
            }
        }
        if (const Node *m = r.first(u"cac:LegalMonetaryTotal")) {
            ReceivedInvoice::Totals &t = inv.totals;
            t.lineTotal = optionalAmount(*m, u"cbc:LineExtensionAmount");
            t.taxExclusive = optionalAmount(*m, u"cbc:TaxExclusiveAmount");
            t.taxInclusive = optionalAmount(*m, u"cbc:TaxInclusiveAmount");
            t.allowances = optionalAmount(*m, u"cbc:AllowanceTotalAmount");
            t.charges = optionalAmount(*m, u"cbc:ChargeTotalAmount");
            t.prepaid = optionalAmount(*m, u"cbc:PrepaidAmount");
            t.rounding = optionalAmount(*m, u"cbc:PayableRoundingAmount");
            t.due = optionalAmount(*m, u"cbc:PayableAmount");
        }
        for (const Node *l : r.all(credit ? u"cac:CreditNoteLine" : u"cac:InvoiceLine")) {
            ReceivedInvoice::Line line;
            line.id = l->value(u"cbc:ID");
            if (const Node *q = l->first(credit ? u"cbc:CreditedQuantity" : u"cbc:InvoicedQuantity")) {
                line.quantity = amount(q);
                line.unitCode = q->attribute(u"unitCode");
            }
            line.netAmount = amount(*l, u"cbc:LineExtensionAmount");
            for (const Node *ac : l->all(u"cac:AllowanceCharge"))
                (ac->value(u"cbc:ChargeIndicator") == u"true" ? line.charges : line.allowances) += amount(*ac, u"cbc:Amount");
            line.name = l->value(u"cac:Item/cbc:Name");
            line.description = l->value(u"cac:Item/cbc:Description");
            ublCategory(l->first(u"cac:Item/cac:ClassifiedTaxCategory"), line.vatCategory, line.vatRate);
            line.netPrice = amount(*l, u"cac:Price/cbc:PriceAmount");
            line.baseQuantity = optionalAmount(*l, u"cac:Price/cbc:BaseQuantity");
            inv.lines << line;
        }
    }

    QString m_file;
    QString m_error;
    Node m_root;
};

} // namespace

std::optional<Amount> parseDecimal(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    __int128 value = 0;
    int intDigits = 0, fracDigits = 0;
    qsizetype i = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        if (++intDigits > 14)
            return std::nullopt; // beyond what an amount of ours can hold
        value = value * 10 + (text[i].unicode() - u'0');
    }
    __int128 pow = 1;
    if (i < text.size() && text[i] == u'.') {
        for (++i; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            if (++fracDigits > 18)
                return std::nullopt;
            value = value * 10 + (text[i].unicode() - u'0');
            pow *= 10;
        }
    }
    if (i != text.size() || intDigits + fracDigits == 0)
        return std::nullopt;
    const qint64 raw = divRoundHalfEven(value * Amount::Scale, pow);
    return Amount::fromRaw(negative ? -raw : raw);
}

ReceivedInvoiceFile read(const QByteArray &xml, const QString &fileName)
{
    Reader reader(fileName);
    if (xml.size() > MaxFileSize)
        return {{}, QStringLiteral("Die Datei „%1“ ist größer als 20 MB und wird nicht als Rechnung gelesen.").arg(fileName)};
    if (!reader.parse(xml))
        return {{}, reader.error()};
    ReceivedInvoiceFile result = reader.read();
    if (!result.ok())
        result.invoice = {};
    return result;
}

} // namespace EInvoiceReader
