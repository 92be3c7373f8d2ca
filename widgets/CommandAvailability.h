#pragma once

#include <QSet>
#include <QString>

class QObject;

// Commands that this version of the program does not offer yet: their actions and
// buttons stay disabled whatever the permissions say, and their tooltip tells why.
// A window keeps one of these and enables its other commands through it.
class CommandAvailability
{
public:
    static inline const QString UnavailableText = QStringLiteral("Noch nicht verfügbar");

    // Enables or disables an action or a widget.
    static void setControlEnabled(QObject *control, bool enabled);

    // Disables the control for good and sets the tooltip "Noch nicht verfügbar".
    void markUnavailable(QObject *control);
    bool isUnavailable(QObject *control) const { return m_unavailable.contains(control); }
    // Enables the control unless it is unavailable.
    void setEnabledIfAvailable(QObject *control, bool enabled) const;

private:
    QSet<QObject *> m_unavailable;
};
