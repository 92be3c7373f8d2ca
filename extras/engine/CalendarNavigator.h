#pragma once

#include <QDate>
#include <QString>

// Where the calendar window stands, without its widgets: the shown day, the week,
// month and year selected in the top bar, the years its year list offers, which
// arrows may be used, and the week the week overview shows. Every move ends in
// showDate, so the controls that the window fills from here stay in step.
class CalendarNavigator
{
public:
    static constexpr int FirstYear = 2004;
    static constexpr int YearsAhead = 10;
    static constexpr int LastWeek = 53;

    static QString monthName(int month); // 1 = "Januar"

    // Brings everything in line with the date. A year before 2004 becomes 2004.
    // The week is the ISO 8601 week of the date (weeks begin on Monday, week 1
    // holds the first Thursday); the few January days that still belong to the
    // last week of the year before count as week 1 of the shown year, whose week
    // list they are chosen from.
    void showDate(const QDate &date);

    // The week list chose w (1..53): the month in which week w begins is shown from
    // its first day, and the week list keeps w.
    void selectWeek(int week);
    void weekBack();
    void weekForward();
    // A month (1..12) or year of the lists: its first day (of the month) is shown.
    void selectMonth(int month);
    void selectYear(int year);
    void monthBack();
    void monthForward();
    void yearBack();
    void yearForward();

    QDate date() const { return m_date; }
    int day() const { return m_day; }
    int week() const { return m_week; }
    int month() const { return m_date.month(); }
    int year() const { return m_date.year(); }
    int firstYear() const { return FirstYear; }
    int lastYear() const { return m_date.year() + YearsAhead; }
    bool weekFollows() const { return m_weekFollow; }

    bool canWeekBack() const { return m_week > 1; }
    bool canWeekForward() const { return m_week < LastWeek; }
    bool canMonthBack() const { return month() > 1; }
    bool canMonthForward() const { return month() < 12; }
    bool canYearBack() const { return year() > FirstYear; }
    bool canYearForward() const { return true; }

    // Monday and Sunday of the week the week overview shows: the week of the
    // shown day, or the week chosen in the week list.
    QDate weekStart() const { return m_weekStart; }
    QDate weekEnd() const { return m_weekStart.addDays(6); }

    // "7. Dezember"
    QString dayCaption() const;
    // "Woche 49"
    QString weekCaption() const;
    // "27.12.2004 - 02.01.2005"
    QString weekRangeText() const;

    // Monday of ISO week w of a year (week 53 of a year with 52 weeks is the first
    // week of the next).
    static QDate isoWeekMonday(int year, int week);

private:
    QDate m_date = QDate(FirstYear, 1, 1);
    int m_day = 1;
    int m_week = 1;
    bool m_weekFollow = true;
    QDate m_weekStart = isoWeekMonday(FirstYear, 1);
};
