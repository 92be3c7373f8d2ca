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
#include <QTemporaryDir>
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
        throw OrvellaError(failure + QStringLiteral("\n\nMeldung des Systems: ") + p.errorString());
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

// The rows of the COPY block in a script of pg_restore, the named columns only.
QList<QStringList> copyRows(const QString &script, const QStringList &columns)
{
    QList<QStringList> rows;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(QLatin1String("COPY ")))
            continue;
        const QString names = lines[i].section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
        QStringList present;
        for (const QString &n : names.split(QLatin1Char(',')))
            present << n.trimmed().remove(QLatin1Char('"')).toLower();
        for (++i; i < lines.size() && lines[i] != QLatin1String("\\."); ++i) {
            const QStringList fields = lines[i].split(QLatin1Char('\t'));
            QStringList row;
            for (const QString &c : columns) {
                const QString f = fields.value(int(present.indexOf(c.toLower())));
                if (f == QLatin1String("\\N")) {
                    row << QString();
                    continue;
                }
                QString value;
                for (int k = 0; k < f.size(); ++k) {
                    if (f[k] != QLatin1Char('\\') || k + 1 == f.size()) {
                        value += f[k];
                        continue;
                    }
                    const QChar e = f[++k];
                    value += e == u'n' ? QChar(u'\n') : e == u't' ? QChar(u'\t') : e == u'r' ? QChar(u'\r') : e;
                }
                row << value;
            }
            rows << row;
        }
    }
    return rows;
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

    QList<QStringList> rowsOf(const QString &file, const QString &table, const QStringList &columns,
                              BackupProgress &progress) override
    {
        // The table's data as pg_restore writes them: a COPY block of tab-separated
        // lines, \N for NULL, backslash escapes.
        QByteArray script;
        runTool(QStringLiteral("pg_restore"),
                QStringList{QStringLiteral("--data-only"), QStringLiteral("--table=") + table.toLower(),
                            QStringLiteral("--file=-"), file},
                progress, QStringLiteral("Die Datensicherung \"%1\" kann nicht gelesen werden.").arg(file),
                [&script](const QByteArray &line) { script += line; });
        return copyRows(QString::fromUtf8(script), columns);
    }

    void restoreFrom(const QString &file, BackupProgress &progress, const QStringList &alsoRun) override
    {
        if (!alsoRun.isEmpty()) {
            restoreWith(file, progress, alsoRun);
            return;
        }
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

    QStringList otherUsers() override
    {
        Database db(TaskConnectionName("restore-sessions"));
        db.open(m_config);
        QSqlQuery q(db.connection());
        const QString prefix = SessionPrefix(m_config);
        const QString sql = QStringLiteral("SELECT application_name, COALESCE(host(client_addr), '') FROM "
                                           "pg_stat_activity WHERE datname = current_database() AND "
                                           "left(application_name, %1) = '%2' AND application_name <> '%3' "
                                           "ORDER BY application_name")
                                .arg(prefix.size())
                                .arg(QString(prefix).replace(QLatin1Char('\''), QLatin1String("''")),
                                     SessionName(m_config).replace(QLatin1Char('\''), QLatin1String("''")));
        if (!q.exec(sql))
            db.fail(q.lastError(), sql);
        QStringList out;
        while (q.next()) {
            // "Orvella <schema> <workstation> <process>": the workstation and where it connects from
            const QString workstation = q.value(0).toString().mid(prefix.size()).section(QLatin1Char(' '), 0, -2);
            const QString address = q.value(1).toString();
            const QString shown = address.isEmpty() ? workstation : QStringLiteral("%1 (%2)").arg(workstation, address);
            if (!out.contains(shown))
                out << shown;
        }
        return out;
    }

    void beginSnapshot(Database &reader) override
    {
        reader.open(m_config);
        reader.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        // The moment seen is taken at the first read.
        reader.exec(QStringLiteral("SELECT 1"));
    }

private:
    // The copy as a script, run by psql in one transaction together with the
    // statements, on the data set's own schema.
    void restoreWith(const QString &file, BackupProgress &progress, const QStringList &alsoRun)
    {
        QTemporaryDir dir;
        if (!dir.isValid())
            throw OrvellaError(QStringLiteral("Für das Zurückspielen kann kein vorläufiges Verzeichnis angelegt werden."));
        const QString script = dir.filePath(QStringLiteral("wiederherstellung.sql"));
        const QString extra = dir.filePath(QStringLiteral("benutzer.sql"));
        const QString failure = QStringLiteral("Die Datensicherung \"%1\" konnte nicht zurückgespielt werden. Der "
                                               "Datenbestand ist unverändert.")
                                    .arg(file);
        runTool(QStringLiteral("pg_restore"),
                QStringList{QStringLiteral("--clean"), QStringLiteral("--if-exists"), QStringLiteral("--no-owner"),
                            QStringLiteral("--file=") + script, file},
                progress, failure);
        QFile statements(extra);
        if (!statements.open(QIODevice::WriteOnly))
            throw OrvellaError(failure + QStringLiteral("\n\nMeldung des Systems: ") + statements.errorString());
        statements.write(QStringLiteral("SET search_path TO \"%1\";\n").arg(schemaOf(m_config)).toUtf8());
        for (const QString &s : alsoRun)
            statements.write((s + QStringLiteral(";\n")).toUtf8());
        statements.close();
        runTool(QStringLiteral("psql"),
                QStringList{QStringLiteral("--single-transaction"), QStringLiteral("--no-psqlrc"), QStringLiteral("--quiet"),
                            QStringLiteral("--set=ON_ERROR_STOP=1"), QStringLiteral("--file=") + script,
                            QStringLiteral("--file=") + extra}
                    + connectionArguments(m_config),
                progress, failure);
        Database reopened(TaskConnectionName("restore-upgrade"));
        reopened.open(m_config);
        reopened.close();
    }

    DatabaseConfig m_config;
};

} // namespace

std::unique_ptr<DataSetCopier> MakePgDataSetCopier(const DatabaseConfig &config)
{
    return std::make_unique<PgDataSetCopier>(config);
}
