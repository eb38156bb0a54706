// Runs the stand-in as its own process on the session bus and talks to it the way the
// program does. Needs a private session bus: dbus-run-session -- ctest ...

#include "common/TestEnvironment.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

const QString Service = QStringLiteral("MessengerAPI.Messenger");
const QString Path = QStringLiteral("/MessengerAPI/Messenger");
const QString Interface = QStringLiteral("MessengerAPI.IMessenger");
const QString NotSignedIn = QStringLiteral("MessengerAPI.Error.NotSignedIn");
const QString InvalidPicture = QStringLiteral("MessengerAPI.Error.InvalidPicture");
const QString InvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");

using Pairs = QList<QPair<QString, QString>>;

// Reads a(ss) by hand, so the wire format itself is checked, not a shared C++ type.
Pairs readContacts(const QDBusMessage& reply)
{
    Pairs pairs;
    const QDBusArgument argument = reply.arguments().value(0).value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        QString signin;
        QString nickname;
        argument.beginStructure();
        argument >> signin >> nickname;
        argument.endStructure();
        pairs.append({signin, nickname});
    }
    argument.endArray();
    return pairs;
}

QVariant variant(const QVariant& value)
{
    return QVariant::fromValue(QDBusVariant(value));
}

} // namespace

class TestStandin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void introspection();
    void contacts_data();
    void contacts();
    void pictureRoundTrip_data();
    void pictureRoundTrip();
    void refusals_data();
    void refusals();
    void cacheHoldsPictures();
    void noCacheLeavesTempAlone();
    void hangingClientTimesOut();
    void secondCopyIsRefused();
    void unreadableContactsFile();

private:
    std::unique_ptr<QProcess> launch(const QStringList& arguments);
    void start(const QStringList& arguments = {});
    void stop();
    bool nameOwned() const;
    std::unique_ptr<QDBusInterface> messenger(int timeoutMs = 5000) const;
    QString writePicture(const QString& name, const char* format) const;

    QDBusConnection m_bus = QDBusConnection::sessionBus();
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_output;
};

void TestStandin::initTestCase()
{
    QVERIFY2(m_bus.isConnected(),
             "no session bus: run the tests under dbus-run-session -- ctest ...");
    QVERIFY2(!nameOwned(), "MessengerAPI.Messenger already has an owner on this bus");
}

void TestStandin::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_output.clear();
}

void TestStandin::cleanup()
{
    stop();
    m_env.reset();
}

std::unique_ptr<QProcess> TestStandin::launch(const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QStringLiteral(DORVANE_STANDIN_PATH));
    process->setArguments(QStringList{QStringLiteral("--no-window")} + arguments);
    process->start();
    return process;
}

void TestStandin::start(const QStringList& arguments)
{
    m_process = launch(arguments);
    connect(m_process.get(), &QProcess::readyReadStandardOutput, this,
            [this] { m_output += m_process->readAllStandardOutput(); });
    QTRY_VERIFY_WITH_TIMEOUT(
        m_output.contains("ready\n") || m_process->state() == QProcess::NotRunning, 20000);
    QVERIFY2(m_output.contains("ready\n"), m_process->readAllStandardError().constData());
    QVERIFY(nameOwned());
}

void TestStandin::stop()
{
    if (!m_process)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(10000)) {
        m_process->kill();
        m_process->waitForFinished(10000);
    }
    m_process.reset();
    // The next case must find the name free again.
    QTRY_VERIFY_WITH_TIMEOUT(!nameOwned(), 10000);
}

bool TestStandin::nameOwned() const
{
    return m_bus.interface()->isServiceRegistered(Service).value();
}

std::unique_ptr<QDBusInterface> TestStandin::messenger(int timeoutMs) const
{
    auto interface = std::make_unique<QDBusInterface>(Service, Path, Interface, m_bus);
    interface->setTimeout(timeoutMs);
    return interface;
}

