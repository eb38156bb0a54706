#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Watches a folder for files added, removed or renamed. A burst of changes (a large copy) is told
// as one, a moment after the last of them.
class FolderWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int SettleMs = 300;

    explicit FolderWatch(QObject* parent = nullptr);

    // Watches this folder from now on, and no other; an empty or missing one: none.
    void watch(const QString& folder);

signals:
    void changed();

private:
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};
