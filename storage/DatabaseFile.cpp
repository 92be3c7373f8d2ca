#include "Database.h"

#include "CleanClose.h"
#include "DatabaseFailures.h"
#include "Errors.h"
#include "FileModes.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

// The SQLite file of one machine: its header, its creation under a temporary
// name, the checks before anything is written to it, and the date collation.

using DatabaseFailures::damagedMessage;
using DatabaseFailures::newerVersion;

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

} // namespace

int CompareDmy(const QByteArray &a, const QByteArray &b)
{
    const int r = dmyCollate(nullptr, int(a.size()), a.constData(), int(b.size()), b.constData());
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
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
    }
    // A data set exactly as this program left it at a clean close needs no
    // check of every page, nor fresh statistics: the close took them. The mark
    // goes at once, so a session that ends without a clean close leaves none.
    const bool asLeft = !m_createdNow && ClosedCleanlyAsItIs(m_path);
    QFile::remove(CleanCloseMark(m_path));
    if (!m_createdNow) {
        checkHeader();
        checkReadable(!asLeft);
    }
    connect(m_path);
    m_dataSetSession = true;
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
    if (!asLeft)
        analyze();
}

void Database::analyze()
{
    exec(QStringLiteral("PRAGMA analysis_limit=1000"));
    exec(QStringLiteral("ANALYZE"));
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

void Database::checkReadable(bool fullCheck)
{
    // Nothing is written to a data set before it is known to be a whole Orvella
    // data set of a version this program knows: the checks run on a connection
    // that cannot write.
    connect(m_path, true);
    try {
        const int version = schemaVersion();
        if (version > Schema::Version)
            throw newerVersion(m_path, version);
        if (!fullCheck) {
            close();
            return;
        }
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
