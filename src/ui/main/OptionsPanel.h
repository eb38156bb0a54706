#pragma once

#include "core/fs/AppFolders.h"
#include "ui/forms/ErrorReporter.h"

#include <QObject>

#include <optional>

class AutoRun;
class Dialogs;
class QCheckBox;
class QLineEdit;
class QPushButton;
class Rotation;
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
        Settings& settings;
        AutoRun& autoRun;
        Dialogs& dialogs;
        AppFolders folders;
    };

    OptionsPanel(const Widgets& widgets, const Services& services, Rotation& rotation,
                 ErrorReporter report, QObject* parent = nullptr);

    void cmdoptions_Click();
    void cmdPath_Click();
    // The folder the user chose, or nothing when the dialog was cancelled.
    std::optional<QString> BrowseForFolder(const QString& title);

private:
    // A folder the user chose or typed: listed, and stored as the picture folder.
    void takeFolder(const QString& folder);

    Widgets m_widgets;
    Services m_services;
    Rotation& m_rotation;
    ErrorReporter m_report;
};
