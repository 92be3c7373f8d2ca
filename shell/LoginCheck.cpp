#include "LoginCheck.h"

#include "PasswordHash.h"
#include "Settings.h"

#include <QDateTime>

#include <algorithm>

namespace {

const QString FailuresKey = QStringLiteral("LoginFehlversuche");
const QString WaitUntilKey = QStringLiteral("LoginPauseBis");

} // namespace

LoginCheck::LoginCheck(UserStore &store, Clock clock)
    : m_store(store), m_clock(clock ? std::move(clock) : Clock(&QDateTime::currentMSecsSinceEpoch))
{
    const UserSettings settings;
    m_failures = std::max(0, settings.readInt(FailuresKey).value_or(0));
    bool ok = false;
    const qint64 until = settings.readString(WaitUntilKey).value_or(QString()).toLongLong(&ok);
    m_waitUntil = ok ? until : 0;
}

void LoginCheck::remember()
{
    UserSettings settings;
    if (m_failures == 0) {
        settings.remove(FailuresKey);
        settings.remove(WaitUntilKey);
    } else {
        settings.writeInt(FailuresKey, m_failures);
        settings.writeString(WaitUntilKey, QString::number(m_waitUntil));
    }
    settings.sync();
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
    // never longer than the pause itself, should the clock have been put back
    return std::clamp<qint64>(m_waitUntil - m_clock(), 0, pauseAfter(m_failures));
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
        remember();
        return result;
    }
    if (m_failures > 0) {
        m_failures = 0;
        m_waitUntil = 0;
        remember();
    }
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
