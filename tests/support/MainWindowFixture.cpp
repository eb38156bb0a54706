#include "MainWindowFixture.h"
#include <QComboBox>

MainWindowFixture::MainWindowFixture()
    : settings(env.settingsFile()), autoRun(AutoRun::fromEnvironment()),
      instance(
          std::make_unique<LockFileInstance>(env.runtimeDir() + QStringLiteral("/dorvane.lock"))),
      language(env.appDir() + QStringLiteral("/lang"),
               env.configHome() + QStringLiteral("/Dorvane"))
{
    // Like an installed program: the shipped language files beside it.
    const QString target = env.makeDir(QStringLiteral("app/lang"));
    const QDir source(QStringLiteral(DORVANE_SOURCE_DIR "/lang"));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), target + QLatin1Char('/') + name);
}

MainServices MainWindowFixture::services()
{
    auto factory = messengerFactory ? messengerFactory : FakeMessengerClient::factory(messenger);
    return {settings, dialogs,   browser,   *trayIcon, autoRun,           *instance, language,
            keyboard, *notifier, passwords, factory,   outageNoticeAfter, folders};
}

QString MainWindowFixture::pictureFolder(const QStringList& names, const QString& relative) const
{
    QString folder = env.makeDir(relative);
    QImage image(8, 8, QImage::Format_RGB32);
    for (int i = 0; i < names.size(); ++i) {
        image.fill(QColor(i * 40 % 256, 255 - i * 40 % 256, 128));
        image.save(folder + QLatin1Char('/') + names.at(i), "PNG");
    }
    return folder;
}

FrmMine* MainWindowFixture::start(const Start& how)
{
    if (!how.firstRun) {
        store(Entry::FirstRun, QStringLiteral("1"));
        store(Entry::Control, how.rotation ? QStringLiteral("1") : QStringLiteral("0"));
        store(Entry::Random, how.random ? QStringLiteral("1") : QStringLiteral("0"));
    }
    const QString folder = how.pictures.isEmpty() ? how.folder : pictureFolder(how.pictures);
    if (!folder.isEmpty())
        store(Entry::ImagePath, folder);
    window = std::make_unique<FrmMine>(services());
    if (!window->Form_Load())
        return nullptr;
    if (how.shown) {
        window->show();
        window->activateWindow();
    }
    return how.shown && !QTest::qWaitForWindowActive(window.get()) ? nullptr : window.get();
}

QImage MainWindowFixture::preview() const
{
    auto* shown = widget<ImageControl>(QStringLiteral("imgnow"));
    (void)QTest::qWaitFor([shown] { return !shown->isLoading(); }, 20000);
    return shown->picture();
}

void MainWindowFixture::chooseLanguage(const QString& name) const
{
    auto* box = widget<QComboBox>(QStringLiteral("comblang"));
    const int index = box->findData(name);
    QVERIFY2(index >= 0, qPrintable(name + QStringLiteral(" is not in the language list")));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

std::unique_ptr<FrmTools> MainWindowFixture::openTools()
{
    auto tools = std::make_unique<FrmTools>(*window, services());
    tools->Form_Load();
    return tools;
}
