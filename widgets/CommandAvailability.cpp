#include "CommandAvailability.h"

#include <QAction>
#include <QWidget>

void CommandAvailability::setControlEnabled(QObject *control, bool enabled)
{
    if (auto *a = qobject_cast<QAction *>(control))
        a->setEnabled(enabled);
    else if (auto *w = qobject_cast<QWidget *>(control))
        w->setEnabled(enabled);
}

void CommandAvailability::markUnavailable(QObject *control)
{
    m_unavailable.insert(control);
    setControlEnabled(control, false);
    if (auto *a = qobject_cast<QAction *>(control))
        a->setToolTip(UnavailableText);
    else if (auto *w = qobject_cast<QWidget *>(control))
        w->setToolTip(UnavailableText);
}

void CommandAvailability::setEnabledIfAvailable(QObject *control, bool enabled) const
{
    setControlEnabled(control, enabled && !isUnavailable(control));
}
