#include "FileModes.h"

#include "HomeDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

void KeepPrivate(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    const QFile::Permissions wanted = info.isDir() ? owner | QFile::ExeOwner | QFile::ExeUser : owner;
    // A file already private is left alone: setting its mode again would change
    // its change time, which tells whether the data set was touched since its
    // clean close.
    if (info.permissions() != wanted)
        QFile::setPermissions(path, wanted);
}

void KeepTreePrivate(const QString &folder)
{
    KeepPrivate(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        KeepPrivate(it.next());
}

void KeepHomePrivate(const QString &exeDir)
{
    const QString data = DataDirOf(exeDir);
    KeepPrivate(data);
    const QDir dataDir(data);
    for (const QString &name : dataDir.entryList({QStringLiteral("orvella.db*")}, QDir::Files | QDir::Hidden))
        KeepPrivate(dataDir.filePath(name));
    for (const char *name : {"Orbel.ini", "EFirma.ob1", "DruckJob.ini"})
        KeepPrivate(QDir(exeDir).filePath(QLatin1String(name)));
    const QString settings = QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Halvard"),
                                       QStringLiteral("Orbel"))
                                 .fileName();
    KeepPrivate(QFileInfo(settings).absolutePath());
    KeepPrivate(settings);
}
