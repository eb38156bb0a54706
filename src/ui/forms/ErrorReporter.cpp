#include "ErrorReporter.h"

#include "platform/Dialogs.h"

ErrorReporter::ErrorReporter(Dialogs& dialogs, QWidget* window, QString title)
    : m_dialogs(&dialogs), m_window(window), m_title(std::move(title))
{
}

void ErrorReporter::operator()(const QString& text) const
{
    m_dialogs->message(m_window, Dialogs::Icon::Critical, m_title, text);
}
