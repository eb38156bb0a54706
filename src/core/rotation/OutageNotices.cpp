#include "OutageNotices.h"

std::chrono::milliseconds OutageNotices::steadyNow()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

OutageNotices::OutageNotices(std::chrono::milliseconds after,
                             std::function<void(bool, QString)> tell, Clock now)
    : m_after(after), m_tell(std::move(tell)), m_now(std::move(now))
{
}

void OutageNotices::failed(const QString& why)
{
    if (!m_since)
        m_since = m_now();
    if (!m_told && m_now() - *m_since >= m_after) {
        m_told = true;
        m_tell(true, why);
    }
}

void OutageNotices::reached()
{
    m_since.reset();
    if (std::exchange(m_told, false))
        m_tell(false, QString());
}
