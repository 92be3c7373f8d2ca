#include "BackupRules.h"

#include <QLocale>

namespace BackupRules {

QString folderName(Kind kind, const QDate &day, int serial)
{
    return QLatin1Char(kind == Kind::Full ? 'G' : 'R') + day.toString(QStringLiteral("yyMMdd"))
           + QString::number(serial);
}

std::pair<QDate, QDate> defaultPeriod(const QDate &today)
{
    const int year = today.month() <= 3 ? today.year() - 1 : today.year();
    return {QDate(year, 1, 1), QDate(year, 12, 31)};
}

QString pathKey(Kind kind)
{
    return kind == Kind::Full ? QStringLiteral("PathGesamt") : QStringLiteral("PathRechnung");
}

QString sizeText(qint64 bytes)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    return german.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace BackupRules
