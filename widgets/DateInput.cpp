#include "DateInput.h"

#include "Formats.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QWidgetAction>

DateInput::DateInput(const QDate &initial, QWidget *parent) : QWidget(parent)
{
    m_edit = new QLineEdit(this);
    m_edit->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}(\\.[0-9]{0,2}(\\.[0-9]{0,4})?)?")),
                                        m_edit));
    m_edit->setClearButtonEnabled(true);
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 30);
    m_pick = new QToolButton(this);
    m_pick->setIcon(QIcon::fromTheme(QStringLiteral("x-office-calendar")));
    if (m_pick->icon().isNull())
        m_pick->setText(QStringLiteral("…"));
    m_pick->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    m_pick->setToolTip(QStringLiteral("Datum im Kalender wählen"));
    m_pick->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_pick);
    m_calendar = new QCalendarWidget(menu);
    m_calendar->setGridVisible(true);
    auto *action = new QWidgetAction(menu);
    action->setDefaultWidget(m_calendar);
    menu->addAction(action);
    m_pick->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_calendar->setSelectedDate(date().isValid() ? date() : QDate::currentDate());
    });
    connect(m_calendar, &QCalendarWidget::clicked, this, [this, menu](const QDate &picked) {
        menu->close();
        setDate(picked);
        Q_EMIT dateChanged();
        Q_EMIT editingFinished();
    });
    connect(m_edit, &QLineEdit::textEdited, this, [this] {
        if (isEmpty() || date().isValid())
            Q_EMIT dateChanged();
    });
    connect(m_edit, &QLineEdit::editingFinished, this, &DateInput::editingFinished);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_edit, 1);
    row->addWidget(m_pick);
    setFocusProxy(m_edit);
    setDate(initial);
}

QDate DateInput::date() const
{
    const QString t = text();
    return t.size() == 10 && IsValidDateText(t) ? StrToDate(t) : QDate();
}

void DateInput::setDate(const QDate &date)
{
    m_edit->setText(date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString());
}

bool DateInput::isEmpty() const
{
    return text().isEmpty();
}

bool DateInput::isAcceptable() const
{
    return isEmpty() || date().isValid();
}

QString DateInput::text() const
{
    return m_edit->text().trimmed();
}
