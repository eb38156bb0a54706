#pragma once

#include <QString>

class Dialogs;
class QWidget;

// Tells the user of a failure of a handler they started, in a message box over the window; the
// window goes on. The small classes a window wires its widgets to report through it, so they need
// nothing of the window itself.
class ErrorReporter
{
public:
    ErrorReporter(Dialogs& dialogs, QWidget* window, QString title);

    void operator()(const QString& text) const;

private:
    Dialogs* m_dialogs; // a pointer, so that a reporter can be copied
    QWidget* m_window;
    QString m_title;
};
