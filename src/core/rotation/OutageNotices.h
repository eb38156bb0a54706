#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// When pictures keep failing to reach the client for longer than a while, the user is told once,
// and once again when they reach it again: never more than that for one outage.
class OutageNotices
{
public:
    // The time now, on a clock that never goes back.
    using Clock = std::function<std::chrono::milliseconds()>;
    static std::chrono::milliseconds steadyNow();

    // `tell(true, why)` when an outage has lasted `after`; `tell(false, {})` when it ends.
    OutageNotices(std::chrono::milliseconds after,
                  std::function<void(bool outage, QString why)> tell,
                  Clock now = &OutageNotices::steadyNow);

    void failed(const QString& why);
    void reached();

private:
    std::chrono::milliseconds m_after;
    std::function<void(bool, QString)> m_tell;
    Clock m_now;
    std::optional<std::chrono::milliseconds> m_since; // none while pictures reach the client
    bool m_told = false;
};
