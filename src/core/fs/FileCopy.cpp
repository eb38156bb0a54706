#include "FileCopy.h"

#include "core/fs/RegularFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

Failure systemFailure(int error)
{
    return Failure{QString::fromLocal8Bit(std::strerror(error))};
}

// A new file beside the target, hidden so that no listing of the folder takes it for a picture;
// -1 with errno when none could be made.
int createBeside(const QByteArray& target, QByteArray* name)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray prefix = target.left(slash + 1) + '.' + target.mid(slash + 1) + '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// All of `in` written to `fd` and flushed to the disk. write() may take only part of a block
// when the disk fills: the rest is written again, so that the full disk shows as an error.
Result<void> writeAll(QFile& in, int fd)
{
    std::vector<char> buffer(std::size_t{64} * 1024);
    for (;;) {
        const qint64 got = in.read(buffer.data(), qint64(buffer.size()));
        if (got < 0)
            return Failure{in.errorString()};
        if (got == 0)
            break;
        for (qint64 done = 0; done < got;) {
            const ssize_t put = ::write(fd, buffer.data() + done, std::size_t(got - done));
            if (put < 0 && errno != EINTR)
                return systemFailure(errno);
            done += std::max<ssize_t>(put, 0);
        }
    }
    if (::fsync(fd) != 0)
        return systemFailure(errno);
    return {};
}

// The finished copy takes the target's name; unless `replace`, only while the name is free.
Result<bool> rename(const QByteArray& from, const QByteArray& to, bool replace)
{
    if (replace)
        return ::rename(from.constData(), to.constData()) == 0 ? Result<bool>(true)
                                                               : systemFailure(errno);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL)
        return systemFailure(errno);
    // A file system that cannot refuse to replace: the name is looked at first.
    struct stat info = {};
    if (::lstat(to.constData(), &info) == 0)
        return false;
    return ::rename(from.constData(), to.constData()) == 0 ? Result<bool>(true)
                                                           : systemFailure(errno);
}

Result<bool> copy(const QString& source, const QString& target, bool replace)
{
    QFile in(source);
    // Only an ordinary file is copied: reading a FIFO could wait forever.
    if (Result<void> opened = RegularFile::open(in); !opened)
        return Failure{opened.error()};
    const QByteArray to = QFile::encodeName(target);
    QByteArray part;
    const int fd = createBeside(to, &part);
    if (fd < 0)
        return systemFailure(errno);
    Result<void> written = writeAll(in, fd);
    if (::close(fd) != 0 && written)
        written = systemFailure(errno);
    Result<bool> done = written ? rename(part, to, replace) : Failure{written.error()};
    if (!done || !*done)
        ::unlink(part.constData());
    return done;
}

} // namespace

namespace FileCopy {

Result<void> replace(const QString& source, const QString& target)
{
    const Result<bool> done = copy(source, target, true);
    return done ? Result<void>() : Failure{done.error()};
}

Result<bool> create(const QString& source, const QString& target)
{
    return copy(source, target, false);
}

} // namespace FileCopy
