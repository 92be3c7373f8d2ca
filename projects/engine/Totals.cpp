#include "Totals.h"

#include "Errors.h"
#include "LineList.h"
#include "TotalsList.h"
#include "VatTableStore.h"

#include <vector>

namespace {

// Largest line amount, discount or VAT sum we compute with (100 billion). Keeps
// every sum of a document far inside the 64-bit range of Amount.
constexpr qint64 MaxUnits = 100'000'000'000LL;

struct Slot
{
    Amount rate;
    Amount vat;
    Amount lineNet;
    bool used = false;
};

QString lineError(int row, const QString &what)
{
    return QStringLiteral("Zeile %1: %2").arg(row).arg(what);
}

// The number in a cell; the refusal names the cell as the user sees it.
Amount readCell(const QString &text, const QString &shown, int row, const QString &refusal)
{
    if (auto a = Amount::tryFromText(text))
        return *a;
    throw ConversionError(lineError(row, refusal.arg(shown)));
}

Amount readCell(const QString &text, int row, const QString &refusal)
{
    return readCell(text, text, row, refusal);
}

// a × b / divisor rounded once, refused with a message naming the line when the
// result would leave the range a document can hold.
Amount product(Amount a, Amount b, qint64 divisor, int row)
{
    const __int128 p = __int128(a.raw()) * b.raw();
    const __int128 limit = __int128(MaxUnits) * Amount::Scale * Amount::Scale * divisor;
    if (p > limit || p < -limit)
        throw ConversionError(lineError(row, QStringLiteral("Der Betrag ist zu groß.")));
    return Amount::mulDiv(a, b, divisor);
}

} // namespace

QList<Amount> Totals::readRates(Database &db)
{
    return VatTableStore(db).rates();
}

QString Totals::vatLineText(Amount vat, Amount rate, const QString &currency)
{
    const QString gap = rate < Amount::fromUnits(10) ? QStringLiteral("   (") : QStringLiteral(" (");
    return vat.toText() + QLatin1Char(' ') + currency + gap + rate.toText() + QStringLiteral(" %)");
}

TotalsBreakdown Totals::compute(LineList &lines, TotalsList &totals, const QList<Amount> &rates,
                                const QString &currency, GrossRule rule)
{
    std::vector<Slot> slots;
    slots.push_back({Amount(), Amount(), Amount()});
    auto slotOf = [&slots](Amount rate) -> Slot * {
        for (Slot &s : slots)
            if (s.rate == rate)
                return &s;
        return nullptr;
    };
    for (const Amount &rate : rates) {
        if (int(slots.size()) > TableSlots)
            break;
        if (!slotOf(rate))
            slots.push_back({rate, Amount(), Amount()});
    }

    Amount net;
    TotalsBreakdown result;
    for (int r = 1; r < lines.rowCount(); ++r) {
        const QString quantityText = lines.cell(r, LineList::Anzahl);
        const QString priceText = lines.cell(r, LineList::Einzelpreis);
        if (lines.isArticleLine(r)) {
            const Amount quantity = readCell(quantityText, r, QStringLiteral("'%1' ist keine gültige Menge."));
            const Amount price = readCell(priceText, r, QStringLiteral("'%1' ist kein gültiger Einzelpreis."));
            const Amount amount = product(quantity, price, 1, r);
            if (lines.cell(r, LineList::MwSt).isEmpty())
                lines.setCell(r, LineList::MwSt, QStringLiteral("0,0 %"));
            QString rateText = lines.cell(r, LineList::MwSt);
            const Amount rate = readCell(rateText.remove(QLatin1Char('%')), lines.cell(r, LineList::MwSt), r,
                                         QStringLiteral("'%1' ist kein gültiger MwSt-Satz."));
            const Amount vat = product(amount, rate, 100, r);

            lines.setCell(r, LineList::Betrag, amount.toText() + QLatin1Char(' '));
            net += amount.roundedToCents();
            Slot *slot = slotOf(rate);
            if (!slot) {
                slots.push_back({rate, Amount(), Amount()});
                slot = &slots.back();
            }
            slot->vat += vat;
            slot->lineNet += amount.roundedToCents();
            slot->used = true;
        } else if (!lines.cell(r, LineList::Rabatt).isEmpty()) {
            const Amount percent = readCell(lines.cell(r, LineList::Rabatt), r,
                                            QStringLiteral("'%1' ist kein gültiger Rabatt."));
            const Amount discount = product(net, percent, 100, r);
            lines.setCell(r, LineList::Betrag, (-discount).toText());
            net -= discount;
            result.discountPercent += percent;
            result.discount += discount;
            for (Slot &s : slots)
                s.vat -= product(s.vat, percent, 100, r);
        } else if (!quantityText.isEmpty()) {
            throw ConversionError(lineError(r, QStringLiteral("Der Einzelpreis fehlt.")));
        } else if (!priceText.isEmpty()) {
            throw ConversionError(lineError(r, QStringLiteral("Die Menge fehlt.")));
        }
    }

    totals.setCell(TotalsList::NetRow, TotalsList::Netto, net.toText() + QLatin1Char(' ') + currency);
    for (int r = 1; r < totals.rowCount(); ++r)
        totals.setCell(r, TotalsList::Vat, QString());
    const bool shownParts = rule == GrossRule::SumOfShownParts;
    Amount gross = shownParts ? net.roundedToCents() : net;
    int vatRow = 0;
    for (const Slot &s : slots) {
        if (s.vat.isZero())
            continue;
        gross += shownParts ? s.vat.roundedToCents() : s.vat;
        ++vatRow;
        totals.ensureRows(vatRow + 1);
        totals.setCell(vatRow, TotalsList::Vat, vatLineText(s.vat, s.rate, currency));
    }
    if (vatRow >= 2)
        totals.ensureRows(vatRow + 2);
    totals.setCell(TotalsList::GrossRow, TotalsList::Brutto, gross.toText() + QLatin1Char(' ') + currency);

    result.net = net;
    result.gross = gross;
    result.lineTotal = net + result.discount;
    for (const Slot &s : slots)
        if (s.used)
            result.rates.push_back({s.rate, s.lineNet, s.vat});
    return result;
}

Amount Totals::outstanding(Amount invoiceAmount, const QList<Amount> &deductions,
                           const QString &creditNoteGross, const QString &currency)
{
    Amount rest = invoiceAmount;
    for (const Amount &d : deductions)
        rest -= d;
    QString gross = creditNoteGross;
    if (!currency.isEmpty())
        gross.remove(currency);
    gross.remove(QChar(0x20AC));
    gross.remove(QLatin1Char('.'));
    gross = gross.simplified().remove(QLatin1Char(' '));
    if (gross.isEmpty())
        return Amount::fromUnits(-1);
    return rest - Amount::fromText(gross);
}
