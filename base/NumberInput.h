#pragma once

#include "Amount.h"

#include <QString>
#include <optional>

// What an office user may type into a number field, and the German message that
// refuses anything else. Every amount, percentage, quantity and number of days of
// the program is checked here, so all fields take the same forms ("1.234,50",
// "1234,5", "0,335") and give the same messages. Nothing is dropped while typing;
// a refused text is reported and nothing of it is stored.
namespace NumberInput {

enum class Kind {
    Money,    // two decimals at most, below one billion
    Percent,  // 0 to 100, four decimals at most
    Quantity, // four decimals at most, below 100,000
    Days,     // whole days, five digits at most
    Count,    // whole numbers such as a stock, nine digits at most
    VatRate   // a VAT rate: 0 to 100, two decimals at most, as the rate lists show it
};

struct Field
{
    Kind kind;
    QString label;          // the field's caption as the window shows it
    bool negative = false;  // a correction may be negative (a paid amount)
};

// The message that refuses the typed text, or no value when it can be stored.
// An empty text (blanks only) is never refused: the caller decides what it means.
std::optional<QString> refusal(const Field &field, const QString &typed);

// The typed value; no value for an empty text. Throws ConversionError with the
// refusal message for a text that cannot be stored.
std::optional<Amount> value(const Field &field, const QString &typed);

// The largest value a field of the kind takes.
Amount largest(Kind kind);

} // namespace NumberInput
