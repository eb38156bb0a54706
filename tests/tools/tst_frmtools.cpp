#include "common/FakeKeyboardLayout.h"
#include "common/ListTexts.h"
#include "common/MainFixture.h"

#include "common/ImageControl.h"
#include "main/RotationTimer.h"
#include "tools/FrmTools.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

// The main window loaded with the shipped languages (English, left to right) and a fake
// Messenger client holding these contacts.
struct ToolsFixture
{
    MainFixture f;

    explicit ToolsFixture(const QList<MessengerContact>& contacts = {})
    {
        f.installLanguages();
        f.messenger->contacts = contacts;
        f.load();
        f.dialogs.clearMessages();
    }

    std::unique_ptr<FrmTools> open(KeyboardLayout* keyboard = nullptr)
    {
        MainServices services = f.window->services();
        services.keyboard = keyboard;
        auto tools = std::make_unique<FrmTools>(f.window.get(), services);
        tools->Form_Load();
        return tools;
    }
};

QList<MessengerContact> threeContacts()
{
    return {{QStringLiteral("ann@example.org"), QStringLiteral("Bob")},
            {QStringLiteral("cid@example.org"), QStringLiteral("Cid")},
            {QStringLiteral("bob@example.org"), QStringLiteral("Bob")}};
}

} // namespace

class TestFrmTools : public QObject
{
    Q_OBJECT
private slots:
    void loadSequence();
    void direction_data();
    void direction();
    void withoutContacts_data();
    void withoutContacts();
    void duplicateNickname();
    void emailClickNeitherSwitchesNorCopies();
    void copyWithNothingSelected();
    void keyboardSwitch_data();
    void keyboardSwitch();
    void toolTip_data();
    void toolTip();
    void bandColours_data();
    void bandColours();
    void bandsCoverTheWindow();
    void unloadReleasesTheClient();
    void opensModallyWhileRotationGoesOn();
};

void TestFrmTools::loadSequence()
{
    ToolsFixture t(threeContacts());
    t.f.window->comblang->setCurrentText(QStringLiteral("elsewhere"));
    const int createdBefore = t.f.messenger->created;
    auto tools = t.open();

    // Its own client object, not the main window's.
    QCOMPARE(t.f.messenger->created, createdBefore + 1);
    QVERIFY(tools->objMessenger() != t.f.window->objMessenger());
    QCOMPARE(tools->palette().color(QPalette::Window), QColor(248, 248, 244));
    QCOMPARE(tools->windowIcon().cacheKey(), t.f.window->windowIcon().cacheKey());
    QCOMPARE(t.f.window->comblang->currentText(), t.f.language->CurrentLang());
    QCOMPARE(tools->windowTitle(), QStringLiteral("Dorvane"));
    QCOMPARE(listTexts(tools->lstemails),
             QStringList({QStringLiteral("ann@example.org"), QStringLiteral("cid@example.org"),
                          QStringLiteral("bob@example.org")}));
    QCOMPARE(listTexts(tools->lstnick),
             QStringList({QStringLiteral("Bob"), QStringLiteral("Cid"), QStringLiteral("Bob")}));
    QVERIFY(!tools->lstemails->isHidden());
    QVERIFY(!tools->lstnick->isHidden());
    QVERIFY(t.f.dialogs.messages().isEmpty());
}

void TestFrmTools::direction_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("mirrored");
    QTest::newRow("right to left") << "0" << true;
    QTest::newRow("left to right") << "1" << false;
    // No language file was read: the flag still holds its designed text.
    QTest::newRow("no flag read") << "Text1" << false;
}

void TestFrmTools::direction()
{
    QFETCH(QString, flag);
    QFETCH(bool, mirrored);
    ToolsFixture t;
    t.f.window->txtrtl->setText(flag);
    auto tools = t.open();
    QCOMPARE(tools->formRightToLeft(), mirrored);
    // 7635 - 2295 - 120: mirrored against the window's inner width.
    QCOMPARE(tools->control(QStringLiteral("lstemails"))->left(), mirrored ? 5220.0 : 120.0);
    QCOMPARE(tools->control(QStringLiteral("cmdGetimg"))->left(), mirrored ? 300.0 : 5520.0);
    QCOMPARE(tools->control(QStringLiteral("lblemails"))->alignment(), mirrored ? 1 : 0);
}

void TestFrmTools::withoutContacts_data()
{
    QTest::addColumn<bool>("canCreate");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<QString>("description");
    QTest::newRow("no client object") << false << true << true << "no session bus";
    QTest::newRow("client not running") << true << false << false << "nobody is signed in";
    QTest::newRow("signed out") << true << true << false << "nobody is signed in";
}

