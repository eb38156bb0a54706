#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <optional>

class QWidget;

// Every dialog and message box the windows open goes through this seam, so that tests can
// answer them without a modal loop.
class Dialogs
{
public:
    enum class Icon { None, Information, Warning, Critical };

    virtual ~Dialogs() = default;

    virtual void message(QWidget* parent, Icon icon, const QString& title, const QString& text) = 0;
    // True when the user answered Yes.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
    // The chosen folder, or nothing when the user cancelled.
    virtual std::optional<QString> getExistingDirectory(QWidget* parent, const QString& title,
                                                        const QString& startDir) = 0;
    // The chosen colour, or nothing when the user cancelled; the custom colours may change.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial,
                                              std::array<QColor, 16>& customColors) = 0;
};
