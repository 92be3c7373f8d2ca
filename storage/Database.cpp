#include "Database.h"

#include "CleanClose.h"

#include "Schema.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

// What every engine shares: the connection's life, statements, transactions and
// the schema version with its upgrade steps. The file's and the server's own
// opening are in DatabaseFile.cpp and DatabaseServer.cpp.

Database::Database(QString connectionName) : m_connectionName(std::move(connectionName)) {}

Database::~Database()
{
    close();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && connection().isOpen();
}

void Database::close()
{
    // A session on the data set that ends with no transaction open takes fresh
    // statistics and marks the file as checked and closed cleanly.
    bool clean = m_dataSetSession && m_depth == 0 && QSqlDatabase::contains(m_connectionName);
    m_dataSetSession = false;
    if (clean) {
        try {
            analyze();
        } catch (...) { // close runs from destructors too: it must not throw
            clean = false;
        }
    }
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = connection();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_depth = 0;
    if (clean)
        MarkCleanClose(m_path);
}

void Database::open(const QString &dataDir)
{
    open(DatabaseConfig::sqlite(dataDir));
}

void Database::open(const DatabaseConfig &config)
{
    close();
    m_config = config;
    m_lost = false;
    m_createdNow = false;
    SetCurrentSqlEngine(config.engine);
    if (config.isServer())
        openServer();
    else
        openFile(config.dataDir);
}

void Database::setBusyTimeout(int milliseconds)
{
    exec(m_config.isServer() ? QStringLiteral("SET lock_timeout = %1").arg(milliseconds)
                             : QStringLiteral("PRAGMA busy_timeout=%1").arg(milliseconds));
}

void Database::upgrade(int fromVersion)
{
    for (int v = fromVersion + 1; v <= Schema::Version; ++v) {
        begin();
        try {
            for (const QString &s : Schema::upgradeStatements(v, m_config.engine))
                if (!columnPresent(s))
                    exec(s);
            setVersion(v);
            commit();
        } catch (...) {
            rollback();
            throw;
        }
    }
}

bool Database::columnPresent(const QString &statement)
{
    // A step may meet a data set that has its column already (one whose version
    // mark was set back). The server's statements say IF NOT EXISTS themselves;
    // SQLite knows no such clause, so the column is looked up first.
    static const QRegularExpression addColumn(QStringLiteral("^ALTER TABLE (\\w+) ADD COLUMN (\\w+) "),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = addColumn.match(statement);
    if (m_config.isServer() || !m.hasMatch())
        return false;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('%1') WHERE name = '%2' COLLATE NOCASE")
                            .arg(m.captured(1), m.captured(2));
    QSqlQuery q(connection());
    if (!q.exec(sql) || !q.next())
        fail(q.lastError(), sql);
    return q.value(0).toInt() > 0;
}

int Database::schemaVersion()
{
    const QString sql = m_config.isServer() ? QStringLiteral("SELECT value FROM orvella_info WHERE key = 'version'")
                                            : QStringLiteral("PRAGMA user_version");
    QSqlQuery q(connection());
    if (!q.exec(sql) || !q.next())
        fail(q.lastError(), sql);
    return q.value(0).toInt();
}

void Database::setVersion(int version)
{
    if (m_config.isServer())
        exec(QStringLiteral("UPDATE orvella_info SET value = '%1' WHERE key = 'version'").arg(version));
    else
        exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
}

void Database::exec(const QString &sql)
{
    ensureConnected();
    QSqlQuery q(connection());
    if (!q.exec(sql))
        fail(q.lastError(), sql);
}

void Database::begin()
{
    // SQLite takes the write lock at once, so two programs on one machine wait for
    // each other instead of failing half-way; the server locks row by row.
    const QString first = m_config.isServer() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    exec(m_depth == 0 ? first : QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Database::commit()
{
    if (m_depth <= 0)
        return;
    exec(m_depth == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE sp%1").arg(m_depth - 1));
    --m_depth;
    if (m_depth == 0 && m_afterCommit) {
        const std::function<void()> hook = m_afterCommit; // it may replace itself
        hook();
    }
}

void Database::rollback()
{
    if (m_depth <= 0)
        return;
    --m_depth;
    if (m_depth == 0) {
        exec(QStringLiteral("ROLLBACK"));
    } else {
        exec(QStringLiteral("ROLLBACK TO sp%1").arg(m_depth));
        exec(QStringLiteral("RELEASE sp%1").arg(m_depth));
    }
}
