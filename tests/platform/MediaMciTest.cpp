#include "platform/MediaMci.h"

#include "common/TempTree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

/// Runs a generator (sox, ffmpeg); false when it is missing or fails.
bool generate(const QString& program, const QStringList& args)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

/// Lets the player run for `ms` milliseconds.
void runFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

class MediaMciTest : public ::testing::Test {
protected:
    MediaMciTest()
    {
        QObject::connect(&mci, &Mci::loadEnded, [this](const QString& device, bool opened) {
            announced << (opened ? QStringLiteral("opened ") : QStringLiteral("failed ")) + device;
        });
    }

    /// Lets the players run until a load is announced; the announcement ("opened PATH",
    /// "failed PATH"), "" when none came.
    QString loadEnd()
    {
        QElapsedTimer timer;
        timer.start();
        while (announced.isEmpty() && timer.elapsed() < 2 * MediaMci::LoadLimitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return announced.isEmpty() ? QString() : announced.takeFirst();
    }

    TempTree tree;
    MediaMci mci;
    QStringList announced;

    QString wav()
    {
        const QString path = tree.path(QStringLiteral("two seconds.wav"));
        if (!generate(QStringLiteral("sox"),
                      {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("8000"), path,
                       QStringLiteral("synth"), QStringLiteral("2"), QStringLiteral("sine"),
                       QStringLiteral("440")}))
            return {};
        return path;
    }
    QString quoted(const QString& path) { return QLatin1Char('"') + path + QLatin1Char('"'); }
    qint64 number(const QString& command) { return mci.send(command).toLongLong(); }
};

} // namespace

TEST_F(MediaMciTest, OpensASoundAndKnowsItsLength)
{
    const QString path = wav();
    if (path.isEmpty())
        GTEST_SKIP() << "sox is not installed";
    int error = -1;
    mci.send(QStringLiteral("open ") + quoted(path), &error);
    ASSERT_EQ(error, 0);
    EXPECT_TRUE(announced.isEmpty()) << "open does not wait for the load";
    EXPECT_EQ(mci.send(QStringLiteral("status ") + quoted(path) + QStringLiteral(" length")),
              QStringLiteral("0"));
    ASSERT_EQ(loadEnd(), QStringLiteral("opened ") + path);
    mci.send(QStringLiteral("set ") + quoted(path) + QStringLiteral(" time format ms"));
    EXPECT_NEAR(number(QStringLiteral("status ") + quoted(path) + QStringLiteral(" length")), 2000,
                60);
    mci.send(QStringLiteral("set ") + quoted(path) + QStringLiteral(" time format frames"));
    EXPECT_NEAR(number(QStringLiteral("status ") + quoted(path) + QStringLiteral(" length")), 50,
                2);
    mci.send(QStringLiteral("open ") + quoted(path), &error);
    EXPECT_NE(error, 0) << "a device opens once";
    mci.send(QStringLiteral("close ") + quoted(path), &error);
    EXPECT_EQ(error, 0);
    mci.send(QStringLiteral("status ") + quoted(path) + QStringLiteral(" length"), &error);
    EXPECT_NE(error, 0) << "closed";
}

TEST_F(MediaMciTest, StopKeepsThePositionPlayContinuesAndSeekMoves)
{
    const QString path = wav();
    if (path.isEmpty())
        GTEST_SKIP() << "sox is not installed";
    const QString device = quoted(path);
    mci.send(QStringLiteral("open ") + device);
    ASSERT_EQ(loadEnd(), QStringLiteral("opened ") + path);
    mci.send(QStringLiteral("play ") + device);
    runFor(600);
    mci.send(QStringLiteral("Stop ") + device);
    EXPECT_EQ(mci.send(QStringLiteral("status ") + device + QStringLiteral(" mode")),
              QStringLiteral("stopped"));
    const qint64 stoppedAt =
        number(QStringLiteral("status ") + device + QStringLiteral(" position"));
    EXPECT_GT(stoppedAt, 200) << "it played";
    runFor(300);
    EXPECT_EQ(number(QStringLiteral("status ") + device + QStringLiteral(" position")), stoppedAt);
    mci.send(QStringLiteral("play ") + device);
    EXPECT_EQ(mci.send(QStringLiteral("status ") + device + QStringLiteral(" mode")),
              QStringLiteral("playing"));
    runFor(300);
    EXPECT_GT(number(QStringLiteral("status ") + device + QStringLiteral(" position")),
              stoppedAt + 100)
        << "it went on from where it stopped";
    mci.send(QStringLiteral("close ") + device);
    mci.send(QStringLiteral("open ") + device);
    ASSERT_EQ(loadEnd(), QStringLiteral("opened ") + path);
    mci.send(QStringLiteral("play ") + device);
    EXPECT_LT(number(QStringLiteral("status ") + device + QStringLiteral(" position")), 150)
        << "a reopened sound starts again";
    mci.send(QStringLiteral("seek ") + device + QStringLiteral(" to 1500"));
    runFor(100);
    EXPECT_NEAR(number(QStringLiteral("status ") + device + QStringLiteral(" position")), 1500, 50);
    mci.send(QStringLiteral("close all"));
}

