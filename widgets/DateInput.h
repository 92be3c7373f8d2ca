#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date typed as dd.MM.yyyy or picked from a calendar; may be left empty where
// an empty date means "no limit".
class DateInput : public QWidget
{
    Q_OBJECT
public:
    DateInput(const QDate &initial, QWidget *parent = nullptr);

    // Invalid when the field is empty or holds no date.
    QDate date() const;
    void setDate(const QDate &date);
    bool isEmpty() const;
    // Empty, or a date.
    bool isAcceptable() const;
    QString text() const;

    QLineEdit *edit() const { return m_edit; }
    QToolButton *pickButton() const { return m_pick; }
    QCalendarWidget *calendarWidget() const { return m_calendar; }

Q_SIGNALS:
    // A date typed whole, picked, or the field emptied.
    void dateChanged();
    // The user is done: the field left, Enter pressed, or a day picked.
    void editingFinished();

private:
    QLineEdit *m_edit;
    QToolButton *m_pick;
    QCalendarWidget *m_calendar;
};
