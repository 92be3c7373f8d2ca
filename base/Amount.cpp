#include "Amount.h"

#include "Errors.h"

#include <QCoreApplication>

#include <limits>

namespace {

// Largest integer part we accept: keeps value × 10,000 and later products in range.
constexpr int MaxIntegerDigits = 14;

QString groupThousands(const QString &digits)
{
    QString out;
    const int n = int(digits.size());
    out.reserve(n + n / 3);
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char('.');
        out += digits.at(i);
    }
    return out;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QLatin1Char('\t');
}

// Reads sign, integer digits and decimal digits (after a comma) of a cleaned text.
std::optional<Amount> parseCleaned(const QString &s)
{
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    __int128 intPart = 0;
    int intDigits = 0;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        intPart = intPart * 10 + (s[i].unicode() - '0');
        if (intPart != 0)
            ++intDigits;
        ++i;
    }
    const bool hadIntDigit = i > 0 && s[i - 1].isDigit();
    if (intDigits > MaxIntegerDigits)
        return std::nullopt;
    __int128 frac = 0;
    int fracDigits = 0;
    bool hadFracDigit = false;
    if (i < s.size() && s[i] == QLatin1Char(',')) {
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            hadFracDigit = true;
            if (fracDigits < 18) {
                frac = frac * 10 + (s[i].unicode() - '0');
                ++fracDigits;
            }
            ++i;
        }
    }
    if (i != s.size() || (!hadIntDigit && !hadFracDigit))
        return std::nullopt;
    __int128 pow = 1;
    for (int k = 0; k < fracDigits; ++k)
        pow *= 10;
    // value = intPart + frac / pow, in ten-thousandths, rounded once
    const __int128 numerator = intPart * pow * Amount::Scale + frac * Amount::Scale;
    qint64 raw = divRoundHalfEven(numerator, pow);
    return Amount::fromRaw(negative ? -raw : raw);
}

} // namespace

qint64 divRoundHalfEven(__int128 numerator, __int128 denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const bool negative = numerator < 0;
    __int128 n = negative ? -numerator : numerator;
    __int128 q = n / denominator;
    const __int128 r = n % denominator;
    const __int128 twice = r * 2;
    if (twice > denominator || (twice == denominator && (q % 2) != 0))
        ++q;
    if (q > __int128(std::numeric_limits<qint64>::max()))
        throw ConversionError(QStringLiteral("Der Betrag ist zu groß."));
    return qint64(negative ? -q : q);
}

std::optional<Amount> Amount::tryFromText(const QString &text)
{
    QString s = text;
    s.remove(QLatin1Char('.'));
    int b = 0, e = int(s.size());
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return parseCleaned(s.mid(b, e - b));
}

Amount Amount::fromText(const QString &text)
{
    if (auto a = tryFromText(text))
        return *a;
    throw ConversionError(QStringLiteral("'%1' ist kein gültiger Betrag.").arg(text));
}

Amount Amount::fromDisplay(const QString &text, const QString &currency)
{
    QString s = text;
    if (!currency.isEmpty())
        s.remove(currency);
    s.remove(QLatin1Char('%'));
    s.remove(QChar(0x20AC)); // "€" also when another symbol is configured
    QString cleaned;
    for (QChar c : s)
        if (!isBlank(c))
            cleaned += c;
    if (auto a = tryFromText(cleaned))
        return *a;
    throw ConversionError(QStringLiteral("'%1' ist kein gültiger Betrag.").arg(text));
}

std::optional<Amount> Amount::parseInput(const QString &text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    int i = 0;
    if (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+'))
        i = 1;
    const int comma = int(s.indexOf(QLatin1Char(',')));
    if (comma >= 0 && s.indexOf(QLatin1Char(','), comma + 1) >= 0)
        return std::nullopt;
    const QString intPart = s.mid(i, comma < 0 ? -1 : comma - i);
    const QString fracPart = comma < 0 ? QString() : s.mid(comma + 1);
    if (fracPart.contains(QLatin1Char('.')) || fracPart.size() > 4)
        return std::nullopt;
    if (intPart.contains(QLatin1Char('.'))) {
        const QStringList groups = intPart.split(QLatin1Char('.'));
        if (groups.first().isEmpty() || groups.first().size() > 3)
            return std::nullopt;
        for (int g = 1; g < groups.size(); ++g)
            if (groups[g].size() != 3)
                return std::nullopt;
    }
    if (intPart.isEmpty() && fracPart.isEmpty())
        return std::nullopt;
    return tryFromText(s);
}

QString Amount::toPlainText() const
{
    const qint64 cents = divRoundHalfEven(m_raw, 100);
    const qint64 a = cents < 0 ? -cents : cents;
    QString s = QString::number(a / 100) + QLatin1Char(',')
                + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
    return cents < 0 ? QLatin1Char('-') + s : s;
}

QString Amount::toText() const
{
    const qint64 cents = divRoundHalfEven(m_raw, 100);
    const qint64 a = cents < 0 ? -cents : cents;
    QString s = groupThousands(QString::number(a / 100)) + QLatin1Char(',')
                + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
    return cents < 0 ? QLatin1Char('-') + s : s;
}

QString Amount::toSqlText() const
{
    const qint64 a = m_raw < 0 ? -m_raw : m_raw;
    QString s = QString::number(a / Scale);
    QString frac = QStringLiteral("%1").arg(a % Scale, 4, 10, QLatin1Char('0'));
    while (frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    if (!frac.isEmpty())
        s += QLatin1Char('.') + frac;
    return m_raw < 0 ? QLatin1Char('-') + s : s;
}

Amount Amount::roundedToCents() const
{
    return Amount(divRoundHalfEven(m_raw, 100) * 100);
}

Amount Amount::operator*(Amount other) const
{
    return Amount(divRoundHalfEven(__int128(m_raw) * other.m_raw, Scale));
}

Amount Amount::operator/(Amount other) const
{
    if (other.m_raw == 0)
        throw ConversionError(QStringLiteral("Division durch Null."));
    return Amount(divRoundHalfEven(__int128(m_raw) * Scale, other.m_raw));
}

Amount Amount::mulDiv(Amount a, Amount b, qint64 divisor)
{
    if (divisor == 0)
        throw ConversionError(QStringLiteral("Division durch Null."));
    return Amount(divRoundHalfEven(__int128(a.m_raw) * b.m_raw, __int128(Scale) * divisor));
}
