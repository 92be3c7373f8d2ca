#pragma once

#include "UserStore.h"

#include <functional>

// Checks a log-in name and password against the user table and hands out the
// user's permission flags. After five failed tries in a row under one name every
// further try under it waits for a pause that doubles with each failure, so
// passwords cannot be guessed quickly. The count and the pause are kept in the
// data set per name (UserStore::loginAttempts), so neither a restart nor a
// deleted settings file starts afresh. A name that belongs to no user costs the
// same hash and counts the same as a wrong password, so neither the answer nor
// its time tells which names exist. The clock is injectable so tests need not sleep.
class LoginCheck
{
public:
    // Milliseconds since the epoch.
    using Clock = std::function<qint64()>;
    explicit LoginCheck(UserStore &store, Clock clock = {});

    enum class Outcome { LoggedIn, Refused, Waiting };
    struct Result
    {
        Outcome outcome = Outcome::Refused;
        qint64 user = 0;
        PermissionFlags perm{};
    };
    // A try during the name's pause is not checked and does not count. A stored
    // MD5 hash of a correct password is replaced by the current form.
    Result check(const QString &name, const QString &password);

    // Milliseconds until the next try under the name is checked; 0 when it may come now.
    qint64 pauseLeft(const QString &name) const;
    int failuresInARow(const QString &name) const;
    // The pause after that many failures in a row: none for up to four, then
    // 2 s, 4 s, 8 s ... up to one minute.
    static qint64 pauseAfter(int failures);

private:
    UserStore &m_store;
    Clock m_clock;
    QString m_dummyHash; // what an unknown name's password is checked against
};
