#include "common/RunTool.h"
#include "common/TempTree.h"
#include "common/Unprivileged.h"
#include "platform/DirectoryNames.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/FolderWalk.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace {

// Enough files that the reading is spread over several threads.
constexpr int ManyFiles = 3000;

struct Listed {
    QByteArray name;
    qint64 size = 0;
    bool operator==(const Listed&) const = default;
};

/// What find(1) reports for the files of `folder`, links to files followed, in the
/// order the directory hands them out.
std::vector<Listed> listedByFind(const QString& folder)
{
    const QList<QByteArray> parts = RunTool("find", {"-L", folder, "-mindepth", "1", "-maxdepth",
                                                     "1", "-type", "f", "-printf", "%f/%s/"})
                                        .output.split('/');
    std::vector<Listed> listed;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        listed.push_back({parts[i], parts[i + 1].toLongLong()});
    return listed;
}

std::vector<Listed> listedByUs(const std::vector<platform::FileEntry>& files)
{
    std::vector<Listed> listed;
    for (const platform::FileEntry& f : files)
        listed.push_back({platform::encodeFileName(f.name), f.size});
    return listed;
}

} // namespace

TEST(FolderRead, ManyFilesComeInDirectoryOrderWithEveryByteOfTheirNames)
{
    TempTree tree;
    for (int i = 0; i < ManyFiles; ++i)
        tree.file(QStringLiteral("file_%1.txt").arg(i * 7919 % ManyFiles), i % 97);
    tree.file(platform::decodeFileName("caf\xe9-latin1.doc"), 5);
    tree.file(platform::decodeFileName("\xff\xfe.bin"), 6);
    tree.file("new\nline.txt", 7);
    tree.file(".hidden", 8);
    tree.file("caf\u00e9 \U0001F600.txt", 9);
    tree.link("link-to-file", "file_1.txt");
    tree.folder("sub");

    const std::vector<platform::FileEntry> files = platform::listFiles(tree.root(), true);
    const std::vector<Listed> expected = listedByFind(tree.root());
    ASSERT_EQ(expected.size(), size_t(ManyFiles + 6));
    EXPECT_EQ(listedByUs(files), expected);
}

TEST(FolderRead, OnlyFilesThatCanBeStattedAreShownAndHiddenOnesOnlyWhenAsked)
{
    TempTree tree;
    for (int i = 0; i < ManyFiles; ++i)
        tree.file(QStringLiteral("f%1").arg(i), 1);
    tree.file(".hidden", 1);
    tree.fifo("pipe");
    tree.link("dangling", "nowhere");
    tree.link("loop", "loop");
    tree.link("link-to-folder", "sub");
    tree.folder("sub");

    std::set<QString> plain;
    for (const platform::FileEntry& f : platform::listFiles(tree.root(), false))
        plain.insert(f.name);
    EXPECT_EQ(plain.size(), size_t(ManyFiles));
    EXPECT_FALSE(plain.contains(".hidden") || plain.contains("pipe") || plain.contains("sub") ||
                 plain.contains("dangling") || plain.contains("link-to-folder"));

    std::set<QString> all;
    for (const platform::FileEntry& f : platform::listFiles(tree.root(), true))
        all.insert(f.name);
    EXPECT_EQ(all.size(), size_t(ManyFiles + 2));
    EXPECT_TRUE(all.contains(".hidden") && all.contains("pipe"));
}

TEST(FolderRead, ANamesOnlyReadListsWhatAFullReadListsWithTheSameDetailsLater)
{
    TempTree tree;
    for (int i = 0; i < ManyFiles; ++i)
        tree.file(QStringLiteral("f%1").arg(i), i % 97);
    tree.file(platform::decodeFileName("caf\xe9-latin1.doc"), 5);
    tree.file(".hidden", 8);
    tree.fifo("pipe");
    tree.link("to-file", "f1");
    tree.link("dangling", "nowhere");
    tree.link("loop", "loop");
    tree.link("to-folder", "sub");
    tree.folder("sub");
    ::chmod(QFile::encodeName(tree.path("f2")).constData(), 0444);

    for (const bool hidden : {false, true}) {
        const std::vector<platform::FileEntry> full = platform::listFiles(tree.root(), hidden);
        const std::vector<QString> names = platform::listFileNames(tree.root(), hidden);
        ASSERT_EQ(names.size(), full.size()) << "hidden " << hidden;
        const std::vector<platform::FileDetails> details =
            platform::readFileDetails(tree.root(), names);
        for (size_t i = 0; i < full.size(); ++i) {
            ASSERT_EQ(names[i], full[i].name) << i;
            EXPECT_EQ(details[i].size, full[i].size) << names[i].toStdString();
            EXPECT_EQ(details[i].modifiedMs, full[i].modifiedMs);
            EXPECT_EQ(details[i].createdMs, full[i].createdMs);
            EXPECT_EQ(details[i].birthKnown, full[i].birthKnown);
            EXPECT_EQ(details[i].attributes, full[i].attributes) << names[i].toStdString();
        }
    }
}

