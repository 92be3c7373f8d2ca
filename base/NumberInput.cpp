#include "NumberInput.h"

#include "Errors.h"

#include <QRegularExpression>

namespace NumberInput {

namespace {

const QString NotStored = QStringLiteral(" Keine Speicherung.");

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString head(const Field &f)
{
    return f.label.isEmpty() ? QString() : quoted(f.label) + QStringLiteral(": ");
}

bool whole(Kind k)
{
    return k == Kind::Days || k == Kind::Count;
}

// The noun of the message with its article ("kein gültiger Betrag", "Der Betrag").
struct Words
{
    QString notValid;   // "kein gültiger Betrag"
    QString subject;    // "Der Betrag"
    QString example;    // "1.500,50 oder 1500,50"
};

Words words(Kind k)
{
    switch (k) {
    case Kind::Money:
        return {QStringLiteral("kein gültiger Betrag"), QStringLiteral("Der Betrag"),
                QStringLiteral("1.500,50 oder 1500,50")};
    case Kind::Percent:
        return {QStringLiteral("kein gültiger Prozentsatz"), QStringLiteral("Der Prozentsatz"), QStringLiteral("2,5")};
    case Kind::VatRate:
        return {QStringLiteral("kein gültiger Steuersatz"), QStringLiteral("Der Steuersatz"),
                QStringLiteral("19 oder 7,5")};
    case Kind::Quantity:
        return {QStringLiteral("keine gültige Anzahl"), QStringLiteral("Die Anzahl"),
                QStringLiteral("3, 1,5 oder 0,335")};
    case Kind::Days:
        return {QStringLiteral("keine gültige Anzahl Tage"), QStringLiteral("Die Anzahl Tage"), QString()};
    case Kind::Count:
        return {QStringLiteral("keine gültige Zahl"), QStringLiteral("Die Zahl"), QString()};
    }
    return {};
}

int maxDecimals(Kind k)
{
    switch (k) {
    case Kind::Money:
    case Kind::VatRate:
        return 2;
    case Kind::Percent:
    case Kind::Quantity:
        return 4;
    default:
        return 0;
    }
}

// Digits in front of the decimal comma, thousands points not counted.
int integerDigits(const QString &s)
{
    int n = 0;
    for (QChar c : s) {
        if (c == QLatin1Char(','))
            break;
        if (c.isDigit())
            ++n;
    }
    return n;
}

QString tooLarge(const Field &f, const QString &typed)
{
    if (whole(f.kind))
        return head(f) + quoted(typed) + QStringLiteral(" ist zu groß. Bitte höchstens %1 Ziffern eingeben.")
                                             .arg(f.kind == Kind::Days ? QStringLiteral("fünf")
                                                                       : QStringLiteral("neun"))
               + NotStored;
    return head(f) + quoted(typed) + QStringLiteral(" ist zu groß. Höchstens %1 ist möglich.").arg(largest(f.kind).toText())
           + NotStored;
}

} // namespace

Amount largest(Kind kind)
{
    switch (kind) {
    case Kind::Money:
        return Amount::fromUnits(1000000000) - Amount::fromRaw(100);
    case Kind::Percent:
    case Kind::VatRate:
        return Amount::fromUnits(100);
    case Kind::Quantity:
        return Amount::fromUnits(100000) - Amount::fromRaw(1);
    case Kind::Days:
        return Amount::fromUnits(99999);
    case Kind::Count:
        return Amount::fromUnits(999999999);
    }
    return {};
}

std::optional<QString> refusal(const Field &f, const QString &typed)
{
    const QString s = typed.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    const Words w = words(f.kind);
    if (whole(f.kind)) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
        if (!digits.match(s).hasMatch())
            return head(f) + quoted(typed) + QStringLiteral(" ist ") + w.notValid
                   + QStringLiteral(". Bitte nur Ziffern eingeben.") + NotStored;
        if (s.size() > (f.kind == Kind::Days ? 5 : 9))
            return tooLarge(f, typed);
        return std::nullopt;
    }
    // A text of number characters with too many digits in front of the comma is
    // too large, whatever else is wrong with it; the amount type never sees it.
    static const QRegularExpression numberShape(QStringLiteral("^[+-]?[0-9.]*(,[0-9]*)?$"));
    const bool looksLikeNumber = numberShape.match(s).hasMatch();
    if (looksLikeNumber && integerDigits(s) > 12)
        return tooLarge(f, typed);
    const std::optional<Amount> a = Amount::parseInput(s);
    if (!a) {
        QString text = head(f) + quoted(typed) + QStringLiteral(" ist ") + w.notValid + QLatin1Char('.');
        if (s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char(',')))
            text += QStringLiteral(" Das Dezimaltrennzeichen ist das Komma.");
        return text + QStringLiteral(" Bitte so eingeben: ") + w.example + QLatin1Char('.') + NotStored;
    }
    if (a->isNegative() && !f.negative)
        return head(f) + w.subject + QStringLiteral(" darf nicht negativ sein.") + NotStored;
    if ((f.kind == Kind::Percent || f.kind == Kind::VatRate) && *a > largest(f.kind))
        return head(f) + w.subject + QStringLiteral(" muss zwischen 0 und 100 liegen.") + NotStored;
    const int comma = int(s.indexOf(QLatin1Char(',')));
    if (comma >= 0 && s.size() - comma - 1 > maxDecimals(f.kind))
        return head(f) + QStringLiteral("Bitte höchstens %1 Nachkommastellen eingeben.")
                             .arg(maxDecimals(f.kind) == 2 ? QStringLiteral("zwei") : QStringLiteral("vier"))
               + NotStored;
    if ((a->isNegative() ? -*a : *a) > largest(f.kind))
        return tooLarge(f, typed);
    return std::nullopt;
}

std::optional<Amount> value(const Field &f, const QString &typed)
{
    if (const std::optional<QString> why = refusal(f, typed))
        throw ConversionError(*why);
    const QString s = typed.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (whole(f.kind))
        return Amount::fromUnits(s.toLongLong());
    return Amount::parseInput(s);
}

} // namespace NumberInput
