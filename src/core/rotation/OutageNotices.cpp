#include "OutageNotices.h"

OutageNotices::OutageNotices(std::chrono::milliseconds after,
                             std::function<void(bool, QString)> tell)
    : m_after(after), m_tell(std::move(tell))
{
}

void OutageNotices::failed(const QString& why)
{
    if (!m_since.isValid())
        m_since.start();
    if (!m_told && std::chrono::milliseconds(m_since.elapsed()) >= m_after) {
        m_told = true;
        m_tell(true, why);
    }
}

void OutageNotices::reached()
{
    m_since.invalidate();
    if (std::exchange(m_told, false))
        m_tell(false, QString());
}
