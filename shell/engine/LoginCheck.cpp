#include "LoginCheck.h"

#include "PasswordHash.h"

#include <QDateTime>

#include <algorithm>

LoginCheck::LoginCheck(UserStore &store, Clock clock)
    : m_store(store), m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentMSecsSinceEpoch)),
      // made now, so that checking an unknown name later costs one hash, as a wrong
      // password does
      m_dummyHash(PasswordHash::make(QStringLiteral("kein Benutzer")))
{
}

qint64 LoginCheck::pauseAfter(int failures)
{
    constexpr int Free = 4;
    constexpr qint64 Longest = 60000;
    if (failures <= Free)
        return 0;
    return std::min(Longest, qint64(1000) << std::min(failures - Free, 7));
}

qint64 LoginCheck::pauseLeft(const QString &name) const
{
    const UserStore::LoginAttempts a = m_store.loginAttempts(name);
    // never longer than the pause itself, should the clock have been put back
    return std::clamp<qint64>(a.waitUntil - m_clock(), 0, pauseAfter(a.failures));
}

int LoginCheck::failuresInARow(const QString &name) const
{
    return m_store.loginAttempts(name).failures;
}

LoginCheck::Result LoginCheck::check(const QString &name, const QString &password)
{
    Result result;
    if (pauseLeft(name) > 0) {
        result.outcome = Outcome::Waiting;
        return result;
    }
    m_store.ensurePrincipal();
    const std::optional<UserStore::Credentials> user = m_store.findByName(name.trimmed());
    const bool known = user.has_value();
    const bool matches = PasswordHash::verify(password, known ? user->pass : m_dummyHash);
    UserStore::LoginAttempts attempts = m_store.loginAttempts(name);
    if (!known || !matches) {
        ++attempts.failures;
        attempts.waitUntil = m_clock() + pauseAfter(attempts.failures);
        m_store.setLoginAttempts(name, attempts);
        return result;
    }
    if (attempts.failures > 0)
        m_store.setLoginAttempts(name, {});
    if (PasswordHash::needsRehash(user->pass)) {
        // Best effort: a data set that cannot be written now still lets the user in,
        // and the old hash is replaced at a later log-in.
        try {
            m_store.setHash(user->idu, PasswordHash::make(password));
        } catch (const OrvellaError &) {
        }
    }
    result.outcome = Outcome::LoggedIn;
    result.user = user->idu;
    result.perm = m_store.permissions(user->idu);
    return result;
}
