#include "AppState.h"
#include "Database.h"
#include "Errors.h"
#include "Formats.h"
#include "HomeDir.h"
#include "QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Halvard"));
    QApplication::setApplicationName(QStringLiteral("Orvella"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvella-Suite"));
    InitFormats();

    QtDialogs dialogs;
    try {
        const QString exeDir = PrepareHomeDir(ResolveHomeDir(QApplication::arguments()));
        Database db;
        db.open(DataDirOf(exeDir));
        AppState state(db, dialogs, exeDir);
        return 0;
    } catch (const OrvellaError &e) {
        dialogs.error(e.message(), QStringLiteral("Orvella-Suite"));
        return 1;
    }
}
