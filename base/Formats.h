#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// Process-wide number and date formats, and the small helpers every window uses.
// The program reads and writes numbers with decimal comma and thousands points and
// dates as "dd.MM.yyyy", whatever the desktop's locale says.

// Saves the desktop's short date format, then makes German formats the default
// (QLocale::setDefault), so widgets show "dd.MM.yyyy" and "1.234,50".
void InitFormats();
// The short date form that ToSystemDate uses on a desktop with this locale: the
// desktop's own form (with a four-digit year) when its language is German, else
// "dd.MM.yyyy".
QString DateFormatFor(const QLocale &system);
// For tests: the short date format that ToSystemDate uses (a QDate format string).
void SetSystemDateFormat(const QString &qtDateFormat);
QString SystemDateFormat();

// "dd.MM.yyyy" to the desktop's own short date form. Throws ConversionError.
QString ToSystemDate(const QString &text);

// Amount text (decimal comma) to "1.234,56 €"; empty text gives "0,00 €".
QString MoneyText(const QString &amountText);

// A customer number as shown to users: "0" in front, padded to six characters.
QString PadNumber(qint64 number);

// "dd.MM.yyyy" (also "d.M.yyyy" and two-digit years) to a date. Throws ConversionError.
QDate StrToDate(const QString &text);
bool IsValidDateText(const QString &text);
QString DateToStr(const QDate &date);
// Whole number ("12", " 12 ", "-3"). Throws ConversionError naming the text.
qint64 StrToInt(const QString &text);
// Whole number or the fallback for empty or non-numeric text.
qint64 StrToIntDef(const QString &text, qint64 fallback);
