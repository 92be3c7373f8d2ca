#include "UserStore.h"

#include "AppState.h"
#include "Database.h"
#include "Formats.h"
#include "NumberLock.h"
#include "PasswordHash.h"
#include "SqlQuery.h"
#include "SqlText.h"
#include "TdmCommon.h"
#include "Transaction.h"

#include <QHash>

#include <algorithm>

namespace {

constexpr int UserAdministration = 14;

// Sixteen "J"/"N"; anything but "J" is not granted.
QString normalised(const QString &perms)
{
    QString out(16, QLatin1Char('N'));
    for (int i = 0; i < 16 && i < perms.size(); ++i)
        if (perms.at(i) == QLatin1Char('J'))
            out[i] = QLatin1Char('J');
    return out;
}

// The permission number of a row: 1..16, else 0.
int permissionNumber(const QString &idp)
{
    bool ok = false;
    const int n = idp.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= 16 ? n : 0;
}

void insertPermissions(SqlQuery &q, qint64 idu, const QString &perms)
{
    for (int n = 1; n <= 16; ++n)
        q.execSql(QStringLiteral("INSERT INTO permission (IDU, IDP, Perm) VALUES (%1, %2, '%3')")
                      .arg(idu)
                      .arg(n)
                      .arg(perms.at(n - 1)));
}

void insertUser(SqlQuery &q, qint64 idu, const QString &name, const QString &besch, const QString &hash,
                const QString &perms)
{
    q.execSql(QStringLiteral("INSERT INTO usr (IDU, Name, Besch, Pass) VALUES (%1, %2, %3, %4)")
                  .arg(idu)
                  .arg(SqlText(name), SqlText(besch), SqlText(hash)));
    insertPermissions(q, idu, perms);
}

} // namespace

UserStore::UserStore(AppState &state) : m_db(state.db), m_numbers(state.dmCommon) {}

bool UserStore::ensurePrincipal()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT COUNT(*) AS n FROM usr"));
    if (q.fieldInt(QStringLiteral("n")) > 0)
        return false;
    const QString hash = PasswordHash::make(QString());
    Transaction t(m_db);
    LockNumbers(m_db, QStringLiteral("benutzer"));
    // another workstation may have been quicker
    q.open(QStringLiteral("SELECT COUNT(*) AS n FROM usr"));
    if (q.fieldInt(QStringLiteral("n")) > 0)
        return false;
    insertUser(q, m_numbers.GetNextIDU(), PrincipalName, QString(), hash, QString(16, QLatin1Char('J')));
    t.commit();
    return true;
}

std::optional<UserStore::Credentials> UserStore::findByName(const QString &name)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IDU, Pass FROM usr WHERE Name=%1 ORDER BY IDU").arg(SqlText(name)));
    if (q.isEmpty())
        return std::nullopt;
    return Credentials{q.fieldInt(QStringLiteral("IDU")), q.field(QStringLiteral("Pass"))};
}

namespace {

QString attemptKey(const QString &name)
{
    return SqlText(name.trimmed().toLower());
}

} // namespace

UserStore::LoginAttempts UserStore::loginAttempts(const QString &name)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Fehlversuche, PauseBis FROM anmeldeversuche WHERE Name=%1").arg(attemptKey(name)));
    return {int(std::max<qint64>(0, q.fieldInt(QStringLiteral("Fehlversuche")))), q.fieldInt(QStringLiteral("PauseBis"))};
}

void UserStore::setLoginAttempts(const QString &name, const LoginAttempts &attempts)
{
    const QString key = attemptKey(name);
    Transaction t(m_db);
    SqlQuery q(m_db);
    if (attempts.failures <= 0) {
        q.execSql(QStringLiteral("DELETE FROM anmeldeversuche WHERE Name=%1").arg(key));
    } else {
        q.execSql(QStringLiteral("UPDATE anmeldeversuche SET Fehlversuche=%1, PauseBis=%2 WHERE Name=%3")
                      .arg(QString::number(attempts.failures), QString::number(attempts.waitUntil), key));
        if (q.rowsAffected() == 0)
            q.execSql(QStringLiteral("INSERT INTO anmeldeversuche (Name, Fehlversuche, PauseBis) VALUES (%1, %2, %3)")
                          .arg(key, QString::number(attempts.failures), QString::number(attempts.waitUntil)));
    }
    t.commit();
}

QString UserStore::loginSwitchRefusal(const QList<UserRecord> &rows)
{
    constexpr int Administer = 14;
    QString firstWithout;
    for (const UserRecord &u : rows) {
        if (u.name.trimmed().isEmpty() || u.perms.mid(Administer - 1, 1) != QLatin1String("J"))
            continue;
        const QString hash = u.newHash ? *u.newHash : u.idu > 0 ? storedHash(u.idu) : QString();
        if (!hash.isEmpty() && !PasswordHash::verify(QString(), hash))
            return QString();
        if (firstWithout.isEmpty())
            firstWithout = u.name.trimmed();
    }
    return QStringLiteral("Bitte vergeben Sie zuerst ein Passwort für „%1“.")
        .arg(firstWithout.isEmpty() ? PrincipalName : firstWithout);
}

QString UserStore::storedHash(qint64 idu)
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT Pass FROM usr WHERE IDU=%1").arg(idu));
    return q.field(QStringLiteral("Pass"));
}

