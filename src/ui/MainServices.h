#pragma once

#include "core/fs/AppFolders.h"
#include "messenger/MessengerClient.h"

#include <chrono>
#include <functional>

class AutoRun;
class Browser;
class DesktopNotifier;
class Dialogs;
class KeyboardLayout;
class LanguageSupport;
class Settings;
class SingleInstance;
class TrayIcon;

// What the windows reach outside the program through, handed in by main() or by a test.
struct MainServices
{
    Settings* settings = nullptr;
    Dialogs* dialogs = nullptr;
    Browser* browser = nullptr;
    TrayIcon* tray = nullptr;
    AutoRun* autoRun = nullptr;
    SingleInstance* instance = nullptr;
    LanguageSupport* language = nullptr;
    // The input layout that copying a nickname switches away from US English; none: no switch.
    KeyboardLayout* keyboard = nullptr;
    MessengerClientFactory messengerFactory;
    // Desktop notes on pictures that keep failing to reach the client; none: no notes.
    DesktopNotifier* notifier = nullptr;
    // How long pictures keep failing before the desktop is told.
    std::chrono::milliseconds outageNoticeAfter{60000};
    // Where the program's own files are (the language files and sample pictures beside it).
    AppFolders folders{QString(), QString()};
};
