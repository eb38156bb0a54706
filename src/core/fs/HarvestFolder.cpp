#include "HarvestFolder.h"
#include "core/language/Texts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

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

Result<bool> HarvestFolder::check(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    // lstat: a link must be seen as the link, not as the folder it points to.
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return false;
        return Failure{Texts::text(Text::FolderUnusable).arg(path, describe(errno))};
    }
    QString reason;
    if (S_ISLNK(info.st_mode))
        reason = Texts::text(Text::FolderIsLink);
    else if (!S_ISDIR(info.st_mode))
        reason = Texts::text(Text::FolderIsNoFolder);
    else if (info.st_uid != ::geteuid())
        reason = Texts::text(Text::FolderOfOtherUser);
    if (reason.isEmpty()) {
        // Our own folder, yet open to others: they could plant files in it (a link in place of
        // a copy's name). It is closed to them before it is used.
        if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 && ::chmod(name.constData(), S_IRWXU) != 0)
            return Failure{Texts::text(Text::FolderOpenToOthers).arg(path, describe(errno))};
        return true;
    }
    return Failure{Texts::text(Text::FolderNotUsed).arg(path, reason)};
}

bool HarvestFolder::belongsToAnotherUser(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid != ::geteuid();
}

QString HarvestFolder::copyName(int number)
{
    return QStringLiteral("dvn%1.jpg").arg(number);
}

QStringList HarvestFolder::removeCopies(const QString& path)
{
    static const QRegularExpression copy(QStringLiteral("^dvn[0-9]+\\.jpg$"));
    const QDir folder(path);
    QStringList failures;
    // Links and other files too (System): a copy's name is the program's, whatever holds it.
    for (const QString& name : folder.entryList(QDir::Files | QDir::System)) {
        if (copy.match(name).hasMatch() &&
            ::unlink(QFile::encodeName(folder.filePath(name)).constData()) != 0)
            failures.append(QStringLiteral("%1: %2").arg(name, describe(errno)));
    }
    return failures;
}

bool HarvestFolder::isReady(const QString& path)
{
    const Result<bool> state = check(path);
    return state && *state;
}

Result<void> HarvestFolder::prepare(const QString& path)
{
    const Result<bool> state = check(path);
    if (!state)
        return Failure{state.error()};
    if (*state)
        return {};
    const QByteArray name = QFile::encodeName(path);
    // Only the last level is created: the temporary folder itself must exist already.
    if (::mkdir(name.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return Failure{Texts::text(Text::FolderNotCreated).arg(path, describe(errno))};
    // Checked again: something else may have taken the name in the meantime.
    const Result<bool> made = check(path);
    if (!made)
        return Failure{made.error()};
    if (!*made)
        return Failure{Texts::text(Text::FolderVanished).arg(path)};
    return {};
}
