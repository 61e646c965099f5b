#include "browse/ResolveFileNode.h"

#include "browse/FileList.h"
#include "shared/Settings.h"

#include <gtest/gtest.h>

namespace {

struct Resolved {
    QString folder, name, code, entryRef;
};

/// The two letters the basket's old callers knew a node by: list over a folder "N" or
/// over the basket "B", then file "N"/"F", archive entry "Z" or basket group "T".
QString CodeOf(const ResolvedFileNode& r)
{
    QString code = r.overBasket ? "B" : "N";
    switch (r.source) {
    case NodeSource::File:
        return code + (r.overBasket ? "F" : "N");
    case NodeSource::ArchiveEntry:
        return code + "Z";
    case NodeSource::BasketGroup:
        return code + "T";
    case NodeSource::None:
        break;
    }
    return {};
}

Resolved Resolve(const FileList& state, NodeTree::Id id)
{
    Settings settings;
    const ResolvedFileNode r = ResolveFileNode(state, id, "/list/", "/tmp/w/", settings);
    return {r.folder, r.name, CodeOf(r), r.entryRef};
}

void ExpectResolved(const Resolved& r, const QString& folder, const QString& name,
                    const QString& code, const QString& entryRef)
{
    EXPECT_EQ(r.folder, folder);
    EXPECT_EQ(r.name, name);
    EXPECT_EQ(r.code, code);
    EXPECT_EQ(r.entryRef, entryRef);
}

} // namespace

TEST(ResolveFileNode, OrdinaryListingGivesNNandNZ)
{
    FileList state;
    FileList::Edit treeEdit(state);
    NodeTree& tree = treeEdit.tree();
    const NodeTree::Id root = AddFileListRoot(tree, "/list/");
    const NodeTree::Id file = tree.add(root, "/list/a.txt", "a.txt");
    const NodeTree::Id line = tree.add(root, "l1", "x|pack.zip|docs/in.txt");
    const NodeTree::Id archive = tree.add(root, "/list/pack.zip", "pack.zip");
    const NodeTree::Id entry = tree.add(archive, "e1", "in.txt");
    const NodeTree::Id pathArchive = tree.add(root, "p1", "/else/b.zip");
    const NodeTree::Id pathEntry = tree.add(pathArchive, "e2", "c.txt");

    ExpectResolved(Resolve(state, file), "/list/", "a.txt", "NN", "");
    ExpectResolved(Resolve(state, line), "/tmp/w/pack.zip", "docs/in.txt", "NZ",
                   "|pack.zip|docs/in.txt");
    ExpectResolved(Resolve(state, entry), "/tmp/w/pack.zip", "in.txt", "NZ", "|pack.zip|in.txt");
    ExpectResolved(Resolve(state, pathEntry), "/else/b.zip", "c.txt", "NZ", "|/else/b.zip|c.txt");
}

TEST(ResolveFileNode, BasketListingGivesBFBZandBT)
{
    FileList state;
    FileList::Edit treeEdit(state);
    NodeTree& tree = treeEdit.tree();
    const NodeTree::Id root = AddFileListRoot(tree, "RadeZazeda");
    const NodeTree::Id entry = tree.add(root, "/a/b/c.txt", "/a/b/c.txt");
    const NodeTree::Id line = tree.add(root, "/a/|z.zip|i.txt", "/a/|z.zip|i.txt");
    const NodeTree::Id archive = tree.add(root, "/a/z.zip", "/a/z.zip");
    const NodeTree::Id member = tree.add(archive, "m", "i.txt");
    ExpectResolved(Resolve(state, entry), "/a/b/", "c.txt", "BF", "");
    ExpectResolved(Resolve(state, line), "/tmp/w/z.zip", "i.txt", "BZ", "|z.zip|i.txt");
    ExpectResolved(Resolve(state, member), "/a/z.zip", "i.txt", "BZ", "");

    state.setTreeType(TreeType::Size);
    const NodeTree::Id groupedRoot = AddFileListRoot(tree, "RadeZazeda");
    const NodeTree::Id group = tree.add(groupedRoot, "G", "small");
    const NodeTree::Id file = tree.add(group, "f", "/a/b/c.txt");
    ExpectResolved(Resolve(state, file), "", "/a/b/c.txt", "BT", "small");
}

TEST(ResolveFileNode, EntriesUnderAnOpenedBasketFileAreBF)
{
    FileList state;
    FileList::Edit treeEdit(state);
    NodeTree& tree = treeEdit.tree();
    const NodeTree::Id root = AddFileListRoot(tree, "/list/");
    const NodeTree::Id bsk = tree.add(root, "/list/keep.bsk", "keep.bsk");
    const NodeTree::Id entry = tree.add(bsk, "[keep.bsk]/x/y.txt", "/x/y.txt");
    ExpectResolved(Resolve(state, entry), "/x/", "y.txt", "BF", "");
}
