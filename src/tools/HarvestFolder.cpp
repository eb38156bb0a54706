#include "HarvestFolder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString describe(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

HarvestFolder::State HarvestFolder::check(const QString& path, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    // lstat: a link must be seen as the link, not as the folder it points to.
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return State::Missing;
        if (error)
            *error =
                QStringLiteral("The folder \"%1\" cannot be used: %2").arg(path, describe(errno));
        return State::Refused;
    }
    QString reason;
    if (S_ISLNK(info.st_mode))
        reason = QStringLiteral("it is a symbolic link");
    else if (!S_ISDIR(info.st_mode))
        reason = QStringLiteral("it is not a folder");
    else if (info.st_uid != ::geteuid())
        reason = QStringLiteral("it belongs to another user");
    if (reason.isEmpty())
        return State::Ready;
    if (error)
        *error = QStringLiteral("The folder \"%1\" was not used: %2. No pictures were "
                                "copied into it.")
                     .arg(path, reason);
    return State::Refused;
}

bool HarvestFolder::prepare(const QString& path, QString* error)
{
    const State state = check(path, error);
    if (state == State::Ready)
        return true;
    if (state == State::Refused)
        return false;
    const QByteArray name = QFile::encodeName(path);
    // Only the last level is created: the temporary folder itself must exist already.
    if (::mkdir(name.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("The folder \"%1\" could not be created: %2")
                         .arg(path, describe(errno));
        return false;
    }
    // Checked again: something else may have taken the name in the meantime.
    return check(path, error) == State::Ready;
}
