#include "app/TempFolder.h"

#include "common/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

/// The id of a process that has ended.
qint64 endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST(TempFolder, EachRunWorksInAPrivateFolderOfItsOwnAndDeletesOnlyThat)
{
    TempTree tree;
    const QString base = tree.path("Dorared-me/");
    const WorkingFolder work = OpenWorkingFolder(base);
    EXPECT_TRUE(work.notice.isEmpty());
    EXPECT_EQ(work.path, tree.path("Dorared-me/") + QString::number(::getpid()) + "/");
    EXPECT_EQ(modeOf(tree.path("Dorared-me")), mode_t(0700));
    EXPECT_EQ(modeOf(work.path), mode_t(0700));
    EXPECT_TRUE(QFileInfo::exists(work.path + TempFolderMarker));

    // Another window's folder (a live process) stays; one of a process gone is tidied.
    const QString live = tree.folder("Dorared-me/" + QString::number(::getppid()));
    tree.file("Dorared-me/" + QString::number(::getppid()) + "/" + TempFolderMarker);
    const QString stale = "Dorared-me/" + QString::number(endedProcess());
    tree.file(stale + "/" + TempFolderMarker);
    tree.file(stale + "/extracted.txt", 5);
    EXPECT_EQ(OpenWorkingFolder(base).path, work.path); // a second start finds it again
    EXPECT_TRUE(QFileInfo::exists(live));
    EXPECT_FALSE(QFileInfo::exists(tree.path(stale)));

    tree.file("Dorared-me/" + QString::number(::getpid()) + "/extracted/a.txt", 10);
    EXPECT_TRUE(DeleteTempFolder(work.path));
    EXPECT_FALSE(QFileInfo::exists(work.path));
    EXPECT_TRUE(QFileInfo::exists(live));
}

TEST(TempFolder, AWorkingFolderThatIsNotPrivateIsReplacedByAFreshOne)
{
    TempTree tree;
    const QString target = tree.folder("elsewhere");
    const QString link = tree.link("Dorared-link", target);
    const QString open = tree.folder("Dorared-open");
    ::chmod(QFile::encodeName(open).constData(), 0777);
    for (const QString& base : {link, open}) {
        const WorkingFolder work = OpenWorkingFolder(base);
        ASSERT_FALSE(work.path.isEmpty()) << base.toStdString();
        EXPECT_FALSE(work.path.startsWith(base)) << work.path.toStdString();
        EXPECT_TRUE(work.notice.contains(base)) << work.notice.toStdString();
        EXPECT_EQ(modeOf(QFileInfo(QDir::cleanPath(work.path)).absolutePath()), mode_t(0700));
        EXPECT_TRUE(DeleteTempFolder(work.path));
        QDir().rmdir(QFileInfo(QDir::cleanPath(work.path)).absolutePath());
    }
    EXPECT_TRUE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
        << "nothing is written through the link";
    EXPECT_EQ(modeOf(open), mode_t(0777));

    // A folder of ours that others could only read (as older versions left it) is
    // closed to them and used.
    const QString older = tree.folder("Dorared-older");
    ::chmod(QFile::encodeName(older).constData(), 0755);
    const WorkingFolder work = OpenWorkingFolder(older);
    EXPECT_TRUE(work.notice.isEmpty());
    EXPECT_TRUE(work.path.startsWith(older));
    EXPECT_EQ(modeOf(older), mode_t(0700));
}

TEST(TempFolder, OnlyAMarkedFolderIsEverDeleted)
{
    TempTree tree;
    const QString users = tree.folder("photos");
    tree.file("photos/keep.jpg", 100);
    EXPECT_FALSE(DeleteTempFolder(users));
    EXPECT_TRUE(QFileInfo::exists(tree.path("photos/keep.jpg")));
    EXPECT_FALSE(DeleteTempFolder(tree.path("missing")));
    EXPECT_FALSE(DeleteTempFolder(QString()));
}
