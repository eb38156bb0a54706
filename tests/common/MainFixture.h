#pragma once

#include "FakeBrowser.h"
#include "FakeDialogs.h"
#include "FakeMessengerClient.h"
#include "FakeTrayIcon.h"
#include "TestEnvironment.h"

#include "common/FileListBox.h"
#include "language/LanguageSupport.h"
#include "main/FrmMine.h"
#include "main/SingleInstance.h"
#include "settings/AutoRun.h"
#include "settings/Settings.h"

#include <memory>

// Everything the main window needs, with fakes for the outside world and every folder in a
// temporary one. makeWindow() builds the window; load() also runs its start-up.
class MainFixture
{
public:
    MainFixture();
    ~MainFixture();

    TestEnvironment env;
    std::shared_ptr<FakeMessengerClient::State> messenger =
        std::make_shared<FakeMessengerClient::State>();
    FakeDialogs dialogs;
    FakeBrowser browser;
    FakeTrayIcon tray;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<AutoRun> autoRun;
    std::unique_ptr<SingleInstance> instance;
    std::unique_ptr<LanguageSupport> language;
    std::unique_ptr<FrmMine> window;

    MainServices services();
    FrmMine* makeWindow();
    // Builds the window and runs its start-up; returns what Form_Load returned.
    bool load();

    // Start-up as on a later run ("firstrun" recorded, so no first-run work) with the given
    // switches, over `folder`, or over a new folder "pics" of `pictures` when those are named.
    struct Start
    {
        QStringList pictures{};
        QString folder{};
        bool rotation = false;
        bool random = false;
        // Shown, exposed and active.
        bool shown = false;
    };
    // The window, or nullptr when start-up (or showing it) failed.
    FrmMine* start(const Start& how);

    // A folder of pictures (small PNG files) under the temporary folder.
    QString makePictureFolder(const QString& relative, const QStringList& names) const;
    // Copies the shipped language files into the application folder's lang/ (done at
    // construction; remove the folder for a test without them).
    void installLanguages() const;
    QString stored(Settings::Entry entry) const;
    bool isStored(Settings::Entry entry) const;
};