TEST(FolderRead, EmptyAndUnreadableFoldersGiveNothingWithTheSystemsReason)
{
    TempTree tree;
    QString error;
    EXPECT_TRUE(platform::listFiles(tree.path("gone"), false, &error).empty());
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(platform::listFiles(tree.file("file.txt", 1), false, &error).empty());
    EXPECT_EQ(error, "Not a directory");
    tree.folder("empty/only-a-subfolder");
    EXPECT_TRUE(platform::listFiles(tree.path("empty"), true, &error).empty());
    EXPECT_EQ(error, "") << "a good read clears the last reason";

    const QString locked = tree.unreadableFolder("locked");
    // Readable but not enterable: the names can be read, none of them statted.
    const QString blind = tree.folder("blind");
    for (int i = 0; i < 2000; ++i)
        tree.file(QStringLiteral("blind/f%1").arg(i), 1);
    ::chmod(QFile::encodeName(blind).constData(), 0744);
    tree.openRootToOthers();
    EXPECT_TRUE(RunUnprivileged([&] {
        QString why;
        const bool lockedEmpty = platform::listFiles(locked, true, &why).empty();
        const bool lockedSaid = why == QStringLiteral("Permission denied");
        const bool blindEmpty = platform::listFiles(blind, true, &why).empty() &&
                                platform::listFileNames(blind, true).empty();
        const bool lockedNamesSaid = platform::listFileNames(locked, true, &why).empty() &&
                                     why == QStringLiteral("Permission denied");
        return lockedEmpty && lockedSaid && lockedNamesSaid && blindEmpty &&
               platform::listFileNames(blind, true, &why).empty() && why.isEmpty();
    }));
}

TEST(FolderRead, AFolderChangingWhileReadNeverYieldsGapsOrStrangers)
{
    TempTree tree;
    for (int i = 0; i < ManyFiles; ++i)
        tree.file(QStringLiteral("stay_%1").arg(i), 3);
    std::atomic<bool> done{false};
    std::thread churn([&] {
        for (int round = 0; !done.load(); ++round) {
            const QString name = QStringLiteral("churn_%1").arg(round % 500);
            const QByteArray path = QFile::encodeName(tree.path(name));
            if (round % 1000 < 500)
                tree.file(name, 1);
            else
                ::unlink(path.constData());
        }
    });
    for (int pass = 0; pass < 10; ++pass) {
        std::set<QString> seen;
        int stay = 0;
        for (const platform::FileEntry& f : platform::listFiles(tree.root(), false)) {
            EXPECT_TRUE(seen.insert(f.name).second) << "twice: " << f.name.toStdString();
            if (f.name.startsWith("stay_")) {
                ++stay;
                EXPECT_EQ(f.size, 3);
            } else {
                EXPECT_TRUE(f.name.startsWith("churn_")) << f.name.toStdString();
            }
        }
        EXPECT_EQ(stay, ManyFiles);
    }
    done = true;
    churn.join();
}

TEST(FolderRead, AStoppedReadKeepsADirectoryOrderPrefixDoneOnce)
{
    constexpr size_t Count = 100000;
    std::vector<std::atomic<int>> visits(Count);
    std::atomic<bool> stop{false};
    const size_t done = platform::forEachBlock(
        Count,
        [&](size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i)
                visits[i].fetch_add(1);
            if (begin >= Count / 3)
                stop = true;
        },
        &stop);
    EXPECT_GE(done, Count / 3);
    EXPECT_LT(done, Count);
    for (size_t i = 0; i < Count; ++i)
        ASSERT_EQ(visits[i].load(), i < done ? 1 : 0) << "item " << i << " of " << done;

    std::atomic<bool> never{false};
    std::fill(visits.begin(), visits.end(), 0);
    EXPECT_EQ(platform::forEachBlock(
                  Count, [&](size_t b, size_t e) { visits[b].fetch_add(int(e - b)); }, &never),
              Count);
    int total = 0;
    for (const std::atomic<int>& v : visits)
        total += v.load();
    EXPECT_EQ(total, int(Count));

    // A read stopped before it began reads nothing and says so in its count.
    TempTree tree;
    for (int i = 0; i < 600; ++i)
        tree.file(QStringLiteral("f%1").arg(i), 1);
    platform::ReadWatch watch;
    watch.stop = true;
    EXPECT_TRUE(platform::listFiles(tree.root(), false, nullptr, &watch).empty());
    EXPECT_TRUE(platform::listFileNames(tree.root(), false, nullptr, &watch).empty());
    platform::ReadWatch open;
    EXPECT_EQ(platform::listFiles(tree.root(), false, nullptr, &open).size(), 600u);
    EXPECT_EQ(open.filesRead.load(), 600);
    platform::ReadWatch openNames;
    EXPECT_EQ(platform::listFileNames(tree.root(), false, nullptr, &openNames).size(), 600u);
    EXPECT_EQ(openNames.filesRead.load(), 600);
}

TEST(FolderRead, AWalkGoesDepthFirstInDirectoryOrderAsFindDoes)
{
    TempTree tree;
    for (int i = 0; i < ManyFiles; ++i)
        tree.file(QStringLiteral("top_%1").arg(i * 7919 % ManyFiles), 1);
    for (int i = 0; i < 1500; ++i)
        tree.file(QStringLiteral("inner/deeper/f_%1").arg(i), 1);
    tree.file(platform::decodeFileName("inner/\xff raw"), 1);
    tree.folder("empty");

    QByteArray walked;
    platform::walkFolder(tree.root(), {}, [&](const platform::WalkedEntry& e) {
        walked +=
            platform::encodeFileName(e.path).mid(platform::encodeFileName(tree.root()).size() + 1);
        walked += '\0';
    });
    EXPECT_EQ(walked, RunTool("find", {tree.root(), "-mindepth", "1", "-printf", "%P\\0"}).output);
}
