// The embedded engine's side of backup and restore: SQLite's online backup,
// which copies the pages of one moment of the data set while other connections
// keep writing, and its integrity check.
#include "BackupProgress.h"
#include "DataSetCopier.h"
#include "Database.h"
#include "Errors.h"
#include "PgDataSetCopier.h"
#include "Schema.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Pages copied per step (8 MB at the usual page size): a few milliseconds each,
// so a stop or pause takes effect at once.
constexpr int PagesPerStep = 2048;
// How long a copy waits for a lock held by another program before it gives up.
constexpr int LockWaitMs = 10000;
// Virtual-machine instructions between two looks at the stop flag during a check.
constexpr int InstructionsPerLook = 20000;

sqlite3 *handleOf(const Database &db)
{
    const QVariant handle = db.connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DataSetError(QStringLiteral("Der Datenbanktreiber liefert keinen SQLite-Zugang."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

QString engineText(sqlite3 *h, int rc)
{
    const char *message = h ? sqlite3_errmsg(h) : nullptr;
    return QString::fromUtf8(message && *message ? message : sqlite3_errstr(rc));
}

// A failure while writing: into the live data set (restore) the data set's own
// messages; into a backup folder messages that name the backup.
[[noreturn]] void writeFailure(const Database *live, const QString &target, int rc, const QString &engine)
{
    if (live)
        live->fail(QSqlError(QString(), engine, QSqlError::StatementError, QString::number(rc)),
                   QStringLiteral("Datensicherung zurückspielen"));
    switch (rc & 0xff) {
    case SQLITE_FULL:
        throw DatabaseError(QStringLiteral("Auf dem Datenträger der Datensicherung \"%1\" ist kein Platz mehr.\n"
                                           "Bitte wählen Sie ein anderes Verzeichnis oder schaffen Sie Platz.")
                                .arg(target),
                            engine, QString());
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        throw DatabaseError(QStringLiteral("Die Datensicherung \"%1\" kann nicht geschrieben werden.\nBitte prüfen "
                                           "Sie, ob das Verzeichnis erreichbar ist und beschrieben werden darf.")
                                .arg(target),
                            engine, QString());
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DatabaseError(QStringLiteral("Der Datenbestand ist von einem anderen Programm gesperrt.\nBitte "
                                           "warten Sie einen Moment und wiederholen Sie die Datensicherung."),
                            engine, QString());
    default:
        throw DatabaseError(engine, QString());
    }
}

[[noreturn]] void damagedCopy(const QString &file, const QString &engine)
{
    throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" ist beschädigt und kann nicht verwendet werden.\n\n"
                                      "Meldung der Datenbank: %2")
                           .arg(file, engine));
}

int lookAtControls(void *progress)
{
    return static_cast<BackupProgress *>(progress)->waitOrStop() ? 1 : 0;
}

// While it lives, long statements on the connection pause and stop with the task.
class WatchedStatements
{
public:
    WatchedStatements(sqlite3 *h, BackupProgress &progress) : m_h(h)
    {
        sqlite3_progress_handler(h, InstructionsPerLook, lookAtControls, &progress);
    }
    ~WatchedStatements() { sqlite3_progress_handler(m_h, 0, nullptr, nullptr); }
    WatchedStatements(const WatchedStatements &) = delete;
    WatchedStatements &operator=(const WatchedStatements &) = delete;

private:
    sqlite3 *m_h;
};

// A connection opened through the library itself, for the side of a copy that is
// no data set yet (a new backup) or must not be changed (the copy being restored).
class RawConnection
{
public:
    RawConnection(const QString &file, int flags)
    {
        m_rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &m_h, flags, nullptr);
    }
    ~RawConnection() { sqlite3_close_v2(m_h); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;
    int openResult() const { return m_rc; }
    sqlite3 *handle() const { return m_h; }
    int close()
    {
        const int rc = sqlite3_close(m_h);
        if (rc == SQLITE_OK)
            m_h = nullptr;
        return rc;
    }

private:
    sqlite3 *m_h = nullptr;
    int m_rc = SQLITE_OK;
};

// Copies every page of source into dest as one transaction of dest. A source
// connection inside a read transaction is copied as of that moment.
void copyPages(sqlite3 *dest, sqlite3 *source, BackupProgress &progress, const Database *live,
               const QString &target)
{
    sqlite3_backup *backup = sqlite3_backup_init(dest, "main", source, "main");
    if (!backup)
        writeFailure(live, target, sqlite3_extended_errcode(dest), engineText(dest, SQLITE_ERROR));
    try {
        int waited = 0;
        for (;;) {
            progress.checkpoint();
            const int rc = sqlite3_backup_step(backup, PagesPerStep);
            const int pages = sqlite3_backup_pagecount(backup);
            progress.setItems(pages);
            progress.advance(pages - sqlite3_backup_remaining(backup));
            if (rc == SQLITE_DONE)
                break;
            if (rc == SQLITE_OK) {
                waited = 0;
            } else if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < LockWaitMs) {
                QThread::msleep(20);
                waited += 20;
            } else {
                writeFailure(live, target, rc, QString::fromUtf8(sqlite3_errstr(rc)));
            }
        }
    } catch (...) {
        // before the end this rolls the destination back to what it was
        sqlite3_backup_finish(backup);
        throw;
    }
    const int rc = sqlite3_backup_finish(backup);
    if (rc != SQLITE_OK)
        writeFailure(live, target, rc, engineText(dest, rc));
}

