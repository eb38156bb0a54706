#pragma once

#include <QString>

// True only when the path names an existing folder; any failure gives false.
bool FolderExists(const QString& path);
