#include "FrmMine.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FolderExists.h"
#include "core/language/LanguageSupport.h"
#include "core/language/Texts.h"
#include "core/rotation/Rotation.h"
#include "core/settings/Settings.h"
#include "core/web/FirstRunNotice.h"
#include "core/web/VendorSite.h"
#include "platform/Browser.h"
#include "platform/ControlService.h"
#include "platform/Dialogs.h"
#include "platform/SingleInstance.h"
#include "platform/TrayIcon.h"
#include "ui/accounts/FrmAccounts.h"
#include "ui/main/BackgroundColour.h"
#include "ui/main/IntervalFields.h"
#include "ui/main/LanguageMenu.h"
#include "ui/main/NotificationArea.h"
#include "ui/main/OptionsPanel.h"
#include "ui/main/PictureList.h"
#include "ui/main/RotationMenu.h"
#include "ui/main/WebLinks.h"
#include "ui/tools/FrmTools.h"
#include "ui/widgets/AppIcon.h"
#include "ui/widgets/FileListBox.h"
#include "ui/widgets/ImageControl.h"
#include "xmpp/XmppAccounts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

const QString FrmMine::Title = QStringLiteral("Dorvane");

using Entry = Settings::Entry;

FrmMine::FrmMine(const MainServices& services, QWidget* parent)
    : Form(QStringLiteral("frmMine"), QSizeF(7665, 8610), parent), m_services(services),
      m_rotation(new Rotation(services.settings, services.outageNoticeAfter,
                              &OutageNotices::steadyNow, this))
{
    setWindowTitle(QStringLiteral("Dorvane 4.0"));
    setWindowIcon(appIcon());
    buildWidgets();
    buildParts();
}

FrmMine::~FrmMine()
{
    // Closing a window that is still shown moves the focus away from its widgets, which fires
    // their signals; none of its handlers may run on a window whose parts are already gone.
    for (QWidget* child : findChildren<QWidget*>())
        child->blockSignals(true);
}

