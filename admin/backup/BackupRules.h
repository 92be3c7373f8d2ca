#pragma once

#include <QDate>
#include <QString>

#include <utility>

// The rules of the backup window that need no widget.
namespace BackupRules {

// The full backup of the data set and the archive of invoices and credit notes.
enum class Kind { Full, InvoiceArchive };

// Backups of one day are numbered from 1 up to this; earlier ones are never overwritten.
constexpr int MaxSerial = 10000;

// Name of a backup folder: "G" (full) or "R" (archive), the day as yyMMdd and the
// serial number, for example "G0312241" for the first full backup on 24.12.2003.
QString folderName(Kind kind, const QDate &day, int serial);

// The period the archive offers at first: the previous calendar year while today
// lies in January to March, else the current one.
std::pair<QDate, QDate> defaultPeriod(const QDate &today);

// The remembered folder's key in Orbel.ini, section Backup.
QString pathKey(Kind kind);

// "12,3 MB" for messages about space.
QString sizeText(qint64 bytes);

} // namespace BackupRules
