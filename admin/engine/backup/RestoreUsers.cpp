#include "RestoreUsers.h"

#include "PasswordHash.h"
#include "SqlQuery.h"
#include "SqlText.h"

namespace RestoreUsers {
namespace {

QString sqlNumber(const QString &text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? QString::number(n) : QStringLiteral("NULL");
}

} // namespace

Users fromRows(const QList<QStringList> &usr, const QList<QStringList> &permission)
{
    Users out;
    for (const QStringList &r : usr)
        out.users << Users::User{r.value(0), r.value(1), r.value(2), r.value(3)};
    for (const QStringList &r : permission)
        out.permissions << Users::Permission{r.value(0), r.value(1), r.value(2)};
    return out;
}

Users read(Database &db)
{
    SqlQuery q(db);
    QList<QStringList> usr, permission;
    for (q.open(QStringLiteral("SELECT IDU, Name, Pass, Besch FROM usr ORDER BY IDU")); !q.eof(); q.next())
        usr << QStringList{q.field(QStringLiteral("IDU")), q.field(QStringLiteral("Name")), q.field(QStringLiteral("Pass")),
                           q.field(QStringLiteral("Besch"))};
    for (q.open(QStringLiteral("SELECT IDU, IDP, Perm FROM permission ORDER BY IDU, IDP")); !q.eof(); q.next())
        permission << QStringList{q.field(QStringLiteral("IDU")), q.field(QStringLiteral("IDP")),
                                  q.field(QStringLiteral("Perm"))};
    return fromRows(usr, permission);
}

bool guarded(const Users &users)
{
    constexpr int Administer = 14;
    for (const Users::User &u : users.users) {
        if (u.pass.isEmpty() || PasswordHash::verify(QString(), u.pass))
            continue;
        for (const Users::Permission &p : users.permissions)
            if (p.idu.trimmed() == u.idu.trimmed() && p.idp.trimmed().toInt() == Administer && p.perm == u"J")
                return true;
    }
    return false;
}

QStringList replaceStatements(const Users &users)
{
    QStringList out = {QStringLiteral("DELETE FROM permission"), QStringLiteral("DELETE FROM usr")};
    for (const Users::User &u : users.users)
        out << QStringLiteral("INSERT INTO usr (IDU, Name, Pass, Besch) VALUES (%1, %2, %3, %4)")
                   .arg(sqlNumber(u.idu), SqlText(u.name), SqlText(u.pass), SqlText(u.besch));
    for (const Users::Permission &p : users.permissions)
        out << QStringLiteral("INSERT INTO permission (IDU, IDP, Perm) VALUES (%1, %2, %3)")
                   .arg(sqlNumber(p.idu), sqlNumber(p.idp), SqlText(p.perm));
    return out;
}

QString question()
{
    return QStringLiteral("Die Datensicherung enthält keinen Benutzer mit Passwort, der Benutzer verwalten darf. "
                          "Zurückgespielt wäre die Anmeldung ohne Schutz.\n\nDie jetzigen Benutzer und ihre Rechte "
                          "werden deshalb in den zurückgespielten Datenbestand übernommen.\n\nMit den jetzigen "
                          "Benutzern zurückspielen?");
}

} // namespace RestoreUsers