QString TestStandin::writePicture(const QString& name, const char* format) const
{
    const QString path = m_env->temp() + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(96, 96, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image.save(path, format) ? path : QString();
}

void TestStandin::introspection()
{
    start();
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, Path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect"));
    const QDBusReply<QString> xml = m_bus.call(call);
    QVERIFY2(xml.isValid(), qPrintable(xml.error().message()));
    QVERIFY(xml.value().contains(QStringLiteral("<interface name=\"MessengerAPI.IMessenger\">")));
    QVERIFY(xml.value().contains(QStringLiteral("type=\"a(ss)\" direction=\"out\"")));
    QVERIFY(xml.value().contains(QStringLiteral("type=\"v\" direction=\"in\"")));
    QVERIFY(messenger()->isValid());
}

void TestStandin::contacts_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: the built-in contacts
    QTest::addColumn<Pairs>("expected");

    QTest::newRow("built-in") << QByteArray()
                              << Pairs{
                                     {"ada.lovelace@dorvane.example", "Ada Lovelace"},
                                     {"zoe.angstrom@dorvane.example", "Zoë Ångström"},
                                     {"karim.alali@dorvane.example", "كريم العلي"},
                                     {"sam.archer@dorvane.example", "Sam"},
                                     {"lukasz.wrobel@dorvane.example", "Łukasz Wróbel"},
                                     {"sam.baker@dorvane.example", "Sam"},
                                     {"li.wei@dorvane.example", "李伟"},
                                     {"noor@dorvane.example", "Noor (away)"},
                                 };
    QTest::newRow("from a file, order kept")
        << QByteArray("z@x\tLast letter first\n"
                      "a@x\tZo\xC3\xAB \xC3\x85ngstr\xC3\xB6m\r\n"
                      "this line has no tab\n"
                      "m@x\tSame\n"
                      "b@x\tSame\n")
        << Pairs{{"z@x", "Last letter first"},
                 {"a@x", "Zoë Ångström"},
                 {"m@x", "Same"},
                 {"b@x", "Same"}};
    QTest::newRow("empty file: no contacts") << QByteArray("\n") << Pairs{};
}

void TestStandin::contacts()
{
    QFETCH(QByteArray, file);
    QFETCH(Pairs, expected);

    QStringList arguments{QStringLiteral("--no-cache")};
    if (!file.isEmpty())
        arguments << QStringLiteral("--contacts")
                  << m_env->writeFile(QStringLiteral("contacts.txt"), file);
    start(arguments);
    if (QTest::currentTestFailed())
        return;

    const QDBusMessage reply = messenger()->call(QStringLiteral("MyContacts"));
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(reply.signature(), QStringLiteral("a(ss)"));
    QCOMPARE(readContacts(reply), expected);
}

void TestStandin::pictureRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("png") << QStringLiteral("pictures/a.png") << QByteArray("png");
    QTest::newRow("jpeg, spaces and accents in the path")
        << QStringLiteral("my pictures/été à la plage.jpg") << QByteArray("jpeg");
    QTest::newRow("bmp named .gif") << QStringLiteral("odd/b.gif") << QByteArray("bmp");
}

void TestStandin::pictureRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);

    const QString first = writePicture(name, format.constData());
    const QString second = writePicture(QStringLiteral("second.png"), "png");
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    start({QStringLiteral("--no-cache")});
    if (QTest::currentTestFailed())
        return;
    auto iface = messenger();

    QDBusReply<QDBusVariant> current = iface->call(QStringLiteral("MyProperty"), 2);
    QVERIFY2(current.isValid(), qPrintable(current.error().message()));
    QCOMPARE(current.value().variant().toString(), QString());

    for (const QString& path : {first, second, first}) {
        const QDBusMessage set = iface->call(QStringLiteral("SetMyProperty"), 2, variant(path));
        QVERIFY2(set.type() == QDBusMessage::ReplyMessage, qPrintable(set.errorMessage()));
        current = iface->call(QStringLiteral("MyProperty"), 2);
        QVERIFY(current.isValid());
        QCOMPARE(current.value().variant().toString(), path);
    }
    // Scripts can follow the changes on standard output.
    QTRY_VERIFY(m_output.count("display-picture ") == 3);
    QVERIFY(m_output.contains("display-picture " + first.toUtf8() + '\n'));
}

void TestStandin::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("values"); // "GOOD" stands for a readable picture's path
    QTest::addColumn<QString>("error");

    const QStringList signedIn;
    const QStringList signedOut{QStringLiteral("--signed-out")};
    QTest::newRow("signed out: contacts")
        << signedOut << "MyContacts" << QVariantList() << NotSignedIn;
    QTest::newRow("signed out: set picture")
        << signedOut << "SetMyProperty" << QVariantList{2, variant("GOOD")} << NotSignedIn;
    QTest::newRow("unknown code to set")
        << signedIn << "SetMyProperty" << QVariantList{7, variant("GOOD")} << InvalidArgs;
    QTest::newRow("unknown code to read")
        << signedIn << "MyProperty" << QVariantList{3} << InvalidArgs;
    QTest::newRow("value not a string")
        << signedIn << "SetMyProperty" << QVariantList{2, variant(42)} << InvalidArgs;
    QTest::newRow("relative path") << signedIn << "SetMyProperty"
                                   << QVariantList{2, variant("pictures/a.png")} << InvalidPicture;
    QTest::newRow("missing file") << signedIn << "SetMyProperty"
                                  << QVariantList{2, variant("/nonexistent/dorvane/a.png")}
                                  << InvalidPicture;
    QTest::newRow("not a picture")
        << signedIn << "SetMyProperty" << QVariantList{2, variant("NOTES")} << InvalidPicture;
    QTest::newRow("string sent without a variant")
        << signedIn << "SetMyProperty" << QVariantList{2, QStringLiteral("GOOD")}
        << QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
}

