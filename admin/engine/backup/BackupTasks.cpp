#include "BackupTasks.h"

#include "FileModes.h"

#include "BackupProgress.h"
#include "DataSetCopier.h"
#include "Database.h"
#include "Errors.h"
#include "HomeDir.h"
#include "InvoiceArchive.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QSysInfo>

#include <cerrno>
#include <signal.h>

using BackupRules::Kind;

namespace {

const QString KeepInfix = QStringLiteral(".vor-Wiederherstellung-");
// A kept copy while it is written; renamed to its kept name when whole.
const QString UnfinishedSuffix = QStringLiteral(".unvollstaendig");
// Backup folders while they are written, and the file in each that names the
// writing program (host and process), so a later backup can tell a dead one.
const QString PendingPrefix = QStringLiteral(".Sicherung-unvollstaendig-");
const QString WriterFile = QStringLiteral(".schreibt");
const QString ImagesFolder = QStringLiteral("Images");
// Room left beside a copy for the manifest and the file system's own needs.
constexpr qint64 SpareBytes = 1024 * 1024;

// A backup folder while it is written: hidden, and named as incomplete. It gets
// its real name only when everything is in it; until then, leaving the scope
// removes it with all it holds.
class PendingFolder
{
public:
    explicit PendingFolder(const QString &target)
        : m_target(QDir::cleanPath(target)), m_dir(QDir(m_target).filePath(PendingPrefix + QStringLiteral("XXXXXX")))
    {
        if (!QFileInfo(m_target).isDir())
            throw OrvellaError(QStringLiteral("Das Verzeichnis \"%1\" gibt es nicht.\nBitte wählen Sie ein "
                                              "anderes Verzeichnis. Es wurde nichts gesichert.")
                                   .arg(m_target));
        if (!m_dir.isValid())
            throw OrvellaError(QStringLiteral("In das Verzeichnis \"%1\" kann nicht geschrieben werden.\nBitte "
                                              "wählen Sie ein anderes Verzeichnis. Es wurde nichts gesichert.")
                                   .arg(m_target));
        QFile writer(m_dir.filePath(WriterFile));
        if (writer.open(QIODevice::WriteOnly))
            writer.write(QStringLiteral("%1\n%2\n").arg(QSysInfo::machineHostName()).arg(QCoreApplication::applicationPid()).toUtf8());
    }

    // Removes the writer's note once everything else is in the folder.
    void finishWriting() { QFile::remove(m_dir.filePath(WriterFile)); }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // The name the folder will most likely get (shown while it is written).
    QString expectedPath(Kind kind, const QDate &day) const
    {
        for (int serial = 1; serial <= BackupRules::MaxSerial; ++serial) {
            const QString p = QDir(m_target).filePath(BackupRules::folderName(kind, day, serial));
            if (!QFileInfo::exists(p))
                return p;
        }
        return m_target;
    }

    // Gives the folder the first name of the day that is free; another backup
    // finishing at the same moment takes the next one.
    QString complete(Kind kind, const QDate &day)
    {
        for (int serial = 1; serial <= BackupRules::MaxSerial; ++serial) {
            const QString p = QDir(m_target).filePath(BackupRules::folderName(kind, day, serial));
            if (QFileInfo::exists(p))
                continue;
            if (QDir().rename(m_dir.path(), p)) {
                m_dir.setAutoRemove(false);
                return p;
            }
            if (!QFileInfo::exists(p))
                throw OrvellaError(QStringLiteral("Die Datensicherung kann nicht als \"%1\" abgelegt werden.").arg(p));
        }
        throw OrvellaError(QStringLiteral("Im Verzeichnis \"%1\" liegen schon %2 Datensicherungen vom %3.\nBitte "
                                          "wählen Sie ein anderes Verzeichnis.")
                               .arg(m_target)
                               .arg(BackupRules::MaxSerial)
                               .arg(day.toString(QStringLiteral("dd.MM.yyyy"))));
    }

private:
    QString m_target;
    QTemporaryDir m_dir;
};

void requireSpace(const BackupContext &context, const QString &where, qint64 needed, const QString &nothingDone)
{
    const qint64 free = context.freeSpace(where);
    if (free >= 0 && free < needed)
        throw OrvellaError(QStringLiteral("Im Verzeichnis \"%1\" sind nur noch %2 frei, gebraucht werden etwa %3.\n"
                                          "Bitte wählen Sie ein anderes Verzeichnis oder schaffen Sie Platz. %4")
                               .arg(where, BackupRules::sizeText(free), BackupRules::sizeText(needed), nothingDone));
}

QFileInfoList filesIn(const QString &dir)
{
    return QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
}

qint64 totalSize(const QFileInfoList &files)
{
    qint64 sum = 0;
    for (const QFileInfo &f : files)
        sum += f.size();
    return sum;
}

void copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (source.copy(to))
        return;
    // German first; the system's own words only as the detail line.
    const QStorageInfo target(QFileInfo(to).absolutePath());
    const bool full = target.isValid() && target.bytesAvailable() < QFileInfo(from).size() + 4096;
    QFile::remove(to);
    throw OrvellaError(QStringLiteral("Die Datei \"%1\" kann nicht nach \"%2\" kopiert werden%3\n\nMeldung des "
                                      "Systems: %4")
                           .arg(from, to,
                                full ? QStringLiteral(": auf dem Datenträger ist kein Platz mehr. Bitte schaffen Sie "
                                                      "Platz oder wählen Sie ein anderes Verzeichnis.")
                                     : QStringLiteral("."),
                                source.errorString()));
}

void makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw OrvellaError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden.").arg(path));
}

QFileInfoList settingsFilesOf(const QString &folder)
{
    QFileInfoList files;
    for (const QString &name : BackupSettingsFiles()) {
        const QFileInfo f(QDir(folder).filePath(name));
        if (f.isFile())
            files << f;
    }
    return files;
}

// Reads the manifest of a full backup and checks its copy against it.
BackupManifest checkedBackup(DataSetCopier &copier, const QString &folder, BackupProgress &progress)
{
    progress.beginStep(QStringLiteral("Prüfe die Datensicherung in: ") + folder);
    const BackupManifest manifest = BackupManifest::read(folder);
    if (manifest.kind != Kind::Full)
        throw OrvellaError(QStringLiteral("Das Verzeichnis \"%1\" enthält ein Archiv der Rechnungen und "
                                          "Gutschriften.\nZurückspielen lässt sich nur eine Sicherung des gesamten "
                                          "Datenbestands.")
                               .arg(folder));
    const QString copy = QDir(folder).filePath(manifest.dataFile);
    if (!QFileInfo(copy).isFile())
        throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" fehlt.").arg(copy));
    // A file changed after the backup (its rows may still add up) is never restored.
    if (const QString changed = manifest.changedFile(folder); !changed.isEmpty())
        throw OrvellaError(QStringLiteral("Die Datei \"%1\" der Datensicherung wurde nach dem Sichern verändert, "
                                          "ist beschädigt oder fehlt: ihre Prüfsumme stimmt nicht.\nDie "
                                          "Datensicherung kann nicht zurückgespielt werden.")
                               .arg(QDir(folder).filePath(changed)));
    const CopyFacts facts = copier.check(copy, progress);
    if (facts.schemaVersion != manifest.schemaVersion || facts.rows != manifest.rows)
        throw OrvellaError(QStringLiteral("Die Datensicherung \"%1\" passt nicht zu ihrem Inhaltsverzeichnis; sie "
                                          "ist unvollständig oder wurde nach dem Sichern verändert.\nSie kann nicht "
                                          "zurückgespielt werden.")
                               .arg(copy));
    return manifest;
}

// Moves what is there aside under the kept name, then puts the backup's in place.
void restoreFile(const QString &backup, const QString &live, const QString &stamp)
{
    if (QFileInfo::exists(live) && !QFile::rename(live, live + KeepInfix + stamp))
        throw OrvellaError(QStringLiteral("Die Datei \"%1\" kann nicht beiseitegelegt werden.").arg(live));
    copyFile(backup, live);
}

} // namespace

