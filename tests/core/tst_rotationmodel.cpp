// The rotation's rules on the model alone, without any window: the order of pictures, the states
// and what each command does in them, going back, a client that comes late, outages.
#include "FakeMessengerClient.h"
#include "Table.h"
#include "TestEnvironment.h"
#include "core/fs/FolderWatch.h"
#include "core/rotation/Rotation.h"
#include "core/rotation/RotationTimer.h"
#include "core/settings/Settings.h"
#include <QSignalSpy>

using Entry = Settings::Entry;
using namespace std::chrono_literals;

namespace {

// A rotation over a folder of (empty) picture files, a fake client and a clock the test moves.
struct Model
{
    TestEnvironment env;
    Settings settings{env.settingsFile()};
    std::shared_ptr<FakeMessengerClient::State> client{new FakeMessengerClient::State};
    FakeMessengerClient destination{client};
    std::chrono::milliseconds now{0};
    Rotation rotation{settings, 60s, [this] { return now; }};

    explicit Model(const QStringList& names = {"A", "B", "C", "D", "E"})
    {
        env.makeDir("pics");
        for (const QString& name : names)
            env.writeFile("pics/" + name + ".png", "");
        rotation.setDestination(&destination);
        rotation.setFolder(env.path("pics"));
    }
    QStringList sent() const // the names sent so far, without ".png"
    {
        static const QRegularExpression path(".*/|\\.png$");
        return QStringList(client->sentPictures).replaceInStrings(path, "");
    }
    QString selected() const { return rotation.pictures().name(rotation.position()).chopped(4); }
    Rotation::Applied on() { return rotation.apply(true, 30000); }
    QString state() const // "running", "paused" or why it is stopped
    {
        static const char *states[] = {"running", "paused", ""},
                          *whys[] = {"", "off", "no folder", "no pictures", "no client"};
        return states[int(rotation.state())] + QString(whys[int(rotation.why())]);
    }
};

} // namespace