void TestStandin::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, method);
    QFETCH(QVariantList, values);
    QFETCH(QString, error);

    const QString good = writePicture(QStringLiteral("good.png"), "png");
    const QString notes = m_env->writeFile(QStringLiteral("tmp/notes.png"), "plain text");
    for (QVariant& value : values) {
        const bool wrapped = value.metaType() == QMetaType::fromType<QDBusVariant>();
        const QString text =
            wrapped ? value.value<QDBusVariant>().variant().toString() : value.toString();
        const QString replaced = text == QLatin1String("GOOD")    ? good
                                 : text == QLatin1String("NOTES") ? notes
                                                                  : QString();
        if (!replaced.isEmpty())
            value = wrapped ? variant(replaced) : QVariant(replaced);
    }
    start(arguments << QStringLiteral("--no-cache"));
    if (QTest::currentTestFailed())
        return;
    auto iface = messenger();

    const QDBusMessage reply = iface->callWithArgumentList(QDBus::Block, method, values);
    QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
    QCOMPARE(reply.errorName(), error);
    QVERIFY(!reply.errorMessage().isEmpty());

    // A refusal changes nothing, and the client goes on answering.
    const QDBusReply<QDBusVariant> current = iface->call(QStringLiteral("MyProperty"), 2);
    QVERIFY(current.isValid());
    QCOMPARE(current.value().variant().toString(), QString());
    QVERIFY(!m_output.contains("display-picture"));
}

void TestStandin::cacheHoldsPictures()
{
    start();
    if (QTest::currentTestFailed())
        return;
    const QDir cache(m_env->temp() + QStringLiteral("/MessengerCache"));
    QStringList files = cache.entryList(QDir::Files);
    files.removeAll(QStringLiteral("index.dat"));
    QCOMPARE(files.size(), 8); // one per built-in contact

    QSet<QByteArray> formats;
    QSet<QByteArray> formatsAt96;
    int otherSizes = 0;
    int misleadingNames = 0; // no extension, or one that names another format
    for (const QString& name : files) {
        QImageReader reader(cache.filePath(name));
        reader.setDecideFormatFromContent(true);
        const QByteArray format = reader.format(); // must be asked before reading
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(name + QStringLiteral(": ") + reader.errorString()));
        formats.insert(format);
        const QByteArray suffix = QFileInfo(name).suffix().toLower().toLatin1();
        if ((suffix == "jpg" ? QByteArray("jpeg") : suffix) != format)
            ++misleadingNames;
        if (image.size() == QSize(96, 96))
            formatsAt96.insert(format);
        else
            ++otherSizes;
    }
    const QSet<QByteArray> all{"png", "gif", "bmp", "jpeg"};
    QCOMPARE(formats, all);
    QCOMPARE(formatsAt96, all);
    QVERIFY(otherSizes > 0);
    QVERIFY(misleadingNames > 0);
}

void TestStandin::noCacheLeavesTempAlone()
{
    start({QStringLiteral("--no-cache")});
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!QFileInfo::exists(m_env->temp() + QStringLiteral("/MessengerCache")));
}

void TestStandin::hangingClientTimesOut()
{
    start({QStringLiteral("--hang"), QStringLiteral("--no-cache")});
    if (QTest::currentTestFailed())
        return;
    auto iface = messenger(500);

    for (const QString& method : {QStringLiteral("MyContacts"), QStringLiteral("MyProperty")}) {
        QElapsedTimer clock;
        clock.start();
        const QDBusMessage reply =
            method == QLatin1String("MyContacts") ? iface->call(method) : iface->call(method, 2);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(QDBusError(reply).type(), QDBusError::NoReply);
        // Far below the bus's own 25 s default: the caller's time-out was honoured.
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    }
    QVERIFY(nameOwned());
    QCOMPARE(m_process->state(), QProcess::Running);
}

void TestStandin::secondCopyIsRefused()
{
    start({QStringLiteral("--no-cache")});
    if (QTest::currentTestFailed())
        return;
    auto second = launch({QStringLiteral("--no-cache")});
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QVERIFY(second->exitCode() != 0);
    const QByteArray errors = second->readAllStandardError();
    QVERIFY2(errors.contains("MessengerAPI.Messenger"), errors.constData());
    QVERIFY(!second->readAllStandardOutput().contains("ready"));

    // The first copy still answers.
    const QDBusMessage reply = messenger()->call(QStringLiteral("MyContacts"));
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
}

void TestStandin::unreadableContactsFile()
{
    const QString missing = m_env->root() + QStringLiteral("/no-such-contacts.txt");
    auto process = launch({QStringLiteral("--contacts"), missing});
    QVERIFY(process->waitForFinished(20000));
    QVERIFY(process->exitCode() != 0);
    QVERIFY(process->readAllStandardError().contains(missing.toUtf8()));
    QVERIFY(!nameOwned());
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