void UserStore::setHash(qint64 idu, const QString &hash)
{
    SqlQuery q(m_db);
    q.execSql(QStringLiteral("UPDATE usr SET Pass=%1 WHERE IDU=%2").arg(SqlText(hash)).arg(idu));
}

PermissionFlags UserStore::permissions(qint64 idu)
{
    PermissionFlags flags{};
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IDP, Perm FROM permission WHERE IDU=%1 ORDER BY IDP").arg(idu));
    for (; !q.eof(); q.next())
        if (const int n = permissionNumber(q.field(QStringLiteral("IDP"))))
            flags[std::size_t(n)] = q.field(QStringLiteral("Perm")) == QLatin1String("J");
    return flags;
}

QList<UserRecord> UserStore::loadAll()
{
    QList<UserRecord> users;
    QHash<qint64, qsizetype> byNumber;
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT IDU, Name, Besch FROM usr ORDER BY IDU"));
    for (; !q.eof(); q.next()) {
        UserRecord u;
        u.idu = q.fieldInt(QStringLiteral("IDU"));
        u.name = q.field(QStringLiteral("Name"));
        u.besch = q.field(QStringLiteral("Besch"));
        byNumber.insert(u.idu, users.size());
        users << u;
    }
    q.open(QStringLiteral("SELECT IDU, IDP, Perm FROM permission ORDER BY IDU, IDP"));
    for (; !q.eof(); q.next()) {
        const auto at = byNumber.constFind(q.fieldInt(QStringLiteral("IDU")));
        const int n = permissionNumber(q.field(QStringLiteral("IDP")));
        if (at != byNumber.constEnd() && n > 0)
            users[*at].perms[n - 1] = q.field(QStringLiteral("Perm")) == QLatin1String("J") ? QLatin1Char('J')
                                                                                           : QLatin1Char('N');
    }
    return users;
}

int UserStore::administrators()
{
    SqlQuery q(m_db);
    q.open(QStringLiteral("SELECT COUNT(*) AS n FROM usr WHERE IDU IN "
                          "(SELECT IDU FROM permission WHERE IDP=%1 AND Perm='J')")
               .arg(UserAdministration));
    return int(q.fieldInt(QStringLiteral("n")));
}

void UserStore::save(const QList<UserRecord> &rows)
{
    const QString nothingStored = QStringLiteral(" Es wurde nichts gespeichert.");
    // Hashing takes a moment; it is done before the tables are locked.
    QList<QString> hashes;
    for (const UserRecord &r : rows)
        hashes << (r.newHash ? *r.newHash
                             : r.idu == 0 && !r.name.trimmed().isEmpty() ? PasswordHash::make(QString()) : QString());

    Transaction t(m_db);
    // user numbers are drawn during the save
    LockNumbers(m_db, QStringLiteral("benutzer"));
    const int administratorsBefore = administrators();
    SqlQuery q(m_db);
    QStringList written; // the names typed now
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const UserRecord &r = rows.at(i);
        const QString name = r.name.trimmed();
        const QString perms = normalised(r.perms);
        if (r.idu > 0 && name.isEmpty()) {
            q.execSql(QStringLiteral("DELETE FROM usr WHERE IDU=%1").arg(r.idu));
            q.execSql(QStringLiteral("DELETE FROM permission WHERE IDU=%1").arg(r.idu));
        } else if (r.idu > 0) {
            // Only a changed name is checked, so that names that older versions let
            // be given twice do not block every later save.
            q.open(QStringLiteral("SELECT Name FROM usr WHERE IDU=%1").arg(r.idu));
            const bool renamed = q.field(QStringLiteral("Name")) != name;
            QString sql = QStringLiteral("UPDATE usr SET Name=%1, Besch=%2").arg(SqlText(name), SqlText(r.besch));
            if (r.newHash)
                sql += QStringLiteral(", Pass=") + SqlText(hashes.at(i));
            q.execSql(sql + QStringLiteral(" WHERE IDU=%1").arg(r.idu));
            // a user deleted meanwhile at another workstation gets no orphaned rows
            if (q.rowsAffected() == 0)
                continue;
            q.execSql(QStringLiteral("DELETE FROM permission WHERE IDU=%1").arg(r.idu));
            insertPermissions(q, r.idu, perms);
            if (renamed)
                written << name;
        } else if (!name.isEmpty()) {
            insertUser(q, m_numbers.GetNextIDU(), name, r.besch, hashes.at(i), perms);
            written << name;
        } else if (!r.besch.trimmed().isEmpty() || r.newHash || perms.contains(QLatin1Char('J'))) {
            throw UserRuleError(QStringLiteral("Bitte geben Sie einen Benutzernamen ein.") + nothingStored);
        }
    }

    QStringList names;
    q.open(QStringLiteral("SELECT Name FROM usr"));
    for (; !q.eof(); q.next())
        names << q.field(QStringLiteral("Name")).trimmed();
    for (const QString &name : written)
        if (std::count_if(names.cbegin(), names.cend(),
                          [&name](const QString &n) { return n.compare(name, Qt::CaseInsensitive) == 0; })
            > 1)
            throw UserRuleError(QStringLiteral("Der Benutzername „%1“ ist bereits vergeben.").arg(name)
                                + nothingStored);
    if (administratorsBefore > 0 && administrators() == 0)
        throw UserRuleError(QStringLiteral("Der letzte Benutzer mit dem Recht zur Benutzerverwaltung kann weder "
                                           "gelöscht werden noch dieses Recht verlieren.")
                            + nothingStored);
    t.commit();
}