void TestFrmTools::withoutContacts()
{
    QFETCH(bool, canCreate);
    QFETCH(bool, running);
    QFETCH(bool, signedIn);
    QFETCH(QString, description);
    ToolsFixture t(threeContacts());
    t.f.messenger->canCreate = canCreate;
    t.f.messenger->running = running;
    t.f.messenger->signedIn = signedIn;
    QImage picture(96, 96, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QDir().mkpath(t.f.env.temp() + QStringLiteral("/MessengerCache"));
    QVERIFY(picture.save(t.f.env.temp() + QStringLiteral("/MessengerCache/a.png")));

    auto tools = t.open();

    QCOMPARE(t.f.dialogs.messages().size(), 1);
    QCOMPARE(t.f.dialogs.messages().first().text, description);
    QCOMPARE(t.f.dialogs.messages().first().title, QStringLiteral("Dorvane"));
    QVERIFY(!tools->lstemails->isHidden());
    QVERIFY(!tools->lstnick->isHidden());
    QCOMPARE(tools->lstemails->count(), 0);
    QCOMPARE(tools->lstnick->count(), 0);
    // The harvest went on: copied and listed.
    QVERIFY(QFile::exists(t.f.env.temp() + QStringLiteral("/dvn/dvn2.jpg")));
    QCOMPARE(listTexts(tools->lstimages), QStringList(QStringLiteral("dvn2.jpg")));
}

void TestFrmTools::duplicateNickname()
{
    ToolsFixture t(threeContacts());
    FakeKeyboardLayout keyboard;
    auto tools = t.open(&keyboard);

    // The third contact's e-mail selects the first "Bob": the first match by text.
    tools->lstemails->setCurrentRow(2);
    QCOMPARE(tools->lstnick->currentRow(), 0);
    QVERIFY(!tools->ListSyncBusy());

    // Clicking the later "Bob" selects the right e-mail, then the nickname moves to the first
    // "Bob"; the copied text is the same.
    tools->lstemails->setCurrentRow(1);
    QCOMPARE(tools->lstnick->currentRow(), 1);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    tools->lstnick->setCurrentRow(2);
    QCOMPARE(tools->lstemails->currentRow(), 2);
    QCOMPARE(tools->lstnick->currentRow(), 0);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Bob"));
    QVERIFY(!tools->ListSyncBusy());
}

void TestFrmTools::emailClickNeitherSwitchesNorCopies()
{
    ToolsFixture t(threeContacts());
    FakeKeyboardLayout keyboard;
    auto tools = t.open(&keyboard);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    tools->lstemails->setCurrentRow(1);
    QCOMPARE(tools->lstnick->currentRow(), 1);
    QCOMPARE(keyboard.switches(), 0);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
}

void TestFrmTools::copyWithNothingSelected()
{
    ToolsFixture t(threeContacts());
    auto tools = t.open();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    tools->ccmdCopy->click();
    QCOMPARE(QApplication::clipboard()->text(), QString());
    // The e-mail list is not consulted.
    tools->lstemails->setCurrentRow(1);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    {
        const QSignalBlocker block(tools->lstnick);
        tools->lstnick->setCurrentRow(-1);
    }
    tools->ccmdCopy->click();
    QCOMPARE(QApplication::clipboard()->text(), QString());
}

void TestFrmTools::keyboardSwitch_data()
{
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<bool>("backToUs");
    QTest::addColumn<int>("switches");
    QTest::addColumn<int>("endIndex");
    // Layouts: US English, then French.
    QTest::newRow("US: the first copy switches, the second not") << 0 << false << 1 << 1;
    QTest::newRow("US again before the second copy") << 0 << true << 2 << 1;
    QTest::newRow("another layout never switches") << 1 << false << 0 << 1;
}

void TestFrmTools::keyboardSwitch()
{
    QFETCH(int, startIndex);
    QFETCH(bool, backToUs);
    QFETCH(int, switches);
    QFETCH(int, endIndex);
    ToolsFixture t(threeContacts());
    FakeKeyboardLayout keyboard;
    keyboard.setCurrentIndex(startIndex);
    auto tools = t.open(&keyboard);
    tools->lstnick->setCurrentRow(1); // a click on a nickname copies like "Copy"
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Cid"));
    if (backToUs)
        keyboard.setCurrentIndex(0);
    tools->ccmdCopy->click();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Cid"));
    QCOMPARE(keyboard.switches(), switches);
    QCOMPARE(keyboard.currentIndex(), endIndex);
}

void TestFrmTools::toolTip_data()
{
    QTest::addColumn<int>("row"); // -1: below the last item
    QTest::addColumn<QString>("expected");
    QTest::newRow("first item") << 0 << "Bob";
    QTest::newRow("second item") << 1 << "Cid";
    QTest::newRow("below the last item") << -1 << "";
}

void TestFrmTools::toolTip()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    ToolsFixture t(threeContacts());
    auto tools = t.open();
    tools->show();
    QVERIFY(QTest::qWaitForWindowExposed(tools.get()));
    QListWidget* list = tools->lstnick;
    list->setToolTip(QStringLiteral("stale"));
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    const QPoint point = row >= 0 ? list->visualItemRect(list->item(row)).center()
                                  : QPoint(last.center().x(), last.bottom() + 10);
    QVERIFY(list->viewport()->rect().contains(point));
    // Through a real mouse move over the list's inside, in pixels.
    QMouseEvent move(QEvent::MouseMove, point, list->viewport()->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QCOMPARE(list->toolTip(), expected);
    // And the handler itself, in twips.
    list->setToolTip(QStringLiteral("stale"));
    tools->lstnick_MouseMove(Qt::NoButton, Qt::NoModifier, point.x() * tools->twipsPerPixelX(),
                             point.y() * tools->twipsPerPixelY());
    QCOMPARE(list->toolTip(), expected);
}

void TestFrmTools::bandColours_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    // red and blue capped at 255
    QTest::newRow("top") << 8190.0 << 0 << QColor(255, 219, 255);
    QTest::newRow("i = H") << 8190.0 << 117 << QColor(211, 146, 213);
    // green 146 + 36.5: the half goes to the even neighbour
    QTest::newRow("half to even") << 7000.0 << 50 << QColor(255, 182, 255);
    QTest::newRow("near the bottom") << 7000.0 << 90 << QColor(223, 153, 232);
}

