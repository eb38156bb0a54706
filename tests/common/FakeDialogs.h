#pragma once

#include "common/Dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>

// Answers dialogs from queues the test fills (setNext...) and records every message shown.
class FakeDialogs : public Dialogs
{
public:
    struct Message
    {
        Icon icon;
        QString title;
        QString text;
    };

    // An empty text answers "Cancel".
    void setNextFolder(const QString& folder) { m_folders.push_back(folder); }
    // std::nullopt answers "Cancel".
    void setNextColor(std::optional<QColor> color) { m_colors.push_back(color); }

    const QList<Message>& messages() const { return m_messages; }
    void clearMessages() { m_messages.clear(); }
    int folderDialogs() const { return m_folderDialogs; }
    QString lastFolderTitle() const { return m_lastFolderTitle; }
    std::array<QColor, 16> lastCustomColors() const { return m_lastCustomColors; }

    void message(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    QString getExistingDirectory(QWidget* parent, const QString& title,
                                 const QString& startDir) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                      std::array<QColor, 16>& customColors) override;

private:
    std::deque<QString> m_folders;
    std::deque<std::optional<QColor>> m_colors;
    QList<Message> m_messages;
    int m_folderDialogs = 0;
    QString m_lastFolderTitle;
    std::array<QColor, 16> m_lastCustomColors;
};
