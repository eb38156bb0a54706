#include "FolderCopy.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FileCopy.h"
#include "core/fs/RegularFile.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// "name.ext" for the first, "name-2.ext" for the second, and so on.
QString numbered(const QString& name, int number)
{
    if (number == 1)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype at = dot > 0 ? dot : name.size();
    return name.left(at) + u'-' + QString::number(number) + name.mid(at);
}

bool sameContent(const QString& one, const QString& other)
{
    QFile a(one), b(other);
    if (!RegularFile::open(a) || !RegularFile::open(b) || a.size() != b.size())
        return false;
    while (!a.atEnd()) {
        const QByteArray chunk = a.read(qint64{64} * 1024);
        if (chunk.isEmpty() || b.read(chunk.size()) != chunk)
            return false;
    }
    return true;
}

} // namespace

namespace FolderCopy {

Result<QString> add(const QString& source, const QString& folder, const QString& name)
{
    for (int number = 1;; ++number) {
        const QString candidate = numbered(name, number);
        const QString target = AppPaths::join(folder, candidate);
        struct stat info = {};
        if (::lstat(QFile::encodeName(target).constData(), &info) != 0) {
            // Free when looked at; another program may still take the name first.
            const Result<bool> created = FileCopy::create(source, target);
            if (!created)
                return Failure{created.error()};
            if (*created)
                return candidate;
        } else if (S_ISREG(info.st_mode) && sameContent(source, target)) {
            return candidate;
        }
    }
}

} // namespace FolderCopy
