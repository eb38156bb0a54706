#pragma once

#include "core/Result.h"

#include <QString>

// Makes the desktop start the program at log-on through an XDG autostart entry NAME.desktop.
// The entry goes into the per-machine autostart folder, or into the per-user one when the
// per-machine folder cannot be written.
class AutoRun
{
public:
    // The per-machine and per-user autostart folders from XDG_CONFIG_DIRS and XDG_CONFIG_HOME.
    AutoRun();
    AutoRun(const QString& machineDir, const QString& userDir);

    static AutoRun fromEnvironment();

    QString machineDir() const { return m_machineDir; }
    QString userDir() const { return m_userDir; }

    // Writes NAME.desktop starting `data` (an Exec value, see runEntryData), replacing an
    // earlier entry of that name.
    Result<void> AddRunEntry(const QString& name, const QString& data);
    // Makes sure no NAME.desktop starts the program any more; an absent entry is fine.
    Result<void> RemoveRunEntry(const QString& name);

    // Exec value that starts appDir/name, quoted and escaped so that any folder text works.
    static QString runEntryData(const QString& appDir, const QString& name);

private:
    static bool isUsableName(const QString& name);
    static Result<void> writeEntry(const QString& dir, const QString& name,
                                   const QByteArray& content);

    QString m_machineDir;
    QString m_userDir;
};
