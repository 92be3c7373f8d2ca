#include "ExtendedData.h"

#include "Errors.h"
#include "Identifiers.h"
#include "NumberInput.h"
#include "Formats.h"

#include <QRegularExpression>

#include <algorithm>

namespace ExtendedRules {

namespace {

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

bool isDigits(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// A stored decimal in its shortest form with the decimal comma ("2,5", "3").
QString shortDecimal(Amount a)
{
    return a.toSqlText().replace(QLatin1Char('.'), QLatin1Char(','));
}

using NumberInput::Kind;
const NumberInput::Field TermField{Kind::Days, QStringLiteral("Netto Zahlungsziel (Tage)")};
const NumberInput::Field SkontoDaysField{Kind::Days, QStringLiteral("Skontotage")};
const NumberInput::Field SkontoField{Kind::Percent, QStringLiteral("Skonto %")};
const NumberInput::Field RabattField{Kind::Percent, QStringLiteral("Rabatt %")};
const NumberInput::Field MaximumField{Kind::Money, QStringLiteral("Lieferung Höchstwert")};

// The typed value as SQL text, "NULL" when empty.
QString sqlValue(const NumberInput::Field &field, const QString &typed)
{
    const std::optional<Amount> a = NumberInput::value(field, typed);
    return a ? a->toSqlText() : QStringLiteral("NULL");
}

} // namespace

const QStringList &priceGroups()
{
    static const QStringList groups = {QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei"),
                                       QStringLiteral("Vier")};
    return groups;
}

ExtendedData forDisplay(const ExtendedData &stored)
{
    ExtendedData d = stored;
    const auto days = [](const QString &s) { return isDigits(s.trimmed()) ? s.trimmed() : QString(); };
    const auto percent = [](const QString &s) {
        const std::optional<Amount> a = Amount::tryFromText(s);
        return a && !s.trimmed().isEmpty() ? shortDecimal(*a) : QString();
    };
    d.zahlungsziel = days(stored.zahlungsziel);
    d.skontoTage = days(stored.skontoTage);
    d.skonto = percent(stored.skonto);
    d.rabatt = percent(stored.rabatt);
    const std::optional<Amount> rate = Amount::tryFromText(stored.mwSt);
    d.mwSt = rate && !stored.mwSt.trimmed().isEmpty() ? rate->toPlainText() : QString();
    d.lieferbesch = stored.lieferbesch.trimmed();
    const std::optional<Amount> maximum = Amount::tryFromText(stored.hoechstwert);
    d.hoechstwert = !d.lieferbesch.isEmpty() && maximum && !stored.hoechstwert.trimmed().isEmpty()
                        ? maximum->toText()
                        : QString();
    return d;
}

std::optional<QString> inputError(const ExtendedData &typed)
{
    if (auto e = NumberInput::refusal(TermField, typed.zahlungsziel))
        return e;
    if (auto e = NumberInput::refusal(SkontoDaysField, typed.skontoTage))
        return e;
    if (auto e = NumberInput::refusal(SkontoField, typed.skonto))
        return e;
    if (auto e = NumberInput::refusal(RabattField, typed.rabatt))
        return e;
    if (auto e = NumberInput::refusal(MaximumField, typed.hoechstwert))
        return e;
    return std::nullopt;
}

NumberInput::Field numberField(NumberField which)
{
    switch (which) {
    case NumberField::Term: return TermField;
    case NumberField::SkontoDays: return SkontoDaysField;
    case NumberField::Skonto: return SkontoField;
    case NumberField::Rabatt: return RabattField;
    case NumberField::Maximum: return MaximumField;
    }
    return TermField;
}

QString sqlDays(const QString &typed)
{
    return sqlValue(TermField, typed);
}

QString sqlPercent(const QString &typed)
{
    return sqlValue(SkontoField, typed);
}

QString sqlAmount(const QString &typed)
{
    return sqlValue(MaximumField, typed);
}

QString sqlRate(const QString &entry)
{
    if (entry.trimmed().isEmpty())
        return QStringLiteral("NULL");
    return Amount::fromDisplay(entry).toSqlText();
}

QString rateEntry(Amount rate)
{
    const QString text = rate.toText() + QStringLiteral(" %");
    return rate < Amount::fromUnits(10) ? QStringLiteral("  ") + text : text;
}

IbanState checkIban(const QString &iban)
{
    const QString s = CompactIdentifier(iban);
    if (s.isEmpty())
        return IbanState::Empty;
    static const QRegularExpression form(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}$"));
    if (!form.match(s).hasMatch())
        return IbanState::BadForm;
    // country code and check digits go to the end; letters count as 10 (A) to 35 (Z)
    const QString moved = s.mid(4) + s.left(4);
    int rest = 0;
    for (QChar c : moved) {
        const int v = c.isDigit() ? c.digitValue() : c.unicode() - 'A' + 10;
        rest = v >= 10 ? (rest * 100 + v) % 97 : (rest * 10 + v) % 97;
    }
    return rest == 1 ? IbanState::Valid : IbanState::BadChecksum;
}

QString ibanProblem(const QString &iban)
{
    switch (checkIban(iban)) {
    case IbanState::BadForm:
        return QStringLiteral("Die IBAN ") + quoted(iban.trimmed())
               + QStringLiteral(" ist ungültig: Sie muss mit dem Länderkennzeichen aus zwei Buchstaben und zwei "
                                "Prüfziffern beginnen und darf danach 11 bis 30 Buchstaben oder Ziffern enthalten.");
    case IbanState::BadChecksum:
        return QStringLiteral("Die IBAN ") + quoted(iban.trimmed())
               + QStringLiteral(" ist ungültig: Die Prüfziffern stimmen nicht. Bitte prüfen Sie die IBAN auf "
                                "Tippfehler.");
    case IbanState::Empty:
    case IbanState::Valid:
        break;
    }
    return {};
}

QSize pictureTargetSize(QSize source)
{
    const qint64 w = source.width();
    const qint64 h = source.height();
    if (w <= 0 || h <= 0)
        return {};
    const auto ceilDiv = [](qint64 a, qint64 b) { return (a + b - 1) / b; };
    qint64 scale = qMax<qint64>(1, qRound64(double(h) / PictureHeight * 10000.0));
    qint64 tw = ceilDiv(w * 10000, scale);
    qint64 th = ceilDiv(h * 10000, scale);
    if (tw > PictureWidth) {
        scale = qMax<qint64>(1, qRound64(double(w) / PictureWidth * 10000.0));
        tw = ceilDiv(w * 10000, scale);
        th = ceilDiv(h * 10000, scale);
    }
    // the rounding of the scale can add one pixel; the area is the limit
    return QSize(int(std::clamp<qint64>(tw, 1, PictureWidth)), int(std::clamp<qint64>(th, 1, PictureHeight)));
}

RowLook paymentRowLook(const PaymentRow &row, const QDate &today)
{
    const RowLook plain{QColor(Qt::black), QColor(Qt::white)};
    if (row.mStufe.trimmed().isEmpty())
        return plain;
    const bool due = IsValidDateText(row.eDatum) && StrToDate(row.eDatum) <= today;
    const Amount rest = Amount::tryFromText(row.rBetrag).value_or(Amount());
    const bool open = row.gebucht == QLatin1String("N");
    if (open && rest > Amount())
        return {QColor(226, 143, 0), due ? QColor(Qt::white) : QColor(192, 220, 192)};
    if (row.gebucht == QLatin1String("J") && rest.isZero())
        return {QColor(0, 188, 0), QColor(Qt::white)};
    if (due && open)
        return {QColor(Qt::red), QColor(Qt::white)};
    return plain;
}

} // namespace ExtendedRules
