#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// A money amount, percentage or quantity: a 64-bit count of ten-thousandths.
// Stays exact from the field to the statement text; every rounding (to four
// decimals after a product, to two decimals for display) takes exactly halfway
// values to the even digit.
class Amount
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Amount() = default;
    static constexpr Amount fromRaw(qint64 tenThousandths) { return Amount(tenThousandths); }
    static constexpr Amount fromUnits(qint64 units) { return Amount(units * Scale); }

    // Text to amount: every "." is removed (thousands points), the rest is read with
    // the decimal comma; blanks before and after are allowed; more than four
    // decimals are rounded to four. Throws ConversionError naming the text.
    static Amount fromText(const QString &text);
    static std::optional<Amount> tryFromText(const QString &text);

    // A displayed value such as "1.234,50 €", "16,00 %" or "  7,00 %": blanks, the
    // currency symbol and the percent sign are dropped before fromText.
    static Amount fromDisplay(const QString &text, const QString &currency = QStringLiteral("€"));

    // What an office user types: "1.234,50", "1234,5", "0,335", "-12". Thousands
    // points only between groups of three digits; at most four decimals; a dot used
    // as decimal point ("1.5") is refused. No value for anything else.
    static std::optional<Amount> parseInput(const QString &text);

    constexpr qint64 raw() const { return m_raw; }
    bool isZero() const { return m_raw == 0; }
    bool isNegative() const { return m_raw < 0; }

    // Two decimals, decimal comma, thousands points, leading "-" when negative.
    QString toText() const;
    // Like toText but without thousands points ("1234,50").
    QString toPlainText() const;
    // Decimal point, no grouping, shortest exact form ("1234.5", "-0.0125", "7").
    QString toSqlText() const;

    Amount roundedToCents() const;

    // Exact product / quotient rounded once to four decimals (halfway to even).
    Amount operator*(Amount other) const;
    Amount operator/(Amount other) const; // throws ConversionError on division by zero
    // a × b / divisor, rounded once to four decimals.
    static Amount mulDiv(Amount a, Amount b, qint64 divisor);

    Amount operator+(Amount o) const { return Amount(m_raw + o.m_raw); }
    Amount operator-(Amount o) const { return Amount(m_raw - o.m_raw); }
    Amount operator-() const { return Amount(-m_raw); }
    Amount &operator+=(Amount o) { m_raw += o.m_raw; return *this; }
    Amount &operator-=(Amount o) { m_raw -= o.m_raw; return *this; }
    auto operator<=>(const Amount &) const = default;

private:
    constexpr explicit Amount(qint64 raw) : m_raw(raw) {}
    qint64 m_raw = 0;
};

// Division of integers rounding exactly halfway quotients to the even result.
qint64 divRoundHalfEven(__int128 numerator, __int128 denominator);
