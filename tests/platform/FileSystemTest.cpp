#include "platform/FileSystem.h"

#include "common/TempTree.h"
#include "common/Unprivileged.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
