#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QFileSystemWatcher;

// Watches a folder for files added, removed or renamed. A burst of changes (a large copy) is told
// as one, a moment after the last of them.
//
// The path is followed, not the folder first found there: a folder renamed away and another put
// in its place, a folder deleted and made again, or a link re-pointed at another folder is told
// as a change too. When no file watch can be had (the user's inotify instances or watches are
// used up), the folder is looked at every few seconds instead, and isWatching() is false.
class FolderWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int SettleMs = 300;
    static constexpr int PollMs = 2000;

    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;

    // Watches this folder from now on, and no other; an empty one: none.
    void watch(const QString& folder);
    // False while changes are only found by looking at the folder every few seconds.
    bool isWatching() const { return m_watching; }

signals:
    void changed();
    void watchingChanged(bool watching);

private:
    // What a look at the folder finds, through any link on its path.
    struct Stamp
    {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 modifiedNs = 0;

        bool sameFolder(const Stamp& other) const;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);

    void arm();
    void directoryChanged(const QString& path);
    void poll();
    void setWatching(bool watching);

    std::unique_ptr<QFileSystemWatcher> m_watcher; // none when no inotify instance was left
    QTimer m_settle;
    QTimer m_poll;
    QString m_folder;
    Stamp m_stamp;
    bool m_watching = true;
};
