#include "BadPictureFolder.h"
#include "common/ListTexts.h"
#include "common/MainFixture.h"
#include "common/TestPictures.h"

#include "common/ImageControl.h"
#include "main/RotationTimer.h"
#include "picture/PictureLoader.h"
#include "tools/FileCopy.h"
#include "tools/FrmTools.h"
#include "tools/ImageHeaderReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Kind = BadPictureFolder::Kind;

namespace {

// The main window started with rotation on over a folder of awkward files, in a folder whose own
// name needs quoting too.
struct BadInput
{
    MainFixture f;
    QString folder;
    std::unique_ptr<BadPictureFolder> pictures;
    bool loaded = false;

    explicit BadInput(bool random)
    {
        folder = f.env.makeDir(QStringLiteral("pictures/odd 'folder' ü"));
        pictures = std::make_unique<BadPictureFolder>(folder);
        loaded = f.start({.folder = folder, .rotation = true, .random = random}) != nullptr;
    }

    FrmMine* w() const { return f.window.get(); }
    const QStringList& sent() const { return f.messenger->sentPictures; }

    int row(const QString& name) const
    {
        for (int r = 0; r < w()->lstimages->count(); ++r) {
            if (w()->lstimages->text(r) == name)
                return r;
        }
        return -1;
    }

    // Makes `name` the current item as a click on it would, running the list's click handler.
    void click(const QString& name) const
    {
        {
            const QSignalBlocker block(w()->lstimages);
            w()->lstimages->setCurrentRow(-1);
        }
        w()->lstimages->setCurrentRow(row(name));
    }

    Kind kindOf(const QString& name) const
    {
        if (name == BadPictureFolder::Vanishing && !QFileInfo::exists(pictures->filePath(name)))
            return Kind::Broken;
        return pictures->file(name)->kind;
    }
};

QSet<QString> asSet(const QStringList& list)
{
    return {list.begin(), list.end()};
}

bool near(const QColor& a, const QColor& b)
{
    // JPEG moves a flat colour by a few levels.
    return std::abs(a.red() - b.red()) <= 12 && std::abs(a.green() - b.green()) <= 12 &&
           std::abs(a.blue() - b.blue()) <= 12;
}

// Checks what the preview shows after `name` was previewed: the picture itself, or what it
// showed before when the file cannot be decoded.
bool previewFits(const BadInput& b, const QString& name, qint64 before, QString* why)
{
    const QImage& shown = b.w()->imgnow->picture();
    switch (b.kindOf(name)) {
    case Kind::Broken:
        *why = QStringLiteral("the preview changed for a file that cannot be decoded");
        return shown.cacheKey() == before;
    case Kind::Picture: {
        const QColor centre = shown.isNull() ? QColor() : shown.pixelColor(shown.rect().center());
        *why = QStringLiteral("the preview shows %1, not the picture's %2")
                   .arg(centre.name(), b.pictures->file(name)->colour.name());
        return !shown.isNull() && near(centre, b.pictures->file(name)->colour);
    }
    case Kind::Partial:
        return true;
    }
    return false;
}

// Opening a FIFO for reading waits until somebody opens it for writing. Should the program do so,
// this opens it for writing after a long while, so that the test fails instead of hanging.
class FifoRescue
{
public:
    explicit FifoRescue(QString path) : m_path(std::move(path)), m_thread([this] { run(); }) {}
    ~FifoRescue() { release(); }

    // Stops watching; true when the program had to be let go.
    bool release()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_rescued;
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_for(lock, std::chrono::seconds(10), [this] { return m_done; }))
            return;
        const QByteArray name = QFile::encodeName(m_path);
        while (!m_done) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                ::close(fd);
                m_rescued = true;
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; });
        }
    }

    QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::atomic<bool> m_rescued = false;
    std::thread m_thread;
};