void FrmMine::buildWidgets()
{
    auto frame = [this](const QString& name) { return control(name); };

    addFrame(QStringLiteral("frmlang"), QStringLiteral("Language"), {120, 120, 2535, 855});
    m_comblang = addComboBox(QStringLiteral("comblang"), {120, 360, 2295, 315}, frame("frmlang"));
    // Its text names the current language even when no file of exactly that name is listed.
    m_comblang->setEditable(true);
    m_comblang->setInsertPolicy(QComboBox::NoInsert);

    addFrame(QStringLiteral("frmbackcolor"), QStringLiteral("Background Color "),
             {2760, 120, 4815, 855});
    addLabel(QStringLiteral("lblbackcolor"),
             QStringLiteral("Change Your Applaction Background Color ."), {120, 360, 3135, 255},
             frame("frmbackcolor"));
    addButton(QStringLiteral("cmdchange"), QStringLiteral("Change ..."), {3480, 240, 1095, 375},
              frame("frmbackcolor"));

    addFrame(QStringLiteral("frmoptions"), QStringLiteral("Options"), {120, 1080, 7455, 2055});
    NamedControl* options = frame("frmoptions");
    addCheckBox(QStringLiteral("chkrun"), QStringLiteral("Enable Control."), {120, 360, 2535, 255},
                options);
    addCheckBox(QStringLiteral("chkwin"), QStringLiteral("Start With Windows."),
                {120, 760, 2535, 255}, options);
    addCheckBox(QStringLiteral("chkran"), QStringLiteral("Random Pictures."),
                {120, 1160, 2535, 255}, options);
    addCheckBox(QStringLiteral("chkmwin"), QStringLiteral("Min As Icon."), {120, 1560, 2415, 255},
                options);
    addLabel(QStringLiteral("lblmtime"), QStringLiteral("Change the Picture Every :"),
             {2760, 240, 2385, 195}, options);
    addTextBox(QStringLiteral("txtm"), QStringLiteral("0"), {5520, 240, 400, 300}, options);
    addLabel(QStringLiteral("lblmt"), QStringLiteral("minute."), {6240, 360, 510, 195}, options);
    addLabel(QStringLiteral("lblstime"), QStringLiteral("Change the Picture Every :"),
             {2760, 720, 2385, 195}, options);
    addTextBox(QStringLiteral("txts"), QStringLiteral("0"), {5520, 720, 400, 300}, options);
    addLabel(QStringLiteral("lblst"), QStringLiteral("second."), {6240, 720, 570, 195}, options);
    addButton(QStringLiteral("cmdoptions"), QStringLiteral("Apply"), {4680, 1150, 1215, 375},
              options);
    addLabel(QStringLiteral("lblinfo1"), QStringLiteral("For Save New Setting Click Apply Button"),
             {3720, 1680, 2925, 195}, options);

    addFrame(QStringLiteral("frmpath"), QStringLiteral("Images Folder Path "),
             {120, 3240, 7455, 800});
    NamedControl* path = frame("frmpath");
    addLabel(QStringLiteral("lblpath"), QStringLiteral("Address :"), {200, 360, 660, 195}, path);
    m_txtpath = addTextBox(QStringLiteral("txtpath"), QString(), {960, 280, 4935, 300}, path);
    addButton(QStringLiteral("cmdPath"), QStringLiteral("Browse ..."), {6120, 240, 1095, 375},
              path);

    addLabel(QStringLiteral("lbllstfile"), QStringLiteral("List Images:"), {840, 4080, 840, 195});
    addFileListBox(QStringLiteral("lstimages"), {120, 4440, 2055, 2595});
    addLabel(QStringLiteral("lblpic"), QStringLiteral("Current Picture :"),
             {2640, 4080, 1140, 195});
    addImage(QStringLiteral("imgnow"), {2655, 4440, 1095, 1095});
    // What the rotation does, who takes the pictures and the last failure.
    addLabel(QStringLiteral("lblstate"), QString(), {2640, 5640, 2160, 855});
    ImageControl* imgicon = addImage(QStringLiteral("imgicon"), {4200, 4320, 615, 615});
    addLabel(QStringLiteral("lbldvnr"), QStringLiteral("Dorvane "), {5040, 4320, 2160, 195});
    addLabel(QStringLiteral("lblsite"), vendorUrl().host(), {5235, 4680, 1695, 210});
    addLabel(QStringLiteral("lblhelp"), QStringLiteral("For Help Click Here"),
             {5400, 5040, 1365, 210});
    addLabel(QStringLiteral("lblsupport"), QStringLiteral("For Support Click Here"),
             {5280, 5400, 1635, 210});
    addButton(QStringLiteral("cmdtools"), QStringLiteral("Other Tools"), {4920, 6600, 2055, 375});
    addButton(QStringLiteral("cmdaccounts"), QStringLiteral("Accounts..."),
              {2640, 6600, 2160, 375});
    m_banner = new QLabel(this);
    m_banner->setAlignment(Qt::AlignCenter);
    m_banner->setFrameShape(QFrame::StyledPanel);
    addOther(QStringLiteral("ShockwaveFlash1"), m_banner, {240, 7320, 7095, 1095});
    addFileList(QStringLiteral("Files"), {1080, 5640, 855, 870});
    m_txtrtl =
        addTextBox(QStringLiteral("txtrtl"), QStringLiteral("Text1"), {5400, 5880, 615, 375});
    m_txtrtl->hide();

    // The tray's menu ("" a separator). Next, previous, pause and the rotation's state take their
    // texts from the language and the rotation.
    addMenu(QStringLiteral("mnuTray"), QStringLiteral("mnuTray"));
    for (const char* item :
         {"mnuopen:Show Window", "mnuaccounts:Accounts...", "", "mnunext", "mnuprevious",
          "mnupause", "mnustatus", "", "mnuweb:Visit Web Site", "", "mnuexit:Exit"}) {
        const QString text = QString::fromLatin1(item);
        if (text.isEmpty())
            addMenuSeparator(QStringLiteral("mnuTray"));
        else
            addMenuItem(QStringLiteral("mnuTray"), text.section(u':', 0, 0), text.section(u':', 1));
    }
    addMenu(QStringLiteral("mnuimglst"), QStringLiteral("mnuimglst"));
    addMenuItem(QStringLiteral("mnuimglst"), QStringLiteral("mnudel"), QStringLiteral("Delete"));
    addMenu(QStringLiteral("mnuLanguages"), QStringLiteral("Lingua"));
    addMenuItem(QStringLiteral("mnuLanguages"), QStringLiteral("mnuLanguage"),
                QStringLiteral("mnuLanguage 0"), 0);

    // Controls whose text keeps its alignment when the layout is mirrored.
    for (const char* name : {"txtpath", "txtm", "txts", "lblhelp", "lblsite", "lblsupport"})
        control(QString::fromLatin1(name))->setTag(QStringLiteral("no"));

    imgicon->setPicture(windowIcon().pixmap(imgicon->size()).toImage());
    setMouseTracking(true);
    control(QStringLiteral("imgicon"))->widget()->setAccessibleName(Title);
    nameForScreenReaders();
    // Enter on Apply applies, as a click does.
    widget<QPushButton>(QStringLiteral("cmdoptions"))->setAutoDefault(true);
}

