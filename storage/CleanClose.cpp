#include "CleanClose.h"

#include "FileModes.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// "size inode mtime-s mtime-ns ctime-s ctime-ns", or nothing when the file is
// not there.
QByteArray stampOf(const QString &file)
{
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return {};
    return QByteArray::number(qint64(st.st_size)) + ' ' + QByteArray::number(quint64(st.st_ino)) + ' '
           + QByteArray::number(qint64(st.st_mtim.tv_sec)) + ' ' + QByteArray::number(qint64(st.st_mtim.tv_nsec))
           + ' ' + QByteArray::number(qint64(st.st_ctim.tv_sec)) + ' '
           + QByteArray::number(qint64(st.st_ctim.tv_nsec));
}

bool logWaits(const QString &dataSetFile)
{
    return QFile::exists(dataSetFile + QStringLiteral("-wal"));
}

} // namespace

QString CleanCloseMark(const QString &dataSetFile)
{
    return dataSetFile + QStringLiteral("-geschlossen");
}

void MarkCleanClose(const QString &dataSetFile)
{
    if (logWaits(dataSetFile))
        return;
    const QByteArray stamp = stampOf(dataSetFile);
    if (stamp.isEmpty())
        return;
    QFile mark(CleanCloseMark(dataSetFile));
    if (!mark.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    KeepPrivate(mark.fileName());
    if (mark.write(stamp) != stamp.size() || !mark.flush()) {
        mark.close();
        mark.remove();
    }
}

bool ClosedCleanlyAsItIs(const QString &dataSetFile)
{
    QFile mark(CleanCloseMark(dataSetFile));
    if (logWaits(dataSetFile) || !mark.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stamp = stampOf(dataSetFile);
    return !stamp.isEmpty() && mark.readAll() == stamp;
}
