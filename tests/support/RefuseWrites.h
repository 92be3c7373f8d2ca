#pragma once

#include "TestEnv.h"

// Makes every statement of a kind ("INSERT", "UPDATE", "DELETE") on a table fail
// with the given text, on either engine: the way tests make a save fail half-way.
inline void RefuseWrites(TestEnv &env, const QString &name, const QString &statement, const QString &table,
                         const QString &text)
{
    if (TestsOnServer()) {
        env.exec(QStringLiteral("CREATE OR REPLACE FUNCTION %1_fails() RETURNS trigger LANGUAGE plpgsql AS "
                                "$$ BEGIN RAISE EXCEPTION '%2'; END $$")
                     .arg(name, text));
        env.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1_fails()")
                     .arg(name, statement, table));
    } else {
        env.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, '%4'); END")
                     .arg(name, statement, table, text));
    }
}

// Ends RefuseWrites.
inline void AllowWrites(TestEnv &env, const QString &name, const QString &table)
{
    env.exec(TestsOnServer() ? QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table)
                             : QStringLiteral("DROP TRIGGER %1").arg(name));
}