bool makeFifo(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rotation_data();
    void rotation();
    void previewAndDoubleClick_data();
    void previewAndDoubleClick();
    void deleteItem_data();
    void deleteItem();
    void toolsAddOfAwkwardNames();
    void fifoNeverStopsTheWindow_data();
    void fifoNeverStopsTheWindow();
    void toolsWindowSkipsFifos();
    void openersRefuseFifos_data();
    void openersRefuseFifos();
    void nameOutsideTheFileNameEncoding();
};

void TestBadInput::initTestCase()
{
    const QString reason = BadPictureFolder::unreadableSkipReason();
    if (!reason.isEmpty())
        qInfo("%s", qPrintable(reason));
}

void TestBadInput::rotation_data()
{
    QTest::addColumn<bool>("random");
    QTest::newRow("sequential") << false;
    QTest::newRow("random") << true;
}

void TestBadInput::rotation()
{
    QFETCH(bool, random);
    BadInput b(random);
    QVERIFY(b.loaded);
    // Every file is listed under its own name, newline and all.
    QCOMPARE(asSet(b.w()->lstimages->files().names()), asSet(b.pictures->names()));
    // Gone after the listing, before the first tick.
    QVERIFY(b.pictures->removeVanishing());

    const int count = b.w()->lstimages->count();
    const int ticks = 4 * count;
    QMap<QString, int> sentTimes;
    for (int i = 0; i < ticks; ++i) {
        const qint64 before = b.w()->imgnow->picture().cacheKey();
        const qsizetype sentBefore = b.sent().size();
        b.w()->TimerTick();
        QVERIFY(b.w()->lstimages->currentRow() >= 0);
        const QString name = b.w()->lstimages->currentText();
        // One path a tick, whatever the file holds: the client decides what it accepts.
        QCOMPARE(b.sent().size(), sentBefore + 1);
        QCOMPARE(b.sent().last(), b.pictures->filePath(name));
        QString why;
        QVERIFY2(previewFits(b, name, before, &why), qPrintable(name + QStringLiteral(": ") + why));
        ++sentTimes[name];
    }
    // Ticks never open a message, whatever they met.
    QVERIFY(b.f.dialogs.messages().isEmpty());
    QVERIFY(b.w()->rotationTimer()->isActive());
    if (!random) {
        for (const QString& name : b.pictures->names())
            QCOMPARE(sentTimes.value(name), 4);
    } else {
        QVERIFY(sentTimes.size() > 1);
    }
}

void TestBadInput::previewAndDoubleClick_data()
{
    QTest::addColumn<QString>("name");
    const BadInput b(false);
    for (const BadPictureFolder::File& file : b.pictures->files()) {
        QString tag = file.name;
        tag.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        QTest::newRow(qPrintable(tag)) << file.name;
    }
}

void TestBadInput::previewAndDoubleClick()
{
    QFETCH(QString, name);
    BadInput b(false);
    QVERIFY(b.loaded);
    if (name == BadPictureFolder::Vanishing)
        QVERIFY(b.pictures->removeVanishing());
    // A known picture in the preview, to see whether a failed one leaves it alone.
    b.w()->imgnow->setPicture(TestPictures::filled(8, 8, Qt::magenta));
    const qint64 before = b.w()->imgnow->picture().cacheKey();

    b.click(name);
    QString why;
    QVERIFY2(previewFits(b, name, before, &why), qPrintable(why));

    b.w()->lstimages_DblClick();
    QCOMPARE(b.sent().last(), b.pictures->filePath(name));
    // Neither the preview nor the double-click of a bad file opens a message.
    QVERIFY(b.f.dialogs.messages().isEmpty());
}

void TestBadInput::deleteItem_data()
{
    previewAndDoubleClick_data();
}

