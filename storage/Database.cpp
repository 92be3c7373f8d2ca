#include "Database.h"

#include "Errors.h"
#include "FileModes.h"
#include "Schema.h"

#include <QDir>
#include <QCoreApplication>
#include <QSysInfo>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <cstring>

namespace {

// Key of a "d.M.yyyy" / "dd.MM.yyyy" text as yyyymmdd, or -1 when it is no date.
int dmyKey(const unsigned char *s, int n)
{
    int part[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int p = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned char c = s[i];
        if (c >= '0' && c <= '9') {
            if (++digits[p] > 4)
                return -1;
            part[p] = part[p] * 10 + (c - '0');
        } else if (c == '.') {
            if (++p > 2)
                return -1;
        } else {
            return -1;
        }
    }
    if (p != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 || digits[2] != 4)
        return -1;
    if (part[1] < 1 || part[1] > 12 || part[0] < 1 || part[0] > 31)
        return -1;
    return part[2] * 10000 + part[1] * 100 + part[0];
}

int byteCompare(const void *a, int na, const void *b, int nb)
{
    const int r = std::memcmp(a, b, std::size_t(std::min(na, nb)));
    if (r != 0)
        return r;
    return na < nb ? -1 : (na > nb ? 1 : 0);
}

int dmyCollate(void *, int na, const void *a, int nb, const void *b)
{
    const int ka = dmyKey(static_cast<const unsigned char *>(a), na);
    const int kb = dmyKey(static_cast<const unsigned char *>(b), nb);
    if (ka != kb)
        return ka < kb ? -1 : 1;
    return byteCompare(a, na, b, nb);
}

quint32 bigEndian32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | quint32(u[3]);
}

QString damagedMessage(const QString &file, bool atOpen)
{
    return QStringLiteral("Der Datenbestand \"%1\" ist beschädigt.\n%2Bitte spielen Sie die letzte "
                          "Datensicherung zurück oder wenden Sie sich an Ihren Betreuer.")
        .arg(file, atOpen ? QStringLiteral("Er wurde nicht verändert. ")
                          : QStringLiteral("Der Befehl wurde abgebrochen. "));
}

// A data set of a later version: this program would not know its tables.
DataSetError newerVersion(const QString &path, int version)
{
    return DataSetError(QStringLiteral("Der Datenbestand \"%1\" stammt von einer neueren Orvella-Version (Stand %2, "
                                       "dieses Programm kennt Stand %3).\nBitte installieren Sie die neuere Version. "
                                       "Der Datenbestand wurde nicht verändert.")
                            .arg(path)
                            .arg(version)
                            .arg(Schema::Version));
}

} // namespace

int CompareDmy(const QByteArray &a, const QByteArray &b)
{
    const int r = dmyCollate(nullptr, int(a.size()), a.constData(), int(b.size()), b.constData());
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

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
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = connection();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_depth = 0;
}

void Database::checkHeader() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataSetError(QStringLiteral("Der Datenbestand \"%1\" kann nicht gelesen werden: %2")
                               .arg(m_path, file.errorString()));
    const QByteArray header = file.read(100);
    const QByteArray magic("SQLite format 3\0", 16);
    if (header.size() < 100 || !header.startsWith(magic)
        || bigEndian32(header.constData() + 68) != Schema::ApplicationId)
        throw DataSetError(QStringLiteral("Die Datei \"%1\" ist kein Orvella-Datenbestand.\n"
                                          "Sie wurde nicht verändert.")
                               .arg(m_path));
}

void Database::connect(const QString &path, bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open()) {
        const QString why = db.lastError().text();
        close();
        throw DataSetError(QStringLiteral("Der Datenbestand \"%1\" kann nicht geöffnet werden: %2").arg(path, why));
    }
    registerCollations();
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

