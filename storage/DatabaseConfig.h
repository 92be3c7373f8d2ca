#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Which data set the program works on. One machine keeps it in the SQLite file
// data/orvella.db of the home folder; several workstations share one PostgreSQL
// database. The password of a server is never stored here: PostgreSQL's own
// clients' rules apply (~/.pgpass, or the environment variable PGPASSWORD).
enum class DatabaseEngine { SQLite, PostgreSQL };

struct DatabaseConfig
{
    DatabaseEngine engine = DatabaseEngine::SQLite;
    QString dataDir;     // SQLite: the folder that holds orvella.db
    QString host;        // PostgreSQL: empty = the local socket
    int port = 0;        // 0 = the client's default (5432)
    QString name;        // database name
    QString user;        // empty = the client's default (the login name)
    QString schema;      // a schema of its own inside the database; empty = the default

    static DatabaseConfig sqlite(const QString &dataDir);
    bool isServer() const { return engine == DatabaseEngine::PostgreSQL; }
    // How messages name the data set: the file, or "postgresql://user@host:port/name".
    QString describe() const;
};

// "postgresql://user@host:port/name" (also "postgres://"); user, host and port
// may be left out. No value for anything else.
std::optional<DatabaseConfig> ParseDatabaseUrl(const QString &url);

// The data set of this start, in this order: "--database URL" (or
// "--database=URL") on the command line, the environment variable
// ORVELLA_DATABASE, the section "Datenbank" of Orbel.ini (keys Server, Port,
// Name, Benutzer), else the SQLite file in dataDir. Throws OrvellaError with a
// German message for an address that cannot be read.
DatabaseConfig ChooseDatabase(const QStringList &arguments, const QString &exeDir, const QString &dataDir);

// The engine whose SQL the statements of this process are written for; set when a
// data set is opened. Only the SQL helpers of core look at it (SqlLike writes
// ILIKE for PostgreSQL, whose LIKE tells upper from lower case).
DatabaseEngine CurrentSqlEngine();
void SetCurrentSqlEngine(DatabaseEngine engine);
