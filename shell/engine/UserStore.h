#pragma once

#include "Errors.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

class AppState;
class Database;
class TdmCommon;

// Permission flags 1..16; index 0 unused.
using PermissionFlags = std::array<bool, 17>;

// One user as the user window edits it.
struct UserRecord
{
    qint64 idu = 0;   // 0: not stored yet
    QString name;     // empty for a stored user: delete that user
    QString besch;
    QString perms = QString(16, QLatin1Char('N')); // permission 1 first, "J" or "N"
    // The hash to store; none keeps the stored one. A new user without one gets
    // the hash of the empty password.
    std::optional<QString> newHash;
};

// A change the user window may not make: the user sees the message, nothing is stored.
class UserRuleError : public OrvellaError
{
public:
    using OrvellaError::OrvellaError;
};

// The statements on the user table (usr) and the permission table (permission).
class UserStore
{
public:
    explicit UserStore(AppState &state);

    static inline const QString PrincipalName = QStringLiteral("Administrator");

    // A data set without users gets the principal user "Administrator" with the
    // empty password and every permission, so a switched-on log-in never locks
    // everybody out. True when it was created now.
    bool ensurePrincipal();

    struct Credentials
    {
        qint64 idu = 0;
        QString pass;
    };
    // The user of that log-in name with the lowest number, or none.
    std::optional<Credentials> findByName(const QString &name);

    // Failed log-ins in a row under a log-in name, and until when (milliseconds
    // since 1970) the next try waits; the name counts without regard to case.
    struct LoginAttempts
    {
        int failures = 0;
        qint64 waitUntil = 0;
    };
    LoginAttempts loginAttempts(const QString &name);
    // Writes them in one transaction; no failures removes the name's row.
    void setLoginAttempts(const QString &name, const LoginAttempts &attempts);
    QString storedHash(qint64 idu);
    void setHash(qint64 idu, const QString &hash);
    // The user's flags: a row grants its flag only with "J"; rows outside 1..16 are ignored.
    PermissionFlags permissions(qint64 idu);

    // Every user in number order (the principal user first), with its sixteen permissions.
    QList<UserRecord> loadAll();
    // Writes the rows in one transaction: a stored row with a name is updated (its
    // sixteen permission rows replaced), a stored row without a name is deleted with
    // its permission rows, a new row with a name is inserted with a number of its
    // own. Throws UserRuleError, storing nothing, for a new row with entries but no
    // name, a new or changed name that another user has already (in any case), and
    // a change that leaves no user with the permission to administer users where
    // there was one.
    void save(const QList<UserRecord> &rows);

    // A log-in may be switched on only when a user who may administer users has a
    // password: otherwise anybody could log in as that user and hand out rights.
    // For the rows as they are about to be stored, the refusal naming the first
    // such user without a password ("Bitte vergeben Sie zuerst ein Passwort für
    // „Administrator“."), or an empty text.
    QString loginSwitchRefusal(const QList<UserRecord> &rows);

private:
    int administrators();

    Database &m_db;
    TdmCommon &m_numbers;
};
