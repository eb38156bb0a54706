#include "BackgroundColour.h"

#include "core/settings/Settings.h"
#include "platform/Dialogs.h"
#include "ui/forms/Colors.h"
#include "ui/forms/Form.h"

#include <QPushButton>

BackgroundColour::BackgroundColour(Form* window, QPushButton* change, Settings& settings,
                                   Dialogs& dialogs, ErrorReporter report, QObject* parent)
    : QObject(parent), m_window(window), m_settings(settings), m_dialogs(dialogs),
      m_report(std::move(report)), m_backColor(Colors::DefaultBackground)
{
    connect(change, &QPushButton::clicked, this, &BackgroundColour::cmdchange_Click);
}

void BackgroundColour::restore()
{
    for (int i = 0; i < 16; ++i)
        m_customColors[static_cast<size_t>(i)] = QColor(15 * (i + 1), 15 * (i + 1), 15 * (i + 1));
    // Until the user chooses a colour the window follows the desktop's theme, light or dark.
    if (const std::optional<quint32> chosen = m_settings.chosenColor()) {
        setBackColor(*chosen);
    } else {
        m_followsPalette = true;
        m_backColor = Colors::fromQColor(m_window->palette().color(QPalette::Window));
    }
}

void BackgroundColour::setBackColor(quint32 value)
{
    m_backColor = value;
    m_followsPalette = false;
    Colors::paintWindow(m_window, value);
}

void BackgroundColour::cmdchange_Click()
{
    const auto chosen =
        m_dialogs.chooseColor(m_window, Colors::toQColor(m_backColor), m_customColors);
    if (chosen)
        setBackColor(Colors::fromQColor(*chosen));
    // Stored after Cancel too, as signed 32-bit text. A window that follows the desktop's
    // palette stores the default colour, which keeps it following: the colour it shows now
    // would pin it to today's theme.
    const quint32 kept = m_followsPalette ? Colors::DefaultBackground : m_backColor;
    if (const Result<void> stored =
            m_settings.write(Settings::Entry::Color, QString::number(static_cast<qint32>(kept)));
        !stored)
        m_report(stored.error());
}
