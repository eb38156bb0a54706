#include "common/TestEnvironment.h"
#include "settings/AutoRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>
#include <optional>
#include <unistd.h>

namespace {

const QString Name = QStringLiteral("dvn");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Value of `key` in a desktop file, taken as raw text (no unescaping).
std::optional<QString> rawValue(const QString& path, const QString& key)
{
    const QStringList lines = QString::fromUtf8(readAll(path)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1);
    }
    return std::nullopt;
}

// Desktop Entry rules, written apart from the code under test: first the escapes of the
// string type, then the argument split with double quotes (inside which \ escapes " ` $ \),
// then %% in each argument. Nullopt for text that a launcher would reject.
std::optional<QStringList> parseExec(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == QLatin1Char('s'))
            text += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            text += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            text += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            text += QLatin1Char('\r');
        else if (next == QLatin1Char('\\'))
            text += QLatin1Char('\\');
        else
            return std::nullopt;
    }

    QStringList args;
    QString current;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                quoted = false;
            } else if (ch == QLatin1Char('\\')) {
                if (i + 1 == text.size())
                    return std::nullopt;
                const QChar next = text[++i];
                if (!QStringLiteral("\"`$\\").contains(next))
                    return std::nullopt;
                current += next;
            } else {
                current += ch;
            }
        } else if (ch == QLatin1Char(' ')) {
            if (inArg)
                args << current;
            current.clear();
            inArg = false;
        } else if (ch == QLatin1Char('"')) {
            quoted = true;
            inArg = true;
        } else if (QStringLiteral("\t\n\"'\\><~|&;$*?#()`").contains(ch)) {
            return std::nullopt; // reserved outside quotes
        } else {
            current += ch;
            inArg = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArg)
        args << current;

    for (QString& arg : args) {
        QString out;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg[i] != QLatin1Char('%')) {
                out += arg[i];
            } else if (i + 1 < arg.size() && arg[i + 1] == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
            } else {
                return std::nullopt; // a field code where a plain path was meant
            }
        }
        arg = out;
    }
    return args;
}

QStringList desktopFiles(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files);
}

} // namespace

class TestAutoRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folders_data();
    void folders();
    void writtenTwiceKeepsLatest();
    void removeWhenAbsent();
    void removeDeletesBothFolders();
    void perMachineEntryReplacesPerUserOne();
    void awkwardFolders_data();
    void awkwardFolders();
    void fallbackToUserFolder_data();
    void fallbackToUserFolder();
    void unremovableMachineEntryIsMasked();
    void unsafeInputRefused_data();
    void unsafeInputRefused();

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_machine;
    QString m_user;
};

void TestAutoRun::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_machine = m_env->makeDir(QStringLiteral("xdg/autostart"));
    m_user = m_env->configHome() + QStringLiteral("/autostart"); // made on demand
}

void TestAutoRun::cleanup()
{
    // Read-only folders left by a test would keep QTemporaryDir from cleaning up.
    for (const QString& dir : {m_machine, m_env->root() + QStringLiteral("/locked")})
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_env.reset();
}

void TestAutoRun::folders_data()
{
    QTest::addColumn<QByteArray>("configDirs"); // "-" leaves the variable unset
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("user");

    QTest::newRow("both set") << QByteArray("/m1:/m2") << QByteArray("/u")
                              << QStringLiteral("/m1/autostart") << QStringLiteral("/u/autostart");
    QTest::newRow("unset") << QByteArray("-") << QByteArray("-")
                           << QStringLiteral("/etc/xdg/autostart")
                           << QStringLiteral("HOME/.config/autostart");
    QTest::newRow("empty") << QByteArray("") << QByteArray("")
                           << QStringLiteral("/etc/xdg/autostart")
                           << QStringLiteral("HOME/.config/autostart");
    QTest::newRow("relative ignored")
        << QByteArray("rel:/m2") << QByteArray("rel") << QStringLiteral("/m2/autostart")
        << QStringLiteral("HOME/.config/autostart");
    QTest::newRow("trailing slash")
        << QByteArray("/m/") << QByteArray("/u/") << QStringLiteral("/m/autostart")
        << QStringLiteral("/u/autostart");
}

void TestAutoRun::folders()
{
    QFETCH(QByteArray, configDirs);
    QFETCH(QByteArray, configHome);
    QFETCH(QString, machine);
    QFETCH(QString, user);
    if (configDirs == "-")
        m_env->unsetVar("XDG_CONFIG_DIRS");
    else
        m_env->setVar("XDG_CONFIG_DIRS", configDirs);
    if (configHome == "-")
        m_env->unsetVar("XDG_CONFIG_HOME");
    else
        m_env->setVar("XDG_CONFIG_HOME", configHome);
    user.replace(QStringLiteral("HOME"), m_env->home());

    const AutoRun autoRun = AutoRun::fromEnvironment();
    QCOMPARE(autoRun.machineDir(), machine);
    QCOMPARE(autoRun.userDir(), user);
    QCOMPARE(AutoRun().machineDir(), machine);
}

