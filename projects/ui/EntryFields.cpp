#include "EntryFields.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Enter or Return, also from the keypad, without Ctrl, Alt or Shift.
bool isEnter(const QKeyEvent *e)
{
    const auto held = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && held == Qt::NoModifier;
}

} // namespace

void EnterToNextField::install(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets)
        w->installEventFilter(new EnterToNextField(w));
}

void EnterToNextField::installBelow(QWidget *container)
{
    for (QLineEdit *e : container->findChildren<QLineEdit *>())
        e->installEventFilter(new EnterToNextField(e));
}

bool EnterToNextField::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
