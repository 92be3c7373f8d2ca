#pragma once

#include "SqlQuery.h"
#include "TestEnv.h"

#include <QStringList>

// The rows of a query, the fields of each read back as the program reads them
// and joined by "/".
inline QStringList allRows(TestEnv &env, const QString &sql)
{
    SqlQuery q(env.db());
    QStringList out;
    for (q.open(sql); !q.eof(); q.next()) {
        QStringList fields;
        for (int i = 0; i < q.fieldCount(); ++i)
            fields << q.fieldAt(i);
        out << fields.join(QLatin1Char('/'));
    }
    return out;
}
