#pragma once

#include <QString>

// The paths the program forms from its surroundings: the temporary folder and what lies in it, the
// program's own name, and the joining of a folder text with a name.
namespace AppPaths {

// TEMP: the variable "Temp", else "TEMP", else "TMPDIR", else the user's own
// $XDG_CACHE_HOME/Dorvane/Temp (~/.cache/Dorvane/Temp), made with mode 0700 when missing.
QString tempDir();

// The folder text joined with a file name by "/", unless the folder already ends in "/".
QString join(const QString& folder, const QString& name);

// The user's own folder of the program's settings: $XDG_CONFIG_HOME/Dorvane, else
// ~/.config/Dorvane.
QString userConfigDir();

// Base name of the executable ("dvn"), used for the log-on start entry.
QString executableName();

QString harvestDir();

} // namespace AppPaths
