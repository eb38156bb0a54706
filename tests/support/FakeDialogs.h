#pragma once

#include "platform/Dialogs.h"
#include <QStringList>

// Answers dialogs from queues the test fills and records every message shown.
class FakeDialogs : public Dialogs
{
public:
    struct Message
    {
        Icon icon;
        QString title, text;
    };

    // An empty text or std::nullopt answers "Cancel"; so does an empty queue.
    void setNextFolder(const QString& folder) { m_folders.push_back(folder); }
    void setNextColor(std::optional<QColor> color) { m_colors.push_back(color); }

    QList<Message> messages;
    // Answers to the questions, Yes or No; an empty queue answers No. The questions asked.
    QList<bool> confirmations;
    QStringList questions;
    QStringList folderTitles;
    std::array<QColor, 16> offeredCustomColors;

    void message(QWidget*, Icon icon, const QString& title, const QString& text) override
    {
        messages.append({icon, title, text});
    }
    bool confirm(QWidget*, const QString&, const QString& text) override
    {
        questions.append(text);
        return !confirmations.isEmpty() && confirmations.takeFirst();
    }
    std::optional<QString> getExistingDirectory(QWidget*, const QString& title,
                                                const QString&) override
    {
        folderTitles.append(title);
        const QString answer = m_folders.isEmpty() ? QString() : m_folders.takeFirst();
        return answer.isEmpty() ? std::nullopt : std::optional(answer);
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&,
                                      std::array<QColor, 16>& customColors) override
    {
        offeredCustomColors = customColors;
        return m_colors.isEmpty() ? std::nullopt : m_colors.takeFirst();
    }

private:
    QStringList m_folders;
    QList<std::optional<QColor>> m_colors;
};
