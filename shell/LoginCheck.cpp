#include "LoginCheck.h"

#include "PasswordHash.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

qint64 steadyNow()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

LoginCheck::LoginCheck(UserStore &store, Clock clock)
    : m_store(store), m_clock(clock ? std::move(clock) : Clock(steadyNow))
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

qint64 LoginCheck::pauseLeft() const
{
    return std::max<qint64>(0, m_waitUntil - m_clock());
}

LoginCheck::Result LoginCheck::check(const QString &name, const QString &password)
{
    Result result;
    if (pauseLeft() > 0) {
        result.outcome = Outcome::Waiting;
        return result;
    }
    m_store.ensurePrincipal();
    const std::optional<UserStore::Credentials> user = m_store.findByName(name.trimmed());
    if (!user || !PasswordHash::verify(password, user->pass)) {
        ++m_failures;
        m_waitUntil = m_clock() + pauseAfter(m_failures);
        return result;
    }
    m_failures = 0;
    m_waitUntil = 0;
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
