// The server's side of backup and restore: PostgreSQL's own tools. pg_dump writes
// one moment of the data set in its custom format while other workstations keep
// writing; pg_restore reads such a copy back as one transaction. Both are found on
// the PATH and reach the server as the program does (the password from ~/.pgpass
// or PGPASSWORD, never asked for).
#include "PgDataSetCopier.h"

#include "BackupProgress.h"
#include "Database.h"
#include "Errors.h"
#include "Schema.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace {

// How often a running tool is looked at for a stop of the task.
constexpr int LookEveryMs = 50;

QString schemaOf(const DatabaseConfig &config)
{
    return config.schema.isEmpty() ? QStringLiteral("public") : config.schema;
}

QStringList connectionArguments(const DatabaseConfig &config)
{
    QStringList a;
    if (!config.host.isEmpty())
        a << QStringLiteral("--host") << config.host;
    if (config.port > 0)
        a << QStringLiteral("--port") << QString::number(config.port);
    if (!config.user.isEmpty())
        a << QStringLiteral("--username") << config.user;
    a << QStringLiteral("--no-password") << QStringLiteral("--dbname") << config.name;
    return a;
}

QString toolPath(const QString &tool)
{
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty())
        throw OrvellaError(QStringLiteral("Das Programm \"%1\" von PostgreSQL wurde nicht gefunden.\nFür die "
                                          "Datensicherung eines Datenbestands auf einem Server wird es benötigt "
                                          "(Debian-Paket postgresql-client).")
                               .arg(tool));
    return path;
}

// Runs a tool to its end, looking at the task's controls meanwhile; a stop ends
// the tool. Each line of its output goes to onLine as it comes.
void runTool(const QString &tool, const QStringList &arguments, BackupProgress &progress, const QString &failure,
             const std::function<void(const QByteArray &)> &onLine = {})
{
    QProcess p;
    p.start(toolPath(tool), arguments);
    if (!p.waitForStarted())
        throw OrvellaError(failure + QStringLiteral("\n\n") + p.errorString());
    QByteArray errors;
    const auto readLines = [&] {
        while (onLine && p.canReadLine())
            onLine(p.readLine());
        errors += p.readAllStandardError();
    };
    while (!p.waitForFinished(LookEveryMs)) {
        readLines();
        if (progress.stopRequested()) {
            p.kill();
            p.waitForFinished();
            throw BackupCancelled();
        }
        progress.checkpoint();
    }
    readLines();
    if (onLine && !p.atEnd())
        onLine(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw OrvellaError(failure + QStringLiteral("\n\nMeldung von %1: %2")
                                         .arg(tool, QString::fromLocal8Bit(errors).trimmed()));
}

// The version table is the server's bookkeeping (the file keeps its version in
// its header), so the rows of the user's tables are the same list on both engines.
const QLatin1String VersionTable("orvella_info");

QMap<QString, qint64> countRows(Database &db, BackupProgress &progress)
{
    return CountTableRows(db,
                          QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                         "current_schema() AND table_type = 'BASE TABLE' AND table_name <> '%1' "
                                         "ORDER BY table_name")
                              .arg(VersionTable),
                          progress);
}

class PgDataSetCopier : public DataSetCopier
{
public:
    explicit PgDataSetCopier(DatabaseConfig config) : m_config(std::move(config)) {}

    QString copyFileName() const override { return QStringLiteral("orvella.dump"); }

    qint64 copySize() const override
    {
        // The tables as they lie on the server; the compressed copy is smaller.
        Database db(TaskConnectionName("backup-size"));
        db.open(m_config);
        QSqlQuery q(db.connection());
        if (!q.exec(QStringLiteral("SELECT COALESCE(SUM(pg_total_relation_size(c.oid)), 0) FROM pg_class c "
                                   "JOIN pg_namespace n ON n.oid = c.relnamespace "
                                   "WHERE n.nspname = current_schema() AND c.relkind = 'r'"))
            || !q.next())
            db.fail(q.lastError(), q.lastQuery());
        return q.value(0).toLongLong();
    }

