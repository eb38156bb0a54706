#pragma once

#include "core/fs/AppFolders.h"
#include "ui/forms/ErrorReporter.h"

#include <QObject>

#include <optional>

class AutoRun;
class Dialogs;
class PictureRotation;
class QCheckBox;
class QLineEdit;
class QPushButton;
class Settings;

// The options panel's Apply routine, the one place that (re)starts the rotation, and the choice
// of the picture folder, which ends in Apply.
class OptionsPanel : public QObject
{
    Q_OBJECT
public:
    struct Widgets
    {
        QLineEdit* minutes;      // txtm
        QLineEdit* seconds;      // txts
        QCheckBox* rotationOn;   // chkrun
        QCheckBox* startAtLogOn; // chkwin
        QCheckBox* random;       // chkran
        QCheckBox* startHidden;  // chkmwin
        QPushButton* apply;      // cmdoptions
        QLineEdit* folder;       // txtpath
        QPushButton* browse;     // cmdPath
    };
    struct Services
    {
        Settings* settings;
        AutoRun* autoRun;
        Dialogs* dialogs;
        AppFolders folders;
    };

    OptionsPanel(const Widgets& widgets, const Services& services, PictureRotation* rotation,
                 ErrorReporter report, QObject* parent = nullptr);

    void cmdoptions_Click();
    void cmdPath_Click();
    // The folder the user chose, or nothing when the dialog was cancelled.
    std::optional<QString> BrowseForFolder(const QString& title);
    bool MessengerRunning() const;

private:
    Widgets m_widgets;
    Services m_services;
    PictureRotation* m_rotation;
    ErrorReporter m_report;
};
