#pragma once

#include "main/MessengerClient.h"

#include <functional>

class AutoRun;
class Browser;
class Dialogs;
class LanguageSupport;
class Settings;
class SingleInstance;
class TrayIcon;
class QWidget;

// What the windows reach outside the program through, handed in by main() or by a test.
struct MainServices {
    Settings* settings = nullptr;
    Dialogs* dialogs = nullptr;
    Browser* browser = nullptr;
    TrayIcon* tray = nullptr;
    AutoRun* autoRun = nullptr;
    SingleInstance* instance = nullptr;
    LanguageSupport* language = nullptr;
    MessengerClientFactory messengerFactory;
};
