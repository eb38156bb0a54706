#include "FolderWatch.h"

#include <QFileInfo>

FolderWatch::FolderWatch(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, &FolderWatch::changed);
}

void FolderWatch::watch(const QString& folder)
{
    if (m_watcher.directories() == QStringList{folder})
        return;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_settle.stop();
    if (QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
}
