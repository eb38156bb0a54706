#pragma once

#include "platform/Dialogs.h"

// The dialogs and message boxes of Qt.
class QtDialogs : public Dialogs
{
public:
    void message(QWidget* parent, Icon icon, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> getExistingDirectory(QWidget* parent, const QString& title,
                                                const QString& startDir) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                      std::array<QColor, 16>& customColors) override;
};
