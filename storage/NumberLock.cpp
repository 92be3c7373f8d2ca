#include "NumberLock.h"

#include "Database.h"
#include "Formats.h"
#include "SqlLiterals.h"

void LockNumbers(Database &db, const QString &kind)
{
    if (db.config().isServer())
        db.exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('orvella.") + SqlQuote(kind)
                + QStringLiteral("'))"));
}