void TestBadInput::deleteItem()
{
    QFETCH(QString, name);
    BadInput b(false);
    QVERIFY(b.loaded);
    const bool vanished = name == BadPictureFolder::Vanishing;
    if (vanished)
        QVERIFY(b.pictures->removeVanishing());
    const QStringList before = b.w()->lstimages->files().names();
    b.click(name);
    b.w()->mnudel_Click();

    QVERIFY(b.w()->rotationTimer()->isActive());
    if (vanished) {
        // Already gone: the user is told which file, named as it is, and the list stays.
        QCOMPARE(b.f.dialogs.messages().size(), 1);
        QVERIFY2(b.f.dialogs.messages().first().text.contains(name),
                 qPrintable(b.f.dialogs.messages().first().text));
        QCOMPARE(b.w()->lstimages->files().names(), before);
        return;
    }
    QVERIFY(b.f.dialogs.messages().isEmpty());
    QVERIFY(!QFileInfo::exists(b.pictures->filePath(name)));
    QStringList expected = before;
    expected.removeOne(name);
    QCOMPARE(b.w()->lstimages->files().names(), expected);
    // Only that file went.
    QCOMPARE(asSet(QDir(b.folder).entryList(QDir::Files)), asSet(expected));
    QCOMPARE(b.sent().last(), b.pictures->filePath(expected.first()));
}

void TestBadInput::toolsAddOfAwkwardNames()
{
    BadInput b(false);
    QVERIFY(b.loaded);
    const QString harvest = b.f.env.temp() + QStringLiteral("/dvn");
    QVERIFY(QDir().mkdir(harvest));
    QVERIFY(QFile::setPermissions(harvest, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner));
    const auto put = [&](const QString& name, const QByteArray& bytes) {
        QFile file(harvest + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    };
    const auto square = [](const char* format, const QColor& colour) {
        return TestPictures::encoded(TestPictures::filled(96, 96, colour), format, 95);
    };
    const QString gone = QStringLiteral("gone %1 \"%2\".png");
    const QByteArray png96 = square("PNG", Qt::red);
    QMap<QString, QByteArray> listed{
        {QStringLiteral("with  two spaces .png"), png96},
        {QStringLiteral("new\nline.jpg"), square("JPEG", Qt::green)},
        {QStringLiteral("-leading dash.bmp"), square("BMP", Qt::blue)},
        {QStringLiteral("quote ' %1 $HOME.png"), square("PNG", Qt::yellow)},
        {QStringLiteral("Ünïcødé 写真.png"), square("PNG", Qt::cyan)},
        // The header is whole; the pixels are not.
        {QStringLiteral("truncated 96.png"), png96.left(png96.size() / 2)},
        {gone, square("PNG", Qt::gray)},
    };
    for (auto it = listed.cbegin(); it != listed.cend(); ++it)
        put(it.key(), it.value());
    put(QStringLiteral("empty.jpg"), {});
    put(QStringLiteral("text.png"), "not a picture");
    put(QStringLiteral("huge.png"), BadPictureFolder::pngDeclaring(30000, 30000));
    put(QStringLiteral("wide.png"), BadPictureFolder::pngDeclaring(30000, 96));

    auto tools = std::make_unique<FrmTools>(b.w(), b.w()->services());
    tools->Form_Load();
    QVERIFY(b.f.dialogs.messages().isEmpty());
    QCOMPARE(asSet(listTexts(tools->lstimages)), asSet(listed.keys()));

    // Previews of each, the broken one included, stay quiet.
    for (int row = 0; row < tools->lstimages->count(); ++row) {
        tools->lstimages->setCurrentRow(row);
        tools->lstimages_Click();
    }
    QVERIFY(b.f.dialogs.messages().isEmpty());

    for (int row = 0; row < tools->lstimages->count(); ++row)
        tools->lstimages->item(row)->setSelected(true);
    QVERIFY(QFile::remove(harvest + QLatin1Char('/') + gone));
    tools->cmdadd_Click();

    const QList<FakeDialogs::Message> messages = b.f.dialogs.messages();
    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages.first().text.contains(gone), qPrintable(messages.first().text));
    const int copied = static_cast<int>(listed.size()) - 1;
    QVERIFY2(messages.last().text.startsWith(QString::number(copied) + QStringLiteral("  ")),
             qPrintable(messages.last().text));

    listed.remove(gone);
    for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
        QFile copy(b.pictures->filePath(it.key()));
        QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(it.key()));
        QCOMPARE(copy.readAll(), it.value());
    }
    // Nothing else was written there, and the main list shows the new names.
    QSet<QString> expected = asSet(b.pictures->names()) + asSet(listed.keys());
    QCOMPARE(asSet(QDir(b.folder).entryList(QDir::Files)), expected);
    QCOMPARE(asSet(b.w()->lstimages->files().names()), expected);
    tools->close();
}

