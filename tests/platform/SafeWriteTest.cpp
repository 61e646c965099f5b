#include "platform/SafeWrite.h"

#include "common/FileBytes.h"
#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList Hidden(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(".lumara");
}

/// The id of a process that has ended (a child that exited and was reaped).
pid_t GonePid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

unsigned NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TEST(SafeWrite, ReplacingAPlantedLinkWritesAFileOfItsOwnAndLeavesTheTargetAlone)
{
    TempTree t;
    const QString secret = t.file("outside/secret.txt", QByteArray("keep me"));
    ASSERT_EQ(::chmod(secret.toUtf8().constData(), 0400), 0);
    const QString planted = t.link("dest/report.txt", secret);

    QString why;
    ASSERT_TRUE(platform::WriteFileSafely(planted, "new content", &why)) << why.toStdString();
    EXPECT_FALSE(QFileInfo(planted).isSymLink());
    EXPECT_EQ(FileBytes(planted), "new content");
    EXPECT_EQ(ModeOf(planted), NewFileMode()) << "not the link target's bits";
    EXPECT_EQ(FileBytes(secret), "keep me");
    EXPECT_EQ(ModeOf(secret), 0400u);

    // A plain file replaced keeps its own bits.
    const QString own = t.file("dest/own.txt", QByteArray("old"));
    ASSERT_EQ(::chmod(own.toUtf8().constData(), 0640), 0);
    ASSERT_TRUE(platform::WriteFileSafely(own, "new"));
    EXPECT_EQ(ModeOf(own), 0640u);
}

TEST(SafeWrite, ThePartialFileIsNamedAfterTheTargetAndThisProcess)
{
    TempTree t;
    const QString folder = t.folder("dest");
    {
        platform::FileBeside beside(folder + "/a.txt");
        ASSERT_TRUE(beside.isOpen());
        EXPECT_EQ(Hidden(folder),
                  QStringList{".a.txt.lumara-partial-" + QString::number(::getpid())});
    }
    EXPECT_EQ(Hidden(folder), QStringList()) << "removed when not committed";

    // A name of 255 bytes leaves no room for the marker: the partial name is cut short.
    const QString longest = folder + "/" + QString(251, u'n') + ".txt";
    ASSERT_TRUE(platform::WriteFileSafely(longest, "x"));
    EXPECT_EQ(FileBytes(longest), "x");

    QString why;
    EXPECT_FALSE(platform::WriteFileSafely(folder + "/no/such/folder/x", "x", &why));
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_FALSE(platform::WriteFileSafely(folder + "/" + QString(300, u'n'), "x", &why));
    EXPECT_EQ(why, "File name too long");
    t.folder("dest/taken");
    EXPECT_FALSE(platform::WriteFileSafely(folder + "/taken", "x", &why));
    EXPECT_EQ(why, "Is a directory");
    EXPECT_EQ(Hidden(folder), QStringList());
}

TEST(SafeWrite, ALeftoverOfAGoneProcessIsRemovedByTheNextWriteIntoItsFolder)
{
    TempTree t;
    const QString folder = t.folder("dest");
    const QString dead = t.file("dest/.big.iso.lumara-partial-" + QString::number(GonePid()), 100);
    const QString alive = t.file("dest/.other.lumara-partial-" + QString::number(::getppid()), 100);
    const QString mine = t.file("dest/.mine.lumara-partial-" + QString::number(::getpid()), 1);
    const QString foreign = t.file("dest/notes.lumara-partial-1x", 1);

    ASSERT_TRUE(platform::WriteFileSafely(folder + "/new.txt", "n"));
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo::exists(alive)) << "its writer still runs";
    EXPECT_TRUE(QFileInfo::exists(mine)) << "this process may be writing it";
    EXPECT_TRUE(QFileInfo::exists(foreign)) << "not a partial name";
}

TEST(FileNames, TheWindowShowsInvisibleFormatCharactersAsEscapes)
{
    const QString spoof = QString::fromUtf8("\xE2\x80\xAERTLO_gpj.exe");
    EXPECT_EQ(platform::displayFileName(spoof), "<U+202E>RTLO_gpj.exe");
    EXPECT_EQ(platform::displayFileName(QString::fromUtf8("a\xE2\x81\xA6"
                                                          "b\xE2\x80\x8B")),
              "a<U+2066>b<U+200B>");
    EXPECT_EQ(platform::displayFileName(QString::fromUtf8("caf\xC3\xA9.txt")),
              QString::fromUtf8("caf\xC3\xA9.txt"));
}
