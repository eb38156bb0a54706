#include "PictureHistory.h"

void PictureHistory::sent(const QString& path)
{
    m_paths.resize(m_current + 1);
    m_paths.append(path);
    if (m_paths.size() > Limit)
        m_paths.removeFirst();
    m_current = m_paths.size() - 1;
}

QString PictureHistory::back()
{
    if (!canGoBack())
        return {};
    return m_paths.at(--m_current);
}
