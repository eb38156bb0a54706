#include "common/MainFixture.h"

#include "main/RotationTimer.h"
#include "settings/OptionsPanel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Entry = Settings::Entry;

namespace {

// Clicks into the box, replaces its text by typing, as a user would.
void typeInto(QLineEdit* box, const QString& text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void isNumeric_data();
    void isNumeric();
    void intervalMs_data();
    void intervalMs();
    void typedThenApplied_data();
    void typedThenApplied();
    void leavingABox_data();
    void leavingABox();
    void storedTextsOutOfRange_data();
    void storedTextsOutOfRange();
};

void TestOptions::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("number then letters") << "12abc" << 12.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("leading blanks") << "  7 s" << 7.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("no leading digit") << ".5" << 0.5;
    QTest::newRow("sign") << "-3x" << -3.0;
    QTest::newRow("exponent") << "1e2x" << 100.0;
    QTest::newRow("unfinished exponent") << "4e" << 4.0;
    QTest::newRow("too large for a double") << "1e999" << 0.0;
}

void TestOptions::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(OptionsPanel::leadingNumber(text), expected);
}

void TestOptions::isNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("integer") << "12" << true;
    QTest::newRow("blanks around") << " 12 " << true;
    QTest::newRow("signed exponent") << "-1.5e3" << true;
    QTest::newRow("trailing letters") << "12abc" << false;
    QTest::newRow("blank inside") << "1 2" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("point only") << "." << false;
    QTest::newRow("unfinished exponent") << "4e" << false;
}

void TestOptions::isNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(OptionsPanel::isNumeric(text), expected);
}

void TestOptions::intervalMs_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("0 min 30 s") << "0"
                                << "30" << qint64(30000);
    QTest::newRow("2 min 45 s: seconds ignored") << "2"
                                                 << "45" << qint64(120000);
    QTest::newRow("1 min 45 s") << "1"
                                << "45" << qint64(60000);
    QTest::newRow("0.5 min is below one") << "0.5"
                                          << "10" << qint64(10000);
    QTest::newRow("0.99 min is below one") << "0.99"
                                           << "30" << qint64(30000);
    QTest::newRow("2.5 min rounds to even") << "2.5"
                                            << "30" << qint64(120000);
    QTest::newRow("3.5 min rounds to even") << "3.5"
                                            << "30" << qint64(240000);
    QTest::newRow("2.5 s rounds to even") << "0"
                                          << "2.5" << qint64(2000);
    QTest::newRow("60 min") << "60"
                            << "0" << qint64(3600000);
    // Texts only a hand-edited store can hold: brought to the nearest bound.
    QTest::newRow("no seconds") << "0"
                                << "0" << qint64(1000);
    QTest::newRow("half a second rounds to none") << "0"
                                                  << "0.5" << qint64(1000);
    QTest::newRow("negative seconds") << "-5"
                                      << "-7" << qint64(1000);
    QTest::newRow("huge negative seconds") << "0"
                                           << "-1e300" << qint64(1000);
    QTest::newRow("huge seconds") << "0"
                                  << "1e20" << qint64(2147483647);
    QTest::newRow("huge minutes") << "1e20"
                                  << "0" << qint64(2147483647);
    QTest::newRow("minutes past 32 bits") << "35792"
                                          << "0" << qint64(2147483647);
    QTest::newRow("last whole minute inside") << "35791"
                                              << "0" << qint64(2147460000);
}

void TestOptions::intervalMs()
{
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(qint64, expected);
    QCOMPARE(OptionsPanel::intervalMs(minutes, seconds), expected);
}

void TestOptions::typedThenApplied_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("minutesAfter");
    QTest::addColumn<QString>("secondsAfter");
    QTest::addColumn<int>("interval");
    QTest::newRow("0 / 30") << "0"
                            << "30"
                            << "0"
                            << "30" << 30000;
    QTest::newRow("2 / 45") << "2"
                            << "45"
                            << "2"
                            << "45" << 120000;
    QTest::newRow("0.5 / 10") << "0.5"
                              << "10"
                              << "0.5"
                              << "10" << 10000;
    QTest::newRow("2.5 min") << "2.5"
                             << "30"
                             << "2.5"
                             << "30" << 120000;
    QTest::newRow("3.5 min") << "3.5"
                             << "30"
                             << "3.5"
                             << "30" << 240000;
    QTest::newRow("99 min") << "99"
                            << "30"
                            << "60"
                            << "30" << 3600000;
    QTest::newRow("75 s") << "0"
                          << "75"
                          << "1"
                          << "3" << 60000;
    QTest::newRow("60 s replaces the minutes") << "5"
                                               << "60"
                                               << "1"
                                               << "3" << 60000;
    QTest::newRow("abc min") << "abc"
                             << "30"
                             << "1"
                             << "30" << 60000;
    QTest::newRow("2 s") << "0"
                         << "2"
                         << "0"
                         << "3" << 3000;
    QTest::newRow("seconds abc") << "0"
                                 << "abc"
                                 << "0"
                                 << "3" << 3000;
    QTest::newRow("emptied boxes") << ""
                                   << ""
                                   << "1"
                                   << "3" << 60000;
}

