#include "FolderWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Qt's watcher quietly falls back to listing every watched folder in full each second when it
// gets no inotify instance; a stat every few seconds is cheaper, and the user is told.
bool inotifyAvailable()
{
    const int probe = ::inotify_init1(IN_CLOEXEC);
    if (probe < 0)
        return false;
    ::close(probe);
    return true;
}

} // namespace

FolderWatch::FolderWatch(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FolderWatch::changed);
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &FolderWatch::poll);
    if (inotifyAvailable()) {
        m_watcher = std::make_unique<QFileSystemWatcher>();
        connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this,
                &FolderWatch::directoryChanged);
    }
}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::Stamp::sameFolder(const Stamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode;
}

FolderWatch::Stamp FolderWatch::stampOf(const QString& path)
{
    struct stat info
    {
    };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 ||
        !S_ISDIR(info.st_mode))
        return {};
    return {true, info.st_dev, info.st_ino,
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

void FolderWatch::watch(const QString& folder)
{
    const QString path = folder.isEmpty() ? folder : QDir::cleanPath(folder);
    if (path == m_folder && m_stamp.sameFolder(stampOf(path)))
        return;
    m_folder = path;
    m_settle.stop();
    arm();
}

// Watches the folder for its entries and its parent for the folder's own name: a folder renamed,
// deleted, made or a link re-pointed shows there.
void FolderWatch::arm()
{
    m_poll.stop();
    if (m_watcher && !m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_stamp = stampOf(m_folder);
    if (m_folder.isEmpty())
        return setWatching(true);
    bool watched = false;
    if (m_watcher) {
        watched = !m_stamp.exists || m_watcher->addPath(m_folder);
        const QFileInfo place(m_folder);
        const QString parent = place.absolutePath();
        if (parent != place.absoluteFilePath() && QFileInfo(parent).isDir())
            watched = m_watcher->addPath(parent) && watched;
        watched = watched && !m_watcher->directories().isEmpty();
    }
    setWatching(watched);
    if (!watched)
        m_poll.start();
}

void FolderWatch::directoryChanged(const QString& path)
{
    const bool replaced = !stampOf(m_folder).sameFolder(m_stamp);
    if (replaced)
        arm();
    // The parent changes with every file beside the folder; only the folder's own matter.
    if (replaced || path == m_folder)
        m_settle.start();
}

void FolderWatch::poll()
{
    const Stamp now = stampOf(m_folder);
    if (now == m_stamp)
        return;
    const bool replaced = !now.sameFolder(m_stamp);
    m_stamp = now;
    // Another folder in its place may be on a file system where a watch can be had; a failed
    // try warns, so the same folder is not tried again.
    if (m_watcher && replaced)
        arm();
    m_settle.start();
}

void FolderWatch::setWatching(bool watching)
{
    if (watching == m_watching)
        return;
    m_watching = watching;
    if (!watching)
        qWarning("Dorvane: no file watch could be had for %s; it is looked at every %d seconds "
                 "instead.",
                 qPrintable(QDir::toNativeSeparators(m_folder)), PollMs / 1000);
    emit watchingChanged(watching);
}
