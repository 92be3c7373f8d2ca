#pragma once

#include "BackupManifest.h"
#include "RestoreUsers.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

class BackupProgress;
class DataSetCopier;

// Where a task runs: the home folder (with its data folder and settings files),
// the moment that names the backup, and how free space is measured.
struct BackupContext
{
    QString exeDir;
    QDateTime now = QDateTime::currentDateTime();
    // Bytes that may still be written below a path.
    std::function<qint64(const QString &path)> freeSpace = DiskSpace;

    static qint64 DiskSpace(const QString &path);
};

// A period of invoice and credit-note dates, both days included.
struct InvoicePeriod
{
    QDate from;
    QDate to;
};

// The tasks of the backup window. Each runs on the thread that calls it (the
// window runs them on a worker), reports to progress and ends with
// BackupCancelled when stopped. A backup is written into a hidden folder below
// target and gets its name only when it is complete, so a backup that is
// cancelled or fails leaves nothing behind. Failures throw OrvellaError with a
// German message.

// The data set, the pictures of the data folder and the settings files of the
// home folder into a new folder G<yyMMdd><n>. Returns the folder.
QString RunFullBackup(const BackupContext &context, DataSetCopier &copier, const QString &target,
                      BackupProgress &progress);

// Every invoice and credit note (of the period when one is given) with all rows
// that belong to it, into an archive file in a new folder R<yyMMdd><n>.
QString RunInvoiceArchive(const BackupContext &context, DataSetCopier &copier, const QString &target,
                          const std::optional<InvoicePeriod> &period, BackupProgress &progress);

// What a full backup holds, after its copy passed the integrity check and
// matched its manifest; with the rows the live data set has now.
struct BackupCheck
{
    BackupManifest manifest;
    QMap<QString, qint64> liveRows;
    // Some user of the backup may administer users and has a password.
    bool usersGuarded = false;
    // A backup of an older version: only its row counts could be checked.
    bool withoutChecksums = false;
};
BackupCheck CheckBackup(const BackupContext &context, DataSetCopier &copier, const QString &folder,
                        BackupProgress &progress);

// What a backup holds: its date and program version, and for the main tables
// the rows it holds against the rows there are now.
QString BackupSummary(const BackupCheck &check);
// The question before a restore: the summary and what happens to the data set.
QString RestoreQuestion(const BackupCheck &check);

// Checks the backup again, keeps the live data set as
// "orvella.db.vor-Wiederherstellung-<date>-<time>" in the data folder, replaces
// its content by the backup's and does the same for the pictures and settings
// files. With keepUsers the restored data set gets these users and rights
// instead of the backup's, in the same change. Returns the file that keeps the
// previous data set.
QString RunRestore(const BackupContext &context, DataSetCopier &copier, const QString &folder,
                   BackupProgress &progress, const std::optional<RestoreUsers::Users> &keepUsers = std::nullopt);

// The settings files of the home folder that a full backup holds.
QStringList BackupSettingsFiles();

// Removes the folders that backups left unfinished in target when they were
// killed (their name tells them from finished ones; one whose writer still runs
// stays). Returns the names of the folders removed.
QStringList RemoveUnfinishedBackups(const QString &target, const QDateTime &now = QDateTime::currentDateTime());
