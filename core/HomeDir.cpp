#include "HomeDir.h"

#include "Errors.h"

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
        if (i > 0 && a == QLatin1String("--home")) {
            ++i;
            continue;
        }
        if (i > 0 && a.startsWith(QLatin1String("--home=")))
            continue;
        out << a;
    }
    return out;
}

QString DataDirOf(const QString &exeDir)
{
    return QDir(exeDir).filePath(QStringLiteral("data"));
}

// The shipped defaults are compiled into the static core library, whose resources
// register only when asked to; the macro must stand outside any namespace.
static void registerShippedDefaults()
{
    Q_INIT_RESOURCE(defaults);
}

namespace {

// Copies the files below the resource folder ":/defaults" that are missing in dir.
void copyShippedDefaults(const QString &dir)
{
    registerShippedDefaults();
    const QString root = QStringLiteral(":/defaults");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = source.mid(root.size() + 1);
        const QString target = QDir(dir).filePath(relative);
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                              | QFile::ReadOther);
    }
}

} // namespace

QString PrepareHomeDir(const QString &dir)
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
    copyShippedDefaults(absolute);
    return absolute.endsWith(QLatin1Char('/')) ? absolute : absolute + QLatin1Char('/');
}
