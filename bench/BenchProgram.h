#pragma once

// The main window of the benchmarks, as main() builds it, with nothing that waits for a person.

#include "core/fs/AppFolders.h"
#include "core/language/LanguageSupport.h"
#include "core/settings/AutoRun.h"
#include "core/settings/Settings.h"
#include "messenger/SessionMessengerClient.h"
#include "platform/Browser.h"
#include "platform/Dialogs.h"
#include "platform/KeychainPasswordStore.h"
#include "platform/LockFileInstance.h"
#include "platform/NoDesktopNotifier.h"
#include "platform/NoKeyboardLayout.h"
#include "platform/TrayIcon.h"
#include "ui/main/FrmMine.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

// Every message is printed: a benchmark answers no dialog.
class PrintedDialogs : public Dialogs
{
public:
    void message(QWidget*, Icon, const QString&, const QString& text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool confirm(QWidget*, const QString&, const QString& text) override
    {
        std::fprintf(stderr, "declined: %s\n", qPrintable(text));
        return false;
    }
    std::optional<QString> getExistingDirectory(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&, std::array<QColor, 16>&) override
    {
        return std::nullopt;
    }
};

class NoBrowser : public Browser
{
public:
    Result<void> openUrl(const QUrl&) override { return {}; }
};

class NoTray : public TrayIcon
{
public:
    bool isSystemTrayAvailable() const override { return false; }
    void show(const QIcon&, const QString&) override {}
    void hide() override {}
    bool isVisible() const override { return false; }
    void setMenu(QMenu*) override {}
};

// The main window as main() builds it, on a settings file of the scenario's own.
struct Program
{
    PrintedDialogs dialogs;
    NoBrowser browser;
    NoTray tray;
    NoKeyboardLayout keyboard;
    Settings settings;
    AutoRun autoRun;
    LockFileInstance instance;
    LanguageSupport language;
    NoDesktopNotifier notifier;
    KeychainPasswordStore passwords;
    MainServices services{.settings = settings,
                          .dialogs = dialogs,
                          .browser = browser,
                          .tray = tray,
                          .autoRun = autoRun,
                          .instance = instance,
                          .language = language,
                          .keyboard = keyboard,
                          .notifier = notifier,
                          .passwords = passwords,
                          .messengerFactory = &SessionMessengerClient::create,
                          .folders = AppFolders::find(QStringLiteral(DORVANE_BIN_DIR))};
    std::unique_ptr<FrmMine> window;

    Program(const QTemporaryDir& root, const QByteArray& storedOptions)
        : settings(root.filePath(QStringLiteral("Dorvane.ini"))),
          autoRun(root.filePath(QStringLiteral("xdg")), root.filePath(QStringLiteral("user"))),
          instance(root.filePath(QStringLiteral("dorvane.lock"))),
          language(QStringLiteral(DORVANE_BIN_DIR "/lang"), root.path())
    {
        QFile file(settings.filePath());
        if (file.open(QIODevice::WriteOnly))
            file.write("[firstrun]\nstate=1\n[autorun]\nstate=0\n" + storedOptions);
        file.close();
        window = std::make_unique<FrmMine>(services);
        window->Form_Load();
        window->showAtStart();
    }
};
