#pragma once

#include "platform/SingleInstance.h"

#include <QLockFile>
#include <QString>

#include <memory>

// The running copy holds a lock file in the user's runtime folder. A lock left by a copy that
// died is taken over.
class LockFileInstance : public SingleInstance
{
public:
    explicit LockFileInstance(const QString& lockPath = defaultLockPath());

    static QString defaultLockPath();

    bool acquire() override;
    void bringRunningCopyForward() override;

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};
