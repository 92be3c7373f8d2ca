#include "TestEnv.h"

#include "HomeDir.h"
#include "SqlQuery.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QtTest>

void RedirectSettings(const QString &dir)
{
    QDir().mkpath(dir + QStringLiteral("/user"));
    QDir().mkpath(dir + QStringLiteral("/system"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir + QStringLiteral("/user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, dir + QStringLiteral("/system"));
    SetMachineSettingsFileForTests(dir + QStringLiteral("/system/Halvard/Orbel.conf"));
    qputenv("XDG_CONFIG_HOME", (dir + QStringLiteral("/user")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", (dir + QStringLiteral("/system")).toUtf8());
}

bool TestsOnServer()
{
    const QString choice = qEnvironmentVariable("ORVELLA_TEST_DATABASE").trimmed();
    return !choice.isEmpty() && choice != QLatin1String("sqlite");
}

DatabaseConfig TestDatabaseConfig(const QString &dataDir)
{
    if (!TestsOnServer())
        return DatabaseConfig::sqlite(dataDir);
    const QString choice = qEnvironmentVariable("ORVELLA_TEST_DATABASE").trimmed();
    DatabaseConfig c;
    if (const std::optional<DatabaseConfig> url = ParseDatabaseUrl(choice)) {
        c = *url;
    } else {
        // The server of the PG* variables; libpq reads host, port, user and password itself.
        c.engine = DatabaseEngine::PostgreSQL;
        c.name = qEnvironmentVariable("PGDATABASE", QStringLiteral("postgres"));
    }
    // A helper process started by a test works in the schema of that test.
    c.schema = qEnvironmentVariable("ORVELLA_TEST_SCHEMA");
    static int serial = 0;
    if (c.schema.isEmpty())
        c.schema = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    return c;
}

TestEnv::TestEnv(bool withDatabase)
{
    if (!m_dir.isValid())
        qFatal("no temporary folder");
    RedirectSettings(m_dir.filePath(QStringLiteral("config")));
    m_home = PrepareHomeDir(m_dir.filePath(QStringLiteral("home")));
    m_db = std::make_unique<Database>(QStringLiteral("test-%1").arg(quintptr(this)));
    m_config = TestDatabaseConfig(DataDirOf(m_home));
    if (withDatabase)
        m_db->open(m_config);
    m_state = std::make_unique<AppState>(*m_db, m_dialogs, m_home);
}

TestEnv::~TestEnv()
{
    m_state.reset();
    if (m_config.isServer() && !m_config.schema.isEmpty()) {
        // the schema goes with the test; a failure here leaves only a stray schema
        try {
            if (!m_db->isOpen())
                m_db->open(m_config);
            m_db->exec(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(m_config.schema));
        } catch (...) {
        }
    }
    m_db.reset();
}

QString TestEnv::home() const
{
    return m_home;
}

QString TestEnv::dataDir() const
{
    return DataDirOf(m_home);
}

QString TestEnv::path(const QString &relative) const
{
    return QDir(m_home).filePath(relative);
}

QStringList TestEnv::column(const QString &sql)
{
    SqlQuery q(*m_db);
    q.open(sql);
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.fieldAt(0);
    return out;
}

QString TestEnv::scalar(const QString &sql)
{
    const QStringList c = column(sql);
    return c.isEmpty() ? QString() : c.first();
}

void TestEnv::exec(const QString &sql)
{
    SqlQuery q(*m_db);
    q.execSql(sql);
}
