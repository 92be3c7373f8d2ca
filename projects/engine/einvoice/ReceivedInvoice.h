#pragma once

#include "Amount.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What an electronic invoice from a supplier says, in our terms and independent of
// its syntax (CII or UBL). Texts are trimmed; what the file does not state stays
// empty, a missing date invalid and a missing total without value, so that the
// checks can tell "not stated" from "zero". Amounts are exactly as written.
struct ReceivedInvoice
{
    enum class Syntax { Cii, Ubl };

    struct Party
    {
        QString name;
        QStringList addressLines; // street and further lines, in order
        QString postcode, town;
        QString country;          // ISO 3166 code as written
        QString vatId;            // USt-IdNr.
        QString taxNumber;        // Steuernummer
        QString contactName, phone, email;
        QString electronicAddress, electronicAddressScheme; // "EM" for an e-mail address
    };

    struct Line
    {
        QString id, name, description;
        Amount quantity;
        QString unitCode;             // UN/ECE Rec. 20 ("C62" pieces, "HUR" hours)
        Amount netPrice;
        std::optional<Amount> baseQuantity; // the quantity the price is for, when not 1
        Amount allowances, charges;   // the line's own allowances and charges, summed
        Amount netAmount;
        QString vatCategory;          // "S", "Z", "E", "AE", "K", "G", "O", "L", "M"
        Amount vatRate;               // percent
    };

    // A document-level allowance (Nachlass) or charge (Zuschlag).
    struct AllowanceCharge
    {
        bool charge = false;
        Amount amount;
        std::optional<Amount> base, percent;
        QString reason;
        QString vatCategory;
        Amount vatRate;
    };

    struct VatRow
    {
        QString category;
        Amount rate;
        Amount taxable, tax;
        QString exemptionReason;
    };

    // Absent totals have no value; the checks count an absent optional total as 0.
    struct Totals
    {
        std::optional<Amount> lineTotal;    // Summe der Positionen
        std::optional<Amount> allowances;   // Summe der Nachlässe
        std::optional<Amount> charges;      // Summe der Zuschläge
        std::optional<Amount> taxExclusive; // Nettobetrag
        std::optional<Amount> vatTotal;     // Umsatzsteuer, in the invoice's currency
        std::optional<Amount> taxInclusive; // Bruttobetrag
        std::optional<Amount> prepaid;      // bereits gezahlt
        std::optional<Amount> rounding;     // Rundungsbetrag
        std::optional<Amount> due;          // Zahlbetrag
    };

    struct Skonto
    {
        int days = 0;
        Amount percent;
        std::optional<Amount> base; // the amount the percentage is taken of, when stated
    };

    Syntax syntax = Syntax::Cii;
    QString typeCode; // "380" invoice, "381" credit note, "384" corrected invoice, "326" partial, ...
    QString number;
    QDate issueDate;
    QString currency;        // ISO 4217 ("EUR")
    QString buyerReference;  // Leitweg-ID or the buyer's own reference
    QString customizationId; // names the rules the invoice follows
    Party seller, buyer;

    QDate serviceDate;            // the date of service
    QDate periodStart, periodEnd; // or the period of service

    QList<Line> lines;
    QList<AllowanceCharge> allowancesCharges;
    QList<VatRow> vat;
    Totals totals;

    QDate dueDate;
    QString paymentTerms;      // the text as written, Skonto lines included
    QString paymentMeansCode;  // "58" SEPA transfer, "59" direct debit, ...; empty when none is stated
    QList<Skonto> skonto;      // from the #SKONTO# lines and the structured terms
    QString iban, bic;         // the account to pay to

    bool isXRechnung() const { return customizationId.contains(QLatin1String("xrechnung"), Qt::CaseInsensitive); }
    bool isCreditNote() const { return typeCode == QLatin1String("381"); }
};