TEST_F(MediaMciTest, CommandsSentWhileLoadingTakeEffectOnceLoadedInOrder)
{
    const QString path = wav();
    if (path.isEmpty())
        GTEST_SKIP() << "sox is not installed";
    const QString device = quoted(path);
    mci.send(QStringLiteral("open ") + device);
    // 25 frames are one second; the seek keeps the format it was sent in.
    mci.send(QStringLiteral("set ") + device + QStringLiteral(" time format frames"));
    mci.send(QStringLiteral("seek ") + device + QStringLiteral(" to 25"));
    mci.send(QStringLiteral("set ") + device + QStringLiteral(" time format ms"));
    mci.send(QStringLiteral("play ") + device);
    ASSERT_TRUE(announced.isEmpty()) << "still loading";
    EXPECT_EQ(mci.send(QStringLiteral("status ") + device + QStringLiteral(" mode")),
              QStringLiteral("playing"));
    ASSERT_EQ(loadEnd(), QStringLiteral("opened ") + path);
    runFor(300);
    EXPECT_EQ(mci.send(QStringLiteral("status ") + device + QStringLiteral(" mode")),
              QStringLiteral("playing"));
    const qint64 at = number(QStringLiteral("status ") + device + QStringLiteral(" position"));
    EXPECT_GT(at, 1100) << "played on from the second it was sent to";
    EXPECT_LT(at, 1800);

    // Closed before its load ends: gone at once, and nothing is announced for it.
    mci.send(QStringLiteral("close ") + device);
    mci.send(QStringLiteral("open ") + device);
    mci.send(QStringLiteral("close ") + device);
    runFor(500);
    EXPECT_TRUE(announced.isEmpty());
}

TEST_F(MediaMciTest, FailuresAreReportedNotFatal)
{
    int error = 0;
    mci.send(QStringLiteral("open \"") + tree.path(QStringLiteral("missing.mp3")) +
                 QStringLiteral("\""),
             &error);
    EXPECT_NE(error, 0);
    // A file the player cannot read opens, then its load fails and the device goes (the
    // missing file, refused at once, has no load to announce).
    const QString junk = tree.file(QStringLiteral("junk.mp3"), QByteArray(4000, 'j'));
    const QString device = QLatin1Char('"') + junk + QLatin1Char('"');
    mci.send(QStringLiteral("open ") + device, &error);
    EXPECT_EQ(error, 0);
    mci.send(QStringLiteral("play ") + device);
    EXPECT_EQ(loadEnd(), QStringLiteral("failed ") + junk);
    mci.send(QStringLiteral("status ") + device + QStringLiteral(" mode"), &error);
    EXPECT_NE(error, 0) << "the device is gone";
    mci.send(QStringLiteral("stop mp3"), &error);
    EXPECT_NE(error, 0) << "no device has that name";
    mci.send(QStringLiteral("close all"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(mci.send(QStringLiteral("status video mode")), QString());
}

TEST_F(MediaMciTest, OpensMp3AndAviOnAnAlias)
{
    const QString mp3 = tree.path(QStringLiteral("tone.mp3"));
    const QString avi = tree.path(QStringLiteral("my film.avi"));
    if (!generate(QStringLiteral("ffmpeg"),
                  {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
                   QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("sine=frequency=440:duration=3"), mp3}) ||
        !generate(QStringLiteral("ffmpeg"),
                  {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
                   QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc=duration=2:size=160x120:rate=10"),
                   QStringLiteral("-c:v"), QStringLiteral("mjpeg"), avi}))
        GTEST_SKIP() << "ffmpeg is not installed";
    mci.send(QStringLiteral("open ") + quoted(mp3));
    ASSERT_EQ(loadEnd(), QStringLiteral("opened ") + mp3);
    EXPECT_NEAR(number(QStringLiteral("status ") + quoted(mp3) + QStringLiteral(" length")), 3000,
                100);
    int error = -1;
    mci.send(QStringLiteral("open ") + avi + QStringLiteral(" Type avivideo Alias video"), &error);
    ASSERT_EQ(error, 0);
    ASSERT_EQ(loadEnd(), QStringLiteral("opened video"));
    EXPECT_NEAR(number(QStringLiteral("status video length")), 2000, 100);
    mci.send(QStringLiteral("play video"), &error);
    EXPECT_EQ(error, 0);
    mci.send(QStringLiteral("stop video"), &error);
    EXPECT_EQ(error, 0);
    mci.send(QStringLiteral("close video"), &error);
    EXPECT_EQ(error, 0);
    mci.send(QStringLiteral("play video"), &error);
    EXPECT_NE(error, 0);
}
