// Programs and their arguments reach exec as bytes: a script whose name is not UTF-8 runs
// and hears exactly the bytes it was given.
#include "platform/Process.h"

#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Shell.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

/// A shell script that writes its name, first argument and working folder, one to a
/// line, into `report` and ends with `exitCode`.
QString WriteReporter(TempTree& tree, const QString& relative, const QString& report,
                      int exitCode = 0)
{
    const QByteArray script = "#!/bin/sh\nprintf '%s\\n%s\\n%s\\n' \"$0\" \"$1\" \"$(pwd)\" > '" +
                              platform::encodeFileName(report) + ".part'\nmv '" +
                              platform::encodeFileName(report) + ".part' '" +
                              platform::encodeFileName(report) + "'\nexit " +
                              QByteArray::number(exitCode) + "\n";
    const QString path = tree.file(relative, script);
    ::chmod(platform::encodeFileName(path).constData(), 0755);
    return path;
}

/// The report's bytes once it is there (a detached program runs on its own time).
QByteArray AwaitReport(const QString& report)
{
    QElapsedTimer clock;
    clock.start();
    while (!platform::isRegularFile(report) && clock.elapsed() < 10000)
        QThread::msleep(20);
    QFile file;
    return platform::openForReading(file, report) ? file.readAll() : QByteArray("<no report>");
}

/// Puts `folder` first on the PATH while it lives.
class PathFirst {
public:
    explicit PathFirst(const QString& folder) : saved_(qgetenv("PATH"))
    {
        qputenv("PATH", platform::encodeFileName(folder) + ':' + saved_);
    }
    ~PathFirst() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

} // namespace

TEST(Process, AScriptNamedWithRawBytesRunsAndHearsItsArgumentByteForByte)
{
    TempTree tree;
    const QByteArray folderBytes = "bin\xe9";
    const QString folder = tree.folder(platform::decodeFileName(folderBytes));
    const QString report = tree.path("report");
    const QString script =
        WriteReporter(tree, platform::decodeFileName(folderBytes + "/run\xff\xfe.sh"), report);
    const QByteArray argumentBytes("arg \xc3\xa9 \xe9\xff end");

    ASSERT_TRUE(platform::startDetached(script, {platform::decodeFileName(argumentBytes)}, folder));
    const QList<QByteArray> lines = AwaitReport(report).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], platform::encodeFileName(script));
    EXPECT_EQ(lines[1], argumentBytes);
    EXPECT_EQ(lines[2], platform::encodeFileName(folder));

    // Run from the file browser: the script is started in its own folder.
    platform::removeFile(report);
    ASSERT_TRUE(platform::OpenFile(script));
    EXPECT_EQ(AwaitReport(report).split('\n').value(2), platform::encodeFileName(folder));
}

TEST(Process, WaitingGivesTheExitCodeAndEndsAProgramThatRunsTooLong)
{
    TempTree tree;
    const QString report = tree.path("report");
    const QString script = WriteReporter(tree, platform::decodeFileName("exit\xe9.sh"), report, 3);
    EXPECT_EQ(platform::runAndWait(script, {QStringLiteral("x")}, 10000), 3);
    EXPECT_EQ(AwaitReport(report).split('\n').value(1), "x");

    const QString sleeper = tree.file("sleeper.sh", QByteArray("#!/bin/sh\nexec sleep 30\n"));
    ::chmod(platform::encodeFileName(sleeper).constData(), 0755);
    EXPECT_EQ(platform::runAndWait(sleeper, {}, 100), std::nullopt);

    const QString plain = tree.file("plain.txt", QByteArray("not a program"));
    EXPECT_EQ(platform::runAndWait(plain, {}, 1000), std::nullopt);
    EXPECT_FALSE(platform::startDetached(plain, {}));
    EXPECT_FALSE(platform::startDetached(tree.path("missing"), {}));
    EXPECT_FALSE(platform::startDetached(sleeper, {}, tree.path("no such folder")));
}

TEST(Process, AFileIsHandedToItsApplicationAsAUrlOfItsExactBytes)
{
    TempTree tree;
    const QString report = tree.path("report");
    WriteReporter(tree, QStringLiteral("bin/xdg-open"), report);
    const PathFirst path(tree.path("bin"));
    const QByteArray nameBytes = "doc \xe9%.txt";
    const QString document = tree.file(platform::decodeFileName(nameBytes), QByteArray("text"));

    ASSERT_TRUE(platform::OpenFile(document)); // no execute bit: opened, not run
    const QByteArray url = AwaitReport(report).split('\n').value(1);
    EXPECT_TRUE(url.startsWith("file:///")) << url.toStdString();
    EXPECT_EQ(QByteArray::fromPercentEncoding(url.mid(7)), platform::encodeFileName(document));
}