void TestAutoRun::writtenTwiceKeepsLatest()
{
    AutoRun autoRun(m_machine, m_user);
    QVERIFY(autoRun.AddRunEntry(Name, QStringLiteral("\"/old/dvn\"")));
    QVERIFY(autoRun.AddRunEntry(Name, QStringLiteral("\"/new/dvn\"")));

    QCOMPARE(desktopFiles(m_machine), QStringList{QStringLiteral("dvn.desktop")});
    QCOMPARE(desktopFiles(m_user), QStringList());
    QCOMPARE(readAll(m_machine + QStringLiteral("/dvn.desktop")),
             QByteArray("[Desktop Entry]\nType=Application\nName=dvn\nExec=\"/new/dvn\"\n"));
}

void TestAutoRun::removeWhenAbsent()
{
    AutoRun autoRun(m_machine, m_user);
    QVERIFY(autoRun.RemoveRunEntry(Name));
    QCOMPARE(desktopFiles(m_machine), QStringList());
    QVERIFY(!QFileInfo::exists(m_user + QStringLiteral("/dvn.desktop")));
}

void TestAutoRun::removeDeletesBothFolders()
{
    m_env->writeFile(QStringLiteral("xdg/autostart/dvn.desktop"), "[Desktop Entry]\n");
    m_env->writeFile(QStringLiteral("config/autostart/dvn.desktop"), "[Desktop Entry]\n");
    m_env->writeFile(QStringLiteral("config/autostart/other.desktop"), "[Desktop Entry]\n");

    QVERIFY(AutoRun(m_machine, m_user).RemoveRunEntry(Name));
    QCOMPARE(desktopFiles(m_machine), QStringList());
    QCOMPARE(desktopFiles(m_user), QStringList{QStringLiteral("other.desktop")});
}

// A per-user entry of the same name wins at log-on, so a stale one would hide the new data.
void TestAutoRun::perMachineEntryReplacesPerUserOne()
{
    m_env->writeFile(QStringLiteral("config/autostart/dvn.desktop"),
                     "[Desktop Entry]\nType=Application\nName=dvn\nExec=\"/old/dvn\"\n");
    QVERIFY(AutoRun(m_machine, m_user).AddRunEntry(Name, QStringLiteral("\"/new/dvn\"")));
    QCOMPARE(desktopFiles(m_user), QStringList());
    QCOMPARE(rawValue(m_machine + QStringLiteral("/dvn.desktop"), QStringLiteral("Exec")),
             QStringLiteral("\"/new/dvn\""));
}

void TestAutoRun::awkwardFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("program");

    const auto row = [](const char* tag, const QString& folder, const QString& program) {
        QTest::newRow(tag) << folder << program;
    };
    row("plain", QStringLiteral("/opt/dorvane"), QStringLiteral("/opt/dorvane/dvn"));
    row("trailing slash", QStringLiteral("/opt/dorvane/"), QStringLiteral("/opt/dorvane/dvn"));
    row("root", QStringLiteral("/"), QStringLiteral("/dvn"));
    row("spaces", QStringLiteral("/opt/my  apps"), QStringLiteral("/opt/my  apps/dvn"));
    row("leading space", QStringLiteral(" x"), QStringLiteral(" x/dvn"));
    row("double quote", QStringLiteral("/opt/say \"hi\""), QStringLiteral("/opt/say \"hi\"/dvn"));
    row("single quote", QStringLiteral("/opt/it's"), QStringLiteral("/opt/it's/dvn"));
    row("dollar", QStringLiteral("/opt/$HOME"), QStringLiteral("/opt/$HOME/dvn"));
    row("backtick", QStringLiteral("/opt/`id`"), QStringLiteral("/opt/`id`/dvn"));
    row("backslash", QStringLiteral("/opt/a\\b"), QStringLiteral("/opt/a\\b/dvn"));
    row("backslash n", QStringLiteral("/opt/a\\n"), QStringLiteral("/opt/a\\n/dvn"));
    row("trailing backslash", QStringLiteral("/opt/a\\"), QStringLiteral("/opt/a\\/dvn"));
    row("percent", QStringLiteral("/opt/100%"), QStringLiteral("/opt/100%/dvn"));
    row("field code", QStringLiteral("/opt/%f%%u"), QStringLiteral("/opt/%f%%u/dvn"));
    row("line break", QStringLiteral("/opt/a\nb"), QStringLiteral("/opt/a\nb/dvn"));
    row("tab and cr", QStringLiteral("/opt/a\tb\rc"), QStringLiteral("/opt/a\tb\rc/dvn"));
    row("shell", QStringLiteral("/opt/a;b|c&d>e<f*?#~()"),
        QStringLiteral("/opt/a;b|c&d>e<f*?#~()/dvn"));
    row("non-ascii", QStringLiteral("/opt/Donn\u00e9es \u0627\u0644"),
        QStringLiteral("/opt/Donn\u00e9es \u0627\u0644/dvn"));
}

