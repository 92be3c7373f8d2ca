#pragma once

#include "AppState.h"
#include "Database.h"
#include "ScriptedDialogs.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh Orvella home folder with its own data set, settings folders and
// scripted dialogs. Nothing of the real user's files is touched.
class TestEnv
{
public:
    // Creates the home folder and, when withDatabase, opens a new data set.
    explicit TestEnv(bool withDatabase = true);
    ~TestEnv();

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
    QString m_home;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<AppState> m_state;
};

// Points user and system settings at folders below dir (call before any QSettings use
// in a test that does not use TestEnv).
void RedirectSettings(const QString &dir);