qint64 BackupContext::DiskSpace(const QString &path)
{
    const QStorageInfo storage(path);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

QStringList RemoveUnfinishedBackups(const QString &target, const QDateTime &now)
{
    QStringList removed;
    const QDir dir(target);
    for (const QFileInfo &f : dir.entryInfoList({PendingPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        // A folder whose writer still runs is left alone: on this machine the
        // process must be gone, a writer elsewhere silent for half a day.
        QFile note(QDir(f.filePath()).filePath(WriterFile));
        bool dead = true;
        if (note.open(QIODevice::ReadOnly)) {
            const QStringList writer = QString::fromUtf8(note.readAll()).split(QLatin1Char('\n'));
            const bool here = writer.value(0) == QSysInfo::machineHostName();
            const qint64 pid = writer.value(1).toLongLong();
            if (here && pid > 0)
                dead = ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
            else
                dead = note.fileTime(QFileDevice::FileModificationTime).secsTo(now) > 12 * 3600;
        } else if (f.lastModified().secsTo(now) < 3600) {
            dead = false; // just made, its note not yet written
        }
        if (dead && QDir(f.filePath()).removeRecursively())
            removed << f.fileName();
    }
    return removed;
}

QStringList BackupSettingsFiles()
{
    return {QStringLiteral("Orbel.ini"), QStringLiteral("EFirma.ob1"), QStringLiteral("DruckJob.ini")};
}

QString RunFullBackup(const BackupContext &context, DataSetCopier &copier, const QString &target,
                      BackupProgress &progress)
{
    progress.setSteps(5);
    const QString imagesDir = QDir(DataDirOf(context.exeDir)).filePath(ImagesFolder);
    const QFileInfoList images = filesIn(imagesDir);
    const QFileInfoList settings = settingsFilesOf(context.exeDir);
    PendingFolder folder(target);
    requireSpace(context, target, copier.copySize() + totalSize(images) + totalSize(settings) + SpareBytes,
                 QStringLiteral("Es wurde nichts gesichert."));
    const QString shown = folder.expectedPath(Kind::Full, context.now.date());

    progress.beginStep(QStringLiteral("Sichere Datentabellen nach: ") + shown);
    const QString copy = folder.filePath(copier.copyFileName());
    copier.copyTo(copy, progress);

    // Called complete only once the copy has passed the engine's full check.
    progress.beginStep(QStringLiteral("Prüfe die Datensicherung in: ") + shown);
    const CopyFacts facts = copier.check(copy, progress);

    progress.beginStep(QStringLiteral("Sichere Bilddateien nach: ") + QDir(shown).filePath(ImagesFolder),
                       images.size());
    if (QFileInfo(imagesDir).isDir())
        makeFolder(folder.filePath(ImagesFolder));
    qint64 done = 0;
    for (const QFileInfo &image : images) {
        progress.checkpoint();
        copyFile(image.filePath(), QDir(folder.filePath(ImagesFolder)).filePath(image.fileName()));
        progress.advance(++done);
    }

    progress.beginStep(QStringLiteral("Sichere Einstellungen nach: ") + shown, settings.size());
    done = 0;
    for (const QFileInfo &file : settings) {
        progress.checkpoint();
        copyFile(file.filePath(), folder.filePath(file.fileName()));
        progress.advance(++done);
    }

    BackupManifest manifest;
    manifest.kind = Kind::Full;
    manifest.created = context.now;
    manifest.programVersion = QStringLiteral(ORVELLA_VERSION);
    manifest.schemaVersion = facts.schemaVersion;
    manifest.dataFile = copier.copyFileName();
    manifest.rows = facts.rows;
    folder.finishWriting();
    manifest.checksums = BackupManifest::checksumsOf(folder.path());
    manifest.write(folder.path());
    KeepTreePrivate(folder.path());
    progress.beginStep(QStringLiteral("Schließe die Datensicherung ab"));
    progress.lockIn();
    return folder.complete(Kind::Full, context.now.date());
}

QString RunInvoiceArchive(const BackupContext &context, DataSetCopier &copier, const QString &target,
                          const std::optional<InvoicePeriod> &period, BackupProgress &progress)
{
    if (period && period->from > period->to)
        throw OrvellaError(QStringLiteral("Der Zeitraum beginnt am %1 und endet schon am %2.\nBitte geben Sie den "
                                          "Zeitraum richtig herum ein.")
                               .arg(period->from.toString(QStringLiteral("dd.MM.yyyy")),
                                    period->to.toString(QStringLiteral("dd.MM.yyyy"))));
    progress.setSteps(InvoiceArchive::stepCount() + 2);
    PendingFolder folder(target);
    const qint64 free = context.freeSpace(target);
    requireSpace(context, target, SpareBytes * 2, QStringLiteral("Es wurde nichts gesichert."));
    const QString shown = folder.expectedPath(Kind::InvoiceArchive, context.now.date());

    progress.beginStep(QStringLiteral("Kopiere Datentabellen nach: ") + shown);
    InvoiceArchive archive(folder.filePath(QLatin1String(InvoiceArchive::FileName)),
                           free > 0 ? free - SpareBytes : 0);
    Database reader(TaskConnectionName("archive-reader"));
    copier.beginSnapshot(reader);
    archive.fill(reader, period, progress);
    copier.endSnapshot(reader);

    BackupManifest manifest;
    manifest.kind = Kind::InvoiceArchive;
    manifest.created = context.now;
    manifest.programVersion = QStringLiteral(ORVELLA_VERSION);
    manifest.schemaVersion = Schema::Version;
    manifest.dataFile = QLatin1String(InvoiceArchive::FileName);
    manifest.period = period ? QStringLiteral("%1 - %2").arg(period->from.toString(QStringLiteral("dd.MM.yyyy")),
                                                             period->to.toString(QStringLiteral("dd.MM.yyyy")))
                             : QStringLiteral("gesamter Rechnungsbestand");
    progress.beginStep(QStringLiteral("Schließe die Datensicherung ab"));
    manifest.rows = archive.finish();
    folder.finishWriting();
    manifest.checksums = BackupManifest::checksumsOf(folder.path());
    manifest.write(folder.path());
    KeepTreePrivate(folder.path());
    progress.lockIn();
    return folder.complete(Kind::InvoiceArchive, context.now.date());
}

BackupCheck CheckBackup(const BackupContext &, DataSetCopier &copier, const QString &folder,
                        BackupProgress &progress)
{
    progress.setSteps(2);
    BackupCheck result;
    result.manifest = checkedBackup(copier, folder, progress);
    result.withoutChecksums = result.manifest.checksums.isEmpty();
    const QString copy = QDir(folder).filePath(result.manifest.dataFile);
    result.usersGuarded = RestoreUsers::guarded(
        RestoreUsers::fromRows(copier.rowsOf(copy, QStringLiteral("usr"), RestoreUsers::UserColumns, progress),
                               copier.rowsOf(copy, QStringLiteral("permission"), RestoreUsers::PermissionColumns,
                                             progress)));
    progress.beginStep(QStringLiteral("Zähle den jetzigen Datenbestand"));
    result.liveRows = copier.liveRows(progress);
    return result;
}

QString BackupSummary(const BackupCheck &check)
{
    static const std::pair<const char *, const char *> mainTables[] = {
        {"firma", "Firmen"},         {"name", "Personen"},         {"projekt", "Projekte"},
        {"angebote", "Angebote"},    {"auftraege", "Aufträge"},    {"lieferscheine", "Lieferscheine"},
        {"rechnungen", "Rechnungen"}, {"gutschriften", "Gutschriften"}, {"mahnungen", "Mahnungen"},
        {"ablage", "Arbeitsablage"}, {"teilbuchung", "Zahlungsbuchungen"}, {"artikel", "Artikel"},
    };
    const QLocale german(QLocale::German, QLocale::Germany);
    const BackupManifest &m = check.manifest;
    QStringList lines;
    for (const auto &[table, caption] : mainTables)
        lines << QStringLiteral("    %1: %2 (jetzt %3)")
                     .arg(QString::fromUtf8(caption), german.toString(m.rows.value(QLatin1String(table))),
                          german.toString(check.liveRows.value(QLatin1String(table))));
    qint64 total = 0;
    for (const qint64 n : m.rows)
        total += n;
    return QStringLiteral("Datensicherung vom %1\n(geschrieben von Orvella %2, Datenstand %3)\n\n"
                          "Sie enthält:\n%4\ninsgesamt %5 Zeilen in %6 Tabellen.")
        .arg(m.created.toString(QStringLiteral("dd.MM.yyyy HH:mm")), m.programVersion)
        .arg(m.schemaVersion)
        .arg(lines.join(QLatin1Char('\n')), german.toString(total))
        .arg(m.rows.size())
           + (check.withoutChecksums
                  ? QStringLiteral("\n\nDiese Datensicherung stammt von einer älteren Orvella-Version und enthält keine "
                                   "Prüfsummen; geprüft wurden nur die Zeilen ihrer Tabellen.")
                  : QString());
}

QString RestoreQuestion(const BackupCheck &check)
{
    return BackupSummary(check)
           + QStringLiteral("\n\nDer jetzige Datenbestand wird dadurch ersetzt; er wird vorher im Datenordner als "
                            "\"%1.vor-Wiederherstellung-…\" aufbewahrt. Die Einstellungen und Bilder der Sicherung "
                            "ersetzen die jetzigen ebenso.\n\nWollen Sie diese Datensicherung wirklich zurückspielen?")
                 .arg(check.manifest.dataFile);
}

QString RunRestore(const BackupContext &context, DataSetCopier &copier, const QString &folder,
                   BackupProgress &progress, const std::optional<RestoreUsers::Users> &keepUsers)
{
    progress.setSteps(5);
    // Checked again: the folder may have changed since the user looked at it.
    const BackupManifest manifest = checkedBackup(copier, folder, progress);
    const QString copy = QDir(folder).filePath(manifest.dataFile);
    const QString dataDir = DataDirOf(context.exeDir);
    // The data set is replaced only while nobody else works in it.
    if (const QStringList others = copier.otherUsers(); !others.isEmpty())
        throw OrvellaError(QStringLiteral("Der Datenbestand wird noch benutzt von: %1.\nBitte beenden Sie Orvella "
                                          "dort (und jedes andere Programm, das den Datenbestand geöffnet hat) und "
                                          "spielen Sie die Sicherung dann zurück. Es wurde nichts zurückgespielt.")
                               .arg(others.join(QStringLiteral(", "))));
    // One stamp for every kept file of this restore, which no earlier restore used.
    QString stamp = context.now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const auto taken = [&](const QString &s) {
        for (const QString &f : {QDir(dataDir).filePath(copier.copyFileName()), QDir(dataDir).filePath(ImagesFolder),
                                 QDir(context.exeDir).filePath(QStringLiteral("Orbel.ini"))})
            if (QFileInfo::exists(f + KeepInfix + s) || QFileInfo::exists(f + KeepInfix + s + UnfinishedSuffix))
                return true;
        return false;
    };
    for (int n = 2; taken(stamp); ++n)
        stamp = context.now.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("-%1").arg(n);
    const QString kept = QDir(dataDir).filePath(copier.copyFileName() + KeepInfix + stamp);
    requireSpace(context, dataDir, copier.copySize() + QFileInfo(copy).size() + SpareBytes,
                 QStringLiteral("Es wurde nichts zurückgespielt."));
    // What killed restores left half-written is of no use.
    for (const QString &old :
         QDir(dataDir).entryList({copier.copyFileName() + KeepInfix + QLatin1Char('*') + UnfinishedSuffix + QLatin1Char('*')}))
        QFile::remove(QDir(dataDir).filePath(old));

    progress.beginStep(QStringLiteral("Bewahre den bisherigen Datenbestand auf in: ") + kept);
    try {
        // written under another name and named when whole, so that a killed
        // restore never leaves a kept copy that only looks complete
        copier.copyTo(kept + UnfinishedSuffix, progress);
        KeepPrivate(kept + UnfinishedSuffix);
        if (!QFile::rename(kept + UnfinishedSuffix, kept))
            throw OrvellaError(QStringLiteral("Der bisherige Datenbestand kann nicht als \"%1\" aufbewahrt werden. "
                                              "Es wurde nichts zurückgespielt.")
                                   .arg(kept));
        progress.beginStep(QStringLiteral("Spiele die Datensicherung zurück"));
        copier.restoreFrom(copy, progress,
                           keepUsers ? RestoreUsers::replaceStatements(*keepUsers) : QStringList());
    } catch (...) {
        // the data set is unchanged, so the copy kept of it is not needed
        QFile::remove(kept + UnfinishedSuffix);
        QFile::remove(kept);
        throw;
    }
    // The data set is replaced; what follows finishes the restore whatever the
    // user asks for meanwhile.
    progress.lockIn();
    progress.beginStep(QStringLiteral("Prüfe den zurückgespielten Datenbestand"));
    const QMap<QString, qint64> now = copier.liveRows(progress);
    QMap<QString, qint64> expected = manifest.rows;
    if (keepUsers) {
        expected[QStringLiteral("usr")] = keepUsers->users.size();
        expected[QStringLiteral("permission")] = keepUsers->permissions.size();
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        if (now.value(it.key(), -1) != it.value())
            throw OrvellaError(QStringLiteral("Nach dem Zurückspielen enthält die Tabelle %1 %2 statt %3 Zeilen.\n"
                                              "Der vorherige Datenbestand liegt in \"%4\".")
                                   .arg(it.key())
                                   .arg(now.value(it.key(), -1))
                                   .arg(it.value())
                                   .arg(kept));

    progress.beginStep(QStringLiteral("Spiele Bilder und Einstellungen zurück"));
    for (const QFileInfo &file : settingsFilesOf(folder))
        restoreFile(file.filePath(), QDir(context.exeDir).filePath(file.fileName()), stamp);
    const QString images = QDir(dataDir).filePath(ImagesFolder);
    if (QFileInfo::exists(images) && !QDir().rename(images, images + KeepInfix + stamp))
        throw OrvellaError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht beiseitegelegt werden.").arg(images));
    const QString savedImages = QDir(folder).filePath(ImagesFolder);
    if (QFileInfo(savedImages).isDir()) {
        makeFolder(images);
        for (const QFileInfo &image : filesIn(savedImages))
            copyFile(image.filePath(), QDir(images).filePath(image.fileName()));
    }
    return kept;
}
