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
class PasswordStore;
class Settings;
class SingleInstance;
class TrayIcon;

// What the windows reach outside the program through, handed in by main() or by a test. Where
// there is nothing to reach, a null object stands in (NoKeyboardLayout, NoDesktopNotifier).
struct MainServices
{
    Settings& settings;
    Dialogs& dialogs;
    Browser& browser;
    TrayIcon& tray;
    AutoRun& autoRun;
    SingleInstance& instance;
    LanguageSupport& language;
    // The input layout that copying a nickname switches away from US English.
    KeyboardLayout& keyboard;
    // Desktop notes on pictures that keep failing to reach the client.
    DesktopNotifier& notifier;
    // The keyring that keeps the XMPP accounts' passwords.
    PasswordStore& passwords;
    // Makes each window its Messenger client object, or says why it cannot.
    MessengerClientFactory messengerFactory;
    // How long pictures keep failing before the desktop is told.
    std::chrono::milliseconds outageNoticeAfter{60000};
    // Where the program's own files are (the language files and sample pictures beside it).
    AppFolders folders{QString(), QString()};
};
