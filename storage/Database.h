#pragma once

#include "DatabaseConfig.h"
#include "Errors.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <functional>

// The connection to one Orvella data set: the SQLite file of one machine or a
// PostgreSQL database that several workstations share. Everything that depends on
// the engine (connection, session settings, collation, the schema's DDL, the
// schema version, transactions, the engine's error codes) stays behind this class
// and Schema: no window or store knows which engine it talks to.
class Database
{
public:
    static constexpr const char *FileName = "orvella.db";

    explicit Database(QString connectionName = QStringLiteral("orvella"));
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the data set; creates a complete one with seed rows when there is none
    // (the SQLite file and its folder, or the tables in an empty server database).
    // A file or database that is not an Orvella data set, or one written by a newer
    // version, is refused with DataSetError and left untouched.
    void open(const DatabaseConfig &config);
    // The SQLite file orvella.db in dataDir.
    void open(const QString &dataDir);
    // The same data set again (after close()).
    void reopen() { open(m_config); }
    // A further connection to a data set file that exists already: a worker
    // thread's own connection to the open data set, or a copy to be checked. The
    // file must carry an Orvella header; its content is neither checked, created
    // nor upgraded. A read-only connection cannot change the file.
    void openExisting(const QString &filePath, bool readOnly);
    void close();
    bool isOpen() const;

    QSqlDatabase connection() const;
    const DatabaseConfig &config() const { return m_config; }
    bool isServer() const { return m_config.isServer(); }
    // The SQLite file, or the server address as messages name it.
    QString filePath() const { return m_path; }
    QString dataDir() const { return m_dataDir; }
    bool createdNow() const { return m_createdNow; }

    // Runs one statement that returns no rows; throws DatabaseError.
    void exec(const QString &sql);
    int schemaVersion();

    // Throws the DatabaseError for a statement the engine refused. Failures a user
    // can act on (a damaged file, a full disk, a data set locked by another
    // program, no write permission) get a German message naming the file and
    // saying what to do; the engine's text follows as a detail line.
    [[noreturn]] void fail(const QSqlError &error, const QString &statement) const;
    // How long a statement waits for another program's lock before it fails.
    void setBusyTimeout(int milliseconds);

    // Used by Transaction: nested calls become savepoints.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // Before a statement: a server connection that was lost is made again (the
    // command that met the loss was abandoned; the next one starts afresh).
    void ensureConnected();
    // The server connection broke at the last statement.
    bool connectionLost() const { return m_lost; }
    // Statements sent to the engine since the data set was opened (benchmarks).
    quint64 statementsSent() const { return m_statementsSent; }
    void countStatement() { ++m_statementsSent; }
    // Tests: runs right after a commit reached the engine, where a connection that
    // breaks leaves the outcome unknown to the program.
    void setAfterCommit(std::function<void()> hook) { m_afterCommit = std::move(hook); }

private:
    quint64 m_statementsSent = 0;
    void openFile(const QString &dataDir);
    void openServer();
    void connect(const QString &path, bool readOnly = false);
    void connectServer();
    void startSession();
    void checkHeader() const;
    // Fresh statistics for the planner (sampled, milliseconds even for large data sets).
    void analyze();
    // fullCheck: every page is read (PRAGMA quick_check); without it only the
    // version is checked.
    void checkReadable(bool fullCheck);
    void createDataSet();
    void createServerDataSet();
    void upgrade(int fromVersion);
    void registerCollations();
    // An upgrade statement that adds a column the table has already.
    bool columnPresent(const QString &statement);
    void setVersion(int version);

    QString m_connectionName;
    DatabaseConfig m_config;
    mutable bool m_lost = false;
    QString m_path;
    QString m_dataDir;
    bool m_createdNow = false;
    // A session that writes the data set itself (not a copy): its clean close
    // leaves statistics and the mark that spares the next start the full check.
    bool m_dataSetSession = false;
    int m_depth = 0;
    std::function<void()> m_afterCommit;
};

// A number that identifies a row (a document, a contact) was stored meanwhile by
// another workstation: the save can draw a fresh number and try again.
class DuplicateNumberError : public DatabaseError
{
public:
    using DatabaseError::DatabaseError;
};

// The name a server session of this program gives itself: "Orvella", the data
// set's schema, the workstation and the process ("Orvella public büro-3 4711").
// SessionPrefix is the part that all sessions of one data set share.
QString SessionPrefix(const DatabaseConfig &config);
QString SessionName(const DatabaseConfig &config);

// Orders "dd.MM.yyyy" texts by calendar date; other texts come first, byte-wise.
// Exposed for tests; the connection registers it as collation DMY.
int CompareDmy(const QByteArray &a, const QByteArray &b);
