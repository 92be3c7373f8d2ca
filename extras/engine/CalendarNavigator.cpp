#include "CalendarNavigator.h"

#include <QStringList>

#include <algorithm>

QString CalendarNavigator::monthName(int month)
{
    static const QStringList names = {
        QStringLiteral("Januar"),    QStringLiteral("Februar"), QStringLiteral("März"),     QStringLiteral("April"),
        QStringLiteral("Mai"),       QStringLiteral("Juni"),    QStringLiteral("Juli"),     QStringLiteral("August"),
        QStringLiteral("September"), QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember"),
    };
    return names.value(month - 1);
}

QDate CalendarNavigator::isoWeekMonday(int year, int week)
{
    // 4 January always lies in week 1.
    const QDate fourth(year, 1, 4);
    return fourth.addDays(1 - fourth.dayOfWeek() + 7 * (week - 1));
}

void CalendarNavigator::showDate(const QDate &date)
{
    if (!date.isValid())
        return;
    m_date = date.year() < FirstYear ? QDate(FirstYear, date.month(), date.day()) : date;
    m_day = m_date.day();
    if (m_weekFollow) {
        int weekYear = 0;
        const int week = m_date.weekNumber(&weekYear);
        if (weekYear < m_date.year()) {
            m_week = 1;
            m_weekStart = isoWeekMonday(m_date.year(), 1);
        } else {
            m_week = week;
            m_weekStart = m_date.addDays(1 - m_date.dayOfWeek());
        }
    }
}

void CalendarNavigator::selectWeek(int week)
{
    const int w = std::clamp(week, 1, LastWeek);
    const int y = year();
    int month = 12;
    for (int m = 2; m <= 12; ++m)
        if (QDate(y, m, 1).weekNumber() > w) {
            month = m - 1;
            break;
        }
    m_weekFollow = false;
    showDate(QDate(y, month, 1));
    m_weekFollow = true;
    m_week = w;
    m_weekStart = isoWeekMonday(y, w);
}

void CalendarNavigator::weekBack()
{
    if (canWeekBack())
        selectWeek(m_week - 1);
}

void CalendarNavigator::weekForward()
{
    if (canWeekForward())
        selectWeek(m_week + 1);
}

void CalendarNavigator::selectMonth(int month)
{
    showDate(QDate(year(), std::clamp(month, 1, 12), 1));
}

void CalendarNavigator::selectYear(int year)
{
    showDate(QDate(std::max(year, int(FirstYear)), month(), 1));
}

void CalendarNavigator::monthBack()
{
    if (canMonthBack())
        selectMonth(month() - 1);
}

void CalendarNavigator::monthForward()
{
    if (canMonthForward())
        selectMonth(month() + 1);
}

void CalendarNavigator::yearBack()
{
    if (canYearBack())
        selectYear(year() - 1);
}

void CalendarNavigator::yearForward()
{
    selectYear(year() + 1);
}

QString CalendarNavigator::dayCaption() const
{
    return QStringLiteral("%1. %2").arg(m_day).arg(monthName(month()));
}

QString CalendarNavigator::weekCaption() const
{
    return QStringLiteral("Woche %1").arg(m_week);
}

QString CalendarNavigator::weekRangeText() const
{
    return weekStart().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" - ")
           + weekEnd().toString(QStringLiteral("dd.MM.yyyy"));
}
