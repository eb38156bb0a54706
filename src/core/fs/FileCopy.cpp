#include "FileCopy.h"

#include "core/fs/RegularFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace FileCopy {

Result<void> replace(const QString& source, const QString& target)
{
    QFile in(source);
    // Only an ordinary file is copied: reading a FIFO could wait forever.
    if (Result<void> opened = RegularFile::open(in); !opened)
        return opened;
    // A link in the target's place is replaced by the copy, never written through: a copy must
    // not end up in a file the link points to.
    const QByteArray name = QFile::encodeName(target);
    struct stat info = {};
    if (::lstat(name.constData(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::unlink(name.constData()) != 0)
        return Failure{QString::fromLocal8Bit(std::strerror(errno))};
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Failure{out.errorString()};
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(qint64{64} * 1024);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return Failure{in.errorString()};
        }
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (!out.commit())
        return Failure{out.errorString()};
    return {};
}

} // namespace FileCopy
