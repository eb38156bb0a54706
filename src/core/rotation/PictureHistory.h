#pragma once

#include <QString>
#include <QStringList>

// The pictures sent in this run, newest last, and how far the user has gone back through them. A
// picture sent anew after going back drops the ones that had come after it, as a browser's history
// does, so that "previous" always means the picture before the one shown.
class PictureHistory
{
public:
    static constexpr int Limit = 200;

    // A picture sent anew (a tick, next, a click): it becomes the newest.
    void sent(const QString& path);
    // The picture before the current one, which becomes current; empty at the oldest.
    QString back();
    bool canGoBack() const { return m_current > 0; }
    // The picture the user is at; empty before the first.
    QString current() const { return m_paths.value(m_current); }

private:
    QStringList m_paths;
    qsizetype m_current = -1;
};
