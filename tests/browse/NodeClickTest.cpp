#include "browse/NodeClick.h"

#include "QtPrinters.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"

#include <gtest/gtest.h>

namespace {

/// A plain list of /data with a.txt and b.jpg, or a grouped tree with one group.
struct Fixture {
    Settings settings;
    FileList state;
    NodeTree::Id root = NodeTree::None;
    NodeTree::Id group = NodeTree::None;
    NodeTree::Id a = NodeTree::None;
    NodeTree::Id b = NodeTree::None;

    explicit Fixture(bool grouped = false)
    {
        FileList::Edit tEdit(state);
        NodeTree& t = tEdit.tree();
        state.setSource("/data/");
        root = t.add(NodeTree::None, "R", "/data", "1");
        NodeTree::Id parent = root;
        if (grouped) {
            state.setTreeType(TreeType::Extension);
            group = t.add(root, "/data/.TXT", ".TXT", "3");
            parent = group;
        }
        a = t.add(parent, "/data/a.txt", "a.txt", "3");
        b = t.add(parent, "/data/b.jpg", "b.jpg", "3");
    }
};

} // namespace

TEST(NodeClick, MenusByNodeKindAndClick)
{
    Fixture plain;
    Fixture grouped(true);
    struct Case {
        Fixture* f;
        NodeTree::Id id;
        NodeClick click;
        NodeMenu menu;
    };
    const Case cases[] = {
        {&plain, plain.root, NodeClick::Menu, NodeMenu::FilesForList},
        {&plain, plain.a, NodeClick::Menu, NodeMenu::FileNode},
        {&plain, plain.a, NodeClick::View, NodeMenu::None},
        {&plain, plain.a, NodeClick::Ignore, NodeMenu::None},
        {&plain, plain.a, NodeClick::None, NodeMenu::None},
        {&plain, NodeTree::None, NodeClick::Menu, NodeMenu::None},
        {&grouped, grouped.root, NodeClick::Menu, NodeMenu::FilesForList},
        {&grouped, grouped.group, NodeClick::Menu, NodeMenu::FilesForGroup},
        {&grouped, grouped.b, NodeClick::Menu, NodeMenu::FileNode},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NodeClickMenu(c.f->state, c.id, c.click), c.menu)
            << int(c.click) << " on node " << c.id;

    FileList::Edit(plain.state).setup().showsPlaceholder =
        true; // the placeholder list ignores everything
    EXPECT_EQ(NodeClickMenu(plain.state, plain.a, NodeClick::Menu), NodeMenu::None);
}

TEST(NodeClick, FileActionsNeedAFileNodeAndArchiveActionsActFromAnyNode)
{
    Fixture f;
    Fixture g(true);
    const NodeActionKind fileKinds[] = {NodeActionKind::View,        NodeActionKind::ViewIcons,
                                        NodeActionKind::Run,         NodeActionKind::Properties,
                                        NodeActionKind::AddToBasket, NodeActionKind::Zip,
                                        NodeActionKind::Copy};
    for (const NodeActionKind kind : fileKinds) {
        const NodeAction onFile = NodeClickAction(f.state, f.b, kind);
        EXPECT_EQ(onFile.kind, kind) << int(kind);
        EXPECT_EQ(onFile.folder, "/data/");
        EXPECT_EQ(onFile.name, "b.jpg");
        EXPECT_EQ(NodeClickAction(f.state, f.root, kind).kind, NodeActionKind::None);
        EXPECT_EQ(NodeClickAction(g.state, g.group, kind).kind, NodeActionKind::None);
        EXPECT_EQ(NodeClickAction(g.state, g.a, kind).kind, kind);
    }
    for (const NodeActionKind kind :
         {NodeActionKind::ExpandArchives, NodeActionKind::CollapseArchives}) {
        EXPECT_EQ(NodeClickAction(f.state, f.root, kind).kind, kind);
        EXPECT_EQ(NodeClickAction(g.state, g.group, kind).kind, kind);
    }
    EXPECT_EQ(NodeClickAction(f.state, f.a, NodeActionKind::None).kind, NodeActionKind::None);

    FileList::Edit(f.state).setup().showsPlaceholder = true;
    EXPECT_EQ(NodeClickAction(f.state, f.a, NodeActionKind::View).kind, NodeActionKind::None);
    EXPECT_EQ(NodeClickAction(f.state, f.root, NodeActionKind::ExpandArchives).kind,
              NodeActionKind::None);
}

TEST(NodeClick, SelectionMarksSingleAndMulti)
{
    Fixture f;
    f.settings.tabColorSwap = 1; // so restored icons differ by extension
    const NodeTree& t = f.state.tree();
    const QString jpgImage = QString::number(FileListIconIndex(".JPG", f.settings));

    EXPECT_TRUE(ToggleFileMark(f.state, f.settings, f.a));
    EXPECT_EQ(t.image(f.a), "Ticked");
    EXPECT_EQ(t.mark(f.a), NodeMark::Marked);
    EXPECT_TRUE(ToggleFileMark(f.state, f.settings, f.b));
    EXPECT_EQ(t.mark(f.a), NodeMark::None) << "single selection unmarks the previous node";
    EXPECT_EQ(MarkedEntries(f.state), QStringList{"b.jpg"});
    EXPECT_FALSE(ToggleFileMark(f.state, f.settings, f.b));
    EXPECT_EQ(t.image(f.b), jpgImage);
    EXPECT_TRUE(MarkedEntries(f.state).isEmpty());

    f.settings.multiSelect = 1;
    ToggleFileMark(f.state, f.settings, f.a);
    ToggleFileMark(f.state, f.settings, f.b);
    EXPECT_EQ(MarkedEntries(f.state), (QStringList{"a.txt", "b.jpg"}));

    EXPECT_FALSE(ToggleFileMark(f.state, f.settings, f.root)) << "only files are marked";
    EXPECT_EQ(t.mark(f.root), NodeMark::None);
}
