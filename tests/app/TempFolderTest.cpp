#include "app/TempFolder.h"

#include "common/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
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

/// The folders directly inside `folder` whose names start with "Lumara-".
QStringList lumaraFolders(const QString& folder)
{
    return QDir(folder).entryList({"Lumara-*"}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(TempFolder, EachRunWorksInAFreshPrivateFolderOfItsOwnAndDeletesOnlyThat)
{
    TempTree tree;
    const QString base = tree.path("Dorared-me/");
    const WorkingFolder work = OpenWorkingFolder(base);
    EXPECT_TRUE(work.notice.isEmpty());
    ASSERT_TRUE(work.path.startsWith(base + "Lumara-")) << work.path.toStdString();
    EXPECT_EQ(work.path.size(), base.size() + 14) << "Lumara- and six characters, then /";
    EXPECT_EQ(modeOf(tree.path("Dorared-me")), mode_t(0700)) << "a missing base is made private";
    EXPECT_EQ(modeOf(work.path), mode_t(0700));
    EXPECT_TRUE(QFileInfo::exists(work.path + TempFolderMarker));

    // A second window gets a folder of its own.
    const WorkingFolder second = OpenWorkingFolder(base);
    EXPECT_NE(second.path, work.path);
    EXPECT_TRUE(DeleteTempFolder(second.path));

    // Another window's folder (a live process) stays; one of a process gone is tidied,
    // as is one an older version named after its process.
    const QString live = tree.folder("Dorared-me/Lumara-live01");
    tree.file("Dorared-me/Lumara-live01/" + TempFolderMarker,
              QByteArray::number(::getppid()) + ' ' + QSysInfo::machineHostName().toUtf8());
    const QString elsewhere = tree.folder("Dorared-me/Lumara-other1");
    tree.file("Dorared-me/Lumara-other1/" + TempFolderMarker,
              QByteArray::number(endedProcess()) + " some-other-machine");
    const QString stale = tree.folder("Dorared-me/Lumara-stale1");
    tree.file("Dorared-me/Lumara-stale1/" + TempFolderMarker,
              QByteArray::number(endedProcess()) + ' ' + QSysInfo::machineHostName().toUtf8());
    tree.file("Dorared-me/Lumara-stale1/extracted.txt", 5);
    const QString older = tree.folder("Dorared-me/" + QString::number(endedProcess()));
    tree.file(older.mid(tree.root().size() + 1) + "/" + TempFolderMarker);
    for (const QString& folder : {live, elsewhere, stale, older})
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    const WorkingFolder third = OpenWorkingFolder(base);
    EXPECT_TRUE(QFileInfo::exists(live));
    EXPECT_TRUE(QFileInfo::exists(elsewhere)) << "its process may run on the other machine";
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_FALSE(QFileInfo::exists(older));
    EXPECT_TRUE(DeleteTempFolder(third.path));

    tree.file(work.path.mid(tree.root().size() + 1) + "extracted/a.txt", 10);
    EXPECT_TRUE(DeleteTempFolder(work.path));
    EXPECT_FALSE(QFileInfo::exists(work.path));
    EXPECT_TRUE(QFileInfo::exists(live));
}

TEST(TempFolder, TheUsersFolderIsNeverChangedAndARejectedOneKeepsNothing)
{
    TempTree tree;
    // A folder of the user's that others may read: used as it is, mode untouched.
    const QString mine = tree.folder("mine");
    ::chmod(QFile::encodeName(mine).constData(), 0755);
    WorkingFolder work = OpenWorkingFolder(mine);
    EXPECT_TRUE(work.notice.isEmpty());
    EXPECT_TRUE(work.path.startsWith(mine + "/Lumara-")) << work.path.toStdString();
    EXPECT_EQ(modeOf(mine), mode_t(0755));
    EXPECT_EQ(modeOf(work.path), mode_t(0700));
    EXPECT_TRUE(DeleteTempFolder(work.path));
    EXPECT_TRUE(QDir(mine).isEmpty());

    // A shared folder with the sticky bit, as /tmp is, may hold private folders.
    const QString sticky = tree.folder("sticky");
    ::chmod(QFile::encodeName(sticky).constData(), 01777);
    work = OpenWorkingFolder(sticky);
    EXPECT_TRUE(work.path.startsWith(sticky + "/Lumara-")) << work.path.toStdString();
    EXPECT_EQ(modeOf(sticky), mode_t(01777));
    EXPECT_TRUE(DeleteTempFolder(work.path));

    // A link, and a folder anyone may write into, are rejected: the working folder is
    // made in the system's temporary folder, and neither folder gets anything.
    const QString target = tree.folder("elsewhere");
    const QString link = tree.link("Dorared-link", target);
    const QString open = tree.folder("Dorared-open");
    ::chmod(QFile::encodeName(open).constData(), 0777);
    const QString system = QDir::cleanPath(QDir::tempPath());
    for (const QString& base : {link, open}) {
        const WorkingFolder fallback = OpenWorkingFolder(base);
        ASSERT_FALSE(fallback.path.isEmpty()) << base.toStdString();
        EXPECT_TRUE(fallback.notice.contains(base)) << fallback.notice.toStdString();
        EXPECT_EQ(QFileInfo(QDir::cleanPath(fallback.path)).absolutePath(), system)
            << "the fresh folder itself is the working folder: " << fallback.path.toStdString();
        EXPECT_EQ(modeOf(fallback.path), mode_t(0700));
        const QStringList before = lumaraFolders(system);
        EXPECT_TRUE(DeleteTempFolder(fallback.path));
        EXPECT_EQ(lumaraFolders(system).size(), before.size() - 1) << "nothing is left behind";
    }
    EXPECT_TRUE(QDir(target).isEmpty()) << "nothing is written through the link";
    EXPECT_TRUE(QDir(open).isEmpty());
    EXPECT_EQ(modeOf(open), mode_t(0777));

    // A base that cannot be made (its parent is missing) is not made either.
    const WorkingFolder missing = OpenWorkingFolder(tree.path("no/such/folder"));
    EXPECT_FALSE(missing.notice.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(tree.path("no")));
    EXPECT_TRUE(DeleteTempFolder(missing.path));
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