void beginRead(Database &db)
{
    db.exec(QStringLiteral("BEGIN"));
    // the read transaction, and with it the moment seen, starts at the first read
    QSqlQuery q(db.connection());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !q.next())
        db.fail(q.lastError(), q.lastQuery());
}

QMap<QString, qint64> countRows(Database &db, BackupProgress &progress)
{
    // The substring indexes of the searches (suche_*) are derived from the
    // tables and rebuilt by an upgrade, so they are no rows of the user's.
    return CountTableRows(db,
                          QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' "
                                         "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                         "AND name NOT LIKE 'suche\\_%' ESCAPE '\\' ORDER BY name"),
                          progress);
}

class SqliteDataSetCopier : public DataSetCopier
{
public:
    explicit SqliteDataSetCopier(QString liveFile) : m_live(std::move(liveFile)) {}

    QString copyFileName() const override { return QString::fromLatin1(Database::FileName); }

    qint64 copySize() const override
    {
        return QFileInfo(m_live).size() + QFileInfo(m_live + QStringLiteral("-wal")).size();
    }

    void copyTo(const QString &file, BackupProgress &progress) override
    {
        Database source(TaskConnectionName("backup-source"));
        beginSnapshot(source);
        RawConnection dest(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (dest.openResult() != SQLITE_OK)
            writeFailure(nullptr, file, dest.openResult(), engineText(dest.handle(), dest.openResult()));
        copyPages(dest.handle(), handleOf(source), progress, nullptr, file);
        // The copy is a file of its own, without a write-ahead journal beside it,
        // so it can be read from a medium that cannot be written.
        char *message = nullptr;
        int rc = sqlite3_exec(dest.handle(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, &message);
        const QString why = QString::fromUtf8(message ? message : "");
        sqlite3_free(message);
        if (rc == SQLITE_OK)
            rc = dest.close();
        if (rc != SQLITE_OK)
            writeFailure(nullptr, file, rc, why.isEmpty() ? QString::fromUtf8(sqlite3_errstr(rc)) : why);
        endSnapshot(source);
    }

    CopyFacts check(const QString &file, BackupProgress &progress) override
    {
        Database copy(TaskConnectionName("backup-check"));
        copy.openExisting(file, true);
        WatchedStatements watched(handleOf(copy), progress);
        CopyFacts facts;
        try {
            facts.schemaVersion = copy.schemaVersion();
            if (facts.schemaVersion > Schema::Version)
                throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" stammt von einer neueren Orvella-Version "
                                                  "(Stand %2, dieses Programm kennt Stand %3).")
                                       .arg(file)
                                       .arg(facts.schemaVersion)
                                       .arg(Schema::Version));
            QSqlQuery q(copy.connection());
            q.setForwardOnly(true);
            if (!q.exec(QStringLiteral("PRAGMA integrity_check(20)"))) {
                if (progress.stopRequested())
                    throw BackupCancelled();
                damagedCopy(file, q.lastError().databaseText());
            }
            QStringList problems;
            while (q.next())
                problems << q.value(0).toString();
            if (progress.stopRequested())
                throw BackupCancelled();
            if (problems != QStringList{QStringLiteral("ok")})
                damagedCopy(file, problems.join(QLatin1Char('\n')));
            facts.rows = countRows(copy, progress);
        } catch (const DatabaseError &e) {
            if (progress.stopRequested())
                throw BackupCancelled();
            damagedCopy(file, e.engineMessage());
        }
        return facts;
    }

    QMap<QString, qint64> liveRows(BackupProgress &progress) override
    {
        Database reader(TaskConnectionName("backup-count"));
        beginSnapshot(reader);
        WatchedStatements watched(handleOf(reader), progress);
        auto rows = countRows(reader, progress);
        endSnapshot(reader);
        return rows;
    }

