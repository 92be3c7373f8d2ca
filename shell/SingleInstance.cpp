#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    if (m_lock)
        m_lock->unlock();
}

QString SingleInstance::lockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("orvella.lock"));
}

bool SingleInstance::acquire()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    // A lock left by a crashed copy is recognised by its dead process and taken over.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
