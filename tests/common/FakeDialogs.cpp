#include "FakeDialogs.h"

void FakeDialogs::message(QWidget*, Icon icon, const QString& title, const QString& text)
{
    m_messages.append({icon, title, text});
}

QString FakeDialogs::getExistingDirectory(QWidget*, const QString& title, const QString&)
{
    ++m_folderDialogs;
    m_lastFolderTitle = title;
    if (m_folders.empty())
        return {};
    QString answer = m_folders.front();
    m_folders.pop_front();
    return answer;
}

std::optional<QColor> FakeDialogs::chooseColor(QWidget*, const QColor&,
                                               std::array<QColor, 16>& customColors)
{
    m_lastCustomColors = customColors;
    if (m_colors.empty())
        return std::nullopt;
    auto answer = m_colors.front();
    m_colors.pop_front();
    return answer;
}
