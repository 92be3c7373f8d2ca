#include "Formats.h"

#include "Amount.h"
#include "Errors.h"

#include <QLocale>
#include <QStringList>

namespace {

QString g_systemDateFormat = QStringLiteral("dd.MM.yyyy");

// Qt gives short formats with two-digit years ("dd.MM.yy", "M/d/yy"); documents and
// lists must never lose the century, so the year is always shown with four digits.
QString withFourDigitYear(QString format)
{
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

} // namespace

QString DateFormatFor(const QLocale &system)
{
    // The program is German throughout: a desktop in another language would show
    // "12/9/2026" or "9 Dec 2026" between German texts, and a German user reads
    // the first as 12 September. Only a German desktop's own form is taken.
    if (system.language() != QLocale::German)
        return QStringLiteral("dd.MM.yyyy");
    return withFourDigitYear(system.dateFormat(QLocale::ShortFormat));
}

void InitFormats()
{
    g_systemDateFormat = DateFormatFor(QLocale::system());
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::DefaultNumberOptions);
    QLocale::setDefault(german);
}

void SetSystemDateFormat(const QString &qtDateFormat)
{
    g_systemDateFormat = qtDateFormat;
}

QString SystemDateFormat()
{
    return g_systemDateFormat;
}

QDate StrToDate(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() == 3) {
        bool okD = false, okM = false, okY = false;
        const int d = parts[0].toInt(&okD);
        const int m = parts[1].toInt(&okM);
        int y = parts[2].toInt(&okY);
        const bool shapeOk = parts[0].size() <= 2 && parts[1].size() <= 2
                             && (parts[2].size() == 4 || parts[2].size() == 2);
        if (okD && okM && okY && shapeOk) {
            if (parts[2].size() == 2)
                y += y < 50 ? 2000 : 1900;
            const QDate date(y, m, d);
            if (date.isValid())
                return date;
        }
    }
    throw ConversionError(QStringLiteral("'%1' ist kein gültiges Datum.").arg(text));
}

bool IsValidDateText(const QString &text)
{
    try {
        StrToDate(text);
        return true;
    } catch (const ConversionError &) {
        return false;
    }
}

QString DateToStr(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString ToSystemDate(const QString &text)
{
    return StrToDate(text).toString(g_systemDateFormat);
}

QString MoneyText(const QString &amountText)
{
    if (amountText.isEmpty())
        return QStringLiteral("0,00 €");
    return Amount::fromText(amountText).toText() + QStringLiteral(" €");
}

QString PadNumber(qint64 number)
{
    return (QLatin1Char('0') + QString::number(number)).rightJustified(6, QLatin1Char('0'));
}

qint64 StrToInt(const QString &text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' ist keine gültige ganze Zahl.").arg(text));
    return v;
}

qint64 StrToIntDef(const QString &text, qint64 fallback)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? v : fallback;
}
