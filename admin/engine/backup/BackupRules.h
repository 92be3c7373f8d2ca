#pragma once

#include <QDate>
#include <QString>

class AppState;

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

// Who may copy and replace data. A backup holds everything of its kind: the user
// who administers users (right 14) may make one, and so may a user who may read
// all its data anyway: a full backup needs the rights to read persons (1), their
// extended data with the bank accounts (3), projects (5), invoices, credit notes
// and dunning letters (7) and the open items (15); the archive of invoices and
// credit notes needs 7 and 15. Restoring a backup replaces everything, users and
// rights among it, and needs right 14. With the log-in off every right is held.
bool mayCreate(Kind kind, const AppState &state);
bool mayRestore(const AppState &state);
// "Keine Berechtigung": the message of a command the user may not run.
inline const QString NoPermission = QStringLiteral("Keine Berechtigung");

} // namespace BackupRules
