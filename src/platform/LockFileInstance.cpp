#include "LockFileInstance.h"

#include "core/fs/AppPaths.h"
#include "messenger/SessionBus.h"
#include "platform/ControlBus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder of the user's own that nobody else can write: no one else can put a file where the
// lock goes.
bool isPrivateFolder(const QString& dir)
{
    struct stat info = {};
    return !dir.isEmpty() && ::lstat(QFile::encodeName(dir).constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

LockFileInstance::LockFileInstance(const QString& lockPath)
    : m_path(lockPath), m_lock(std::make_unique<QLockFile>(lockPath))
{
    m_lock->setStaleLockTime(0);
}

QString LockFileInstance::defaultLockPath()
{
    // The user's runtime folder; else Qt's private one (made for the user alone); else the
    // user's own settings folder. Never a folder that others can write.
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!isPrivateFolder(dir))
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!isPrivateFolder(dir)) {
        dir = AppPaths::userConfigDir();
        QDir().mkpath(dir);
    }
    return dir + QStringLiteral("/dorvane.lock");
}

qint64 LockFileInstance::holder(const QString& lockPath)
{
    qint64 pid = 0;
    QString host, application;
    return QLockFile(lockPath).getLockInfo(&pid, &host, &application) ? pid : 0;
}

void LockFileInstance::bringRunningCopyForward()
{
    // Sent once the bus is there, and never waited for: a copy that does not answer (an older
    // one, one still starting, a stalled bus) is left as it is.
    SessionBus::whenReady(QCoreApplication::instance(),
                          [](const QDBusConnection& bus) { ControlBus::showRunningCopy(bus); });
}

bool LockFileInstance::acquire()
{
    if (m_held)
        return true;
    // Only a lock this user made counts: anything else in its place (another user's file, a
    // link) is no lock of ours and goes.
    struct stat info = {};
    const QByteArray name = QFile::encodeName(m_path);
    if (::lstat(name.constData(), &info) == 0 &&
        (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()))
        ::unlink(name.constData());
    m_held = m_lock->tryLock(0);
    qint64 pid = 0;
    QString host, application;
    // A lock file that says nothing (cut short by a crash) belongs to no copy that runs.
    if (!m_held && !m_lock->getLockInfo(&pid, &host, &application) && m_lock->removeStaleLockFile())
        m_held = m_lock->tryLock(0);
    return m_held;
}
