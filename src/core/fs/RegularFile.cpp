#include "RegularFile.h"

#include "core/language/Texts.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

Result<void> open(QFile& file, QIODevice::OpenMode mode)
{
    const auto fail = [](const QString& reason) { return Failure{reason}; };
    if (mode & QIODevice::WriteOnly)
        return fail(QStringLiteral("Only reading is supported."));
    const QByteArray name = QFile::encodeName(file.fileName());
    // Without O_NONBLOCK, opening a FIFO would wait for a writer before fstat could tell.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        const int saved = errno;
        ::close(fd);
        return fail(QString::fromLocal8Bit(std::strerror(saved)));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(info.st_mode) ? QString::fromLocal8Bit(std::strerror(EISDIR))
                                          : Texts::text(Text::NotOrdinaryFile));
    }
    // Reads of an ordinary file never wait anyway; the flag is dropped so that nothing sees it.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return {};
}

} // namespace RegularFile
