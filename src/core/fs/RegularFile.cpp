#include "RegularFile.h"

#include "core/language/Texts.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

namespace {

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads `fd` to its end, or to one byte past `maxBytes`; false with errno set on a failure.
bool readToEnd(int fd, qint64 maxBytes, QByteArray& content)
{
    char buffer[64 * 1024];
    while (content.size() <= maxBytes) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count > 0)
            content.append(buffer, count);
        else if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

Result<QByteArray> readAll(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (Result<void> opened = open(file); !opened)
        return Failure{opened.error()};
    if (file.size() > maxBytes)
        return Failure{errnoText(EFBIG)};
    int output[2], errors[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return Failure{errnoText(errno)};
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        const int saved = errno;
        ::close(output[0]);
        ::close(output[1]);
        return Failure{errnoText(saved)};
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, file.handle(), STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    // The child keeps nothing else of this program's: not its bus connection, not its lock.
    ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    char name[] = "cat";
    char* arguments[] = {name, nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, name, &actions, nullptr, arguments, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(errors[1]);
    file.close();
    QByteArray content, said;
    const bool read = spawned == 0 && readToEnd(output[0], maxBytes, content);
    const int readError = errno;
    ::close(output[0]);
    // cat says why it stopped in one short line, written before its output ends.
    if (spawned == 0)
        (void)readToEnd(errors[0], 4096, said);
    ::close(errors[0]);
    int status = 0;
    if (spawned == 0)
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    if (spawned != 0)
        return Failure{errnoText(spawned)};
    if (!read)
        return Failure{errnoText(readError)};
    if (content.size() > maxBytes)
        return Failure{errnoText(EFBIG)};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        const QString why = QString::fromLocal8Bit(said).section(QLatin1String(": "), -1);
        return Failure{why.trimmed().isEmpty() ? errnoText(EIO) : why.trimmed()};
    }
    return content;
}

} // namespace RegularFile
