#include "AppState.h"

#include "Formats.h"
#include "Platform.h"
#include "HomeDir.h"

AppState::AppState(Database &database, Dialogs &dlg, const QString &exeDir)
    : db(database), dialogs(dlg), ExeDir(exeDir), DataDir(DataDirOf(exeDir)), SQL_Query(database),
      dmCommon(database, exeDir), isAdminAccount(IsAdminAccount)
{
}

void AppState::grantAll()
{
    Perm.fill(true);
    Perm[0] = false;
}
