#include "FolderExists.h"

#include <QFileInfo>

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isDir();
}
