#include "LockFileInstance.h"

#include "platform/ControlBus.h"

#include <QDir>

#include <unistd.h>

LockFileInstance::LockFileInstance(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath))
{
    m_lock->setStaleLockTime(0);
}

QString LockFileInstance::defaultLockPath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        return QDir::tempPath() + QStringLiteral("/dorvane-") + QString::number(getuid()) +
               QStringLiteral(".lock");
    return dir + QStringLiteral("/dorvane.lock");
}

void LockFileInstance::bringRunningCopyForward()
{
    // A copy that does not answer (an older one, or one still starting) is left as it is.
    ControlBus::showRunningCopy();
}

bool LockFileInstance::acquire()
{
    if (!m_held)
        m_held = m_lock->tryLock(0);
    return m_held;
}
