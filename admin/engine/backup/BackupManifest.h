#pragma once

#include "BackupRules.h"

#include <QDateTime>
#include <QMap>
#include <QString>

// The small table of contents every backup folder carries: what kind of backup
// it is, when and by which program version it was written, the schema version of
// the copy, and the rows of every table it holds. A restore compares the copy
// with it before anything is replaced.
struct BackupManifest
{
    static constexpr const char *FileName = "Sicherung.ini";

    BackupRules::Kind kind = BackupRules::Kind::Full;
    QDateTime created;
    QString programVersion;
    int schemaVersion = 0;
    // The copy of the data set (full backup) or the archive file, inside the folder.
    QString dataFile;
    // Archive only: "01.01.2003 - 31.12.2003" or "gesamter Rechnungsbestand".
    QString period;
    QMap<QString, qint64> rows;
    // The SHA-256 of every file of the backup (hexadecimal), by its path inside
    // the folder ("Images/logo.bmp"); empty in backups of older versions.
    QMap<QString, QString> checksums;

    // The checksums of every file below folder but the manifest itself.
    static QMap<QString, QString> checksumsOf(const QString &folder);
    // The first file whose content no longer matches its checksum, or that is
    // missing; empty when all match.
    QString changedFile(const QString &folder) const;

    // Writes the manifest into folder as a whole; throws OrvellaError.
    void write(const QString &folder) const;
    // Reads the manifest of a folder. Throws OrvellaError with a German message
    // when the folder holds none or it is incomplete.
    static BackupManifest read(const QString &folder);
    // "Gesamter Datenbestand" or "Rechnungen und Gutschriften".
    static QString kindText(BackupRules::Kind kind);
};
