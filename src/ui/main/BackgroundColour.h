#pragma once

#include "ui/forms/ErrorReporter.h"

#include <QColor>
#include <QObject>

#include <array>

class Dialogs;
class Form;
class QPushButton;
class Settings;

// The window's background colour: the stored one at start, and "Change ..." with the colour
// dialog, whose custom colours are the window's own.
class BackgroundColour : public QObject
{
    Q_OBJECT
public:
    BackgroundColour(Form* window, QPushButton* change, Settings& settings, Dialogs& dialogs,
                     ErrorReporter report, QObject* parent = nullptr);

    // Start-up: the custom colours (greys from 15 to 240) and the stored colour applied.
    void restore();
    void cmdchange_Click();

private:
    void setBackColor(quint32 value);

    Form* m_window;
    Settings& m_settings;
    Dialogs& m_dialogs;
    ErrorReporter m_report;
    std::array<QColor, 16> m_customColors;
    quint32 m_backColor;
    // No colour of the user's: the window takes the desktop's palette, light or dark.
    bool m_followsPalette = true;
};
