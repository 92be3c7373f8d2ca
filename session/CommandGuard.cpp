#include "CommandGuard.h"

#include "Dialogs.h"
#include "Errors.h"

#include <QString>

bool RunCommand(Dialogs &dialogs, const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const OrvellaError &e) {
        dialogs.error(e.message());
    } catch (const std::exception &e) {
        dialogs.error(QStringLiteral("Unerwarteter Fehler: %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        dialogs.error(QStringLiteral("Unerwarteter Fehler."));
    }
    return false;
}