void TestBadInput::fifoNeverStopsTheWindow_data()
{
    QTest::addColumn<bool>("afterListing");
    // A link to a FIFO passes for a file in the listing; a FIFO itself does not, but may take
    // a listed picture's place before the tick.
    QTest::newRow("link to a FIFO") << false;
    QTest::newRow("FIFO in place of a listed picture") << true;
}

void TestBadInput::fifoNeverStopsTheWindow()
{
    QFETCH(bool, afterListing);
    BadInput b(false);
    QVERIFY(b.loaded);
    QString name;
    QString fifo;
    if (afterListing) {
        name = QStringLiteral("with  two spaces .png");
        fifo = b.pictures->filePath(name);
        QVERIFY(QFile::remove(fifo));
        QVERIFY(makeFifo(fifo));
    } else {
        name = QStringLiteral("-pipe link.png");
        fifo = b.folder + QStringLiteral("/pipe");
        QVERIFY(makeFifo(fifo));
        QVERIFY(QFile::link(QStringLiteral("pipe"), b.pictures->filePath(name)));
        b.w()->fillPictureList();
        // Leaving the link out of the list is as good as handling it.
        if (b.row(name) < 0)
            return;
    }

    FifoRescue rescue(fifo);
    b.click(name);
    b.w()->lstimages_DblClick();
    QCOMPARE(b.sent().last(), b.pictures->filePath(name));
    b.click(b.w()->lstimages->text(0));
    for (int i = 0; i < b.w()->lstimages->count(); ++i)
        b.w()->TimerTick();
    QVERIFY2(!rescue.release(), "the window waited for a writer to the FIFO");
    QVERIFY(b.f.dialogs.messages().isEmpty());

    b.click(name);
    b.w()->mnudel_Click();
    QVERIFY(b.f.dialogs.messages().isEmpty());
    QCOMPARE(b.row(name), -1);
    // A link goes, not what it points to.
    QCOMPARE(QFileInfo::exists(fifo), !afterListing);
}

void TestBadInput::toolsWindowSkipsFifos()
{
    BadInput b(false);
    QVERIFY(b.loaded);
    const QString cache = b.f.env.makeDir(QStringLiteral("tmp/MessengerCache"));
    const QByteArray picture = TestPictures::encoded(TestPictures::filled(96, 96, Qt::red), "PNG");
    b.f.env.writeFile(QStringLiteral("tmp/MessengerCache/a.png"), picture);
    QVERIFY(makeFifo(cache + QStringLiteral("/pipe")));
    QVERIFY(QFile::link(QStringLiteral("pipe"), cache + QStringLiteral("/b.png")));
    // The harvest folder is the program's own; a link to a FIFO there must not stop it either.
    const QString harvest = b.f.env.makeDir(QStringLiteral("tmp/dvn"));
    QVERIFY(QFile::setPermissions(harvest, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner));
    QVERIFY(QFile::link(cache + QStringLiteral("/pipe"), harvest + QStringLiteral("/zz.png")));

    FifoRescue rescue(cache + QStringLiteral("/pipe"));
    auto tools = std::make_unique<FrmTools>(b.w(), b.w()->services());
    tools->Form_Load();
    QVERIFY2(!rescue.release(), "the contact tools window waited for a writer to the FIFO");
    // The picture beside it was copied and listed; the FIFO is reported by name.
    QCOMPARE(listTexts(tools->lstimages), QStringList{QStringLiteral("dvn2.jpg")});
    QFile copy(harvest + QStringLiteral("/dvn2.jpg"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), picture);
    // The link is left out of the listing, or its copy is reported by name.
    QVERIFY(b.f.dialogs.messages().size() <= 1);
    for (const FakeDialogs::Message& message : b.f.dialogs.messages())
        QVERIFY2(message.text.contains(QStringLiteral("b.png")), qPrintable(message.text));
}