    QList<QStringList> rowsOf(const QString &file, const QString &table, const QStringList &columns,
                              BackupProgress &) override
    {
        Database copy(TaskConnectionName("backup-rows"));
        copy.openExisting(file, true);
        QSqlQuery q(copy.connection());
        q.setForwardOnly(true);
        const QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table);
        if (!q.exec(sql))
            copy.fail(q.lastError(), sql);
        QList<QStringList> rows;
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row << (q.value(i).isNull() ? QString() : q.value(i).toString());
            rows << row;
        }
        return rows;
    }

    void restoreFrom(const QString &file, BackupProgress &progress, const QStringList &alsoRun) override
    {
        if (!alsoRun.isEmpty()) {
            // The statements change a copy of the copy beside the data set, which
            // then replaces the data set as one change.
            const QString changed = m_live + QStringLiteral(".wiederherstellung");
            QFile::remove(changed);
            if (!QFile::copy(file, changed))
                throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" kann nicht in den Datenordner kopiert "
                                                  "werden.\nEs wurde nichts zurückgespielt.")
                                       .arg(file));
            try {
                {
                    Database target(TaskConnectionName("restore-prepare"));
                    target.openExisting(changed, false);
                    target.exec(QStringLiteral("BEGIN"));
                    for (const QString &s : alsoRun)
                        target.exec(s);
                    target.exec(QStringLiteral("COMMIT"));
                    target.close();
                }
                restoreFrom(changed, progress, {});
            } catch (...) {
                QFile::remove(changed);
                throw;
            }
            QFile::remove(changed);
            return;
        }
        RawConnection source(file, SQLITE_OPEN_READONLY);
        if (source.openResult() != SQLITE_OK)
            throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" kann nicht gelesen werden: %2")
                                   .arg(file, engineText(source.handle(), source.openResult())));
        Database live(TaskConnectionName("restore-target"));
        live.openExisting(m_live, false);
        copyPages(handleOf(live), source.handle(), progress, &live, m_live);
        live.close();
        // Opened once more as at a start of the program: an older copy is brought to
        // this program's schema version, and the engine's statistics are renewed.
        Database reopened(TaskConnectionName("restore-upgrade"));
        reopened.open(QFileInfo(m_live).absolutePath());
        reopened.close();
    }

    void beginSnapshot(Database &reader) override
    {
        reader.openExisting(m_live, true);
        beginRead(reader);
    }

    QStringList otherUsers() override
    {
        // Every connection to a data set in WAL mode holds a shared lock on one
        // byte of its -shm file as long as it is open; the system names a process
        // of another program that holds it (this program's own locks never count).
        const int fd = ::open(QFile::encodeName(m_live + QStringLiteral("-shm")).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return {};
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 128; // the "dead man switch" byte after the eight WAL lock bytes
        lock.l_len = 1;
        QStringList out;
        if (::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK) {
            QFile name(QStringLiteral("/proc/%1/comm").arg(lock.l_pid));
            const QString program = name.open(QIODevice::ReadOnly) ? QString::fromUtf8(name.readAll()).trimmed() : QString();
            out << (program.isEmpty() ? QStringLiteral("ein anderes Programm (Prozess %1)").arg(lock.l_pid)
                                      : QStringLiteral("das Programm \"%1\" (Prozess %2)").arg(program).arg(lock.l_pid));
        }
        ::close(fd);
        return out;
    }

private:
    QString m_live;
};

} // namespace

std::unique_ptr<DataSetCopier> MakeDataSetCopier(const Database &db)
{
    if (db.config().isServer())
        return MakePgDataSetCopier(db.config());
    return std::make_unique<SqliteDataSetCopier>(db.filePath());
}

void DataSetCopier::endSnapshot(Database &reader)
{
    if (reader.isOpen())
        reader.exec(QStringLiteral("COMMIT"));
    reader.close();
}

QMap<QString, qint64> CountTableRows(Database &db, const QString &tablesSql, BackupProgress &progress)
{
    QStringList tables;
    {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        if (!q.exec(tablesSql))
            db.fail(q.lastError(), tablesSql);
        while (q.next())
            tables << q.value(0).toString();
    }
    QMap<QString, qint64> rows;
    for (const QString &table : tables) {
        progress.checkpoint();
        QSqlQuery q(db.connection());
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table);
        if (!q.exec(sql) || !q.next()) {
            if (progress.stopRequested())
                throw BackupCancelled();
            db.fail(q.lastError(), sql);
        }
        rows.insert(table, q.value(0).toLongLong());
    }
    return rows;
}

QString TaskConnectionName(const char *role)
{
    static QAtomicInt counter;
    return QStringLiteral("%1-%2").arg(QLatin1String(role)).arg(counter.fetchAndAddRelaxed(1) + 1);
}
