#pragma once

#include "FakeBrowser.h"
#include "FakeDialogs.h"
#include "FakeKeyboardLayout.h"
#include "FakeMessengerClient.h"
#include "FakePasswordStore.h"
#include "FakeTrayIcon.h"
#include "Table.h"
#include "TestEnvironment.h"
#include "core/language/LanguageSupport.h"
#include "core/rotation/Rotation.h"
#include "core/rotation/RotationTimer.h"
#include "core/settings/AutoRun.h"
#include "core/settings/Settings.h"
#include "platform/LockFileInstance.h"
#include "platform/NoDesktopNotifier.h"
#include "ui/main/FrmMine.h"
#include "ui/tools/FrmTools.h"
#include "ui/widgets/FileListBox.h"
#include "ui/widgets/ImageControl.h"
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

// The main window with fakes for everything outside the program, every folder in a temporary one,
// and the verbs tests speak in. Controls are reached by their names, as the language files do.
class MainWindowFixture
{
public:
    using Entry = Settings::Entry;

    MainWindowFixture();

    TestEnvironment env;
    std::shared_ptr<FakeMessengerClient::State> messenger =
        std::make_shared<FakeMessengerClient::State>();
    FakeDialogs dialogs;
    FakeBrowser browser;
    FakeTrayIcon tray;
    FakeKeyboardLayout keyboard;
    FakePasswordStore passwords;
    Settings settings;
    AutoRun autoRun;
    std::unique_ptr<SingleInstance> instance;
    LanguageSupport language;
    std::unique_ptr<FrmMine> window;
    // Replaces the fake client when set (SessionMessengerClient::create: the bus's own).
    MessengerClientFactory messengerFactory;
    // The notification area the window is given: the fake one unless a test sets another.
    TrayIcon* trayIcon = &tray;
    // Desktop notes on pictures that keep failing, and how long they fail before one.
    NoDesktopNotifier noNotes;
    DesktopNotifier* notifier = &noNotes;
    std::chrono::milliseconds outageNoticeAfter{60000};
    // The program's own files: the shipped language files copied beside a program in app/.
    AppFolders folders{env.appDir(), env.appDir()};

    // A folder of small PNG pictures of distinct colours under the temporary root.
    QString pictureFolder(const QStringList& names, const QString& relative = "pics") const;
    void store(Entry entry, const QString& value) { (void)settings.write(entry, value); }
    // The stored text, or "<absent>"; of several entries, joined by spaces.
    QString stored(Entry entry) const { return settings.read(entry, QStringLiteral("<absent>")); }
    QString stored(std::initializer_list<Entry> entries) const
    {
        QStringList texts;
        for (Entry entry : entries)
            texts.append(stored(entry));
        return texts.join(QLatin1Char(' '));
    }

    struct Start
    {
        QStringList pictures{}; // made into a folder "pics" when given
        QString folder{};       // stored as the picture folder when given
        bool rotation = false, random = false;
        bool firstRun = false; // leave the store as it is, first run included
        bool shown = false;    // shown, exposed and active
    };
    // Runs the start-up; the window, or nullptr when start-up (or showing it) failed.
    FrmMine* start(const Start& how);
    FrmMine* start() { return start(Start()); }
    MainServices services();

    template <class T = QWidget> T* widget(const QString& name) const
    {
        return qobject_cast<T*>(window->control(name)->widget());
    }
    QAction* action(const QString& name) const { return window->control(name)->action(); }
    QString text(const QString& name) const { return widget<QLineEdit>(name)->text(); }
    void setText(const QString& name, const QString& text) const
    {
        widget<QLineEdit>(name)->setText(text);
    }
    void check(const QString& name, bool on) const { widget<QCheckBox>(name)->setChecked(on); }
    FileListBox* list() const { return widget<FileListBox>(QStringLiteral("lstimages")); }

    // The file names the next ticks send, one a tick (a refused or skipped one sends none).
    QStringList tick(int count = 1)
    {
        const qsizetype from = messenger->sentPictures.size();
        for (int i = 0; i < count; ++i)
            rotation().TimerTick();
        return sent().mid(from);
    }
    QStringList sent() const
    {
        return QStringList(messenger->sentPictures).replaceInStrings(QRegularExpression(".*/"), "");
    }
    QString folder() const { return text(QStringLiteral("txtpath")); }
    QString path(const QString& name) const { return rotation().picturePath(name); }
    QStringList listed() const { return list()->files().names(); }
    int currentRow() const { return list()->currentRow(); }
    // Selected by the program, as a tick or Apply selects.
    void select(int row) const { list()->setCurrentRow(row); }
    // Needs the window shown; `twice`: a double-click.
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton, bool twice = false) const
    {
        const QPoint centre = list()->visualRect(list()->model()->index(row, 0)).center();
        twice ? QTest::mouseDClick(list()->viewport(), button, {}, centre)
              : QTest::mouseClick(list()->viewport(), button, {}, centre);
    }
    // The picture shown once the one being read is in.
    QImage preview() const;
    void apply() const { widget<QPushButton>(QStringLiteral("cmdoptions"))->click(); }
    // Answers the folder dialog with `folder` (empty: Cancel) and clicks "Browse ...".
    void chooseFolder(const QString& folder)
    {
        dialogs.setNextFolder(folder);
        widget<QPushButton>(QStringLiteral("cmdPath"))->click();
    }
    void deleteSelected() const { action(QStringLiteral("mnudel"))->trigger(); }
    void chooseLanguage(const QString& name) const;
    Rotation& rotation() const { return *window->findChild<Rotation*>(); }
    RotationTimer* timer() const { return rotation().timer(); }
    // A contact tools window opened from the main window, loaded and not yet shown.
    std::unique_ptr<FrmTools> openTools();
};