void TestBadInput::openersRefuseFifos_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("throughLink");
    for (const char* opener : {"picture loader", "header reader", "file copy"}) {
        QTest::addRow("%s, FIFO", opener) << QString::fromLatin1(opener) << false;
        QTest::addRow("%s, link to a FIFO", opener) << QString::fromLatin1(opener) << true;
    }
}

void TestBadInput::openersRefuseFifos()
{
    QFETCH(QString, opener);
    QFETCH(bool, throughLink);
    TestEnvironment env;
    const QString fifo = env.root() + QStringLiteral("/pipe.png");
    QVERIFY(makeFifo(fifo));
    QString path = fifo;
    if (throughLink) {
        path = env.root() + QStringLiteral("/link.png");
        QVERIFY(QFile::link(fifo, path));
    }

    FifoRescue rescue(fifo);
    bool opened = true;
    QString error;
    if (opener == QLatin1String("picture loader")) {
        opened = std::holds_alternative<QImage>(
            PictureLoader::LoadScaledPicture(path, 16, 16, Qt::white));
    } else if (opener == QLatin1String("header reader")) {
        ImageHeaderReader reader;
        opened = reader.ReadImageInfo(path, &error);
    } else {
        opened = FileCopy::replace(path, env.root() + QStringLiteral("/copy.png"), &error);
        QVERIFY(!QFileInfo::exists(env.root() + QStringLiteral("/copy.png")));
    }
    QVERIFY2(!rescue.release(), "waited for a writer to the FIFO");
    QVERIFY(!opened);
    if (opener != QLatin1String("picture loader"))
        QVERIFY2(!error.isEmpty(), "no reason given");
}

void TestBadInput::nameOutsideTheFileNameEncoding()
{
    BadInput b(false);
    QVERIFY(b.loaded);
    // "café.png" in Latin-1 is no UTF-8: it reads as "caf\uFFFD.png", which is also the real
    // name of the file beside it.
    const QByteArray latin1 = QFile::encodeName(b.folder) + QByteArray("/caf\xE9.png");
    const QString lookalike = QStringLiteral("caf\uFFFD.png");
    const QByteArray picture = TestPictures::encoded(TestPictures::filled(16, 16, Qt::red), "PNG");
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    // Qt cannot name it either, so the temporary folder's removal would leave it behind.
    const auto removeLatin1 = qScopeGuard([&latin1] { ::unlink(latin1.constData()); });
    QCOMPARE(::write(fd, picture.constData(), size_t(picture.size())), ssize_t(picture.size()));
    ::close(fd);
    QFile real(b.pictures->filePath(lookalike));
    QVERIFY(real.open(QIODevice::WriteOnly));
    real.write(TestPictures::encoded(TestPictures::filled(16, 16, Qt::blue), "PNG"));
    real.close();
    b.w()->fillPictureList();

    // The name that cannot be given back to the system is not listed as the other file.
    QCOMPARE(b.w()->lstimages->files().names().count(lookalike), 1);
    b.click(lookalike);
    b.w()->mnudel_Click();
    QVERIFY(b.f.dialogs.messages().isEmpty());
    QVERIFY(!real.exists());
    QCOMPARE(b.row(lookalike), -1);
    QVERIFY2(::access(latin1.constData(), F_OK) == 0, "the other file was deleted");
    for (int i = 0; i < b.w()->lstimages->count(); ++i) {
        b.w()->TimerTick();
        QVERIFY2(QFileInfo::exists(b.sent().last()), qPrintable(b.sent().last()));
    }
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
