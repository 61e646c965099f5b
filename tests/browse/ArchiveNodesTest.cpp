#include "browse/ArchiveNodes.h"

#include "QtPrinters.h"
#include "archive/ZipJob.h"
#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class NoEscape : public CancelKey {
public:
    bool pressed() override { return false; }
    void clear() override {}
};

/// Zips `files` (full paths) into `target` with their folder names relative to `base`.
void makeZip(const QString& target, const QString& base, const QStringList& files)
{
    QDir().mkpath(QFileInfo(target).path());
    ZipJob zip;
    zip.ZipFile = target;
    zip.BasePath = base;
    zip.StoreFolderNames = true;
    for (const QString& f : files)
        zip.AddFileSpec(f);
    ASSERT_TRUE(zip.Zip()) << target.toStdString();
}

class ArchiveNodes : public ::testing::Test {
protected:
    QStringList childTexts(NodeTree::Id id) const
    {
        QStringList texts;
        for (const NodeTree::Id c : state.tree().children(id))
            texts << state.tree().node(c).text;
        return texts;
    }
    NodeTree::Id node(const QString& key) const { return state.tree().find(key); }
    void open() { OpenFolder(state, settings, tree.path("list"), "*.*", GroupedTrees()); }

    /// The archive behind a node: its own path, or the entry extracted to the work folder.
    ArchivePathOf pathOf()
    {
        settings.workFolder = tree.folder("work") + "/";
        return [this](NodeTree::Id id) { return FileOnDiskOf(state, settings, id, prompts); };
    }

    TempTree tree;
    Settings settings;
    FileList state;
    ScriptedPrompts prompts;
    NoEscape cancel;
};

} // namespace

TEST_F(ArchiveNodes, ViewingAZipNodeListsItsEntriesBelowIt)
{
    const QString a = tree.file("src/docs/a.txt", 3);
    const QString b = tree.file("src/b.jpg", 4);
    makeZip(tree.path("list/pack.zip"), tree.path("src"), {a, b});
    tree.file("list/plain.txt", 1);
    open();

    const NodeTree::Id zip = node(tree.path("list/pack.zip"));
    ASSERT_NE(zip, NodeTree::None);
    EXPECT_TRUE(IsArchiveNode(state, settings, zip));
    EXPECT_FALSE(IsArchiveNode(state, settings, node(tree.path("list/plain.txt"))));
    EXPECT_EQ(ExpandArchiveNode(state, settings, zip, tree.path("list/pack.zip"), prompts), 2);
    EXPECT_EQ(childTexts(zip), (QStringList{"docs/a.txt", "b.jpg"}));
    // Expanded once only.
    EXPECT_EQ(ExpandArchiveNode(state, settings, zip, tree.path("list/pack.zip"), prompts), -1);

    const NodeTree::Id entry = node(tree.path("list/pack.zip") + "/docs/a.txt");
    ASSERT_NE(entry, NodeTree::None);
    const auto member = ArchiveMemberOf(state, settings, entry, pathOf());
    ASSERT_TRUE(member.has_value());
    EXPECT_EQ(member->archivePath, tree.path("list/pack.zip"));
    EXPECT_EQ(member->entryName, "docs/a.txt");
    EXPECT_FALSE(ArchiveMemberOf(state, settings, zip, pathOf()).has_value());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ArchiveNodes, ShowAllZippedFilesWalksUntilNothingMoreExpands)
{
    for (const char* name : {"one", "two"}) {
        const QString f = tree.file(QString("src/%1.txt").arg(name), 5);
        makeZip(tree.path(QString("list/%1.zip").arg(name)), tree.path("src"), {f});
    }
    // A zip holding a zip: the inner one expands in the second walk.
    const QString inner = tree.path("src/inner.zip");
    makeZip(inner, tree.path("src"), {tree.file("src/deep.txt", 2)});
    makeZip(tree.path("list/outer.zip"), tree.path("src"), {inner});
    open();

    EXPECT_EQ(ShowAllZippedFiles(state, settings, pathOf(), cancel, prompts), 4);
    EXPECT_EQ(prompts.shownTexts().last(), " 4 files expanded");
    const NodeTree::Id nested = node(tree.path("list/outer.zip") + "/inner.zip");
    ASSERT_NE(nested, NodeTree::None);
    EXPECT_EQ(childTexts(nested), QStringList{"deep.txt"});
    EXPECT_EQ(state.setup().statusCaption, "7 [ALL] files"); // every node less the root

    CollapseZippedFiles(state, settings);
    EXPECT_FALSE(state.tree().node(node(tree.path("list/one.zip"))).expanded);
    EXPECT_EQ(ShowAllZippedFiles(state, settings, pathOf(), cancel, prompts), 4);
    EXPECT_EQ(prompts.shownTexts(), QStringList({" 4 files expanded", " 4 files expanded"}))
        << "the inner zip, extracted before, is not asked about";
}

TEST_F(ArchiveNodes, AFolderWithoutArchivesExpandsNothing)
{
    tree.file("list/x.txt", 1);
    open();
    EXPECT_EQ(ShowAllZippedFiles(state, settings, pathOf(), cancel, prompts), 0);
    EXPECT_EQ(prompts.shownTexts(), QStringList{"no files expanded"});
}

TEST(ArchiveWorkFolder, EachArchiveGetsAFolderOfItsOwnNamedAfterIt)
{
    const QString a = ArchiveWorkFolder("/w/", "/one/docs.zip", "docs.zip");
    const QString b = ArchiveWorkFolder("/w/", "/two/docs.zip", "docs.zip");
    const QString nested = ArchiveWorkFolder("/w/", "/one/docs.zip/docs.zip", "docs.zip");
    EXPECT_TRUE(a.startsWith("/w/"));
    EXPECT_TRUE(a.endsWith("/docs.zip/"));
    EXPECT_NE(a, b);
    EXPECT_NE(a, nested);
    EXPECT_EQ(a, ArchiveWorkFolder("/w", "/one/docs.zip", "docs.zip")) << "the same every time";
    EXPECT_TRUE(
        ArchiveWorkFolder("/w/", "/one/x.zip/sub/in.zip", "sub/in.zip").endsWith("/in.zip/"));
}
