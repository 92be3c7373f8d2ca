#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// A restore while the log-in is on must never bring in a weaker log-in: a backup
// made before the log-in was set up (or sample data) holds no user who may
// administer users and has a password. Such a restore keeps the users and rights
// of the data set it replaces, written into the restored data set in the same
// transaction as the rest of it.
namespace RestoreUsers {

struct Users
{
    struct User
    {
        QString idu, name, pass, besch;
    };
    struct Permission
    {
        QString idu, idp, perm;
    };
    QList<User> users;
    QList<Permission> permissions;
};

// Table rows as the copier reads them from a copy: the columns' texts, empty for NULL.
Users fromRows(const QList<QStringList> &usr, const QList<QStringList> &permission);
inline const QStringList UserColumns = {QStringLiteral("IDU"), QStringLiteral("Name"), QStringLiteral("Pass"),
                                        QStringLiteral("Besch")};
inline const QStringList PermissionColumns = {QStringLiteral("IDU"), QStringLiteral("IDP"), QStringLiteral("Perm")};

// The users and rights of a live data set.
Users read(Database &db);

// Some user may administer users (right 14) and has a password other than the empty one.
bool guarded(const Users &users);

// The statements that replace the users and rights of a data set by these.
QStringList replaceStatements(const Users &users);

// The question before such a restore.
QString question();

} // namespace RestoreUsers