void TestOptions::typedThenApplied()
{
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, minutesAfter);
    QFETCH(QString, secondsAfter);
    QFETCH(int, interval);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"a.png", "b.png"}, .rotation = true, .shown = true});
    QVERIFY(w);
    typeInto(w->txtm, minutes);
    typeInto(w->txts, seconds);
    QTest::mouseClick(w->cmdoptions, Qt::LeftButton);
    QCOMPARE(w->txtm->text(), minutesAfter);
    QCOMPARE(w->txts->text(), secondsAfter);
    QCOMPARE(w->rotationTimer()->intervalMs(), interval);
    // Apply stores the texts as the boxes show them.
    QCOMPARE(f.stored(Entry::TimerMinutes), minutesAfter);
    QCOMPARE(f.stored(Entry::TimerSeconds), secondsAfter);
}

void TestOptions::leavingABox_data()
{
    QTest::addColumn<bool>("minutesBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("keepsFocus");
    QTest::newRow("minutes abc") << true << "abc"
                                 << "1" << true;
    QTest::newRow("minutes emptied") << true << ""
                                     << "1" << true;
    QTest::newRow("minutes 12abc") << true << "12abc"
                                   << "1" << true;
    QTest::newRow("minutes -4: no lower bound") << true << "-4"
                                                << "-4" << false;
    QTest::newRow("minutes 61") << true << "61"
                                << "60" << false;
    QTest::newRow("seconds abc") << false << "abc"
                                 << "3" << true;
    QTest::newRow("seconds emptied") << false << ""
                                     << "3" << true;
    QTest::newRow("seconds 2") << false << "2"
                               << "3" << false;
    QTest::newRow("seconds -10") << false << "-10"
                                 << "3" << false;
    QTest::newRow("seconds 45") << false << "45"
                                << "45" << false;
}

void TestOptions::leavingABox()
{
    QFETCH(bool, minutesBox);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(bool, keepsFocus);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"a.png", "b.png"}, .rotation = true, .shown = true});
    QVERIFY(w);
    QLineEdit* box = minutesBox ? w->txtm : w->txts;
    QLineEdit* other = minutesBox ? w->txts : w->txtm;
    typeInto(box, typed);
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(box->text(), after);
    if (keepsFocus)
        QTRY_VERIFY(box->hasFocus());
    else
        QVERIFY(other->hasFocus());
    // Leaving never touches the timer; only Apply does.
    QCOMPARE(w->rotationTimer()->intervalMs(), 30000);
}

void TestOptions::storedTextsOutOfRange_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("minutesShown");
    QTest::addColumn<QString>("secondsShown");
    QTest::addColumn<int>("interval");
    QTest::newRow("negative") << "-5"
                              << "-7"
                              << "-5"
                              << "-7" << 1000;
    QTest::newRow("zero seconds") << "0"
                                  << "0"
                                  << "0"
                                  << "0" << 1000;
    QTest::newRow("huge negative seconds") << "0"
                                           << "-1e300"
                                           << "0"
                                           << "-1e300" << 1000;
    QTest::newRow("huge minutes") << "1e300"
                                  << "0"
                                  << "60"
                                  << "0" << 3600000;
    QTest::newRow("huge seconds") << "0"
                                  << "1e300"
                                  << "1"
                                  << "0" << 60000;
    QTest::newRow("not numbers") << "x"
                                 << "y"
                                 << "x"
                                 << "y" << 1000;
}

void TestOptions::storedTextsOutOfRange()
{
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, minutesShown);
    QFETCH(QString, secondsShown);
    QFETCH(int, interval);
    MainFixture f;
    f.settings->write(Entry::TimerMinutes, minutes);
    f.settings->write(Entry::TimerSeconds, seconds);
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    f.settings->write(Entry::Control, QStringLiteral("1"));
    f.settings->write(Entry::ImagePath, f.makePictureFolder(QStringLiteral("pics"), {"a.png"}));
    QVERIFY(f.load());
    // Restored texts pass only the change rules; start-up's Apply still starts a timer.
    QCOMPARE(f.window->txtm->text(), minutesShown);
    QCOMPARE(f.window->txts->text(), secondsShown);
    QVERIFY(f.window->rotationTimer()->isActive());
    QCOMPARE(f.window->rotationTimer()->intervalMs(), interval);
    QVERIFY(f.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
