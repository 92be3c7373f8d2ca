#pragma once

#include "AppState.h"
#include "Database.h"
#include "ScriptedDialogs.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh Orvella home folder with its own data set, settings folders and
// scripted dialogs. Nothing of the real user's files is touched.
//
// The engine comes from the environment variable ORVELLA_TEST_DATABASE: unset or
// "sqlite" gives the SQLite file of the home folder; "postgresql" (the server of
// the PG* variables, as pg_virtualenv sets them) or a postgresql:// address gives
// a schema of its own in that database, dropped again at the end.
class TestEnv
{
public:
    // Creates the home folder and, when withDatabase, opens a new data set.
    explicit TestEnv(bool withDatabase = true);
    ~TestEnv();

    // The data set this environment uses (for a second connection or a child process).
    const DatabaseConfig &databaseConfig() const { return m_config; }
    // Opens the same data set again, after db().close().
    void reopen() { m_db->open(m_config); }

    QString home() const;     // with trailing "/"
    QString dataDir() const;
    QString path(const QString &relative) const;

    Database &db() { return *m_db; }
    ScriptedDialogs &dialogs() { return m_dialogs; }
    AppState &state() { return *m_state; }

    // Runs a statement and returns the first column of every row as text.
    QStringList column(const QString &sql);
    // The first field of the first row as text (empty when there is none).
    QString scalar(const QString &sql);
    void exec(const QString &sql);

private:
    QTemporaryDir m_dir;
    DatabaseConfig m_config;
    QString m_home;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<AppState> m_state;
};

// The engine the tests run on (see TestEnv), and a data set of it: the SQLite file
// in dataDir, or a fresh schema on the server.
bool TestsOnServer();
DatabaseConfig TestDatabaseConfig(const QString &dataDir);
// Skips the running test when it concerns the other engine only.
#define ORVELLA_SQLITE_ONLY() \
    do { \
        if (TestsOnServer()) \
            QSKIP("concerns the SQLite file only"); \
    } while (false)
#define ORVELLA_SERVER_ONLY() \
    do { \
        if (!TestsOnServer()) \
            QSKIP("concerns the database server only"); \
    } while (false)

// Points user and system settings at folders below dir (call before any QSettings use
// in a test that does not use TestEnv).
void RedirectSettings(const QString &dir);
