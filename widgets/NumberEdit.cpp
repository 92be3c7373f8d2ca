#include "NumberEdit.h"

#include "Dialogs.h"

#include <QFocusEvent>
#include <QKeyEvent>

NumberEdit::NumberEdit(NumberInput::Field field, Dialogs *dialogs, QWidget *parent)
    : QLineEdit(parent), m_field(std::move(field)), m_dialogs(dialogs)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumberEdit::keyPressEvent(QKeyEvent *event)
{
    const auto held = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && held == Qt::NoModifier) {
        focusNextChild();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu is not leaving the field.
    const Qt::FocusReason r = event->reason();
    if (r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason)
        return;
    reportRefusal();
}

void NumberEdit::reportRefusal()
{
    if (m_reporting || !m_dialogs)
        return;
    const std::optional<QString> why = refusal();
    if (!why) {
        m_reported.clear();
        return;
    }
    if (text() == m_reported)
        return;
    m_reported = text();
    m_reporting = true;
    m_dialogs->error(*why);
    m_reporting = false;
}
