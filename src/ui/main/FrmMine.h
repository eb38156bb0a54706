#pragma once

#include "ui/MainServices.h"
#include "ui/forms/Form.h"
#include "ui/tools/ToolsHost.h"

#include <memory>

class BackgroundColour;
class ControlService;
class FrmAccounts;
class IntervalFields;
class LanguageMenu;
class NotificationArea;
class OptionsPanel;
class PictureList;
class QComboBox;
class QLabel;
class QLineEdit;
class Rotation;
class RotationMenu;
class WebLinks;
class XmppAccounts;

// The main window. It builds its widgets and runs the start-up; the work is done by the small
// classes it hands its widgets and services to: the picture list and rotation, the options panel
// (Apply and the folder), the language menu, the background colour, the links and the
// notification area. It is also the opener the contact tools window talks to.
class FrmMine : public Form, public ToolsHost
{
    Q_OBJECT
public:
    static const QString Title; // "Dorvane"

    explicit FrmMine(const MainServices& services, QWidget* parent = nullptr);
    ~FrmMine() override;

    // Start-up; false when another copy already runs and this one must end.
    bool Form_Load();
    // Shows the window, or leaves it in the notification area when so started.
    void showAtStart();

    // The rotation as the session bus sees it; published by the running copy alone.
    ControlService* controlService() const { return m_control; }

    void cmdtools_Click();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildWidgets();
    void buildParts();
    // What a screen reader says of the controls whose caption is elsewhere, in the language.
    void nameForScreenReaders();
    // The accounts' button, menu item and window in the language and its direction.
    void showAccountsTexts();
    void firstRun();
    void restoreFolder();
    void loadBanner();

    // What the contact tools window it opens reaches it through.
    QIcon icon() const override { return windowIcon(); }
    QString directionFlag() const override;
    QString pictureFolder() const override;
    void showLanguage(const QString& name) override;
    void picturesAdded() override;

    MainServices m_services;
    std::unique_ptr<MessengerClient> m_objMessenger;
    bool m_startHidden = false;

    QComboBox* m_comblang = nullptr;
    QLineEdit* m_txtpath = nullptr;
    QLineEdit* m_txtrtl = nullptr;
    QLabel* m_banner = nullptr;

    Rotation* m_rotation;
    IntervalFields* m_intervals = nullptr;
    PictureList* m_list = nullptr;
    OptionsPanel* m_options = nullptr;
    LanguageMenu* m_languages = nullptr;
    BackgroundColour* m_colour = nullptr;
    WebLinks* m_links = nullptr;
    NotificationArea* m_notificationArea = nullptr;
    RotationMenu* m_menu = nullptr;
    ControlService* m_control = nullptr;
    XmppAccounts* m_accounts = nullptr;
    FrmAccounts* m_accountsWindow = nullptr;
};
