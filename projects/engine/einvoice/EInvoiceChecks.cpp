#include "EInvoiceChecks.h"

#include <algorithm>

namespace EInvoiceChecks {
namespace {

using Invoice = ReceivedInvoice;

QString money(Amount a, const QString &currency)
{
    const QString symbol = currency.isEmpty() || currency == u"EUR" ? QStringLiteral("€") : currency;
    return a.toText() + QLatin1Char(' ') + symbol;
}

QString percent(Amount rate)
{
    return rate.toText() + QStringLiteral(" %");
}

QString vatLabel(const QString &category, Amount rate)
{
    return QStringLiteral("Kategorie %1 mit %2").arg(category.isEmpty() ? QStringLiteral("?") : category, percent(rate));
}

bool sameVat(const QString &category, Amount rate, const Invoice::VatRow &row)
{
    return row.category == category && row.rate == rate;
}

// The line's net amount as quantity × price ÷ base quantity, before rounding, is
// within half a cent of what the line states (a halfway value may go either way),
// after the line's own allowances and charges.
bool lineAddsUp(const Invoice::Line &l, Amount &expected)
{
    const __int128 base = l.baseQuantity && !l.baseQuantity->isZero() ? l.baseQuantity->raw() : Amount::Scale;
    const __int128 product = __int128(l.quantity.raw()) * l.netPrice.raw(); // raw × base
    const Amount adjust = l.charges - l.allowances;
    expected = Amount::fromRaw(divRoundHalfEven(product, base * 100) * 100) + adjust;
    __int128 diff = __int128(l.netAmount.raw() - adjust.raw()) * base - product;
    if (diff < 0)
        diff = -diff;
    return diff <= 50 * (base < 0 ? -base : base);
}

void mandatory(const Invoice &inv, QStringList &out)
{
    if (inv.number.isEmpty())
        out << QStringLiteral("Die Rechnungsnummer (BT-1) fehlt.");
    if (!inv.issueDate.isValid())
        out << QStringLiteral("Das Rechnungsdatum (BT-2) fehlt.");
    if (inv.typeCode.isEmpty())
        out << QStringLiteral("Die Art der Rechnung (BT-3) fehlt.");
    if (inv.currency.isEmpty())
        out << QStringLiteral("Die Währung (BT-5) fehlt.");
    if (inv.seller.name.isEmpty())
        out << QStringLiteral("Der Name des Verkäufers (BT-27) fehlt.");
    if (inv.seller.country.isEmpty())
        out << QStringLiteral("Das Land des Verkäufers (BT-40) fehlt.");
    if (inv.buyer.name.isEmpty())
        out << QStringLiteral("Der Name des Käufers (BT-44) fehlt.");
    if (inv.lines.isEmpty())
        out << QStringLiteral("Die Rechnung hat keine Position (BG-25).");
    if (inv.vat.isEmpty())
        out << QStringLiteral("Die Aufschlüsselung der Umsatzsteuer (BG-23) fehlt.");
    const Invoice::Totals &t = inv.totals;
    if (!t.lineTotal)
        out << QStringLiteral("Die Summe der Positionen (BT-106) fehlt.");
    if (!t.taxExclusive)
        out << QStringLiteral("Der Nettobetrag (BT-109) fehlt.");
    if (!t.taxInclusive)
        out << QStringLiteral("Der Bruttobetrag (BT-112) fehlt.");
    if (!t.due)
        out << QStringLiteral("Der Zahlbetrag (BT-115) fehlt.");
}

void sums(const Invoice &inv, QStringList &out)
{
    const Invoice::Totals &t = inv.totals;
    const auto m = [&](Amount a) { return money(a, inv.currency); };
    const auto zero = [](const std::optional<Amount> &a) { return a.value_or(Amount()); };
    // A stated total that differs from what its parts give.
    const auto compare = [&](const std::optional<Amount> &stated, Amount computed, const QString &sentence) {
        if (stated && *stated != computed)
            out << sentence.arg(m(*stated), m(computed));
    };

    Amount lines, allowances, charges, vat;
    for (const Invoice::Line &l : inv.lines)
        lines += l.netAmount;
    for (const Invoice::AllowanceCharge &ac : inv.allowancesCharges)
        (ac.charge ? charges : allowances) += ac.amount;
    for (const Invoice::VatRow &r : inv.vat)
        vat += r.tax;

    compare(t.lineTotal, lines, QStringLiteral("Die Summe der Positionen (BT-106) ist %1, die Positionen ergeben %2."));
    compare(std::optional(zero(t.allowances)), allowances,
            QStringLiteral("Die Summe der Nachlässe (BT-107) ist %1, die Nachlässe ergeben %2."));
    compare(std::optional(zero(t.charges)), charges,
            QStringLiteral("Die Summe der Zuschläge (BT-108) ist %1, die Zuschläge ergeben %2."));
    if (t.lineTotal)
        compare(t.taxExclusive, *t.lineTotal - zero(t.allowances) + zero(t.charges),
                QStringLiteral("Der Nettobetrag (BT-109) ist %1, Summe der Positionen − Nachlässe + Zuschläge "
                               "ergibt %2."));
    if (!inv.vat.isEmpty())
        compare(std::optional(zero(t.vatTotal)), vat,
                QStringLiteral("Die Umsatzsteuer (BT-110) ist %1, die Aufschlüsselung ergibt %2."));
    if (t.taxExclusive)
        compare(t.taxInclusive, *t.taxExclusive + zero(t.vatTotal),
                QStringLiteral("Der Bruttobetrag (BT-112) ist %1, Nettobetrag + Umsatzsteuer ergibt %2."));
    if (t.taxInclusive)
        compare(t.due, *t.taxInclusive - zero(t.prepaid) + zero(t.rounding),
                QStringLiteral("Der Zahlbetrag (BT-115) ist %1, Bruttobetrag − bereits gezahlt + Rundung ergibt %2."));
}

void vatRows(const Invoice &inv, QStringList &out)
{
    const auto m = [&](Amount a) { return money(a, inv.currency); };
    for (const Invoice::VatRow &r : inv.vat) {
        Amount taxable;
        for (const Invoice::Line &l : inv.lines)
            if (sameVat(l.vatCategory, l.vatRate, r))
                taxable += l.netAmount;
        for (const Invoice::AllowanceCharge &ac : inv.allowancesCharges)
            if (sameVat(ac.vatCategory, ac.vatRate, r))
                taxable += ac.charge ? ac.amount : -ac.amount;
        if (r.taxable != taxable)
            out << QStringLiteral("Der steuerpflichtige Betrag der %1 (BT-116) ist %2, Positionen, Nachlässe und "
                                  "Zuschläge dieses Satzes ergeben %3.")
                       .arg(vatLabel(r.category, r.rate), m(r.taxable), m(taxable));
        // Rounded to cents; a cent either way is allowed, as senders round differently.
        const Amount tax = Amount::fromRaw(
            divRoundHalfEven(__int128(r.taxable.raw()) * r.rate.raw(), __int128(Amount::Scale) * 100 * 100) * 100);
        const qint64 diff = (r.tax - tax).raw();
        if (diff > 100 || diff < -100)
            out << QStringLiteral("Die Steuer der %1 (BT-117) ist %2, %3 × %4 ergibt %5.")
                       .arg(vatLabel(r.category, r.rate), m(r.tax), m(r.taxable), percent(r.rate), m(tax));
    }
}

void lines(const Invoice &inv, QStringList &out)
{
    const auto m = [&](Amount a) { return money(a, inv.currency); };
    for (const Invoice::Line &l : inv.lines) {
        if (!std::any_of(inv.vat.begin(), inv.vat.end(),
                         [&](const Invoice::VatRow &r) { return sameVat(l.vatCategory, l.vatRate, r); }))
            out << QStringLiteral("Für die Position %1 (%2) fehlt eine Zeile in der Aufschlüsselung der "
                                  "Umsatzsteuer.")
                       .arg(l.id, vatLabel(l.vatCategory, l.vatRate));
        Amount expected;
        if (!lineAddsUp(l, expected))
            out << QStringLiteral("Der Nettobetrag der Position %1 (BT-131) ist %2, Menge × Preis ergibt %3.")
                       .arg(l.id, m(l.netAmount), m(expected));
    }
}

void xrechnung(const Invoice &inv, QStringList &out)
{
    const auto require = [&](bool present, const QString &what) {
        if (!present)
            out << QStringLiteral("Eine XRechnung muss %1 nennen.").arg(what);
    };
    require(!inv.buyerReference.isEmpty(), QStringLiteral("die Käuferreferenz (BT-10)"));
    require(!inv.seller.contactName.isEmpty(), QStringLiteral("den Ansprechpartner des Verkäufers (BT-41)"));
    require(!inv.seller.phone.isEmpty(), QStringLiteral("die Telefonnummer des Verkäufers (BT-42)"));
    require(!inv.seller.email.isEmpty(), QStringLiteral("die E-Mail-Adresse des Verkäufers (BT-43)"));
    require(!inv.seller.postcode.isEmpty(), QStringLiteral("die Postleitzahl des Verkäufers (BT-38)"));
    require(!inv.seller.town.isEmpty(), QStringLiteral("den Ort des Verkäufers (BT-37)"));
    require(!inv.paymentMeansCode.isEmpty(), QStringLiteral("die Zahlungsanweisungen (BG-16)"));
}

} // namespace

QStringList check(const ReceivedInvoice &invoice)
{
    QStringList out;
    mandatory(invoice, out);
    sums(invoice, out);
    vatRows(invoice, out);
    lines(invoice, out);
    if (invoice.isXRechnung())
        xrechnung(invoice, out);
    return out;
}

} // namespace EInvoiceChecks
