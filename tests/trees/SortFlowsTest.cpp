#include "TreeFixture.h"
#include "browse/ListingHandover.h"
#include "shared/FileKind.h"
#include "shared/TextHelpers.h"
#include "trees/PlainSort.h"
#include "trees/TreeCommands.h"
#include "trees/TreeRebuild.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

class SortFlows : public ::testing::Test, public TreeFixture {
protected:
    void SetUp() override
    {
        settings.extensionNames = 0;
        header(QStringLiteral("/data/"));
        add("b.txt", 300);
        add("c", 100);
        add("a.cpp", 200);
        add("d.bin", 50);
        showPlain();
    }
    QStringList files() const { return outline().mid(1); }
    int buildNameList(FileList& s)
    {
        showPlain();
        return s.tree().count() - 1;
    }
    int runTree(std::optional<TreeType> choice, std::optional<DateBasis> basis = std::nullopt)
    {
        ChooseTreeEntry(state, buttons, choice, basis);
        return RunTreeChoice(state, buttons, context(),
                             [this](FileList& s) { return buildNameList(s); });
    }
    TreeButtonState buttons;
};

TEST_F(SortFlows, EachSortItemKeepsItsOwnDirection)
{
    const auto ctx = context();
    EXPECT_EQ(RunSortChoice(state, ctx, SortChoice::ByName), 4);
    EXPECT_EQ(files(), QStringList({"  a.cpp", "  b.txt", "  c", "  d.bin"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Name - Ascending"));
    EXPECT_EQ(state.setup().plainSortKey, SortKey::None);

    RunSortChoice(state, ctx, SortChoice::ByName);
    EXPECT_EQ(files(), QStringList({"  d.bin", "  c", "  b.txt", "  a.cpp"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Name - Descending"));
    EXPECT_TRUE(SortFaceDescending(state));

    // The first size sort is ascending although the name item is now descending.
    RunSortChoice(state, ctx, SortChoice::BySize);
    EXPECT_EQ(files(), QStringList({"  d.bin", "  c", "  a.cpp", "  b.txt"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Size - Ascending"));

    // Extensionless names sort before every extension.
    RunSortChoice(state, ctx, SortChoice::ByExtension);
    EXPECT_EQ(files(), QStringList({"  c", "  d.bin", "  a.cpp", "  b.txt"}));
    RunSortChoice(state, ctx, SortChoice::ByExtension);
    EXPECT_EQ(files(), QStringList({"  b.txt", "  a.cpp", "  d.bin", "  c"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Extension - Descending"));
}

TEST_F(SortFlows, PlainSortRewritesTheListingAndKeys)
{
    RunSortChoice(state, context(), SortChoice::BySize);
    EXPECT_EQ(state.listedNames().texts(), QStringList({"/data", "d.bin", "c", "a.cpp", "b.txt"}));
    const auto root = state.tree().root();
    EXPECT_EQ(state.tree().key(root), QLatin1String("R"));
    EXPECT_EQ(state.tree().image(root), QLatin1String("1"));
    EXPECT_NE(state.tree().find("/data/c"), NodeTree::None);
}

TEST_F(SortFlows, PlainSortsOrderAsTheirKeyLinesAndKeepTheNames)
{
    header(QStringLiteral("/data/"));
    // A bar inside an extension is part of the key, never where the name begins.
    add("q.a|b", 1);
    add("q.c", 1);
    add("r.a|", 1);
    // Equal sizes: the key line ends in a TAB, which sorts after "\x01" and before "b".
    add("a", 5);
    add("a\x01", 5);
    add("ab", 5);
    // Sizes past fourteen digits are written wider and compare as text.
    add("wide", 100'000'000'000'000);
    add("narrow", 99'999'999'999'999);
    showPlain();
    const auto names = [this] {
        QStringList out = state.listedNames().texts().mid(1);
        EXPECT_EQ(files().size(), out.size());
        return out;
    };

    RunSortChoice(state, context(), SortChoice::ByExtension);
    EXPECT_EQ(names().mid(0, 4), QStringList({"a\x01", "a", "ab", "narrow"}));
    EXPECT_EQ(names().mid(5, 3), QStringList({"q.a|b", "r.a|", "q.c"}));

    RunSortChoice(state, context(), SortChoice::BySize);
    const QStringList ascending = {"q.a|b", "q.c", "r.a|", "a\x01", "a", "ab", "wide", "narrow"};
    EXPECT_EQ(names(), ascending);
    RunSortChoice(state, context(), SortChoice::BySize);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(names(), descending);
    EXPECT_NE(state.tree().find("/data/q.a|b"), NodeTree::None);
}

TEST_F(SortFlows, NameListGivesEachFileTheImageOfItsExtension)
{
    settings.tabColorSwap = 1; // icons by category
    header(QStringLiteral("/data/"));
    QStringList names = {"a.txt", "b.TXT", "c.jpg", "d", "e.", "f.txt", "g.bsk"};
    // More extensions than a folder usually holds, then known ones again.
    for (int i = 0; i < 40; ++i)
        names << QStringLiteral("many%1.x%1").arg(i);
    names << "h.JPG"
          << "i"
          << "j.Txt"
          << "k.bsk";
    for (const QString& name : names)
        add(name, 1);
    BuildNameList(state, settings);
    const auto& kids = state.tree().children(state.tree().root());
    ASSERT_EQ(kids.size(), size_t(names.size()));
    QSet<QString> seen;
    for (size_t i = 0; i < kids.size(); ++i) {
        const QString& name = names[qsizetype(i)];
        EXPECT_EQ(state.tree().image(kids[i]),
                  QString::number(FileListIconIndex(ExtensionOf(name), settings)))
            << name.toStdString();
        seen.insert(state.tree().image(kids[i]));
    }
    EXPECT_GE(seen.size(), 4); // text, picture, basket and the rest differ
}

TEST_F(SortFlows, SortItemsLeaveAListOfOneFileAlone)
{
    header(QStringLiteral("/data/"));
    add("only.txt", 1);
    showPlain();
    ASSERT_EQ(state.tree().count(), 2);

    TreeButtonState b;
    EXPECT_TRUE(OpenSortMenu(state, b)); // the menu still opens
    EXPECT_EQ(RunSortChoice(state, context(), SortChoice::ByName), -1);
    EXPECT_EQ(state.setup().sortNameDirection, SortDirection::Unset);
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Not sorted"));
}

TEST_F(SortFlows, ButtonsIgnoreThePlaceholderAndTinyLists)
{
    TreeButtonState b;
    FileList::Edit(state).setup().showsPlaceholder = true;
    EXPECT_FALSE(OpenSortMenu(state, b));
    EXPECT_FALSE(ButtonsUsable(state));
    FileList::Edit(state).setup().showsPlaceholder = false;
    FileList::Edit(state).tree().clear();
    FileList::Edit(state).tree().add(NodeTree::None, QStringLiteral("R"), QStringLiteral("/data"));
    EXPECT_FALSE(OpenSortMenu(state, b));
}

TEST_F(SortFlows, SortMenuFlipsTheTreeDirectionOnOpeningEvenWhenDismissed)
{
    // In the plain list only the three sort items are offered and nothing flips.
    EXPECT_TRUE(OpenSortMenu(state, buttons));
    EXPECT_TRUE(buttons.offerSortBy);
    EXPECT_FALSE(buttons.offerDirectionItem);
    EXPECT_EQ(state.setup().treeDirection, SortDirection::Unset);

    runTree(TreeType::Size);
    EXPECT_EQ(files().first(), QLatin1String("  .Kb 0001 and below"));

    EXPECT_TRUE(OpenSortMenu(state, buttons));
    EXPECT_EQ(state.setup().treeDirection, SortDirection::Ascending);
    EXPECT_EQ(buttons.directionCaption, QLatin1String("Sort Ascending"));
    EXPECT_FALSE(buttons.offerSortBy);
    EXPECT_TRUE(buttons.offerDirectionItem);

    // Dismissed, then opened again: now descending, and choosing the item builds it.
    EXPECT_TRUE(OpenSortMenu(state, buttons));
    EXPECT_EQ(state.setup().treeDirection, SortDirection::Descending);
    EXPECT_EQ(buttons.directionCaption, QLatin1String("Sort Descending"));
    EXPECT_EQ(RunSortChoice(state, context(), SortChoice::Direction), 4);
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Size - Descending"));
    EXPECT_EQ(files().last(), QLatin1String("    d.bin"));

    // A dismissed flip reaches the next build by another route too.
    OpenSortMenu(state, buttons);
    runTree(TreeType::Extension);
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Extensions - Ascending"));
}

TEST_F(SortFlows, TreeChoiceRecordsTypeOffersAndTooltips)
{
    struct Step {
        std::optional<DateBasis> basis;
        TreeType type;
        const char* offers; ///< the name, extension, size and date trees offered, 1 or 0
        const char* tip;
    };
    const Step steps[] = {
        {std::nullopt, TreeType::Extension, "1011", "Tree display by file extension"},
        {DateBasis::Modified, TreeType::Date, "1110", "Tree display by file Last Update Date"},
        {std::nullopt, TreeType::Size, "1101", "Tree display by file Last Update Date"},
        {DateBasis::Created, TreeType::Age, "1110", "Tree display by file Creation Age"},
        {std::nullopt, TreeType::PlainList, "0111", "Tree display by file name"},
        {DateBasis::Created, TreeType::Date, "1110", "Tree display by file Creation Date"},
        {DateBasis::Modified, TreeType::Age, "1110", "Tree display by file Last Update Age"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.tip);
        EXPECT_EQ(runTree(s.type, s.basis), 4);
        EXPECT_EQ(state.setup().treeType, s.type);
        const QString offers = QStringLiteral("%1%2%3%4")
                                   .arg(int(buttons.offerNameTree))
                                   .arg(int(buttons.offerExtensionTree))
                                   .arg(int(buttons.offerSizeTree))
                                   .arg(int(buttons.offerDateTree));
        EXPECT_EQ(offers, QLatin1String(s.offers));
        EXPECT_EQ(state.setup().treeButtonTip, QLatin1String(s.tip));
    }
    EXPECT_EQ(state.setup().dateBasis, DateBasis::Modified);
}

TEST_F(SortFlows, CancelChangesNothingAndAnUnsetChoiceRebuildsThePreviousOne)
{
    runTree(TreeType::Size);
    const QStringList sizeTree = outline();
    runTree(std::nullopt);
    EXPECT_EQ(state.setup().treeType, TreeType::Size);
    EXPECT_EQ(outline(), sizeTree);

    runTree(TreeType::Extension);
    // The menu closed without a choice: the last one is built again.
    FileList::Edit(state).tree().clear();
    FileList::Edit(state).tree().add(NodeTree::None, QStringLiteral("R"), QStringLiteral("/data"));
    EXPECT_EQ(RunTreeChoice(state, buttons, context(), [](FileList&) { return 0; }), 4);
    EXPECT_EQ(state.setup().treeType, TreeType::Extension);
    EXPECT_EQ(outline().size(), 1 + 4 + 4);

    TreeButtonState fresh;
    EXPECT_EQ(RunTreeChoice(state, fresh, context(), [](FileList&) { return 0; }), -1);
}

TEST_F(SortFlows, ExpandAndCollapseAll)
{
    runTree(TreeType::Extension);
    for (const auto id : state.tree().children(state.tree().root()))
        EXPECT_FALSE(state.tree().node(id).expanded);
    ExpandAll(state, settings);
    for (const auto id : state.tree().children(state.tree().root()))
        EXPECT_TRUE(state.tree().node(id).expanded);
    CollapseAll(state);
    EXPECT_TRUE(state.tree().node(state.tree().root()).expanded);
    for (const auto id : state.tree().children(state.tree().root()))
        EXPECT_FALSE(state.tree().node(id).expanded);
}

TEST_F(SortFlows, ExpandAllKeepsArchivesClosedInThePlainList)
{
    add("pack.zip", 10);
    showPlain();
    const auto zip = state.tree().find("/data/pack.zip");
    FileList::Edit(state).tree().add(zip, "/data/pack.zip/member.txt", "member.txt");
    const auto txt = state.tree().find("/data/b.txt");
    ExpandAll(state, settings);
    EXPECT_FALSE(state.tree().node(zip).expanded);
    EXPECT_TRUE(state.tree().node(txt).expanded);
}

/// What the list shows and keeps: each node (depth, text, key, image, flags, whether its
/// row is where it stands), the selection, listedNames and the sort face.
QStringList shownRows(const FileList& list)
{
    const NodeTree& tree = list.tree();
    QStringList lines;
    for (const auto id : tree.preorder()) {
        const NodeTree::Node& n = tree.node(id);
        const auto& siblings = tree.children(n.parent);
        const bool rowFits = size_t(n.row) < siblings.size() && siblings[size_t(n.row)] == id;
        lines << QStringLiteral("%1 %2 %3 %4 %5%6%7")
                     .arg(tree.depth(id))
                     .arg(n.text, tree.key(id), tree.image(id))
                     .arg(int(n.expanded))
                     .arg(int(n.selected))
                     .arg(int(rowFits));
    }
    lines << QString::number(tree.selected()) << list.listedNames().texts()
          << list.setup().shownSort.tip();
    return lines;
}

TEST_F(SortFlows, FlatListsSortedByTheirNamesShowWhatARebuildShows)
{
    settings.tabColorSwap = 1; // icons by category, so images differ by row
    for (const char* name : {"e.jpg", "f", "g.txt", "h.bsk"})
        add(name, 70);
    BuildNameList(state, settings);
    // A tag keeps the second list off the flat path: its sorts rebuild the tree.
    FileList rebuilt;
    CopyFileList(state, rebuilt);
    BuildNameList(rebuilt, settings);
    // The third sorts as the window does: a copy without a tree, handed over.
    FileList shown;
    CopyFileList(state, shown);
    BuildNameList(shown, settings);
    const auto selectSecond = [](FileList& list) {
        FileList::Edit(list).tree().select(list.tree().children(list.tree().root())[1]);
    };
    for (const SortChoice choice :
         {SortChoice::BySize, SortChoice::BySize, SortChoice::ByExtension, SortChoice::ByName}) {
        selectSecond(state);
        ASSERT_TRUE(IsFlatNameList(state));
        RunSortChoice(state, context(), choice);

        selectSecond(rebuilt);
        FileList::Edit(rebuilt).tree().setTag(rebuilt.tree().root(), QStringLiteral("X"));
        ASSERT_FALSE(IsFlatNameList(rebuilt));
        RunSortChoice(rebuilt, context(), choice);
        EXPECT_EQ(shownRows(state), shownRows(rebuilt));

        selectSecond(shown);
        const QString rootText = shown.tree().node(shown.tree().root()).text;
        FileList copy;
        CopyFileList(shown, copy);
        EXPECT_EQ(RunSortChoice(copy, context(), choice, rootText), 8);
        SwapFileLists(shown, copy);
        EXPECT_EQ(shownRows(shown), shownRows(state));
    }
}

TEST_F(SortFlows, RowsKeepTheirPlacesWhenAnOrderDoesNotFitThem)
{
    BuildNameList(state, settings);
    const QStringList before = shownRows(state);
    EXPECT_FALSE(ReorderFileListRows(FileList::Edit(state).tree(), {0, 1, 2}));
    EXPECT_FALSE(ReorderFileListRows(FileList::Edit(state).tree(), {0, 1, 2, 2}));
    EXPECT_FALSE(ReorderFileListRows(FileList::Edit(state).tree(), {0, 1, 2, 4}));
    EXPECT_EQ(shownRows(state), before);
    EXPECT_TRUE(ReorderFileListRows(FileList::Edit(state).tree(), {3, 2, 1, 0}));
    EXPECT_EQ(outline().mid(1), QStringList({"  d.bin", "  a.cpp", "  c", "  b.txt"}));
}

} // namespace
