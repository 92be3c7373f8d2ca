#pragma once

#include "UserStore.h"

#include <functional>

// Checks a log-in name and password against the user table and hands out the
// user's permission flags. After five failed tries in a row every further try
// waits for a pause that doubles with each failure, so passwords cannot be
// guessed quickly. The count and the pause are kept in the account's settings,
// so ending and restarting the program does not start afresh; the clock is
// injectable so tests need not sleep.
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
    // A try during the pause is not checked and does not count. A stored MD5 hash
    // of a correct password is replaced by the current form.
    Result check(const QString &name, const QString &password);

    // Milliseconds until the next try is checked; 0 when it may come now.
    qint64 pauseLeft() const;
    int failuresInARow() const { return m_failures; }
    // The pause after that many failures in a row: none for up to four, then
    // 2 s, 4 s, 8 s ... up to one minute.
    static qint64 pauseAfter(int failures);

private:
    void remember();

    UserStore &m_store;
    Clock m_clock;
    int m_failures = 0;
    qint64 m_waitUntil = 0;
};