void Database::openFile(const QString &dataDir)
{
    m_dataDir = dataDir;
    QDir dir(dataDir);
    if (!dir.exists() && !QDir().mkpath(dataDir))
        throw DataSetError(QStringLiteral("Der Datenordner \"%1\" kann nicht angelegt werden.").arg(dataDir));
    m_path = dir.filePath(QLatin1String(FileName));
    m_createdNow = !QFileInfo::exists(m_path);
    if (m_createdNow) {
        // Built under another name and renamed when complete, so an interrupted
        // first start never leaves a half-made data set behind.
        const QString building = m_path + QStringLiteral(".neu");
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(building + QLatin1String(suffix));
        KeepPrivate(dataDir);
        connect(building);
        // The engine gives its journal files the data set's own mode.
        KeepPrivate(building);
        try {
            createDataSet();
        } catch (const OrvellaError &e) {
            close();
            QFile::remove(building);
            throw DataSetError(QStringLiteral("Der Datenbestand \"%1\" kann nicht angelegt werden: %2")
                                   .arg(m_path, e.message()));
        }
        close();
        if (!QFile::rename(building, m_path)) {
            QFile::remove(building);
            throw DataSetError(QStringLiteral("Der Datenbestand \"%1\" kann nicht angelegt werden.").arg(m_path));
        }
    } else {
        checkHeader();
        checkReadable();
    }
    connect(m_path);
    KeepPrivate(m_path);
    if (!m_createdNow) {
        const int version = schemaVersion();
        if (version < Schema::Version)
            upgrade(version);
    }
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Fresh statistics let the engine pick the index plans the lists rely on
    // (walking names in order and stopping after the first hundred). Sampling keeps
    // this in the order of milliseconds even for large data sets.
    exec(QStringLiteral("PRAGMA analysis_limit=1000"));
    exec(QStringLiteral("ANALYZE"));
}

// --- PostgreSQL -------------------------------------------------------------------

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

void Database::openExisting(const QString &filePath, bool readOnly)
{
    close();
    m_config = DatabaseConfig::sqlite(QFileInfo(filePath).absolutePath());
    m_lost = false;
    m_path = filePath;
    m_dataDir = QFileInfo(filePath).absolutePath();
    m_createdNow = false;
    if (!QFileInfo(filePath).isFile())
        throw DataSetError(QStringLiteral("Der Datenbestand \"%1\" ist nicht vorhanden.").arg(filePath));
    checkHeader();
    connect(m_path, readOnly);
}

void Database::checkReadable()
{
    // Nothing is written to a data set before it is known to be a whole Orvella
    // data set of a version this program knows: the checks run on a connection
    // that cannot write.
    connect(m_path, true);
    try {
        const int version = schemaVersion();
        if (version > Schema::Version)
            throw newerVersion(m_path, version);
        QSqlQuery q(connection());
        if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")) || !q.next())
            fail(q.lastError(), QStringLiteral("PRAGMA quick_check"));
        const QString result = q.value(0).toString();
        if (result != QLatin1String("ok"))
            throw DatabaseError(damagedMessage(m_path, true), result, QStringLiteral("PRAGMA quick_check"));
    } catch (const DatabaseError &e) {
        close();
        // at opening, every failure means the data set cannot be used as it is
        const bool damaged = e.message().startsWith(damagedMessage(m_path, false).section(QLatin1Char('\n'), 0, 0));
        throw DataSetError(damaged ? damagedMessage(m_path, true) + QStringLiteral("\n\nMeldung der Datenbank: ")
                                         + e.engineMessage()
                                   : e.message());
    } catch (...) {
        close();
        throw;
    }
    close();
}

void Database::setBusyTimeout(int milliseconds)
{
    exec(m_config.isServer() ? QStringLiteral("SET lock_timeout = %1").arg(milliseconds)
                             : QStringLiteral("PRAGMA busy_timeout=%1").arg(milliseconds));
}

namespace {

enum class Failure { Damaged, Full, Locked, ReadOnly, Unreachable, Lost, Duplicate, Other };

Failure sqliteFailure(const QSqlError &error)
{
    bool isCode = false;
    const int code = error.nativeErrorCode().toInt(&isCode);
    switch (isCode ? code & 0xff : -1) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Failure::Damaged;
    case SQLITE_FULL: return Failure::Full;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Failure::Locked;
    case SQLITE_READONLY:
    case SQLITE_PERM: return Failure::ReadOnly;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: return Failure::Unreachable;
    case SQLITE_CONSTRAINT:
        return error.databaseText().contains(QLatin1String("UNIQUE")) ? Failure::Duplicate : Failure::Other;
    default: return Failure::Other;
    }
}