void FrmMine::nameForScreenReaders()
{
    // The controls whose caption is elsewhere.
    const std::pair<const char*, Text> names[] = {
        {"comblang", Text::NameLanguage},  {"txtm", Text::NameMinutes},
        {"txts", Text::NameSeconds},       {"txtpath", Text::NamePictureFolder},
        {"lstimages", Text::NamePictures}, {"imgnow", Text::NameCurrentPicture}};
    for (const auto& [name, text] : names)
        control(QLatin1String(name))->widget()->setAccessibleName(Texts::text(text));
}

void FrmMine::showAccountsTexts()
{
    // Texts of the program's own, from the language's messages rather than the designed form's.
    control(QStringLiteral("cmdaccounts"))->setCaption(Texts::text(Text::AccountsOpen));
    control(QStringLiteral("cmdaccounts"))->setToolTip(Texts::text(Text::AccountsOpenTip));
    control(QStringLiteral("mnuaccounts"))->setCaption(Texts::text(Text::AccountsOpen));
    // The language's own direction: the main window turns only after the language is applied.
    const LanguageSupport& language = m_services.language;
    const std::optional<QChar> flag = language.directionFlag(language.CurrentLang());
    const bool rightToLeft = flag ? *flag == u'0' : formRightToLeft();
    m_accountsWindow->applyLanguage(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void FrmMine::buildParts()
{
    auto action = [this](const char* name) { return control(QLatin1String(name))->action(); };
    auto* minutes = widget<QLineEdit>(QStringLiteral("txtm"));
    auto* seconds = widget<QLineEdit>(QStringLiteral("txts"));
    const ErrorReporter report(m_services.dialogs, this, Title);

    connect(m_rotation, &Rotation::folderChanged, m_txtpath, &QLineEdit::setText);
    m_intervals = new IntervalFields(minutes, seconds, this);
    connect(m_intervals, &IntervalFields::entered, this, [this] { m_options->cmdoptions_Click(); });
    m_list = new PictureList({widget<FileListBox>(QStringLiteral("lstimages")),
                              widget<ImageControl>(QStringLiteral("imgnow")),
                              control(QStringLiteral("mnuimglst"))->menu(), action("mnudel")},
                             *m_rotation, report, this);
    m_options = new OptionsPanel(
        {minutes, seconds, widget<QCheckBox>(QStringLiteral("chkrun")),
         widget<QCheckBox>(QStringLiteral("chkwin")), widget<QCheckBox>(QStringLiteral("chkran")),
         widget<QCheckBox>(QStringLiteral("chkmwin")),
         widget<QPushButton>(QStringLiteral("cmdoptions")), m_txtpath,
         widget<QPushButton>(QStringLiteral("cmdPath"))},
        {m_services.settings, m_services.autoRun, m_services.dialogs, m_services.folders},
        *m_rotation, report, this);
    m_languages =
        new LanguageMenu(this, m_comblang, m_txtrtl, m_services.language, m_services.dialogs, this);
    m_colour = new BackgroundColour(this, widget<QPushButton>(QStringLiteral("cmdchange")),
                                    m_services.settings, m_services.dialogs, report, this);
    m_links = new WebLinks(this, m_services.browser, widget<QLabel>(QStringLiteral("lblsite")),
                           widget<QLabel>(QStringLiteral("lblhelp")),
                           widget<QLabel>(QStringLiteral("lblsupport")), report);
    m_notificationArea =
        new NotificationArea(this, m_services.tray, control(QStringLiteral("mnuTray"))->menu(),
                             action("mnuopen"), action("mnuexit"), m_rotation->timer(), this);

    m_menu = new RotationMenu(*m_rotation,
                              {control(QStringLiteral("mnuTray"))->menu(), action("mnunext"),
                               action("mnuprevious"), action("mnupause"), action("mnustatus"),
                               widget<QLabel>(QStringLiteral("lblstate"))},
                              m_notificationArea, m_services.notifier, this);
    m_control = new ControlService(*m_rotation, this);
    connect(m_control, &ControlService::showRequested, m_notificationArea,
            &NotificationArea::mnuopen_Click);
    // A language's texts in the menu and the status line, the new items' too.
    connect(m_languages, &LanguageMenu::applied, m_menu, &RotationMenu::update);
    connect(m_languages, &LanguageMenu::applied, this, &FrmMine::nameForScreenReaders);

    m_accounts = new XmppAccounts(m_services.settings, m_services.passwords, *m_rotation, this);
    m_accountsWindow = new FrmAccounts(*m_accounts, m_services.dialogs, this);
    connect(widget<QPushButton>(QStringLiteral("cmdaccounts")), &QPushButton::clicked,
            m_accountsWindow, &FrmAccounts::showWindow);
    connect(action("mnuaccounts"), &QAction::triggered, m_accountsWindow, &FrmAccounts::showWindow);
    connect(m_languages, &LanguageMenu::applied, this, &FrmMine::showAccountsTexts);
    showAccountsTexts();

    connect(action("mnuweb"), &QAction::triggered, m_links,
            [this] { m_links->open(QStringLiteral("/dvn")); });
    connect(widget<QPushButton>(QStringLiteral("cmdtools")), &QPushButton::clicked, this,
            &FrmMine::cmdtools_Click);
    // Any event of the icon, like a move of the pointer over the bare window, ends a hover.
    connect(&m_services.tray, &TrayIcon::activated, m_links, &WebLinks::hoverOff);
}

// ---------------------------------------------------------------------------------------------
// Start-up

bool FrmMine::Form_Load()
{
    Settings& settings = m_services.settings;

    // One copy per user.
    if (!m_services.instance.acquire()) {
        m_services.instance.bringRunningCopyForward();
        m_services.dialogs.message(nullptr, Dialogs::Icon::Warning, Title,
                                   Texts::text(Text::AlreadyRunning));
        return false;
    }

    // The colour dialog's custom colours and the colour.
    m_colour->restore();

    // The language and its direction.
    m_languages->start();

    // Messenger: the client object, and one read of the contacts. Without a client, or with
    // one that refuses, start-up goes on: Apply decides whether the rotation starts, and the
    // rotation's state says why not.
    if (Result<std::unique_ptr<MessengerClient>> made = m_services.messengerFactory())
        m_objMessenger = std::move(made).value();
    else
        qWarning("Dorvane: %s", qPrintable(made.error()));
    if (m_objMessenger)
        m_objMessenger->myContacts([](const Result<QList<MessengerContact>>&) {});
    m_rotation->setDestination(m_objMessenger.get());
    // The XMPP accounts beside it; their keyring and their servers answer later.
    m_accounts->load();

    // First run.
    if (settings.readNumber(Entry::FirstRun) == 0)
        firstRun();

    // Picture folder.
    restoreFolder();

    // Interval fields (their change rules run as the texts are set).
    widget<QLineEdit>(QStringLiteral("txtm"))->setText(settings.read(Entry::TimerMinutes));
    widget<QLineEdit>(QStringLiteral("txts"))->setText(settings.read(Entry::TimerSeconds));

    // Start mode and check boxes.
    m_startHidden = settings.readFlag(Entry::WinMode);
    widget<QCheckBox>(QStringLiteral("chkmwin"))->setChecked(m_startHidden);
    widget<QCheckBox>(QStringLiteral("chkran"))->setChecked(settings.readFlag(Entry::Random));
    widget<QCheckBox>(QStringLiteral("chkrun"))->setChecked(settings.readFlag(Entry::Control));
    widget<QCheckBox>(QStringLiteral("chkwin"))->setChecked(settings.readFlag(Entry::AutoRun));

    // Apply and banner.
    if (FolderExists(m_txtpath->text())) {
        m_options->cmdoptions_Click();
        loadBanner();
    }
    return true;
}

void FrmMine::showAtStart()
{
    m_notificationArea->showAtStart(m_startHidden);
}

void FrmMine::firstRun()
{
    Settings& settings = m_services.settings;
    // A store that cannot be written would bring the first run back at every start; the notice
    // is sent only once it is recorded.
    if (const Result<void> recorded = settings.write(Entry::FirstRun, QStringLiteral("1"));
        !recorded) {
        qWarning("Dorvane: %s", qPrintable(recorded.error()));
        return;
    }
    // Nobody asked for these: a failure goes to standard error, and the check boxes show what
    // the store holds.
    if (const Result<void> stored = settings.write({{Entry::AutoRun, QStringLiteral("1")},
                                                    {Entry::Random, QStringLiteral("1")},
                                                    {Entry::Control, QStringLiteral("1")}});
        !stored)
        qWarning("Dorvane: %s", qPrintable(stored.error()));

    QByteArray postData;
    FirstRunNotice::StringToBytes(postData, QStringLiteral("newuser=") + QStringLiteral("1"));
    const Result<QUrl> page = FirstRunNotice::writePage(
        AppPaths::tempDir(), vendorUrl(QStringLiteral("/dvn/start.php")), postData);
    QString failure = page.error();
    if (page) {
        if (const Result<void> opened = m_services.browser.openUrl(*page); !opened)
            failure = opened.error();
    }
    if (!failure.isEmpty())
        qWarning("Dorvane: first-run notice not sent: %s", qPrintable(failure));
}

void FrmMine::restoreFolder()
{
    QString folder = m_services.settings.read(Entry::ImagePath, m_txtpath->text());
    // Else the pictures beside the program, shown and not stored: the stored folder changes only
    // when the user picks one.
    if (!FolderExists(folder))
        folder = FolderExists(m_services.folders.imagesDir()) ? m_services.folders.imagesDir() : "";
    m_rotation->setFolder(folder);
}

void FrmMine::loadBanner()
{
    m_banner->setText(vendorUrl(QStringLiteral("/dvn/dvnads.swf")).toString());
}

// ---------------------------------------------------------------------------------------------
// The contact tools window and its opener

void FrmMine::cmdtools_Click()
{
    // A fresh window each time; the main window takes no input until it is closed.
    FrmTools::showModal(*this, m_services, this);
}

QString FrmMine::directionFlag() const
{
    return m_txtrtl->text();
}

QString FrmMine::pictureFolder() const
{
    return m_rotation->folder();
}

void FrmMine::showLanguage(const QString& name)
{
    m_comblang->setCurrentText(name);
}

void FrmMine::picturesAdded()
{
    m_rotation->fillPictureList();
}

void FrmMine::mouseMoveEvent(QMouseEvent* event)
{
    m_links->hoverOff();
    Form::mouseMoveEvent(event);
}
