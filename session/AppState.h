#pragma once

#include "SqlQuery.h"
#include "TdmCommon.h"

#include <QString>
#include <array>
#include <functional>

class Database;
class Dialogs;
class WindowHub;

// The state one run of the program shares between its windows. Owned by the
// program and handed to each window by reference when it is built.
class AppState
{
public:
    AppState(Database &db, Dialogs &dialogs, const QString &exeDir);

    Database &db;
    Dialogs &dialogs;
    // The home folder with a trailing "/", and its data folder.
    const QString ExeDir;
    const QString DataDir;
    // The shared query of the windows. Stores may use a query of their own.
    SqlQuery SQL_Query;
    TdmCommon dmCommon;

    // Permission flags 1..16 (index 0 unused); all false until the log-in decision.
    std::array<bool, 17> Perm{};
    // The user who logged in (usr.IDU); 0 when the program runs without a log-in.
    qint64 LoggedInUser = 0;
    // Whether the Linux account may administer the machine (tests replace it).
    std::function<bool()> isAdminAccount;
    // The contact number last selected in the contact list, and whether the list
    // shows companies (else persons).
    qint64 SelectedID = 0;
    bool CompaniesShown = true;
    // Printer-unit offset from the print size grade.
    int PrintSizeOffset = 0;

    // Opens other windows; set by the program once its windows exist.
    WindowHub *hub = nullptr;

    bool perm(int flag) const { return flag >= 1 && flag <= 16 && Perm[std::size_t(flag)]; }
    void grantAll();
};
