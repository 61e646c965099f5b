#include "platform/FileSystem.h"

#include "common/TempTree.h"
#include "common/Unprivileged.h"
#include "platform/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(FileSystem, ReadProblemsAreNamedWithoutEverOpeningPipesOrDevices)
{
    TempTree tree;
    EXPECT_EQ(platform::fileReadProblem(tree.file("plain.txt", 4)), "");
    EXPECT_EQ(platform::fileReadProblem(tree.sparseFile("huge.img", qint64(6) << 30)), "");
    // Opening a pipe for reading would wait for a writer forever.
    EXPECT_EQ(platform::fileReadProblem(tree.fifo("pipe")), "not a regular file");
    EXPECT_EQ(platform::fileReadProblem("/dev/null"), "not a regular file");
    EXPECT_EQ(platform::fileReadProblem(tree.folder("sub")), "not a regular file");
    EXPECT_EQ(platform::fileReadProblem(tree.path("gone.txt")), "No such file or directory");
    EXPECT_EQ(platform::fileReadProblem(tree.link("loop", "loop")),
              "Too many levels of symbolic links");

    const QString secret = tree.file("secret.txt", 4);
    ::chmod(QFile::encodeName(secret).constData(), 0);
    tree.openRootToOthers();
    EXPECT_TRUE(RunUnprivileged(
        [&] { return platform::fileReadProblem(secret) == QStringLiteral("Permission denied"); }));
}

TEST(FileSystem, ListingReportsWhyAFolderCannotBeRead)
{
    TempTree tree;
    QString error = "stale";
    EXPECT_TRUE(platform::listFiles(tree.path("gone"), false, &error).empty());
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(platform::listFiles(tree.file("file.txt", 1), false, &error).empty());
    EXPECT_EQ(error, "Not a directory");
    tree.file("sub/a.txt", 1);
    EXPECT_EQ(platform::listFiles(tree.path("sub"), false, &error).size(), 1u);
    EXPECT_EQ(error, "");
}

TEST(FileSystem, SafeWritesReplaceWholeFilesOrLeaveThemAlone)
{
    TempTree tree;
    const QString path = tree.file("Lumara.pro", QByteArray("old"));
    ::chmod(QFile::encodeName(path).constData(), 0640);
    ASSERT_TRUE(platform::WriteFileSafely(path, "new content"));
    EXPECT_EQ(contentOf(path), "new content");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the file keeps its permissions";

    QString error;
    EXPECT_FALSE(platform::WriteFileSafely(tree.path("no/such/folder/x"), "x", &error));
    EXPECT_EQ(error, "No such file or directory");
    // A folder in the way of the rename: the old folder stays, no new file is left over.
    tree.file("taken/inside.txt", 1);
    EXPECT_FALSE(platform::WriteFileSafely(tree.path("taken"), "x", &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(QDir(tree.root()).entryList({"taken.*"}, QDir::Files).size(), 0);
    EXPECT_EQ(contentOf(path), "new content");
}
