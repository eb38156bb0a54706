#pragma once

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <functional>

// When pictures keep failing to reach the client for longer than a while, the user is told once,
// and once again when they reach it again: never more than that for one outage.
class OutageNotices
{
public:
    // `tell(true, why)` when an outage has lasted `after`; `tell(false, {})` when it ends.
    OutageNotices(std::chrono::milliseconds after,
                  std::function<void(bool outage, QString why)> tell);

    void failed(const QString& why);
    void reached();

private:
    std::chrono::milliseconds m_after;
    std::function<void(bool, QString)> m_tell;
    QElapsedTimer m_since; // invalid while pictures reach the client
    bool m_told = false;
};
