#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One running copy per user, held by a lock file in the user's runtime folder. A lock left by a
// copy that died is taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());

    static QString defaultLockPath();

    // True when this copy now holds the lock (or already held it).
    bool acquire();
    bool isHeld() const { return m_held; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};
