#pragma once

#include "CalendarNavigator.h"
#include "CalendarStore.h"

#include <QMainWindow>

#include <functional>

class AppState;
class QAction;
class QCalendarWidget;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QTabBar;
class QTabWidget;
class QTableWidget;
class QToolButton;

// The calendar window "Orvella-Calendar": moves through days, weeks, months and
// years with every control kept in step, and shows for the chosen day and week
// the invoices that fall due and the dunning letters written. Created once at
// start-up, shown modelessly; closing only hides it.
class TfrmCalendar : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmCalendar(AppState &state, QWidget *parent = nullptr);
    ~TfrmCalendar() override;

    // Each opening starts at today.
    void prepareShow(const QDate &today = QDate::currentDate());
    // The central operation: brings every control in line with the date.
    void showDate(const QDate &date);
    // Reads the entries of the shown day and week again.
    void reloadEntries();

    const CalendarNavigator &navigator() const { return m_nav; }
    // The entry of a row of the day or week grid; nullptr for the heading row and empty rows.
    const CalendarEntry *dayEntry(int row) const;
    const CalendarEntry *weekEntry(int row) const;
    // Opens the entry's project in the project window.
    void openEntry(const CalendarEntry &entry);

    QAction *actBeenden;
    QToolButton *btnWeekBack, *btnWeekForward, *btnMonthBack, *btnMonthForward, *btnYearBack, *btnYearForward;
    QComboBox *cbWeek, *cbMonth, *cbYear;
    QDateEdit *dtpDate;
    QTabBar *tabMonths;
    QTabWidget *pcPages;
    QCalendarWidget *calMonth;
    QTableWidget *grdDay, *grdWeek, *grdWeekDays;
    QLabel *lblWeek, *lblWeekRange;
    QToolButton *btnDayToday, *btnDayOpen, *btnWeekToday, *btnWeekOpen;

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildUi();
    QWidget *buildDayPage();
    QWidget *buildWeekPage();
    QFrame *buildButtonPanel(QToolButton *&today, QToolButton *&open);
    QTableWidget *appointmentGrid(const char *name, const QString &firstHeading);
    void connectControls();
    // Runs a move of the navigator for a control the user changed, then sets every control.
    void navigate(const std::function<void()> &move);
    void syncControls(bool withEntries = true);
    void fillGrid(QTableWidget *grid, const QList<CalendarEntry> &entries, bool withDay);
    void fillWeekDays();
    void updateOpenButtons();
    void run(const std::function<void()> &command);

    AppState &m_state;
    CalendarStore m_store;
    CalendarNavigator m_nav;
    QString m_currency;
    QList<CalendarEntry> m_entries; // of the shown day and week
    QList<CalendarEntry> m_dayEntries, m_weekEntries;
    QDate m_loadedFrom, m_loadedTo;
    bool m_syncing = false;
};