void TestFrmTools::bandColours()
{
    QFETCH(double, height);
    QFETCH(int, index);
    QFETCH(QColor, colour);
    const auto bands = FrmTools::computeBands(7665, height);
    QCOMPARE(static_cast<int>(bands.size()), static_cast<int>(height) / 70 + 1);
    QCOMPARE(bands.at(static_cast<size_t>(index)).twips, QRectF(0, index * 70.0, 7665, 70));
    QCOMPARE(bands.at(static_cast<size_t>(index)).color, colour);
    QVERIFY(FrmTools::computeBands(7665, 0).empty());
}

void TestFrmTools::bandsCoverTheWindow()
{
    ToolsFixture t;
    auto tools = t.open();
    tools->show();
    QVERIFY(QTest::qWaitForWindowExposed(tools.get()));
    const auto& bands = tools->bands();
    QVERIFY(!bands.empty());
    QCOMPARE(bands.front().color, QColor(255, 219, 255));
    QVERIFY(bands.back().twips.bottom() >= FrmTools::ClientHeight);
    // Painted on every repaint, under the widgets: the free corners show their bands.
    const QImage shot = tools->grab().toImage();
    QCOMPARE(QColor(shot.pixel(2, 2)), QColor(255, 219, 255));
    const int y = shot.height() - 3;
    const double twips = y * tools->twipsPerPixelY();
    const auto band = std::find_if(bands.begin(), bands.end(), [&](const FrmTools::Band& b) {
        return b.twips.top() <= twips && twips < b.twips.bottom();
    });
    QVERIFY(band != bands.end());
    QCOMPARE(QColor(shot.pixel(2, y)), band->color);
}

void TestFrmTools::unloadReleasesTheClient()
{
    ToolsFixture t;
    auto tools = t.open();
    tools->show();
    QVERIFY(tools->objMessenger());
    QSignalSpy closed(tools.get(), &FrmTools::closed);
    tools->close();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!tools->objMessenger());
}

void TestFrmTools::opensModallyWhileRotationGoesOn()
{
    ToolsFixture t(threeContacts());
    FrmMine* main = t.f.window.get();
    QSignalSpy ticks(main->rotationTimer(), &RotationTimer::tick);
    main->rotationTimer()->start(10);

    QPointer<FrmTools> seen;
    bool modal = false;
    int contactsShown = 0;
    qsizetype ticksAtOpen = 0;
    // Each tick looks for the open window; three ticks after it showed, it is closed.
    QObject watcher;
    connect(main->rotationTimer(), &RotationTimer::tick, &watcher, [&] {
        auto* tools = qobject_cast<FrmTools*>(QApplication::activeModalWidget());
        if (!tools)
            return;
        if (!seen) {
            seen = tools;
            modal = tools->isVisible() && tools->isModal() && !tools->parentWidget();
            contactsShown = tools->lstemails->count();
            ticksAtOpen = ticks.count();
        } else if (ticks.count() >= ticksAtOpen + 3) {
            tools->close();
        }
    });
    // Should the window never show, the test fails instead of waiting for ever.
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, main, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<FrmTools*>(widget))
                widget->close();
        }
    });
    safety.start(10000);

    main->cmdtools_Click();

    QVERIFY(safety.isActive());
    QVERIFY(modal);
    QCOMPARE(contactsShown, 3); // loaded before it was shown
    QVERIFY(ticks.count() >= ticksAtOpen + 3);
    // Deleted once closed.
    QVERIFY(seen.isNull());
    main->rotationTimer()->stop();
}

QTEST_MAIN(TestFrmTools)
#include "tst_frmtools.moc"
