#pragma once

#include "NumberInput.h"

#include "Amount.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// What the database holds about the money of one invoice.
struct InvoiceFigures
{
    Amount amount;   // rechnungenop.Betrag, the gross invoice amount
    Amount credits;  // sum of the credit notes against it (gutschriftenop)
    Amount payments; // sum of its postings (teilbuchung), negative corrections included
    QString sconto;  // rechnungenextra.Sconto as typed, may be empty

    bool operator==(const InvoiceFigures &) const = default;
};

// The amounts of the invoice panel. Every amount is kept to the cent, as it is
// shown, so that what the user sees is exactly what a booking writes.
struct PanelAmounts
{
    Amount invoice;                  // "Rechnungsbetrag"
    bool shown = false;              // the invoice amount is positive: the rest is shown
    Amount afterCredits;             // "Rechnungsbetrag abzüglich Gutschriften", the Skonto base
    Amount outstanding;              // "Rechnungsbetrag abzüglich Teilzahlungen"
    std::optional<Amount> withSkonto; // "Ausstehender Rechnungsbetrag  mit Skonto"
    QColor afterCreditsColour, outstandingColour, withoutSkontoColour, withSkontoColour;
    bool skontoBoxEnabled = false;   // "Mit Skonto"
    bool skontoTextEnabled = false;  // "S&kontotext"
    QString negativeWarning;         // shown once when the outstanding amount is negative
};

// A posting of the list "T&eilbuchung".
struct Posting
{
    QString date;
    Amount amount;
    // 'J': the Skonto was taken within its period; 'S': after it; else none.
    QString skonto;
};

// The computation of the invoice panel, the remaining amount while a payment is
// typed, and what a booking writes.
namespace PaymentRules {

// The panel for an invoice; settled tells whether the item is booked as settled
// (which changes the warning text).
PanelAmounts panelAmounts(const InvoiceFigures &figures, bool settled);

// The amount the remaining amount is computed from: the amount with Skonto when
// "Mit Skonto" is ticked, else the outstanding amount; 0 when the panel shows no
// amounts (an invoice amount of 0 or less).
Amount referenceAmount(const PanelAmounts &panel, bool withSkonto);

// "Gezahlter Betrag" as typed.
enum class PaidKind { Empty, Dash, Value, Invalid };
struct Paid
{
    PaidKind kind = PaidKind::Empty;
    Amount value;
};
Paid readPaid(const QString &typed);

// "Restbetrag": 0 while nothing (or only "-") is typed, else reference − paid.
// invalid for a text that is not an amount; overpaid when the result is negative
// and the paid amount was not typed as a negative correction.
struct Remaining
{
    Amount value;
    bool invalid = false; // nothing typed, or no amount: the field stays empty
    bool overpaid = false;
};
Remaining remaining(Amount reference, const QString &typed);

// What "&Erfassen" writes: the new remaining amount of the open item and the
// amount of the posting. Nothing typed books the whole reference amount.
struct Booking
{
    Amount remaining;
    Amount posted;
    bool withSkonto = false;
    bool skontoLate = false; // taken after the Skonto period, as the user confirmed
    bool settles() const { return remaining <= Amount(); }
};
// No value when the typed text is not an amount ("-", "1.5", "abc").
std::optional<Booking> planBooking(Amount reference, const QString &typed, bool withSkonto);

// The message shown instead of booking a paid amount that is not an amount.
QString invalidPaidMessage(const QString &typed);
// "Gezahlter Betrag": an amount in cents; negative corrects an earlier booking.
inline const NumberInput::Field PaidField{NumberInput::Kind::Money, QStringLiteral("Gezahlter Betrag"), true};
// "Rechnung mit 600,00 € Restbetrag ohne Skonto erfassen?"
QString bookingQuestion(Amount remaining, const QString &currency, bool withSkonto);
inline const QString OverpaymentQuestion =
    QStringLiteral("Summe der Buchungen ist höher als der Rechnungsbetrag! Wollen Sie das Wirklich?");

// The label after "Skonto - J/N": "2 %      (N)", "__,__ %      (J)".
QString skontoLabel(const QString &sconto, const QString &flag);
// The message of "S&kontotext", or empty when the invoice has no amount or no percentage.
QString skontoMessage(const QString &sconto, const QString &skontoText, Amount invoice, const QString &currency);
// A Skonto taken on the booking date is late when the booking date lies after the
// last day of the period; without a known period it never is.
bool skontoLate(const std::optional<QDate> &deadline, const QDate &bookingDate);
// "Die Skontofrist ist am 17.12.2026 abgelaufen. Trotzdem mit Skonto buchen?"
QString lateSkontoQuestion(const QDate &deadline);
// The message of "T&eilbuchung": the postings with their dates, amounts lined up,
// each Skonto taken marked (a late one as such), and the sum.
QString postingsMessage(const QList<Posting> &postings, const QString &currency);

// "1.234,56 €"
QString money(Amount amount, const QString &currency);

} // namespace PaymentRules
