#include "platform/FolderWalk.h"

#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

/// What a walk of `folder` meets, relative to it; folders end in "/".
QStringList Walked(const QString& folder, const platform::WalkOptions& options)
{
    QStringList met;
    platform::walkFolder(folder, options, [&](const platform::WalkedEntry& e) {
        met << e.path.mid(folder.size() + 1) + (e.folder ? QStringLiteral("/") : QString());
    });
    return met;
}

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

TEST(FolderWalk, MeetsEveryFileAndFolderByItsExactBytesAndEndsLinkLoops)
{
    TempTree tree;
    const QString odd = platform::decodeFileName("d\xe9j\xff");
    tree.file("top.txt", 1);
    tree.file(odd + "/caf\xc3\xa9.txt", 1);
    tree.file(odd + "/" + platform::decodeFileName("bad\xfe.txt"), 1);
    tree.file(odd + "/deeper/" + odd + ".bin", 1);
    tree.file(".hidden/inside.txt", 1);
    tree.fifo(odd + "/pipe");
    tree.link("dangling", "nowhere");
    tree.link("to-top.txt", tree.path("top.txt"));
    tree.link(odd + "/deeper/up", tree.root()); // a loop back to the start

    platform::WalkOptions options;
    const QStringList plain = Walked(tree.root(), options);
    // A folder comes before what it holds.
    EXPECT_LT(plain.indexOf(odd + "/"), plain.indexOf(odd + "/deeper/"));
    EXPECT_LT(plain.indexOf(odd + "/deeper/"), plain.indexOf(odd + "/deeper/" + odd + ".bin"));
    EXPECT_EQ(Sorted(plain), Sorted({"top.txt", "to-top.txt", odd + "/",
                                     odd + "/" + QString::fromUtf8("caf\xc3\xa9.txt"),
                                     odd + "/" + platform::decodeFileName("bad\xfe.txt"),
                                     odd + "/deeper/", odd + "/deeper/" + odd + ".bin"}));

    options.includeHidden = true;
    options.followLinks = true;
    const QStringList all = Walked(tree.root(), options);
    EXPECT_TRUE(all.contains(".hidden/inside.txt"));
    // The link back up is met as a folder and not entered again, so the walk ends.
    EXPECT_TRUE(all.contains(odd + "/deeper/up/"));
    EXPECT_FALSE(all.contains(odd + "/deeper/up/top.txt"));
    EXPECT_EQ(all.size(), plain.size() + 3);

    options.recurse = false;
    EXPECT_EQ(Sorted(Walked(tree.root(), options)),
              Sorted({"top.txt", "to-top.txt", odd + "/", ".hidden/"}));
    EXPECT_TRUE(Walked(tree.path("missing"), options).isEmpty());
}

TEST(FolderWalk, RemovingATreeTakesEveryNameAndNothingOutsideIt)
{
    TempTree tree;
    const QString odd = platform::decodeFileName("x\xff");
    const QString kept = tree.file("outside/kept.txt", 4);
    const QString doomed = tree.folder("doomed");
    tree.file("doomed/" + odd + "/" + odd + ".txt", 3);
    tree.file("doomed/" + odd + "/.hidden", 3);
    tree.fifo("doomed/pipe");
    tree.link("doomed/" + odd + "/out", tree.path("outside"));

    EXPECT_TRUE(platform::removeFolderTree(doomed));
    EXPECT_FALSE(platform::pathExists(doomed));
    EXPECT_TRUE(platform::isRegularFile(kept)) << "a link inside is removed, not followed";
    EXPECT_FALSE(platform::removeFolderTree(doomed));
}
