#pragma once

#include "Amount.h"
#include "TotalsList.h"

#include <QList>
#include <QString>

class Database;
class LineList;
class TotalsList;

// The arithmetic of a document: line amounts, net value, VAT per rate and gross
// amount, and the outstanding amount of the invoice a credit note reduces.
//
// Every amount stays at four decimals. A line amount is quantity × price rounded
// once; the net grows by the line amount as displayed (two decimals, halfway to
// even), while the VAT is taken from the unrounded line amount. The gross amount
// is the net as displayed plus every VAT line as displayed, so the printed
// figures add up; a document stored under the older rule (GrossRule::RoundedOnce)
// keeps its gross of the four-decimal sums rounded once.
//
// VAT lines come in a fixed order of rate slots: slot 0 holds 0 %, the next ten
// slots the first ten distinct rates of the VAT rate table in table order; a rate
// that is met on a line and has no slot yet gets the next slot. The ten are only
// the order of the table's rates: a document that uses more rates still gets one
// VAT line per rate, the extra ones after the others in the order the lines use
// them, so no VAT is ever dropped. A rate the table holds twice takes one slot
// only, so its VAT is not counted twice.
// What the totals list shows, as exact figures for whoever must repeat them
// elsewhere (the electronic invoice): per VAT rate the sum of its line amounts as
// displayed and its VAT at four decimals, the discount, net and gross.
struct TotalsBreakdown
{
    struct Rate
    {
        Amount rate;
        Amount lineNet; // sum of the rate's line amounts, each rounded to cents
        Amount vat;     // four decimals, after the discount
    };
    Amount lineTotal;       // sum of every line amount as displayed
    Amount discountPercent; // zero without a discount line
    Amount discount;        // four decimals
    Amount net;             // four decimals; the list shows it rounded
    Amount gross;           // as the list shows it (see GrossRule)
    QList<Rate> rates;      // every rate that a line uses, in the list's order
};

class Totals
{
public:
    static constexpr int TableSlots = 10;

    // The VAT rates of the rate table, in table order, as VatTableStore reads them.
    static QList<Amount> readRates(Database &db);

    // Recomputes the amount column of every line (an empty VAT cell becomes
    // "0,0 %") and fills the totals list. Throws ConversionError naming the line
    // when a quantity, price, VAT rate or discount is not a number, or when a line
    // has only one of quantity and price; the lines above it keep their new amounts
    // and the totals list stays as it was.
    // Returns the figures behind the list.
    static TotalsBreakdown compute(LineList &lines, TotalsList &totals, const QList<Amount> &rates,
                                   const QString &currency = QStringLiteral("€"),
                                   GrossRule rule = GrossRule::SumOfShownParts);

    // What remains of an invoice after a credit note: the invoice's open amount,
    // minus every payment and stored credit note (deductions), minus the credit
    // note's gross amount as displayed in its totals list. An empty gross amount
    // gives -1, which the save treats as "more than is owed".
    static Amount outstanding(Amount invoiceAmount, const QList<Amount> &deductions,
                              const QString &creditNoteGross,
                              const QString &currency = QStringLiteral("€"));

    // A VAT line of the totals list: "16,00 € (16,00 %)", "1,40 €   (7,00 %)".
    static QString vatLineText(Amount vat, Amount rate, const QString &currency);
};
