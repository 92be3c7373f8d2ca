#include "HomeDir.h"

#include "FileModes.h"

#include "Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString ResolveHomeDir(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--home") && i + 1 < arguments.size())
            return arguments[i + 1];
        if (a.startsWith(QLatin1String("--home=")))
            return a.mid(7);
    }
    const QString env = qEnvironmentVariable("ORVELLA_HOME");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList ArgumentsWithoutHome(const QStringList &arguments)
{
    QStringList out;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (i > 0 && (a == QLatin1String("--home") || a == QLatin1String("--database"))) {
            ++i;
            continue;
        }
        if (i > 0 && (a.startsWith(QLatin1String("--home=")) || a.startsWith(QLatin1String("--database="))))
            continue;
        out << a;
    }
    return out;
}

QString DataDirOf(const QString &exeDir)
{
    return QDir(exeDir).filePath(QStringLiteral("data"));
}

QString FindShippedDefaults(const QString &programDir)
{
    // Where the build put the data folder relative to an installation prefix
    // (normally "share/orvella"); the build folder mirrors it.
    const QString relative = QStringLiteral(ORVELLA_DATA_SUBDIR "/defaults");
    if (!programDir.isEmpty()) {
        QDir dir(programDir);
        do {
            const QString candidate = dir.filePath(relative);
            if (QFileInfo(candidate).isDir())
                return QDir::cleanPath(candidate);
        } while (dir.cdUp());
    }
    // A program copied elsewhere still finds a package's data folder.
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("orvella/defaults"),
                                  QStandardPaths::LocateDirectory);
}

QString FindShippedDefaults()
{
    return FindShippedDefaults(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
}

namespace {

// Copies the files below defaultsDir that are missing in dir. The copies belong to
// the user and may be edited, even though the installed originals are read-only.
void copyShippedDefaults(const QString &defaultsDir, const QString &dir)
{
    if (defaultsDir.isEmpty())
        return;
    const QDir root(defaultsDir);
    QDirIterator it(defaultsDir, QDir::Files, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(dir).filePath(root.relativeFilePath(source));
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                              | QFile::ReadOther);
    }
}

} // namespace

QString PrepareHomeDir(const QString &dir, const QString &defaultsDir)
{
    if (dir.isEmpty())
        throw OrvellaError(QStringLiteral("Es ist kein Orvella-Ordner angegeben."));
    const QString absolute = QDir(dir).absolutePath();
    if (!QDir().mkpath(absolute))
        throw OrvellaError(QStringLiteral("Der Orvella-Ordner \"%1\" kann nicht angelegt werden.\n"
                                          "Bitte prüfen Sie den Pfad und Ihre Schreibrechte.")
                               .arg(absolute));
    {
        QTemporaryFile probe(QDir(absolute).filePath(QStringLiteral(".schreibtest-XXXXXX")));
        if (!probe.open())
            throw OrvellaError(QStringLiteral("In den Orvella-Ordner \"%1\" kann nicht geschrieben werden.\n"
                                              "Bitte prüfen Sie Ihre Schreibrechte.")
                                   .arg(absolute));
    }
    const QString data = DataDirOf(absolute);
    if (!QDir().mkpath(data))
        throw OrvellaError(QStringLiteral("Der Datenordner \"%1\" kann nicht angelegt werden.").arg(data));
    copyShippedDefaults(defaultsDir, absolute);
    KeepHomePrivate(absolute);
    return absolute.endsWith(QLatin1Char('/')) ? absolute : absolute + QLatin1Char('/');
}
