#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "language/LanguageSupport.h"
#include "links/Browser.h"
#include "main/FrmMine.h"
#include "main/SessionMessengerClient.h"
#include "main/SingleInstance.h"
#include "main/TrayIcon.h"
#include "settings/AutoRun.h"
#include "settings/Settings.h"
#include "tools/KeyboardLayout.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setApplicationVersion(QStringLiteral("4.0"));
    // The main window ends the program itself; hiding it in the notification area must not.
    QApplication::setQuitOnLastWindowClosed(false);

    Settings settings;
    QtDialogs dialogs;
    SystemBrowser browser;
    SystemTrayIcon tray;
    AutoRun autoRun = AutoRun::fromEnvironment();
    SingleInstance instance;
    LanguageSupport language(AppPaths::langDir());
    const std::unique_ptr<KeyboardLayout> keyboard = KeyboardLayout::createForPlatform();

    MainServices services;
    services.settings = &settings;
    services.dialogs = &dialogs;
    services.browser = &browser;
    services.tray = &tray;
    services.autoRun = &autoRun;
    services.instance = &instance;
    services.language = &language;
    services.keyboard = keyboard.get();
    services.messengerFactory = &SessionMessengerClient::create;

    FrmMine window(services);
    if (!window.Form_Load())
        return 0;
    window.showAtStart();
    return QApplication::exec();
}
