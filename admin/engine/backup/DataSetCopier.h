#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class BackupProgress;
class Database;

// What a check of a copy found: its schema version and the rows of every table.
struct CopyFacts
{
    int schemaVersion = 0;
    QMap<QString, qint64> rows;
};

// Everything a backup does that depends on the database engine: a consistent
// copy of the live data set while others keep writing, the check of a copy, the
// restore of a copy, and a reader that sees the live data set as it stood at one
// moment. Each call opens the connections it needs on the calling thread, so the
// tasks run on their worker thread without sharing the window's connection.
class DataSetCopier
{
public:
    virtual ~DataSetCopier() = default;

    // File name of the copy inside a backup folder.
    virtual QString copyFileName() const = 0;
    // About how many bytes a copy of the live data set takes.
    virtual qint64 copySize() const = 0;

    // Writes a consistent copy of the live data set into file (which must not exist).
    virtual void copyTo(const QString &file, BackupProgress &progress) = 0;
    // Checks a copy completely and counts its rows. Throws OrvellaError with a
    // German message when the copy is damaged, not a data set, or too new.
    virtual CopyFacts check(const QString &file, BackupProgress &progress) = 0;
    // Rows per table of the live data set.
    virtual QMap<QString, qint64> liveRows(BackupProgress &progress) = 0;
    // Who else has the live data set open (other programs on this machine, other
    // workstations), as a restore names them; empty when nobody.
    virtual QStringList otherUsers() = 0;
    // The rows of a table of a copy: the named columns as text, empty for NULL;
    // none when the copy has no such rows.
    virtual QList<QStringList> rowsOf(const QString &file, const QString &table, const QStringList &columns,
                                      BackupProgress &progress) = 0;
    // Replaces the whole content of the live data set by the copy as one change:
    // other connections see either the old or the new content. The copy must have
    // passed check(). alsoRun are statements run on the restored content within
    // the same change (the copy itself stays as it is).
    virtual void restoreFrom(const QString &file, BackupProgress &progress, const QStringList &alsoRun = {}) = 0;

    // Opens reader on the live data set and starts a read that sees one moment of
    // it until endSnapshot, whatever others write meanwhile.
    virtual void beginSnapshot(Database &reader) = 0;
    // Ends the read and closes reader; the same on every engine.
    void endSnapshot(Database &reader);
};

// The copier for the data set that db has open.
std::unique_ptr<DataSetCopier> MakeDataSetCopier(const Database &db);

// Rows per table of the tables that tablesSql lists (one name a row), counted on db.
QMap<QString, qint64> CountTableRows(Database &db, const QString &tablesSql, BackupProgress &progress);

// A connection name nobody else uses, for the connections of a task.
QString TaskConnectionName(const char *role);
