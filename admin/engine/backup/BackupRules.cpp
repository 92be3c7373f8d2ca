#include "BackupRules.h"

#include "AppState.h"

#include <QLocale>

#include <algorithm>

namespace BackupRules {

namespace {
constexpr int UserAdministration = 14;
}

bool mayCreate(Kind kind, const AppState &state)
{
    if (state.perm(UserAdministration))
        return true;
    const std::initializer_list<int> full = {1, 3, 5, 7, 15}, archive = {7, 15};
    const std::initializer_list<int> &needed = kind == Kind::Full ? full : archive;
    return std::all_of(needed.begin(), needed.end(), [&](int flag) { return state.perm(flag); });
}

bool mayRestore(const AppState &state)
{
    return state.perm(UserAdministration);
}

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
