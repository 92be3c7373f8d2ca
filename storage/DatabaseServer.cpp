#include "Database.h"

#include "DatabaseFailures.h"
#include "Errors.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

// The PostgreSQL database that several workstations share: the connection and
// its session settings, the data set built in an empty database, and a
// connection made again after it was lost.

using DatabaseFailures::newerVersion;

void Database::connectServer()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    if (!m_config.host.isEmpty())
        db.setHostName(m_config.host);
    if (m_config.port > 0)
        db.setPort(m_config.port);
    db.setDatabaseName(m_config.name);
    if (!m_config.user.isEmpty())
        db.setUserName(m_config.user);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open()) {
        const QString why = db.lastError().text();
        close();
        throw DataSetError(QStringLiteral("Der Datenbankserver \"%1\" ist nicht erreichbar oder lässt die "
                                          "Anmeldung nicht zu.\nBitte prüfen Sie Server, Port, Datenbank und "
                                          "Benutzer (Orbel.ini, Abschnitt Datenbank) und das Kennwort in "
                                          "~/.pgpass.\n\nMeldung der Datenbank: %2")
                               .arg(m_path, why));
    }
    startSession();
}

static QString quotedIdentifier(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString SessionPrefix(const DatabaseConfig &config)
{
    return QStringLiteral("Orvella %1 ").arg(config.schema.isEmpty() ? QStringLiteral("public") : config.schema);
}

QString SessionName(const DatabaseConfig &config)
{
    // the server keeps 63 bytes of it
    return SessionPrefix(config) + QSysInfo::machineHostName().left(24) + QLatin1Char(' ')
           + QString::number(QCoreApplication::applicationPid());
}

void Database::startSession()
{
    // Statements write dates as "dd.MM.yyyy": day before month on input. The server
    // answers in ISO form, the only one the driver turns into dates; reading them
    // gives "dd.MM.yyyy" again.
    exec(QStringLiteral("SET DateStyle TO 'ISO, DMY'"));
    exec(QStringLiteral("SET client_min_messages TO warning"));
    // Names the workstation to the server, so that a restore can tell who else
    // works in the data set.
    exec(QStringLiteral("SET application_name TO '%1'").arg(SessionName(m_config).replace(QLatin1Char('\''), QLatin1String("''"))));
    // The trigram extension's schema comes last: its operator classes are found
    // there, and nothing of the data set is ever made in it.
    if (!m_config.schema.isEmpty()) {
        exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(quotedIdentifier(m_config.schema)));
        exec(QStringLiteral("SET search_path TO %1, public, %2")
                 .arg(quotedIdentifier(m_config.schema), Schema::ExtensionSchema));
    } else {
        exec(QStringLiteral("SET search_path TO \"$user\", public, %1").arg(Schema::ExtensionSchema));
    }
}

void Database::openServer()
{
    m_dataDir.clear();
    m_path = m_config.describe();
    connectServer();
    try {
        QSqlQuery q(connection());
        if (!q.exec(QStringLiteral("SELECT to_regclass('orvella_info') IS NOT NULL, "
                                   "(SELECT COUNT(*) FROM information_schema.tables "
                                   "WHERE table_schema = current_schema())"))
            || !q.next())
            fail(q.lastError(), q.lastQuery());
        const bool ours = q.value(0).toBool();
        const qint64 tables = q.value(1).toLongLong();
        q.finish();
        if (!ours && tables > 0)
            throw DataSetError(QStringLiteral("Die Datenbank \"%1\" enthält Tabellen, ist aber kein "
                                              "Orvella-Datenbestand.\nSie wurde nicht verändert.")
                                   .arg(m_path));
        if (!ours) {
            createServerDataSet();
        } else {
            const int version = schemaVersion();
            if (version > Schema::Version)
                throw newerVersion(m_path, version);
            if (version < Schema::Version)
                upgrade(version);
        }
    } catch (...) {
        close();
        throw;
    }
}

void Database::createServerDataSet()
{
    begin();
    try {
        // Two workstations starting on the same empty database: one builds the data
        // set, the other waits here and then finds it complete.
        exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(Schema::ApplicationId));
        QSqlQuery q(connection());
        if (!q.exec(QStringLiteral("SELECT to_regclass('orvella_info') IS NOT NULL")) || !q.next())
            fail(q.lastError(), q.lastQuery());
        const bool built = q.value(0).toBool();
        q.finish();
        if (!built) {
            for (const QString &st : Schema::createStatements(DatabaseEngine::PostgreSQL))
                exec(st);
            for (const QString &st : Schema::seedStatements())
                exec(st);
            exec(QStringLiteral("CREATE TABLE orvella_info (key TEXT PRIMARY KEY, value TEXT)"));
            exec(QStringLiteral("INSERT INTO orvella_info (key, value) VALUES ('application_id', '%1'), "
                                "('version', '%2')")
                     .arg(Schema::ApplicationId)
                     .arg(Schema::Version));
            m_createdNow = true;
        }
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void Database::ensureConnected()
{
    if (!m_lost || !m_config.isServer())
        return;
    {
        QSqlDatabase db = connection();
        db.close();
        m_depth = 0; // the server rolled back whatever was open
        if (!db.open())
            fail(db.lastError(), QString());
    }
    m_lost = false;
    startSession();
}
