#include "BackupManifest.h"

#include "Errors.h"
#include "IniFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString Section = QStringLiteral("Sicherung");
const QString RowsSection = QStringLiteral("Zeilen");
const QString ChecksumSection = QStringLiteral("Pruefsummen");

QString sha256Of(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}
const QString StampFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

} // namespace

QMap<QString, QString> BackupManifest::checksumsOf(const QString &folder)
{
    QMap<QString, QString> out;
    const QDir base(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = base.relativeFilePath(path);
        if (relative != QLatin1String(FileName))
            out.insert(relative, sha256Of(path));
    }
    return out;
}

QString BackupManifest::changedFile(const QString &folder) const
{
    for (auto it = checksums.cbegin(); it != checksums.cend(); ++it)
        if (sha256Of(QDir(folder).filePath(it.key())) != it.value())
            return it.key();
    return QString();
}

QString BackupManifest::kindText(BackupRules::Kind kind)
{
    return kind == BackupRules::Kind::Full ? QStringLiteral("Gesamter Datenbestand")
                                           : QStringLiteral("Rechnungen und Gutschriften");
}

void BackupManifest::write(const QString &folder) const
{
    QStringList lines = {
        QStringLiteral("[%1]").arg(Section),
        QStringLiteral("Art=%1").arg(kindText(kind)),
        QStringLiteral("Datum=%1").arg(created.toString(StampFormat)),
        QStringLiteral("Programmversion=%1").arg(programVersion),
        QStringLiteral("Schemaversion=%1").arg(schemaVersion),
        QStringLiteral("Datei=%1").arg(dataFile),
    };
    if (kind == BackupRules::Kind::InvoiceArchive)
        lines << QStringLiteral("Zeitraum=%1").arg(period);
    lines << QString() << QStringLiteral("[%1]").arg(RowsSection);
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        lines << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
    if (!checksums.isEmpty()) {
        // SHA-256 of every file, so that a copy changed after the backup (its rows
        // intact) is not restored
        lines << QString() << QStringLiteral("[%1]").arg(ChecksumSection);
        for (auto it = checksums.cbegin(); it != checksums.cend(); ++it)
            lines << QStringLiteral("%1=%2").arg(it.key(), it.value());
    }
    const QString path = QDir(folder).filePath(QLatin1String(FileName));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0
        || !file.commit())
        throw OrvellaError(QStringLiteral("Das Inhaltsverzeichnis \"%1\" kann nicht geschrieben werden: %2")
                               .arg(path, file.errorString()));
}

BackupManifest BackupManifest::read(const QString &folder)
{
    const QString path = QDir(folder).filePath(QLatin1String(FileName));
    if (!QFileInfo(path).isFile())
        throw OrvellaError(QStringLiteral("Im Verzeichnis \"%1\" liegt keine Orvella-Datensicherung: das "
                                          "Inhaltsverzeichnis %2 fehlt.")
                               .arg(folder, QLatin1String(FileName)));
    const IniFile ini(path);
    const auto incomplete = [&path] {
        return OrvellaError(QStringLiteral("Das Inhaltsverzeichnis \"%1\" ist unvollständig oder beschädigt.").arg(path));
    };
    BackupManifest m;
    const QString kind = ini.readString(Section, QStringLiteral("Art"));
    if (kind == kindText(BackupRules::Kind::Full))
        m.kind = BackupRules::Kind::Full;
    else if (kind == kindText(BackupRules::Kind::InvoiceArchive))
        m.kind = BackupRules::Kind::InvoiceArchive;
    else
        throw incomplete();
    m.created = QDateTime::fromString(ini.readString(Section, QStringLiteral("Datum")), StampFormat);
    m.programVersion = ini.readString(Section, QStringLiteral("Programmversion"));
    m.schemaVersion = ini.readInteger(Section, QStringLiteral("Schemaversion"), 0);
    m.dataFile = ini.readString(Section, QStringLiteral("Datei"));
    m.period = ini.readString(Section, QStringLiteral("Zeitraum"));
    // the copy must lie inside the folder
    if (!m.created.isValid() || m.schemaVersion <= 0 || m.dataFile.isEmpty() || m.dataFile.contains(QLatin1Char('/'))
        || m.dataFile.startsWith(QLatin1Char('.')))
        throw incomplete();
    for (const QString &table : ini.keys(RowsSection)) {
        bool ok = false;
        const qint64 n = ini.readString(RowsSection, table).toLongLong(&ok);
        if (!ok || n < 0)
            throw incomplete();
        m.rows.insert(table, n);
    }
    if (m.rows.isEmpty())
        throw incomplete();
    for (const QString &file : ini.keys(ChecksumSection)) {
        const QString sum = ini.readString(ChecksumSection, file).trimmed().toLower();
        // every file must lie inside the folder
        if (sum.size() != 64 || file.startsWith(QLatin1Char('/')) || file.split(QLatin1Char('/')).contains(QStringLiteral("..")))
            throw incomplete();
        m.checksums.insert(file, sum);
    }
    return m;
}
