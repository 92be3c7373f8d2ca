#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The connection to one Orvella data set. Everything that depends on the engine
// (file name, pragmas, collation, the schema's DDL) stays behind this class and
// Schema, so a server engine can be added later without touching a window.
class Database
{
public:
    static constexpr const char *FileName = "orvella.db";

    explicit Database(QString connectionName = QStringLiteral("orvella"));
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens orvella.db in dataDir; creates the folder and a complete data set with
    // seed rows when there is none. A file that is not an Orvella data set, or one
    // written by a newer version, is refused with DataSetError and left untouched.
    void open(const QString &dataDir);
    // A further connection to a data set file that exists already: a worker
    // thread's own connection to the open data set, or a copy to be checked. The
    // file must carry an Orvella header; its content is neither checked, created
    // nor upgraded. A read-only connection cannot change the file.
    void openExisting(const QString &filePath, bool readOnly);
    void close();
    bool isOpen() const;

    QSqlDatabase connection() const;
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

private:
    void connect(const QString &path, bool readOnly = false);
    void checkHeader() const;
    void checkReadable();
    void createDataSet();
    void upgrade(int fromVersion);
    void registerCollations();

    QString m_connectionName;
    QString m_path;
    QString m_dataDir;
    bool m_createdNow = false;
    int m_depth = 0;
};

// Orders "dd.MM.yyyy" texts by calendar date; other texts come first, byte-wise.
// Exposed for tests; the connection registers it as collation DMY.
int CompareDmy(const QByteArray &a, const QByteArray &b);
