#include "FrmMine.h"

#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "common/FileListBox.h"
#include "common/ImageControl.h"
#include "language/LangFile.h"
#include "language/LanguageSupport.h"
#include "language/Mirroring.h"
#include "links/Browser.h"
#include "links/WebLinks.h"
#include "main/AppIcon.h"
#include "main/FirstRunNotice.h"
#include "main/FolderExists.h"
#include "main/RotationTimer.h"
#include "main/SingleInstance.h"
#include "main/SysTray.h"
#include "main/TrayIcon.h"
#include "picture/ShowPictureFile.h"
#include "settings/AutoRun.h"
#include "settings/Colors.h"
#include "settings/OptionsPanel.h"
#include "settings/Settings.h"
#include "tools/FrmTools.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <utility>

const QString FrmMine::Title = QStringLiteral("Dorvane");
const QString FrmMine::TrayTip = QStringLiteral("Dorvane V 4.0");
const QString FrmMine::FilesPattern = QStringLiteral("*.jpg;*.gif;*.bmp;*.png;*.jpge");

namespace {

using Entry = Settings::Entry;

// The generator's fixed start state: every run draws the same order of pictures.
constexpr std::mt19937::result_type RandomSeed = 0x5EED;

QString one(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

FrmMine::FrmMine(const MainServices& services, QWidget* parent)
    : Form(QStringLiteral("frmMine"), QSizeF(7665, 8610), parent), Files(FilesPattern),
      m_services(services), m_timer(new RotationTimer(this)),
      m_backColor(Colors::DefaultBackground), m_random(RandomSeed)
{
    setWindowTitle(QStringLiteral("Dorvane 4.0"));
    setWindowIcon(appIcon());
    buildWidgets();
    m_sysTray = std::make_unique<SysTray>(m_services.tray);
    connectHandlers();
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
    comblang = addComboBox(QStringLiteral("comblang"), {120, 360, 2295, 315}, frame("frmlang"));
    // Its text names the current language even when no file of exactly that name is listed.
    comblang->setEditable(true);
    comblang->setInsertPolicy(QComboBox::NoInsert);

    addFrame(QStringLiteral("frmbackcolor"), QStringLiteral("Background Color "),
             {2760, 120, 4815, 855});
    lblbackcolor = addLabel(QStringLiteral("lblbackcolor"),
                            QStringLiteral("Change Your Applaction Background Color ."),
                            {120, 360, 3135, 255}, frame("frmbackcolor"));
    cmdchange = addButton(QStringLiteral("cmdchange"), QStringLiteral("Change ..."),
                          {3480, 240, 1095, 375}, frame("frmbackcolor"));

    addFrame(QStringLiteral("frmoptions"), QStringLiteral("Options"), {120, 1080, 7455, 2055});
    NamedControl* options = frame("frmoptions");
    chkrun = addCheckBox(QStringLiteral("chkrun"), QStringLiteral("Enable Control."),
                         {120, 360, 2535, 255}, options);
    chkwin = addCheckBox(QStringLiteral("chkwin"), QStringLiteral("Start With Windows."),
                         {120, 760, 2535, 255}, options);
    chkran = addCheckBox(QStringLiteral("chkran"), QStringLiteral("Random Pictures."),
                         {120, 1160, 2535, 255}, options);
    chkmwin = addCheckBox(QStringLiteral("chkmwin"), QStringLiteral("Min As Icon."),
                          {120, 1560, 2415, 255}, options);
    addLabel(QStringLiteral("lblmtime"), QStringLiteral("Change the Picture Every :"),
             {2760, 240, 2385, 195}, options);
    txtm = addTextBox(QStringLiteral("txtm"), QStringLiteral("0"), {5520, 240, 400, 300}, options);
    addLabel(QStringLiteral("lblmt"), QStringLiteral("minute."), {6240, 360, 510, 195}, options);
    addLabel(QStringLiteral("lblstime"), QStringLiteral("Change the Picture Every :"),
             {2760, 720, 2385, 195}, options);
    txts = addTextBox(QStringLiteral("txts"), QStringLiteral("0"), {5520, 720, 400, 300}, options);
    addLabel(QStringLiteral("lblst"), QStringLiteral("second."), {6240, 720, 570, 195}, options);
    cmdoptions = addButton(QStringLiteral("cmdoptions"), QStringLiteral("Apply"),
                           {DesignApplyLeft, 1150, 1215, 375}, options);
    addLabel(QStringLiteral("lblinfo1"), QStringLiteral("For Save New Setting Click Apply Button"),
             {3720, 1680, 2925, 195}, options);

    addFrame(QStringLiteral("frmpath"), QStringLiteral("Images Folder Path "),
             {120, 3240, 7455, 800});
    NamedControl* path = frame("frmpath");
    addLabel(QStringLiteral("lblpath"), QStringLiteral("Address :"), {200, 360, 660, 195}, path);
    txtpath = addTextBox(QStringLiteral("txtpath"), QString(), {960, 280, 4935, 300}, path);
    cmdPath = addButton(QStringLiteral("cmdPath"), QStringLiteral("Browse ..."),
                        {6120, 240, 1095, 375}, path);

    addLabel(QStringLiteral("lbllstfile"), QStringLiteral("List Images:"), {840, 4080, 840, 195});
    lstimages = addFileListBox(QStringLiteral("lstimages"), {120, 4440, 2055, 2595});
    addLabel(QStringLiteral("lblpic"), QStringLiteral("Current Picture :"),
             {2640, 4080, 1140, 195});
    imgnow = addImage(QStringLiteral("imgnow"), {2655, 4440, 1095, 1095});
    imgicon = addImage(QStringLiteral("imgicon"), {4200, 4320, 615, 615});
    addLabel(QStringLiteral("lbldvnr"), QStringLiteral("Dorvane "), {5040, 4320, 2160, 195});
    lblsite = addLabel(QStringLiteral("lblsite"), vendorUrl().host(), {5235, 4680, 1695, 210});
    lblhelp = addLabel(QStringLiteral("lblhelp"), QStringLiteral("For Help Click Here"),
                       {5400, 5040, 1365, 210});
    lblsupport = addLabel(QStringLiteral("lblsupport"), QStringLiteral("For Support Click Here"),
                          {5280, 5400, 1635, 210});
    cmdtools = addButton(QStringLiteral("cmdtools"), QStringLiteral("Other Tools"),
                         {4920, 6600, 2055, 375});
    ShockwaveFlash1 = new QLabel(this);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    ShockwaveFlash1->setAlignment(Qt::AlignCenter);
    ShockwaveFlash1->setFrameShape(QFrame::StyledPanel);
    addOther(QStringLiteral("ShockwaveFlash1"), ShockwaveFlash1, {240, 7320, 7095, 1095});
    addFileList(QStringLiteral("Files"), {1080, 5640, 855, 870});
    txtrtl = addTextBox(QStringLiteral("txtrtl"), QStringLiteral("Text1"), {5400, 5880, 615, 375});
    txtrtl->hide();

    mnuTray = addMenu(QStringLiteral("mnuTray"), QStringLiteral("mnuTray"));
    addMenuItem(QStringLiteral("mnuTray"), QStringLiteral("mnuopen"),
                QStringLiteral("Show Window"));
    addMenuSeparator(QStringLiteral("mnuTray"));
    addMenuItem(QStringLiteral("mnuTray"), QStringLiteral("mnuweb"),
                QStringLiteral("Visit Web Site"));
    addMenuSeparator(QStringLiteral("mnuTray"));
    addMenuItem(QStringLiteral("mnuTray"), QStringLiteral("mnuexit"), QStringLiteral("Exit"));
    mnuimglst = addMenu(QStringLiteral("mnuimglst"), QStringLiteral("mnuimglst"));
    addMenuItem(QStringLiteral("mnuimglst"), QStringLiteral("mnudel"), QStringLiteral("Delete"));
    mnuLanguages = addMenu(QStringLiteral("mnuLanguages"), QStringLiteral("Lingua"));
    addMenuItem(QStringLiteral("mnuLanguages"), QStringLiteral("mnuLanguage"),
                QStringLiteral("mnuLanguage 0"), 0);

    // Controls whose text keeps its alignment when the layout is mirrored.
    for (const char* name : {"txtpath", "txtm", "txts", "lblhelp", "lblsite", "lblsupport"})
        control(QString::fromLatin1(name))->setTag(QStringLiteral("no"));

    imgicon->setPicture(windowIcon().pixmap(imgicon->size()).toImage());
    setMouseTracking(true);
}

void FrmMine::connectHandlers()
{
    m_options = new OptionsPanel(txtm, txts, this);
    connect(m_timer, &RotationTimer::tick, this, &FrmMine::TimerTick);

    connect(lstimages, &FileListBox::currentRowChanged, this, [this] { lstimages_Click(); });
    connect(lstimages, &FileListBox::doubleClicked, this, [this] { lstimages_DblClick(); });
    lstimages->viewport()->installEventFilter(this);

    connect(cmdoptions, &QPushButton::clicked, this, &FrmMine::cmdoptions_Click);
    connect(cmdPath, &QPushButton::clicked, this, &FrmMine::cmdPath_Click);
    connect(cmdchange, &QPushButton::clicked, this, &FrmMine::cmdchange_Click);
    connect(cmdtools, &QPushButton::clicked, this, &FrmMine::cmdtools_Click);
    connect(comblang, QOverload<int>::of(&QComboBox::activated), this,
            [this] { comblang_Click(); });

    connect(control(QStringLiteral("mnudel"))->action(), &QAction::triggered, this,
            &FrmMine::mnudel_Click);
    connect(control(QStringLiteral("mnuopen"))->action(), &QAction::triggered, this,
            &FrmMine::mnuopen_Click);
    connect(control(QStringLiteral("mnuweb"))->action(), &QAction::triggered, this,
            [this] { openLink(QStringLiteral("/dvn")); });
    connect(control(QStringLiteral("mnuexit"))->action(), &QAction::triggered, this,
            &FrmMine::mnuexit_Click);

    m_links = new WebLinks(this, m_services.browser, lblsite, lblhelp, lblsupport);
    connect(m_links, &WebLinks::clicked, this, [this](QLabel* label) {
        if (label == lblhelp)
            openLink(QStringLiteral("/dvn/faq.php"));
        else if (label == lblsite)
            openLink(QStringLiteral("/dvn"));
        else if (label == lblsupport)
            openLink(QStringLiteral("/dvn/contactus.php"));
    });

    if (m_services.tray) {
        // The icon's messages arrive as the main window's mouse moves, with the event code in
        // place of x: 515 a double-click, 516 the right button.
        connect(m_services.tray, &TrayIcon::doubleClicked, this,
                [this] { Form_MouseMove({}, {}, 515 * twipsPerPixelX(), 0); });
        connect(m_services.tray, &TrayIcon::contextRequested, this,
                [this] { Form_MouseMove({}, {}, 516 * twipsPerPixelX(), 0); });
    }
}

// ---------------------------------------------------------------------------------------------
// Start-up

bool FrmMine::Form_Load()
{
    Settings& settings = *m_services.settings;

    // 1. One copy per user.
    if (m_services.instance && !m_services.instance->acquire()) {
        const QString text = m_services.language
                                 ? m_services.language->GetLangString(QStringLiteral("0001"))
                                 : QString();
        m_services.dialogs->message(nullptr, Dialogs::Icon::Warning, Title, text);
        return false;
    }

    // 2. The colour dialog's custom colours: greys from 15 to 240.
    for (int i = 0; i < 16; ++i)
        m_customColors[static_cast<size_t>(i)] = QColor(15 * (i + 1), 15 * (i + 1), 15 * (i + 1));

    // 3. Colour.
    setBackColor(settings.readColor());

    // 4. The browser needs no object of its own here: pages open through the browser layer.

    // 5. Languages, 6. direction.
    MLSFillMenuLanguages();
    if (m_services.language) {
        m_services.language->ApplyLanguage(this);
        // The current language's entry becomes the current one, so that the list opens and the
        // arrow keys move from there; a name without an entry of its own is shown as it is.
        const QString current = m_services.language->CurrentLang();
        comblang->setCurrentIndex(
            comblang->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        comblang->setEditText(current);
    }
    directionStep();

    // 7. Messenger: the client object, and one read of the contacts. Without a client, or with
    // one that refuses, start-up goes on: Apply decides whether the rotation starts.
    QString error;
    if (m_services.messengerFactory)
        m_objMessenger = m_services.messengerFactory(&error);
    if (m_objMessenger)
        m_objMessenger->myContacts(&error);

    // 8. The window's icon is shown in imgicon from construction on.

    // 9. First run.
    if (settings.readNumber(Entry::FirstRun) == 0)
        firstRun();

    // 10. Picture folder.
    restoreFolder();

    // 11. Interval fields (their change rules run as the texts are set).
    txtm->setText(settings.read(Entry::TimerMinutes));
    txts->setText(settings.read(Entry::TimerSeconds));

    // 12. Flags.
    const bool random = settings.readFlag(Entry::Random);
    const bool control = settings.readFlag(Entry::Control);
    const bool autorun = settings.readFlag(Entry::AutoRun);
    const bool winmode = settings.readFlag(Entry::WinMode);

    // 13. Start mode.
    chkmwin->setChecked(winmode);
    m_startHidden = winmode;

    // 14. Check boxes.
    chkran->setChecked(random);
    chkrun->setChecked(control);
    chkwin->setChecked(autorun);

    // 15. Apply and banner.
    if (FolderExists(txtpath->text())) {
        cmdoptions_Click();
        loadBanner();
    }
    return true;
}

void FrmMine::showAtStart()
{
    if (!m_startHidden) {
        show();
        return;
    }
    // Hidden in the notification area; without one the window is only minimised, never hidden
    // with nothing to bring it back.
    if (m_services.tray && m_services.tray->isSystemTrayAvailable()) {
        m_sysTray->AddTrayIcon(windowIcon(), this, TrayTip);
    } else {
        showMinimized();
    }
}

void FrmMine::firstRun()
{
    Settings& settings = *m_services.settings;
    // A store that cannot be written would bring the first run back at every start; the notice
    // is sent only once it is recorded.
    if (!settings.write(Entry::FirstRun, QStringLiteral("1"))) {
        qWarning("Dorvane: %s", qPrintable(settings.lastError()));
        return;
    }
    for (Entry entry : {Entry::AutoRun, Entry::Random, Entry::Control})
        settings.write(entry, QStringLiteral("1"));

    QByteArray postData;
    FirstRunNotice::StringToBytes(postData, QStringLiteral("newuser=") + QStringLiteral("1"));
    QString error;
    const QUrl page = FirstRunNotice::writePage(
        AppPaths::tempDir(), vendorUrl(QStringLiteral("/dvn/start.php")), postData, &error);
    if (page.isEmpty() || !m_services.browser || !m_services.browser->openUrl(page, &error))
        qWarning("Dorvane: first-run notice not sent: %s", qPrintable(error));
}

void FrmMine::restoreFolder()
{
    const QString saved = m_services.settings->read(Entry::ImagePath, txtpath->text());
    txtpath->setText(saved);
    if (FolderExists(saved)) {
        fillPictureList();
        return;
    }
    const QString images = AppPaths::join(AppPaths::applicationDir(), QStringLiteral("images"));
    if (FolderExists(images)) {
        // Shown, not stored: the stored folder changes only when the user picks one.
        txtpath->setText(images);
        fillPictureList();
        return;
    }
    txtpath->clear();
}

void FrmMine::loadBanner()
{
    ShockwaveFlash1->setText(vendorUrl(QStringLiteral("/dvn/dvnads.swf")).toString());
}

// ---------------------------------------------------------------------------------------------
// Picture list

QString FrmMine::picturePath(const QString& name) const
{
    return AppPaths::join(txtpath->text(), name);
}

void FrmMine::fillPictureList()
{
    Files.setPath(txtpath->text());
    lstimages->setFiles(Files);
}

void FrmMine::selectItem(int row)
{
    // Selecting runs the list's click handler, as a user's click would.
    lstimages->setCurrentRow(row);
}

void FrmMine::lstimages_Click()
{
    if (lstimages->count() == 0)
        return;
    if (lstimages->currentRow() < 0) {
        const QSignalBlocker block(lstimages);
        lstimages->setCurrentRow(0);
    }
    previewSelected();
}

void FrmMine::previewSelected()
{
    const int row = lstimages->currentRow();
    if (row < 0)
        return;
    // Qt's readers decode everything the standard loading could, so the picture loader alone
    // gives the same preview. A picture it cannot read leaves the preview as it was; a tick never
    // opens a message for it.
    PictureError error;
    if (!ShowPictureFile(picturePath(lstimages->text(row)), imgnow, &error))
        qWarning("Dorvane: %s", qPrintable(error.description));
}

void FrmMine::setDisplayPicture(const QString& path)
{
    if (!m_objMessenger)
        return;
    QString error;
    // A refusal (client closed, nobody signed in, file gone) is ignored; the rotation goes on.
    if (!m_objMessenger->setMyProperty(MessengerClient::DisplayPictureProperty, path, &error))
        qWarning("Dorvane: display picture not set: %s", qPrintable(error));
}

void FrmMine::lstimages_DblClick()
{
    const int row = lstimages->currentRow();
    if (row >= 0)
        setDisplayPicture(picturePath(lstimages->text(row)));
}

void FrmMine::lstimages_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        mnuimglst->popup(globalPos);
}

void FrmMine::mnudel_Click()
{
    if (lstimages->count() == 0)
        return;
    stopRotationTimer();

    const int row = lstimages->currentRow();
    QString failure;
    if (row < 0) {
        failure = tr("No picture is selected.");
    } else {
        QFile file(picturePath(lstimages->text(row)));
        if (!file.remove())
            failure = tr("The picture %1 could not be deleted: %2")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    }
    if (!failure.isEmpty()) {
        // The list stays as it was and the rotation goes on.
        if (checked(chkrun))
            startRotationTimer();
        reportError(failure);
        return;
    }

    const QSignalBlocker block(lstimages);
    lstimages->removeRow(row);
    if (lstimages->count() == 0)
        return;
    if (checked(chkrun))
        startRotationTimer();
    lstimages->setCurrentRow(0);
    previewSelected();
    setDisplayPicture(picturePath(lstimages->text(0)));
}

// ---------------------------------------------------------------------------------------------
// Rotation

quint32 FrmMine::TimerID() const
{
    return m_timer->timerId();
}

void FrmMine::startRotationTimer()
{
    m_timer->start(m_options->intervalMs());
}

void FrmMine::stopRotationTimer()
{
    m_timer->stop();
}

void FrmMine::TimerTick()
{
    // The mode is read afresh at every tick; only exactly 1 means random.
    if (m_services.settings->readNumber(Entry::Random) == 1)
        starterrand();
    else
        starter();
}

void FrmMine::starter()
{
    const int count = lstimages->count();
    if (count == 0)
        return;
    int n = lstimages->currentRow() + 1;
    // Past the last picture the list's own rule takes the first one.
    if (n >= count)
        n = 0;
    selectItem(n);
    setDisplayPicture(picturePath(lstimages->text(n)));
}

void FrmMine::starterrand()
{
    const int count = lstimages->count();
    if (count == 0)
        return;
    // r uniform in [0, 1) from the generator's raw 32-bit output, the same on every platform.
    const double r = static_cast<double>(m_random()) / 4294967296.0;
    const int n = std::min(count - 1, static_cast<int>(std::floor(r * count)));
    selectItem(n);
    setDisplayPicture(picturePath(lstimages->text(n)));
}

// ---------------------------------------------------------------------------------------------
// Options and folder

bool FrmMine::checked(QCheckBox* box) const
{
    return box->checkState() == Qt::Checked;
}

bool FrmMine::MessengerRunning() const
{
    return m_objMessenger && m_objMessenger->isRunning();
}

void FrmMine::cmdoptions_Click()
{
    if (!FolderExists(txtpath->text()))
        return;
    Settings& settings = *m_services.settings;
    QStringList failures;
    auto store = [&](Entry entry, const QString& value) {
        if (!settings.write(entry, value) && !failures.contains(settings.lastError()))
            failures.append(settings.lastError());
    };

    store(Entry::TimerMinutes, txtm->text());
    store(Entry::TimerSeconds, txts->text());

    const QString name = AppPaths::executableName();
    if (checked(chkwin)) {
        if (m_services.autoRun)
            m_services.autoRun->AddRunEntry(
                name, AutoRun::runEntryData(AppPaths::applicationDir(), name));
        store(Entry::AutoRun, QStringLiteral("1"));
    } else {
        if (m_services.autoRun)
            m_services.autoRun->RemoveRunEntry(name);
        store(Entry::AutoRun, QStringLiteral("0"));
    }
    store(Entry::Random, one(checked(chkran)));
    store(Entry::WinMode, one(checked(chkmwin)));

    if (checked(chkrun)) {
        if (lstimages->count() > 0 && MessengerRunning()) {
            startRotationTimer();
            selectItem(0);
            setDisplayPicture(picturePath(lstimages->text(0)));
            previewSelected();
            store(Entry::Control, QStringLiteral("1"));
        }
    } else {
        store(Entry::Control, QStringLiteral("0"));
        stopRotationTimer();
    }

    if (!failures.isEmpty())
        reportError(failures.join(QLatin1Char('\n')));
}

QString FrmMine::BrowseForFolder(const QString& title)
{
    QString chosen = m_services.dialogs->getExistingDirectory(this, title, txtpath->text());
    // A cancelled dialog answers with 512 spaces.
    if (chosen.isEmpty())
        return QString(512, QLatin1Char(' '));
    return chosen;
}

void FrmMine::cmdPath_Click()
{
    const QString folder = BrowseForFolder(QStringLiteral("Select Images Folder"));
    if (folder.size() == 512)
        return;
    txtpath->setText(folder);
    fillPictureList();
    if (!m_services.settings->write(Entry::ImagePath, txtpath->text()))
        reportError(m_services.settings->lastError());
    cmdoptions_Click();
}

// ---------------------------------------------------------------------------------------------
// Colour

void FrmMine::setBackColor(quint32 value)
{
    m_backColor = value;
    Colors::setBackground(this, value);
    const Colors::Rgb rgb = Colors::SplitColor(value);
    Colors::ApplyColors(this, rgb.red, rgb.green, rgb.blue);
}

void FrmMine::cmdchange_Click()
{
    const auto chosen =
        m_services.dialogs->chooseColor(this, Colors::toQColor(m_backColor), m_customColors);
    if (chosen)
        setBackColor(Colors::fromQColor(*chosen));
    // Stored after Cancel too, as signed 32-bit text.
    if (!m_services.settings->write(Entry::Color,
                                    QString::number(static_cast<qint32>(m_backColor))))
        reportError(m_services.settings->lastError());
}

// ---------------------------------------------------------------------------------------------
// Language and layout

void FrmMine::MLSFillMenuLanguages()
{
    LanguageSupport* language = m_services.language;
    if (!language)
        return;
    const QStringList files = FileList::list(language->langDir(), QStringLiteral("*.lng"));
    if (files.isEmpty()) {
        m_services.dialogs->message(this, Dialogs::Icon::None, Title,
                                    QStringLiteral("there are no languages files !"));
        return;
    }
    for (int position = 0; position < files.size(); ++position) {
        const QString name = files.at(position).chopped(4);
        NamedControl* item = control(QStringLiteral("mnuLanguage"), position);
        if (!item) {
            addMenuItem(QStringLiteral("mnuLanguages"), QStringLiteral("mnuLanguage"), name,
                        position);
            item = control(QStringLiteral("mnuLanguage"), position);
        }
        item->action()->setCheckable(true);
        item->action()->setVisible(true);
        item->setCaption(name);
        comblang->addItem(name);
    }
    // Without LangSetting.ini the designed texts stay; nothing is checked.
    language->setCurrentLang(language->storedLanguage());
    for (int position = 0; position < files.size(); ++position) {
        NamedControl* item = control(QStringLiteral("mnuLanguage"), position);
        if (item->caption() == language->CurrentLang()) {
            item->action()->setChecked(true);
            break;
        }
    }
}

QList<QAction*> FrmMine::languageItems() const
{
    QList<QAction*> items;
    for (NamedControl* c : controls()) {
        if (c->name() == QLatin1String("mnuLanguage") && c->action())
            items.append(c->action());
    }
    return items;
}

void FrmMine::mnuLanguage_Click(int index)
{
    LanguageSupport* language = m_services.language;
    if (!language || !control(QStringLiteral("mnuLanguage"), index))
        return;
    // Applying a language lets events run, so the user may choose again meanwhile. That choice
    // is taken once this one is done: the last choice wins in texts, check mark and file alike.
    if (m_switchingLanguage) {
        m_pendingLanguage = index;
        return;
    }
    m_switchingLanguage = true;
    for (int next = index; next >= 0; next = std::exchange(m_pendingLanguage, -1)) {
        NamedControl* item = control(QStringLiteral("mnuLanguage"), next);
        if (!item)
            continue;
        for (QAction* action : languageItems())
            action->setChecked(false);
        item->action()->setChecked(true);
        const QString name = item->caption();
        language->setCurrentLang(name);
        // Every open window takes the language, this one first; one closed meanwhile is left.
        QList<QPointer<Form>> others;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<Form*>(widget);
            if (form && form != this && form->isVisible())
                others.append(form);
        }
        language->ApplyLanguage(this);
        for (const QPointer<Form>& form : others) {
            if (form)
                language->ApplyLanguage(form);
        }
        // A failed write goes unnoticed: the earlier choice then comes back at the next start.
        LangFile::WriteLangValue(language->settingFile(), QStringLiteral("Language"),
                                 QStringLiteral("CurrentLanguage"), name);
    }
    m_switchingLanguage = false;
}

void FrmMine::comblang_Click()
{
    // A choice made while another is applied is finished, direction included, by that one.
    const bool queued = m_switchingLanguage;
    mnuLanguage_Click(comblang->currentIndex());
    if (!queued)
        directionStep();
}

void FrmMine::directionStep()
{
    if (!m_services.language)
        return;
    QFile file(m_services.language->langFilePath(comblang->currentText()));
    // A missing or empty file, or one that does not end in a digit, keeps the layout as it is.
    if (file.size() <= 0 || !file.open(QIODevice::ReadOnly) || !file.seek(file.size() - 1))
        return;
    const QByteArray last = file.read(1);
    const char flag = last.isEmpty() ? ' ' : last.at(0);
    if (flag < '0' || flag > '9')
        return;
    txtrtl->setText(QString(QLatin1Char(flag)));
    const bool designLayout = control(QStringLiteral("cmdoptions"))->left() == DesignApplyLeft;
    if (flag == '0' && designLayout)
        AlignToRight();
    else if (flag == '1' && !designLayout)
        AlignToLeft();
}

void FrmMine::AlignToRight()
{
    Mirroring::AlignToRight(this);
}

void FrmMine::AlignToLeft()
{
    Mirroring::AlignToLeft(this);
}

// ---------------------------------------------------------------------------------------------
// Notification area, lifecycle, links

void FrmMine::changeEvent(QEvent* event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void FrmMine::Form_Resize()
{
    if (!isMinimized())
        return;
    // Without a notification area the window stays minimised on the task bar.
    if (!m_services.tray || !m_services.tray->isSystemTrayAvailable())
        return;
    m_sysTray->AddTrayIcon(windowIcon(), this, TrayTip);
    // Hidden once the state change is through: showMinimized() shows the window again right
    // after this handler, and a window hidden in the middle of the change would stay on screen.
    QTimer::singleShot(0, this, [this] {
        if (isMinimized())
            hide();
    });
}

void FrmMine::Form_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double)
{
    const qint64 code = std::llround(x / twipsPerPixelX());
    if (code == 515)
        mnuopen_Click();
    else if (code == 516)
        mnuTray->popup(QCursor::pos());
    m_links->hoverOff();
}

void FrmMine::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove(event->buttons(), event->modifiers(), event->position().x() * twipsPerPixelX(),
                   event->position().y() * twipsPerPixelY());
    Form::mouseMoveEvent(event);
}

void FrmMine::mnuopen_Click()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    showNormal();
    raise();
    activateWindow();
}

void FrmMine::mnuexit_Click()
{
    close();
}

void FrmMine::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void FrmMine::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (TimerID() != 0)
        stopRotationTimer();
    m_sysTray->RemoveTrayIcon();
    // Ends every event loop, the contact tools window's modal one included.
    QApplication::exit(0);
}

void FrmMine::cmdtools_Click()
{
    // A fresh window each time; the main window takes no input until it is closed.
    FrmTools::showModal(this, m_services);
}

void FrmMine::openLink(const QString& path)
{
    QString error;
    if (!m_links->open(path, &error))
        reportError(error);
}

void FrmMine::reportError(const QString& text)
{
    m_services.dialogs->message(this, Dialogs::Icon::Critical, Title, text);
}

bool FrmMine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstimages->viewport()) {
        // The right button opens the list's menu and leaves the selection alone.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                return true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                lstimages_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}
