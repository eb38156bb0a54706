#include "MainFixture.h"

#include "common/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTest>

MainFixture::MainFixture()
{
    AppPaths::setApplicationDirForTesting(env.appDir());
    settings = std::make_unique<Settings>(env.settingsFile());
    autoRun = std::make_unique<AutoRun>(AutoRun::fromEnvironment());
    instance = std::make_unique<SingleInstance>(env.runtimeDir() + QStringLiteral("/dorvane.lock"));
    language = std::make_unique<LanguageSupport>(env.appDir() + QStringLiteral("/lang"));
    // Like an installed program: the shipped language files beside it.
    installLanguages();
}

MainFixture::~MainFixture()
{
    window.reset();
    AppPaths::setApplicationDirForTesting(QString());
}

MainServices MainFixture::services()
{
    MainServices s;
    s.settings = settings.get();
    s.dialogs = &dialogs;
    s.browser = &browser;
    s.tray = &tray;
    s.autoRun = autoRun.get();
    s.instance = instance.get();
    s.language = language.get();
    s.messengerFactory = FakeMessengerClient::factory(messenger);
    return s;
}

FrmMine* MainFixture::makeWindow()
{
    window = std::make_unique<FrmMine>(services());
    return window.get();
}

bool MainFixture::load()
{
    makeWindow();
    return window->Form_Load();
}

FrmMine* MainFixture::start(const Start& how)
{
    settings->write(Settings::Entry::FirstRun, QStringLiteral("1"));
    settings->write(Settings::Entry::Control,
                    how.rotation ? QStringLiteral("1") : QStringLiteral("0"));
    settings->write(Settings::Entry::Random,
                    how.random ? QStringLiteral("1") : QStringLiteral("0"));
    const QString folder = how.pictures.isEmpty()
                               ? how.folder
                               : makePictureFolder(QStringLiteral("pics"), how.pictures);
    if (!folder.isEmpty())
        settings->write(Settings::Entry::ImagePath, folder);
    if (!load())
        return nullptr;
    if (how.shown) {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            return nullptr;
    }
    return window.get();
}

QString MainFixture::makePictureFolder(const QString& relative, const QStringList& names) const
{
    QString folder = env.makeDir(relative);
    QImage image(8, 8, QImage::Format_RGB32);
    int shade = 0;
    for (const QString& name : names) {
        image.fill(QColor(shade, 255 - shade, 128));
        shade = (shade + 40) % 256;
        image.save(folder + QLatin1Char('/') + name, "PNG");
    }
    return folder;
}

void MainFixture::installLanguages() const
{
    const QString target = env.makeDir(QStringLiteral("app/lang"));
    const QDir source(QStringLiteral(DORVANE_SOURCE_DIR "/lang"));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), target + QLatin1Char('/') + name);
}

QString MainFixture::stored(Settings::Entry entry) const
{
    return settings->read(entry, QStringLiteral("<absent>"));
}

bool MainFixture::isStored(Settings::Entry entry) const
{
    return stored(entry) != QLatin1String("<absent>");
}
