#pragma once

#include "PasswordHash.h"
#include "TestEnv.h"

#include <QHash>
#include <QString>

#include <array>

// An Argon2id hash made once per test program: hashing is slow on purpose.
inline QString CachedHash(const QString &password)
{
    static QHash<QString, QString> made;
    if (!made.contains(password))
        made.insert(password, PasswordHash::make(password));
    return made.value(password);
}

// A user as the tables hold it: perms gives the Perm of the rows IDP 1..16, a blank leaves a row out.
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

// 1 "Administrator", password "geheim", every permission; 2 "anna", an older data
// set's MD5 hash (in capitals) of "Grüße€" in the Windows code page, flag 3 stored
// as "j", no row for 16, rows with IDP 0 and 17; 3 "O'Brien", password "x", projects
// only; 4 "kwp", password "!!!!!kwp4418"; 5 "leer", password "leer", no permission rows.
inline void AddTestUsers(TestEnv &env)
{
    AddUser(env, 1, "Administrator", CachedHash("geheim"), "JJJJJJJJJJJJJJJJ");
    AddUser(env, 2, "anna", "D665ECA0E7E9505F46A47CD1EA81074F", "JNjNJJNNNNNNNNJ ");
    env.exec("INSERT INTO permission (IDU, IDP, Perm) VALUES (2, 0, 'J'), (2, 17, 'J')");
    AddUser(env, 3, "O'Brien", CachedHash("x"), "NNNNJJNNNNNNNNNN");
    AddUser(env, 4, "kwp", CachedHash("!!!!!kwp4418"), "JJJJJJJJJJJJJJJJ");
    AddUser(env, 5, "leer", CachedHash("leer"), QString());
}

// Sixteen "1"/"0", flag 1 first.
inline QString FlagText(const std::array<bool, 17> &flags)
{
    QString out;
    for (int n = 1; n <= 16; ++n)
        out += flags[std::size_t(n)] ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}
