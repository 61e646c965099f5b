#include "CliRun.h"
#include "common/TempTree.h"
#include "platform/FileNames.h"

#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// ls -b of `folder` in a UTF-8 locale, one name a line, sorted bytewise.
QList<QByteArray> LsB(const QString& folder)
{
    QProcess ls;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    ls.setProcessEnvironment(env);
    ls.start("ls", {"-b", "-A", "-1", folder});
    EXPECT_TRUE(ls.waitForFinished());
    QList<QByteArray> lines = ls.readAllStandardOutput().split('\n');
    lines.removeAll(QByteArray());
    std::sort(lines.begin(), lines.end());
    return lines;
}

/// An ls -b line with its inner "\\ " written as plain spaces, the one place where
/// lumara-cli differs: only the spaces at either end stay escaped.
QByteArray InnerSpacesPlain(const QByteArray& line)
{
    QList<QByteArray> tokens; // one escape or one byte each
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype width = line.at(i) == '\\' && i + 1 < line.size() ? 2 : 1;
        tokens << line.mid(i, width);
        i += width - 1;
    }
    qsizetype first = 0;
    while (first < tokens.size() && tokens[first] == "\\ ")
        ++first;
    qsizetype last = tokens.size();
    while (last > first && tokens[last - 1] == "\\ ")
        --last;
    for (qsizetype k = first; k < last; ++k) {
        if (tokens[k] == "\\ ")
            tokens[k] = " ";
    }
    return tokens.join();
}

} // namespace

TEST(NamesCli, ListWritesEveryOddNameAsLsBDoesInnerSpacesAside)
{
    TempTree t;
    const QList<QByteArray> names{" lead",
                                  "trail ",
                                  "in ner",
                                  "  ",
                                  "tab\there",
                                  "nl\nx",
                                  "bs\\x",
                                  "q\"'x",
                                  "star*?[]",
                                  "#hash",
                                  "~tilde",
                                  "del\x7fx",
                                  "esc\x1bx",
                                  "bad\xff"
                                  "byte",
                                  "utf\xc3\xa9",
                                  "\xe2\x80\xaertl",
                                  "nbsp\xc2\xa0x",
                                  "c1\xc2\x85x",
                                  "zw\xe2\x80\x8bx",
                                  "amp&;|<>$`!x",
                                  "-dash",
                                  "cr\rx",
                                  "bel\ax",
                                  "ls\xe2\x80\xa8x",
                                  "\xf0\x9f\x98\x80smile",
                                  "unassigned\xcd\xb8x",
                                  "  two  lead and trail  "};
    t.folder("odd");
    for (const QByteArray& name : names) { // made by their bytes: Qt would not keep \xff
        const int fd = ::creat((t.path("odd/").toUtf8() + name).constData(), 0644);
        ASSERT_GE(fd, 0) << name.toStdString();
        ::close(fd);
    }
    const CliRun run = RunCli({"list", "--hidden", t.path("odd")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QList<QByteArray> listed = run.out.toUtf8().split('\n');
    listed.removeAll(QByteArray());
    // The first line is the folder itself; the names follow, one level in.
    ASSERT_FALSE(listed.isEmpty());
    listed.removeFirst();
    QList<QByteArray> mine;
    for (const QByteArray& line : listed) { // a name's own leading space is written "\\ "
        qsizetype indent = 0;
        while (indent < line.size() && line.at(indent) == ' ')
            ++indent;
        mine << line.mid(indent);
    }
    std::sort(mine.begin(), mine.end());
    QList<QByteArray> expected;
    for (const QByteArray& line : LsB(t.path("odd")))
        expected << InnerSpacesPlain(line);
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected.size(), names.size());
    EXPECT_EQ(mine, expected);
}

TEST(LinksCli, CopyYesAllOverAPlantedLinkLeavesTheFileItPointsToAlone)
{
    TempTree t;
    const QString secret = t.file("outside/secret.txt", QByteArray("keep me"));
    ASSERT_EQ(::chmod(secret.toUtf8().constData(), 0400), 0);
    const QString source = t.file("src/secret.txt", QByteArray("the copy"));
    t.link("dest/secret.txt", secret);

    const CliRun run = RunCli({"copy", "--yes-all", t.path("dest"), source});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(FileBytes(secret), "keep me");
    EXPECT_EQ(ModeOf(secret), 0400u);
    EXPECT_FALSE(QFileInfo(t.path("dest/secret.txt")).isSymLink());
    EXPECT_EQ(FileBytes(t.path("dest/secret.txt")), "the copy");
}
