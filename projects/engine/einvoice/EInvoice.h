#pragma once

#include "Amount.h"
#include "DocumentKind.h"
#include "LineList.h"
#include "SellerData.h"
#include "Totals.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Electronic invoices in UN/CEFACT CII syntax: an XRechnung 3.0 for public
// authorities and the same data as the Factur-X/ZUGFeRD (EN 16931) XML that a
// hybrid PDF carries. Everything here works on plain values; the caller reads
// them from the data set (EInvoiceSource) and decides where the result goes.
namespace EInvoice {

enum class Profile { XRechnung, Zugferd };

// The electronic-invoice category of a VAT rate of the rate table: "S" for a
// standard rate, for 0 % one of "E", "AE", "K", "G", "Z" with the reason of the
// exemption the invoice must state.
struct VatCategory
{
    Amount rate;
    QString code;
    QString reason;
};

struct Party
{
    QString name, street, postcode, town;
    QString country; // ISO 3166 code ("DE")
    QString vatId;
    QString email;
};

struct Data
{
    DocumentKind kind = DocumentKind::Rechnung; // Rechnung or Gutschrift
    QString number;       // the document number
    QString date;         // "dd.MM.yyyy"
    QString currency = QStringLiteral("€");
    LineList lines;       // as the page holds them; the totals are worked out again
    QList<Amount> tableRates; // the rate table in table order, as the totals take it
    QList<VatCategory> categories;

    SellerData seller;
    Party buyer;
    QString buyerReference; // Leitweg-ID or the customer's own reference
    QString customerNumber;

    GrossRule grossRule = GrossRule::SumOfShownParts; // the document's, so the XML states its gross
    QString serviceDate;   // "dd.MM.yyyy": the date of service, or the first day of a period
    QString serviceDateTo; // the last day of a period of service, or empty

    QString dueDate;       // "dd.MM.yyyy", or empty
    QString skontoPercent; // as entered ("2,00"), or empty
    QString skontoDays;    // digits: the period the printed Skonto text names, else the customer's; or empty
    QString discountText;  // the reason of the discount line

    QString precedingInvoice;     // a credit note: the invoice it reduces
    QString precedingInvoiceDate; // "dd.MM.yyyy", or empty
};

// Every figure the XML states, from the same totals code as the print.
struct Figures
{
    struct Rate
    {
        VatCategory category;
        Amount lineNet;   // cents
        Amount allowance; // cents, this rate's share of the discount
        Amount vat;       // cents, as the totals list shows it
        Amount basis() const { return lineNet - allowance; }
    };
    Amount lineTotal, allowanceTotal, taxBasis, taxTotal, grandTotal, rounding, duePayable;
    QList<Rate> rates;
    TotalsBreakdown totals;
};

// The category of a rate: "S" above 0 %; for 0 % the one the table names, an
// empty code when it names none (or S).
VatCategory categoryOf(Amount rate, const QList<VatCategory> &categories);

// Works the totals out again and splits them as the XML states them: the
// discount per rate in proportion to the rate's lines (the last cent to the
// largest), the VAT per rate and the gross exactly as printed. Only a document
// stored under the older gross rule, whose print rounds the gross once, leaves a
// cent as the rounding amount. Throws ConversionError as the totals do.
Figures figures(const Data &data);

// What must be known before an electronic invoice can be written, one German
// line each; empty when nothing is missing.
QStringList missingData(const Data &data);

// The invoice as CII XML (UTF-8). Throws ConversionError when the lines cannot be
// totalled; the caller checks missingData first.
QByteArray writeCii(const Data &data, Profile profile);

// "12345 Berlin" → postcode and town; a text without a leading postcode is all town.
void splitPostcodeTown(const QString &text, QString &postcode, QString &town);
// A country as the address tables hold it ("Deutschland", "A", "CH", empty) as its
// ISO code; empty for a name we do not know.
QString countryCode(const QString &land);

} // namespace EInvoice
