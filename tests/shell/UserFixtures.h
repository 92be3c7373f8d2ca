#pragma once

#include "PasswordHash.h"
#include "TestEnv.h"

#include <QHash>
#include <QString>

// An Argon2id hash of the password, made once per test program: hashing is slow on
// purpose, and the tests need the same few passwords again and again.
inline QString CachedHash(const QString &password)
{
    static QHash<QString, QString> made;
    auto it = made.find(password);
    if (it == made.end())
        it = made.insert(password, PasswordHash::make(password));
    return *it;
}

// A user as the tables hold it. perms gives the Perm text of the rows IDP 1..16,
// one character each; a blank leaves that row out.
inline void AddUser(TestEnv &env, qint64 idu, const QString &name, const QString &hash, const QString &perms)
{
    env.exec(QStringLiteral("INSERT INTO usr (IDU, Name, Pass, Besch) VALUES (%1, '%2', '%3', '')")
                 .arg(idu)
                 .arg(QString(name).replace(QLatin1Char('\''), QLatin1String("''")), hash));
    for (int n = 1; n <= perms.size(); ++n)
        if (perms.at(n - 1) != QLatin1Char(' '))
            env.exec(QStringLiteral("INSERT INTO permission (IDU, IDP, Perm) VALUES (%1, %2, '%3')")
                         .arg(idu)
                         .arg(n)
                         .arg(perms.at(n - 1)));
}

// The users of the log-in and user-window tests:
// 1 "Administrator", password "geheim", every permission;
// 2 "anna", the old MD5 hash of "anna1", flag 3 stored as "j", no row for 16,
//   and rows with IDP 0 and 17 that grant nothing;
// 3 "O'Brien", password "x", projects only;
// 4 "kwp", whose password is the text "!!!!!kwp4418";
// 5 "leer", password "leer", without any permission row.
inline void AddTestUsers(TestEnv &env)
{
    AddUser(env, 1, QStringLiteral("Administrator"), CachedHash(QStringLiteral("geheim")),
            QStringLiteral("JJJJJJJJJJJJJJJJ"));
    AddUser(env, 2, QStringLiteral("anna"), QStringLiteral("f4e44d42fe74c7bd3486419a5032e5d9"),
            QStringLiteral("JNjNJJNNNNNNNNJ "));
    env.exec("INSERT INTO permission (IDU, IDP, Perm) VALUES (2, 0, 'J')");
    env.exec("INSERT INTO permission (IDU, IDP, Perm) VALUES (2, 17, 'J')");
    AddUser(env, 3, QStringLiteral("O'Brien"), CachedHash(QStringLiteral("x")),
            QStringLiteral("NNNNJJNNNNNNNNNN"));
    AddUser(env, 4, QStringLiteral("kwp"), CachedHash(QStringLiteral("!!!!!kwp4418")),
            QStringLiteral("JJJJJJJJJJJJJJJJ"));
    AddUser(env, 5, QStringLiteral("leer"), CachedHash(QStringLiteral("leer")), QString());
}

// The flags as a text of sixteen "1"/"0", flag 1 first.
template <typename Flags>
QString FlagText(const Flags &flags)
{
    QString out;
    for (int n = 1; n <= 16; ++n)
        out += flags[std::size_t(n)] ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}