// PostgreSQL names its failures by SQLSTATE.
Failure serverFailure(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    if (error.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08"))
        || state.startsWith(QLatin1String("57P")) || (state.isEmpty() && error.type() != QSqlError::NoError))
        return Failure::Lost;
    if (state == QLatin1String("23505"))
        return Failure::Duplicate;
    if (state == QLatin1String("53100"))
        return Failure::Full;
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001"))
        return Failure::Locked;
    if (state == QLatin1String("42501") || state == QLatin1String("25006"))
        return Failure::ReadOnly;
    if (state.startsWith(QLatin1String("XX")))
        return Failure::Damaged;
    return Failure::Other;
}

} // namespace

void Database::fail(const QSqlError &error, const QString &statement) const
{
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const QString file = m_path.isEmpty() ? m_dataDir : m_path;
    const Failure failure = m_config.isServer() ? serverFailure(error) : sqliteFailure(error);
    switch (failure) {
    case Failure::Damaged:
        throw DatabaseError(damagedMessage(file, false), engine, statement);
    case Failure::Full:
        throw DatabaseError(QStringLiteral("Auf dem Datenträger des Datenbestands \"%1\" ist kein Platz mehr.\n"
                                           "Es wurde nichts gespeichert. Bitte schaffen Sie Platz (nicht mehr "
                                           "benötigte Dateien löschen oder verschieben) und wiederholen Sie den "
                                           "Befehl.")
                                .arg(file),
                            engine, statement);
    case Failure::Locked:
        throw DatabaseError(QStringLiteral("Der Datenbestand \"%1\" ist von einem anderen Programm oder einem "
                                           "anderen Arbeitsplatz gesperrt.\nEs wurde nichts gespeichert. Bitte "
                                           "warten Sie einen Moment oder beenden Sie das andere Programm und "
                                           "wiederholen Sie dann den Befehl.")
                                .arg(file),
                            engine, statement);
    case Failure::ReadOnly:
        throw DatabaseError(QStringLiteral("Der Datenbestand \"%1\" darf nicht beschrieben werden.\nEs wurde "
                                           "nichts gespeichert. Bitte prüfen Sie die Zugriffsrechte %2.")
                                .arg(file, m_config.isServer() ? QStringLiteral("des Datenbankbenutzers")
                                                               : QStringLiteral("der Datei und ihres Ordners")),
                            engine, statement);
    case Failure::Unreachable:
        throw DatabaseError(QStringLiteral("Der Datenbestand \"%1\" kann nicht gelesen oder geschrieben werden.\n"
                                           "Es wurde nichts gespeichert. Bitte prüfen Sie, ob der Datenträger "
                                           "erreichbar ist, und wiederholen Sie den Befehl.")
                                .arg(file),
                            engine, statement);
    case Failure::Lost:
        // The server rolled back what was open; the next command connects again.
        m_lost = true;
        throw DatabaseError(QStringLiteral("Die Verbindung zum Datenbankserver \"%1\" ist unterbrochen.\nDer "
                                           "Befehl wurde abgebrochen, es wurde nichts halb gespeichert. Bitte "
                                           "prüfen Sie das Netz und wiederholen Sie den Befehl; die Verbindung "
                                           "wird dabei neu aufgebaut.")
                                .arg(file),
                            engine, statement);
    case Failure::Duplicate:
        throw DuplicateNumberError(QStringLiteral("Die Nummer wurde inzwischen an einem anderen Arbeitsplatz "
                                                  "vergeben.\nEs wurde nichts gespeichert. Bitte speichern Sie "
                                                  "noch einmal; dabei wird eine neue Nummer gezogen."),
                                   engine, statement);
    case Failure::Other:
        break;
    }
    throw DatabaseError(engine, statement);
}

void Database::registerCollations()
{
    const QVariant handle = connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DataSetError(QStringLiteral("Der Datenbanktreiber liefert keinen SQLite-Zugang."));
    sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
    if (!h || sqlite3_create_collation(h, "DMY", SQLITE_UTF8, nullptr, dmyCollate) != SQLITE_OK)
        throw DataSetError(QStringLiteral("Die Datumssortierung kann nicht eingerichtet werden."));
}

void Database::createDataSet()
{
    begin();
    try {
        for (const QString &s : Schema::createStatements(DatabaseEngine::SQLite))
            exec(s);
        for (const QString &s : Schema::seedStatements())
            exec(s);
        exec(QStringLiteral("PRAGMA application_id=%1").arg(Schema::ApplicationId));
        exec(QStringLiteral("PRAGMA user_version=%1").arg(Schema::Version));
        commit();
    } catch (...) {
        rollback();
        throw;
    }
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