void TestAutoRun::awkwardFolders()
{
    QFETCH(QString, folder);
    QFETCH(QString, program);

    const QString data = AutoRun::runEntryData(folder, Name);
    QVERIFY(AutoRun(m_machine, m_user).AddRunEntry(Name, data));
    const QString path = m_machine + QStringLiteral("/dvn.desktop");

    // Still exactly the four lines, whatever the folder holds.
    QCOMPARE(readAll(path).count('\n'), 4);
    const std::optional<QString> exec = rawValue(path, QStringLiteral("Exec"));
    QVERIFY(exec);
    QCOMPARE(*exec, data);
    const std::optional<QStringList> args = parseExec(*exec);
    QVERIFY2(args, qPrintable(*exec));
    QCOMPARE(*args, QStringList{program});
}

void TestAutoRun::fallbackToUserFolder_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("read-only per-machine folder") << true;
    QTest::newRow("per-machine path is a file") << false;
}

void TestAutoRun::fallbackToUserFolder()
{
    QFETCH(bool, readOnlyFolder);
    QString machine = m_machine;
    if (readOnlyFolder) {
        if (::geteuid() == 0)
            QSKIP("running as root, which writes a read-only folder anyway");
        QVERIFY(QFile::setPermissions(m_machine, QFile::ReadOwner | QFile::ExeOwner));
    } else {
        machine = m_env->writeFile(QStringLiteral("plainfile"), "x") + QStringLiteral("/autostart");
    }

    AutoRun autoRun(machine, m_user);
    QVERIFY(autoRun.AddRunEntry(Name, QStringLiteral("\"/first/dvn\"")));
    QVERIFY(autoRun.AddRunEntry(Name, QStringLiteral("\"/second/dvn\"")));
    QCOMPARE(desktopFiles(m_machine), QStringList());
    QCOMPARE(desktopFiles(m_user), QStringList{QStringLiteral("dvn.desktop")});
    QCOMPARE(rawValue(m_user + QStringLiteral("/dvn.desktop"), QStringLiteral("Exec")),
             QStringLiteral("\"/second/dvn\""));

    QVERIFY(autoRun.RemoveRunEntry(Name));
    QCOMPARE(desktopFiles(m_user), QStringList());
}

// An entry in a per-machine folder this user cannot change is switched off for the user
// instead, so that clearing the option takes effect.
void TestAutoRun::unremovableMachineEntryIsMasked()
{
    if (::geteuid() == 0)
        QSKIP("running as root, which can delete from a read-only folder");
    const QString locked = m_env->makeDir(QStringLiteral("locked"));
    m_env->writeFile(QStringLiteral("locked/dvn.desktop"), "[Desktop Entry]\nExec=dvn\n");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));

    AutoRun autoRun(locked, m_user);
    QVERIFY(autoRun.RemoveRunEntry(Name));
    QVERIFY(QFileInfo::exists(locked + QStringLiteral("/dvn.desktop")));
    QCOMPARE(rawValue(m_user + QStringLiteral("/dvn.desktop"), QStringLiteral("Hidden")),
             QStringLiteral("true"));

    // Checking the option again replaces the mask with a working entry.
    QVERIFY(autoRun.AddRunEntry(Name, QStringLiteral("\"/opt/dvn\"")));
    QCOMPARE(rawValue(m_user + QStringLiteral("/dvn.desktop"), QStringLiteral("Hidden")),
             std::nullopt);
}

void TestAutoRun::unsafeInputRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("data");
    QTest::newRow("empty name") << QString() << QStringLiteral("\"/opt/dvn\"");
    QTest::newRow("parent name") << QStringLiteral("..") << QStringLiteral("\"/opt/dvn\"");
    QTest::newRow("name with folder")
        << QStringLiteral("../../evil") << QStringLiteral("\"/opt/dvn\"");
    QTest::newRow("data with line break")
        << Name << QStringLiteral("\"/opt/dvn\"\nX-Extra=injected");
}

void TestAutoRun::unsafeInputRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, data);
    AutoRun autoRun(m_machine, m_user);
    QVERIFY(!autoRun.AddRunEntry(name, data));
    QCOMPARE(QDir(m_env->root()).entryList({QStringLiteral("*.desktop")}), QStringList());
    QCOMPARE(desktopFiles(m_machine), QStringList());
    QVERIFY(!QFileInfo::exists(m_user));
    if (name != Name)
        QVERIFY(!autoRun.RemoveRunEntry(name));
}

QTEST_GUILESS_MAIN(TestAutoRun)
#include "tst_autorun.moc"