class TestRotationModel : public QObject
{
    Q_OBJECT
private slots:
    void ticks_data()
    {
        columns<int, QString, QString>("selected", "mode", "sent");
        row("in order from B, wrapping past E", 1, "0", "C D E A B");
        row("in order with nothing selected: from A", -1, "0", "A B");
        row("mode 2 is list order", 3, "2", "E A");
        row("a word is list order", 3, "yes", "E A");
        row("1.0 is random: the same draws every run", 1, "1.0", "B D D C B A D D A B C D A E");
        row("random over one picture", 0, "1", "one one");
    }
    void ticks()
    {
        const auto [selected, mode, sent] =
            fetch<int, QString, QString>("selected", "mode", "sent");
        Model m(sent.startsWith("one") ? QStringList{"one"} : QStringList{"A", "B", "C", "D", "E"});
        (void)m.settings.write(Entry::Random, mode); // read afresh at each tick, no Apply
        m.rotation.select(selected);
        QStringList positions;
        for (int i = 0; i <= sent.count(' '); ++i)
            positions << (m.rotation.TimerTick(), m.selected());
        QCOMPARE(m.sent() + positions, sent.split(' ') + sent.split(' ')); // the position follows
    }
    // Each step is "command=state after it"; a refused command is marked "!". A client that comes
    // to a running rotation, late or after an outage, starts it as Apply would.
    void states_data()
    {
        columns<QString>("steps");
        row("pause, next, resume", "on=running pause=paused next=paused resume=running");
        row("off: pause and resume refused", "on=running off=off !pause=off !resume=off");
        row("Apply starts a paused rotation", "on=running pause=paused on=running");
        row("Apply ends a pause without a client",
            "on=running pause=paused gone=paused on=no client back=running");
        row("no client at Apply: it waits, then starts", "gone=off on=no client back=running");
        row("back while paused", "on=running pause=paused gone=paused back=paused resume=running");
        row("resumed without a client: waits for one",
            "on=running pause=paused gone=paused resume=no client back=running");
        row("the folder emptied, then filled", "on=running empty=no pictures fill=running");
        row("the folder gone", "on=running nofolder=no folder");
        row("an outage: from the first picture again",
            "on=running next=running gone=running tick=running back=running");
    }
    void states()
    {
        const auto [steps] = fetch<QString>("steps");
        Model m;
        for (const QString& step : steps.split(QRegularExpression(" (?=!?[a-z]+=)"))) {
            const bool refused = step.startsWith('!');
            const QString command = step.mid(refused ? 1 : 0).section('=', 0, 0);
            const QString expected = step.section('=', 1);
            bool ok = true;
            if (command == "on" || command == "off")
                (void)m.rotation.apply(command == "on", 20000);
            else if (command == "pause" || command == "resume")
                ok = (command == "pause" ? m.rotation.pause() : m.rotation.resume()).ok();
            else if (command == "next" || command == "tick")
                command == "next" ? m.rotation.next() : m.rotation.TimerTick();
            else if (command == "gone" || command == "back") {
                const QStringList before = m.sent();
                m.client->setRunning(command == "back");
                const bool started = command == "back" && expected == "running";
                QCOMPARE(m.sent(), before + QStringList(started, "A"));
                QCOMPARE(m.rotation.client(), command == "back" ? "Fake" : "");
                QVERIFY(!started || m.selected() + m.settings.read(Entry::Control) == "A1");
            } else if (command == "empty" || command == "fill" || command == "nofolder") {
                QDir pics(m.env.path("pics"));
                for (const QString name : {"A.png", "B.png", "C.png", "D.png", "E.png"})
                    command == "fill" ? void(m.env.writeFile("pics/" + name, ""))
                                      : void(pics.remove(name));
                QVERIFY(command != "nofolder" || pics.removeRecursively());
                QTRY_COMPARE(m.state(), expected); // once the folder's change is seen
            }
            QVERIFY2(ok != refused, qPrintable(step));
            QCOMPARE(m.state(), expected);
            // What it says is what its timer does (without pictures, ticks go on sending nothing).
            const RotationTimer* timer = m.rotation.timer();
            if (!expected.contains("folder") && !expected.contains("pictures"))
                QCOMPARE(timer->isActive() && timer->intervalMs() == 20000, expected == "running");
            QCOMPARE(m.rotation.stateReason().isEmpty(), expected == "running");
        }
    }
    // Back through what was sent, whatever sent it; a picture sent anew after going back drops
    // the ones that came after it.
    void previous_data()
    {
        columns<QString, QString>("steps", "sent");
        row("back twice, then on from there", "tick tick back back tick back", "A B C B A B A");
        row("the oldest: refused, and it stays", "tick back !back tick", "A B A B");
        row("a double-click and a random pick count", "click:D random back back", "A D B D A");
    }
    void previous()
    {
        const auto [steps, sent] = fetch<QString, QString>("steps", "sent");
        Model m;
        QCOMPARE(m.on(), Rotation::Applied::Started);
        QVERIFY(!m.rotation.previous()); // nothing before the first
        for (const QString& step : steps.split(' ')) {
            QSignalSpy started(m.rotation.timer(), &RotationTimer::started);
            if (step == "tick")
                m.rotation.next();
            else if (step == "random") {
                (void)m.settings.write(Entry::Random, "1");
                m.rotation.TimerTick();
                (void)m.settings.write(Entry::Random, "0");
            } else if (step.startsWith("click:")) {
                m.rotation.select(step.back().unicode() - 'A');
                m.rotation.sendSelected();
            } else {
                QCOMPARE(m.rotation.previous().ok(), step == "back");
                // Sent again, the interval starts again; refused, nothing changes.
                QCOMPARE(started.count(), step == "back" ? 1 : 0);
            }
        }
        QCOMPARE(m.sent().join(' ') + m.selected() +
                     QFileInfo(m.rotation.currentPicture()).baseName(),
                 sent + sent.right(1).repeated(2));
    }
    void aHundredBack()
    {
        Model m;
        (void)m.on();
        for (int i = 0; i < 250; ++i)
            QVERIFY(i < 150 ? (m.rotation.TimerTick(), true) : m.rotation.previous().ok());
        QCOMPARE(m.sent().mid(250), m.sent().mid(50, 1)); // 251 sent, the last as the 51st
    }
    // Told once an outage has lasted a full minute, and once when pictures arrive again. A failure
    // is kept short wherever it is shown, and written once while it repeats.
    void outage_data()
    {
        columns<QList<int>, QStringList>("failuresAtSeconds", "notes");
        row("shorter than a minute", QList<int>{0, 30, 59}, QStringList{});
        row("a full minute: told once", QList<int>{0, 30, 60, 90}, QStringList{"out: no", "back"});
    }
    void outage()
    {
        const auto [failuresAtSeconds, notes] =
            fetch<QList<int>, QStringList>("failuresAtSeconds", "notes");
        Model m;
        (void)m.on();
        QStringList told;
        connect(&m.rotation, &Rotation::outageNoticed, this, [&](bool outage, const QString& why) {
            told.append(outage ? "out: " + why.left(2) : "back");
        });
        m.client->signedIn = false;
        m.client->refusal = "no" + QString(4 << 20, 'x');
        static QStringList written;
        written.clear();
        const auto previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
                written.append(text);
            });
        for (int second : failuresAtSeconds) {
            m.now = std::chrono::seconds(second);
            m.rotation.next();
            QVERIFY(m.rotation.lastError().startsWith("no") &&
                    m.rotation.lastError().size() <= Destinations::MaxFailureLength);
        }
        m.client->signedIn = true;
        m.rotation.next();
        qInstallMessageHandler(previous);
        QCOMPARE(m.rotation.lastError() + told.join(','), notes.join(','));
        QVERIFY(written.size() == 2 && written.at(0).size() < 400);
        const QString repeats = QString::number(failuresAtSeconds.size() - 1);
        QCOMPARE(written.at(1), "Dorvane: the same failure came " + repeats + " more times.");
    }
    // A second destination beside the client: a busy one holds back no other and gets the
    // newest picture once it answers; one that comes later catches up; failures are named.
    void eachDestinationOnItsOwn()
    {
        Model m;
        auto other = std::make_shared<FakeMessengerClient::State>();
        other->name = "Other";
        other->running = false;
        FakeMessengerClient second(other);
        m.rotation.addDestination(&second);
        (void)m.on();
        m.rotation.TimerTick();
        other->setRunning(true); // comes while the rotation runs
        other->holdAnswers = true;
        for (int i = 0; i < 3; ++i)
            m.rotation.TimerTick();
        QCOMPARE(m.sent(), QStringList({"A", "B", "C", "D", "E"}));
        other->releaseAnswers();
        QCOMPARE(other->sentPictures.join(' ').remove(QRegularExpression("[^ ]*/|\\.png")),
                 "B C E");
        m.client->signedIn = false;
        other->holdAnswers = false;
        other->releaseAnswers();
        m.rotation.TimerTick(); // taken by one: the current picture
        QCOMPARE(m.rotation.lastError(), "Fake: refused");
        QCOMPARE(m.rotation.currentPicture(), m.rotation.picturePath("A.png"));
        const auto all = m.rotation.destinations();
        QCOMPARE(QString::number(all.size()) + all.at(1).name + all.at(1).failure, "2Other");
    }
    // A burst of changes in the folder gives one listing.
    void aBurstGivesOneRefresh()
    {
        Model m;
        QSignalSpy listed(&m.rotation, &Rotation::listingChanged);
        for (int i = 0; i < 50; ++i)
            m.env.writeFile(QString("pics/n%1.png").arg(i), "");
        QTRY_COMPARE(m.rotation.count(), 55);
        QCOMPARE(listed.size(), 1);
        QVERIFY(!listed.wait(2 * FolderWatch::SettleMs)); // and no second one after it
    }
};

QTEST_MAIN(TestRotationModel)
#include "tst_rotationmodel.moc"
