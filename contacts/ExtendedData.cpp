#include "ExtendedData.h"

#include "Errors.h"
#include "Formats.h"

#include <QRegularExpression>

#include <algorithm>

namespace ExtendedRules {

namespace {

// Days are whole numbers; five digits are far beyond any payment period.
constexpr int MaxDayDigits = 5;

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

const QString NotStored = QStringLiteral(" Keine Speicherung.");

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

std::optional<QString> daysError(const QString &label, const QString &typed)
{
    const QString s = typed.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (!isDigits(s))
        return quoted(label) + QStringLiteral(": ") + quoted(typed)
               + QStringLiteral(" ist keine gültige Anzahl Tage. Bitte nur Ziffern eingeben.") + NotStored;
    if (s.size() > MaxDayDigits)
        return quoted(label) + QStringLiteral(": ") + quoted(typed)
               + QStringLiteral(" ist zu groß. Bitte höchstens fünf Ziffern eingeben.") + NotStored;
    return std::nullopt;
}

// A typed amount with a hint at the decimal comma when the text holds a dot but no
// comma, which is the usual slip ("1.5").
QString notANumber(const QString &label, const QString &typed, const QString &what, const QString &example)
{
    QString text = quoted(label) + QStringLiteral(": ") + quoted(typed) + QStringLiteral(" ist kein gültiger ") + what
                   + QLatin1Char('.');
    if (typed.contains(QLatin1Char('.')) && !typed.contains(QLatin1Char(',')))
        text += QStringLiteral(" Das Dezimaltrennzeichen ist das Komma.");
    return text + QStringLiteral(" Bitte so eingeben: ") + example + QLatin1Char('.') + NotStored;
}

std::optional<QString> percentError(const QString &label, const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<Amount> a = Amount::parseInput(typed);
    if (!a)
        return notANumber(label, typed, QStringLiteral("Prozentsatz"), QStringLiteral("2,5"));
    if (a->isNegative())
        return quoted(label) + QStringLiteral(": Der Prozentsatz darf nicht negativ sein.") + NotStored;
    if (*a > Amount::fromUnits(100))
        return quoted(label) + QStringLiteral(": Der Prozentsatz muss zwischen 0 und 100 liegen.") + NotStored;
    return std::nullopt;
}

std::optional<QString> amountError(const QString &label, const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<Amount> a = Amount::parseInput(typed);
    if (!a)
        return notANumber(label, typed, QStringLiteral("Betrag"), QStringLiteral("1.500,50 oder 1500,50"));
    if (a->isNegative())
        return quoted(label) + QStringLiteral(": Der Betrag darf nicht negativ sein.") + NotStored;
    if (a->roundedToCents() != *a)
        return quoted(label) + QStringLiteral(": Bitte höchstens zwei Nachkommastellen eingeben.") + NotStored;
    return std::nullopt;
}

QString upperCompact(const QString &iban)
{
    QString s;
    for (QChar c : iban)
        if (!c.isSpace())
            s += c.toUpper();
    return s;
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
    if (auto e = daysError(QStringLiteral("Netto Zahlungsziel (Tage)"), typed.zahlungsziel))
        return e;
    if (auto e = daysError(QStringLiteral("Skontotage"), typed.skontoTage))
        return e;
    if (auto e = percentError(QStringLiteral("Skonto %"), typed.skonto))
        return e;
    if (auto e = percentError(QStringLiteral("Rabatt %"), typed.rabatt))
        return e;
    if (auto e = amountError(QStringLiteral("Lieferung Höchstwert"), typed.hoechstwert))
        return e;
    return std::nullopt;
}

QString sqlDays(const QString &typed)
{
    const QString s = typed.trimmed();
    if (s.isEmpty())
        return QStringLiteral("NULL");
    if (!isDigits(s) || s.size() > MaxDayDigits)
        throw ConversionError(QStringLiteral("'%1' ist keine gültige Anzahl Tage.").arg(typed));
    return QString::number(s.toLongLong());
}

QString sqlPercent(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return QStringLiteral("NULL");
    if (percentError(QString(), typed))
        throw ConversionError(QStringLiteral("'%1' ist kein gültiger Prozentsatz.").arg(typed));
    return Amount::parseInput(typed)->toSqlText();
}

QString sqlAmount(const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return QStringLiteral("NULL");
    if (amountError(QString(), typed))
        throw ConversionError(QStringLiteral("'%1' ist kein gültiger Betrag.").arg(typed));
    return Amount::parseInput(typed)->toSqlText();
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
    const QString s = upperCompact(iban);
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
