#include "DatabaseConfig.h"

#include "Errors.h"
#include "IniFile.h"
#include "Settings.h"

#include <QUrl>

DatabaseConfig DatabaseConfig::sqlite(const QString &dataDir)
{
    DatabaseConfig c;
    c.dataDir = dataDir;
    return c;
}

QString DatabaseConfig::describe() const
{
    if (!isServer())
        return dataDir + QStringLiteral("/orvella.db");
    QString s = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        s += user + QLatin1Char('@');
    s += host.isEmpty() ? QStringLiteral("localhost") : host;
    if (port > 0)
        s += QLatin1Char(':') + QString::number(port);
    return s + QLatin1Char('/') + name;
}

std::optional<DatabaseConfig> ParseDatabaseUrl(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")))
        return std::nullopt;
    DatabaseConfig c;
    c.engine = DatabaseEngine::PostgreSQL;
    c.host = url.host();
    c.port = url.port(0);
    c.user = url.userName();
    c.name = url.path().mid(1);
    if (c.name.isEmpty() || c.name.contains(QLatin1Char('/')) || c.port < 0 || !url.password().isEmpty())
        return std::nullopt;
    return c;
}

namespace {

DatabaseEngine g_engine = DatabaseEngine::SQLite;

DatabaseConfig fromUrl(const QString &url, const QString &where)
{
    if (const std::optional<DatabaseConfig> c = ParseDatabaseUrl(url))
        return *c;
    throw OrvellaError(QStringLiteral("Die Datenbankangabe \"%1\" (%2) kann nicht gelesen werden.\n"
                                      "Erwartet wird postgresql://benutzer@server:port/datenbank; das "
                                      "Kennwort gehört in ~/.pgpass.")
                           .arg(url, where));
}

} // namespace

DatabaseConfig ChooseDatabase(const QStringList &arguments, const QString &exeDir, const QString &dataDir)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--database") && i + 1 < arguments.size())
            return fromUrl(arguments.at(i + 1), QStringLiteral("--database"));
        if (a.startsWith(QLatin1String("--database=")))
            return fromUrl(a.mid(int(qstrlen("--database="))), QStringLiteral("--database"));
    }
    const QString fromEnvironment = qEnvironmentVariable("ORVELLA_DATABASE");
    if (!fromEnvironment.trimmed().isEmpty())
        return fromUrl(fromEnvironment, QStringLiteral("ORVELLA_DATABASE"));
    const IniFile ini(OrbelIniPath(exeDir));
    const QString section = QStringLiteral("Datenbank");
    const QString server = ini.readString(section, QStringLiteral("Server")).trimmed();
    const QString name = ini.readString(section, QStringLiteral("Name")).trimmed();
    if (!server.isEmpty() || !name.isEmpty()) {
        DatabaseConfig c;
        c.engine = DatabaseEngine::PostgreSQL;
        c.host = server;
        c.port = ini.readInteger(section, QStringLiteral("Port"), 0);
        c.name = name.isEmpty() ? QStringLiteral("orvella") : name;
        c.user = ini.readString(section, QStringLiteral("Benutzer")).trimmed();
        return c;
    }
    return DatabaseConfig::sqlite(dataDir);
}

DatabaseEngine CurrentSqlEngine()
{
    return g_engine;
}

void SetCurrentSqlEngine(DatabaseEngine engine)
{
    g_engine = engine;
}
