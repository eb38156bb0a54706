#pragma once

#include <QString>

// Folders the program works with. The application folder is where the executable lives
// (lang/ and images/ sit beside it); tests point it elsewhere.
namespace AppPaths {

// TEMP: the variable "Temp", else "TEMP", else "TMPDIR", else "/tmp".
QString tempDir();

// The folder text joined with a file name by "/", unless the folder already ends in "/".
QString join(const QString& folder, const QString& name);

QString applicationDir();
void setApplicationDirForTesting(const QString& dir);

// Base name of the executable ("dvn"), used for the log-on start entry.
QString executableName();

QString langDir();
QString messengerCacheDir();
QString harvestDir();

} // namespace AppPaths