    void copyTo(const QString &file, BackupProgress &progress) override
    {
        runTool(QStringLiteral("pg_dump"),
                QStringList{QStringLiteral("--format=custom"), QStringLiteral("--no-owner"),
                            QStringLiteral("--schema=") + schemaOf(m_config), QStringLiteral("--file=") + file}
                    + connectionArguments(m_config),
                progress, QStringLiteral("Der Datenbestand konnte nicht nach \"%1\" gesichert werden.").arg(file));
    }

    CopyFacts check(const QString &file, BackupProgress &progress) override
    {
        if (!file.endsWith(QLatin1String(".dump")))
            throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" stammt von einem Datenbestand in einer "
                                              "Datei.\nAuf einen Datenbestand auf einem Server lässt sie sich nicht "
                                              "zurückspielen.")
                                   .arg(file));
        // Reading every row of the copy back is the check: a damaged archive stops
        // the tool with an error. The rows are counted per table on the way.
        static const QRegularExpression copyLine(QStringLiteral("^COPY (?:\"?[^.\" ]+\"?\\.)?\"?([^\" (]+)\"? "));
        CopyFacts facts;
        QString table;
        runTool(QStringLiteral("pg_restore"), {QStringLiteral("--data-only"), QStringLiteral("--file=-"), file},
                progress,
                QStringLiteral("Die Datensicherung \"%1\" ist beschädigt und kann nicht verwendet werden.").arg(file),
                [&](const QByteArray &raw) {
                    const QString line = QString::fromUtf8(raw).chopped(raw.endsWith('\n') ? 1 : 0);
                    if (table.isEmpty()) {
                        const QRegularExpressionMatch m = copyLine.match(line);
                        if (m.hasMatch()) {
                            table = m.captured(1);
                            if (table != VersionTable)
                                facts.rows.insert(table, 0);
                        }
                    } else if (line == QLatin1String("\\.")) {
                        table.clear();
                    } else if (table != VersionTable) {
                        facts.rows[table] += 1;
                    } else if (line.startsWith(QLatin1String("version\t"))) {
                        facts.schemaVersion = line.section(QLatin1Char('\t'), 1).toInt();
                    }
                });
        if (facts.schemaVersion == 0)
            throw OrvellaError(QStringLiteral("Die Datei \"%1\" ist keine Datensicherung eines Orvella-Datenbestands.")
                                   .arg(file));
        if (facts.schemaVersion > Schema::Version)
            throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" stammt von einer neueren Orvella-Version "
                                              "(Stand %2, dieses Programm kennt Stand %3).")
                                   .arg(file)
                                   .arg(facts.schemaVersion)
                                   .arg(Schema::Version));
        return facts;
    }

    QMap<QString, qint64> liveRows(BackupProgress &progress) override
    {
        Database reader(TaskConnectionName("backup-count"));
        beginSnapshot(reader);
        auto rows = countRows(reader, progress);
        endSnapshot(reader);
        return rows;
    }

    void restoreFrom(const QString &file, BackupProgress &progress) override
    {
        // One transaction: the other workstations see the old content or the new.
        runTool(QStringLiteral("pg_restore"),
                QStringList{QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                            QStringLiteral("--single-transaction"), QStringLiteral("--no-owner"),
                            QStringLiteral("--exit-on-error")}
                    + connectionArguments(m_config) + QStringList{file},
                progress,
                QStringLiteral("Die Datensicherung \"%1\" konnte nicht zurückgespielt werden. Der Datenbestand ist "
                               "unverändert.")
                    .arg(file));
        // Opened once more as at a start of the program: an older copy is brought to
        // this program's schema version.
        Database reopened(TaskConnectionName("restore-upgrade"));
        reopened.open(m_config);
        reopened.close();
    }

    void beginSnapshot(Database &reader) override
    {
        reader.open(m_config);
        reader.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        // The moment seen is taken at the first read.
        reader.exec(QStringLiteral("SELECT 1"));
    }

private:
    DatabaseConfig m_config;
};

} // namespace

std::unique_ptr<DataSetCopier> MakePgDataSetCopier(const DatabaseConfig &config)
{
    return std::make_unique<PgDataSetCopier>(config);
}
