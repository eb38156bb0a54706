#pragma once

#include "platform/SingleInstance.h"

#include <QLockFile>
#include <QString>

#include <memory>

// The running copy holds a lock file in the user's runtime folder, or in another folder of the
// user's own that nobody else can write. A lock left by a copy that died is taken over, and a
// file in the lock's place that the user did not make is never taken for a lock.
class LockFileInstance : public SingleInstance
{
public:
    explicit LockFileInstance(const QString& lockPath = defaultLockPath());

    static QString defaultLockPath();
    // The process that holds the lock at `lockPath`, as the lock says; 0 when none does.
    static qint64 holder(const QString& lockPath);

    bool acquire() override;
    void bringRunningCopyForward() override;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};
