#include "browse/FolderListing.h"

#include "QtPrinters.h"
#include "browse/ListingHandover.h"
#include "common/TempTree.h"
#include "common/Unprivileged.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

/// Lists `folder` the way opening it in the folder tree does.
int open(FileList& state, const Settings& settings, const QString& folder,
         const QString& pattern = QStringLiteral("*.*"))
{
    return OpenFolder(state, settings, folder, pattern, GroupedTrees());
}

QStringList childTexts(const NodeTree& tree)
{
    QStringList texts;
    for (const NodeTree::Id id : tree.children(tree.root()))
        texts << tree.node(id).text;
    return texts;
}

} // namespace

TEST(FolderListing, EmptyFolderShowsPlaceholderPerTab)
{
    TempTree tree;
    Settings settings;
    FileList state;
    EXPECT_EQ(state.setup().statusCaption, " [ALL] files");
    EXPECT_EQ(open(state, settings, tree.root()), 0);
    EXPECT_EQ(state.tree().node(state.tree().root()).text, tree.root());
    EXPECT_EQ(childTexts(state.tree()), QStringList{"no files"});
    EXPECT_TRUE(state.setup().showsPlaceholder);
    EXPECT_EQ(state.setup().statusCaption, " no [ALL] files");
    EXPECT_EQ(state.listedNames().ListCount(), 0);

    state.setFilterTag("Text");
    RefreshFileList(state, settings, GroupedTrees());
    EXPECT_EQ(childTexts(state.tree()), QStringList{"no [Text] files"});
    EXPECT_EQ(state.setup().statusCaption, " no [Text] files");
}

TEST(FolderListing, AFolderThatCannotBeReadSaysWhyAndNeverLooksEmpty)
{
    TempTree tree;
    Settings settings;
    FileList state;
    // A link that loops fails to open even for root.
    const QString loop = tree.link("loop", "loop");
    EXPECT_EQ(open(state, settings, loop), 0);
    EXPECT_EQ(state.setup().readError, "Too many levels of symbolic links");
    EXPECT_EQ(childTexts(state.tree()),
              QStringList{"cannot read: Too many levels of symbolic links"});
    // The filtered reader says so too.
    state.setOtherFilterActive(true);
    EXPECT_EQ(open(state, settings, loop, "*.txt"), 0);
    EXPECT_EQ(childTexts(state.tree()),
              QStringList{"cannot read: Too many levels of symbolic links"});
    state.setOtherFilterActive(false);
    // The next read that works forgets the error.
    EXPECT_EQ(open(state, settings, tree.folder("empty")), 0);
    EXPECT_TRUE(state.setup().readError.isEmpty());
    EXPECT_EQ(childTexts(state.tree()), QStringList{"no files"});

    const QString locked = tree.unreadableFolder("locked");
    tree.openRootToOthers();
    EXPECT_TRUE(RunUnprivileged([&] {
        FileList child;
        return open(child, settings, locked) == 0 &&
               child.setup().readError == "Permission denied" &&
               childTexts(child.tree()) == QStringList{"cannot read: Permission denied"};
    }));
}

TEST(FolderListing, OddNamesSpecialFilesAndHugeSizesListAsTheyAre)
{
    TempTree tree;
    Settings settings;
    settings.showSystemHidden = 1;
    const QString longName = QString(251, QLatin1Char('n')) + ".txt"; // 255 bytes
    const QStringList odd{"new\nline.txt", "tab\there.txt", "back\\slash.txt", ".dotted",
                          "..two dots",    longName,        "sp ace .txt"};
    for (const QString& name : odd)
        tree.file(name, 3);
    tree.sparseFile("huge.iso", qint64(5) << 30);
    tree.fifo("pipe");
    tree.link("dangling", "nowhere");
    tree.link("self", "self");
    tree.link("to-file", "sp ace .txt");
    FileList state;
    // A FIFO is shown (as a system file) but never opened: listing must not block on it.
    const int count = open(state, settings, tree.root());
    QStringList expected = odd;
    expected << "huge.iso"
             << "pipe"
             << "to-file";
    EXPECT_EQ(count, expected.size());
    QStringList listed = state.contents().readNames.texts().mid(1);
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
    for (const QString& name : odd)
        EXPECT_EQ(state.entries().find(name)->size, 3) << name.toStdString();
    EXPECT_EQ(state.entries().find(u"huge.iso")->size, qint64(5) << 30);
    EXPECT_EQ(state.entries().find(u"to-file")->size, 3);
}

TEST(FolderListing, PlainListingSortedWithMetadataAndCount)
{
    TempTree tree;
    Settings settings;
    FileList state;
    const QStringList names{"b.txt",  "A.md",  "c.TXT",   "Zeta", "alpha.jpg", "ä.txt",
                            "10.log", "9.log", "a b.doc", "_x",   "B.txt",     "m.bin"};
    for (int i = 0; i < names.size(); ++i)
        tree.file(names[i], 100 + i);
    tree.folder("sub");

    ASSERT_EQ(open(state, settings, tree.root() + "/"), 12);
    EXPECT_EQ(state.setup().statusCaption, "12 [ALL] files");
    EXPECT_FALSE(state.setup().showsPlaceholder);
    EXPECT_EQ(state.listedNames().list(0), tree.root()) << "header without the trailing /";
    EXPECT_EQ(state.listedNames().ListCount(), 13);
    EXPECT_EQ(state.contents().readNames.texts(), state.listedNames().texts());
    EXPECT_TRUE(state.contents().readNames.sharesItemsWith(state.listedNames()));

    // " " sorts before ".", so "a b.doc" comes before "A.md".
    const QStringList expected{"10.log", "9.log", "_x",    "a b.doc", "A.md", "alpha.jpg",
                               "B.txt",  "b.txt", "c.TXT", "m.bin",   "Zeta", "ä.txt"};
    EXPECT_EQ(childTexts(state.tree()), expected);
    EXPECT_EQ(state.contents().readNames.texts().mid(1), expected);

    const NodeTree::Id first = state.tree().children(state.tree().root()).front();
    EXPECT_EQ(state.tree().key(first), tree.root() + "/10.log");
    EXPECT_EQ(state.entries().value(u"b.txt").size, 100);
    EXPECT_EQ(state.entries().value(u"m.bin").size, 111);
    EXPECT_FALSE(state.entries().contains(u"sub"));
}

TEST(FolderListing, NamesSharingALongPrefixSortIgnoringCase)
{
    // Names that differ only late, in case, in length or by low codes: the order must be
    // that of a case-insensitive compare, with the codes breaking ties. Long tails and
    // letters past ASCII take the sort past its packed keys.
    for (const QString& letters :
         {QStringLiteral("aAbB0_ .~"), QStringLiteral("aA\u00e9\u00c9_ b")}) {
        TempTree tree;
        Settings settings;
        FileList state;
        std::mt19937 random(11);
        QStringList names;
        while (names.size() < 300) {
            QString name = QStringLiteral("Photo_2024_");
            for (int k = int(random() % 18); k > 0; --k)
                name += letters[int(random() % letters.size())];
            if (!names.contains(name)) {
                names << name;
                tree.file(name);
            }
        }
        ASSERT_EQ(open(state, settings, tree.root()), names.size());
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            const int c = a.compare(b, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a < b;
        });
        EXPECT_EQ(state.contents().readNames.texts().mid(1), names) << letters.toStdString();
    }
}

TEST(FolderListing, PatternsAndHiddenFiles)
{
    TempTree tree;
    Settings settings;
    FileList state;
    for (const char* n : {"a.txt", "b.MD", "c.md~", "d.png", ".hidden.txt", ".profile"})
        tree.file(QString::fromUtf8(n));

    EXPECT_EQ(open(state, settings, tree.root()), 4);
    EXPECT_EQ(open(state, settings, tree.root(), "*.TXT;*.md"), 2);
    EXPECT_EQ(state.contents().readNames.texts().mid(1), (QStringList{"a.txt", "b.MD"}));

    settings.showSystemHidden = 1;
    EXPECT_EQ(open(state, settings, tree.root()), 6);
    EXPECT_EQ(open(state, settings, tree.root(), "*.txt"), 2);
    EXPECT_EQ(state.contents().readNames.texts().mid(1), (QStringList{".hidden.txt", "a.txt"}));

    EXPECT_EQ(open(state, settings, tree.root(), "*.none"), 0);
    EXPECT_TRUE(state.setup().showsPlaceholder);
    EXPECT_EQ(open(state, settings, tree.path("missing")), 0) << "unreadable folder";
}

TEST(FolderListing, FilteredReaderKeepsWhatTheOtherFilterPasses)
{
    TempTree tree;
    Settings settings;
    FileList state;
    ScriptedPrompts prompts;
    tree.file("empty.txt", 0);
    tree.file("full.txt", 10);

    state.setOtherFilterActive(true);
    state.setFilterTag("Other");
    // No criteria: every file passes.
    EXPECT_EQ(open(state, settings, tree.root(), "*"), 2);
    EXPECT_EQ(state.setup().statusCaption, "2 [Other] files");

    OtherFilterFields huge;
    huge.fileSize = "1000";
    huge.fileSizeOption = Comparison::Greater;
    SetOtherFilter(huge, FileList::Edit(state).otherFilter(), prompts);
    EXPECT_EQ(open(state, settings, tree.root(), "*"), 0);
    EXPECT_EQ(childTexts(state.tree()), QStringList{"no [Other] files"});
    EXPECT_TRUE(state.setup().showsPlaceholder);
    EXPECT_EQ(state.setup().statusCaption, " no [Other] files");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(FolderListing, CaptionsAndMessages)
{
    struct Case {
        const char* tag;
        int n;
        const char* caption;
    };
    const Case cases[] = {
        {"ALL", -3, " no [ALL] files"},
        {"", 0, " no files"},
        {"", 100000, "100000 files"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileCountCaption(QString::fromUtf8(c.tag), c.n), QString::fromUtf8(c.caption));

    EXPECT_EQ(PatternMessage("*.*"), "File extensions: ALL");
    EXPECT_EQ(PatternMessage("*.txt;*.md"), "File extensions: *.txt;*.md");

    EXPECT_EQ(FileListRootText("/"), "/");
    EXPECT_EQ(FileListRootText("/tmp/"), "/tmp");
    EXPECT_EQ(FileListRootText("RadeZazeda"), "RadeZazeda");
}

TEST(FolderListing, CopyListTextIndentsByDepth)
{
    TempTree tree;
    Settings settings;
    FileList state;
    EXPECT_EQ(CopyListText(state.tree()), "");
    tree.file("one.txt");
    tree.file("two.txt");
    open(state, settings, tree.root());
    EXPECT_EQ(CopyListText(state.tree()),
              tree.root() + "\r\n        one.txt\r\n        two.txt\r\n");

    // A grouped shape: files under a group are indented twice.
    NodeTree grouped;
    const auto root = grouped.add(NodeTree::None, "R", "/data");
    const auto group = grouped.add(root, "/data/.TXT", ".TXT");
    grouped.add(group, "/data/a.txt", "a.txt");
    grouped.add(root, "/data/.MD", ".MD");
    EXPECT_EQ(CopyListText(grouped),
              "/data\r\n        .TXT\r\n                a.txt\r\n        .MD\r\n");
}

TEST(TreeRebuild, NameListFromBackupIncludingBasket)
{
    Settings settings;
    FileList state;
    FileList::Edit(state).listedNames().Additem("RadeZazeda");
    FileList::Edit(state).listedNames().Additem("/home/u/a.txt");
    FileList::Edit(state).listedNames().Additem("/srv/b.bsk");
    FileList::Edit(state).listedNames().Additem(
        "/home/u/a.txt"); // duplicate key: the add fails silently
    BuildNameList(state, settings);
    const NodeTree& t = state.tree();
    EXPECT_EQ(t.node(t.root()).text, "RadeZazeda");
    EXPECT_EQ(t.image(t.root()), "27");
    ASSERT_EQ(t.children(t.root()).size(), 2u);
    EXPECT_EQ(t.key(t.children(t.root())[1]), "/srv/b.bsk");
    EXPECT_EQ(state.setup().statusCaption, "2 [ALL] files");

    settings.tabColorSwap = 1; // icon indexes by category
    FileList::Edit(state).listedNames().Clear();
    state.setSource("/");
    FileList::Edit(state).listedNames().Additem("/");
    FileList::Edit(state).listedNames().Additem("x.bsk");
    FileList::Edit(state).listedNames().Additem("y.txt");
    RebuildCurrentTree(state, settings);
    const auto kids = t.children(t.root());
    EXPECT_EQ(t.node(t.root()).text, "/");
    EXPECT_EQ(t.image(t.root()), "1");
    EXPECT_EQ(t.key(kids[0]), "/x.bsk");
    EXPECT_EQ(t.image(kids[0]), "27");
    EXPECT_EQ(t.image(kids[1]), QString::number(FileListIconIndex(".TXT", settings)));
}

TEST(FolderListing, AWatchedReadCountsAndAStopKeepsWhatWasRead)
{
    TempTree tree;
    for (int i = 0; i < 600; ++i)
        tree.file(QStringLiteral("f%1.txt").arg(i));
    Settings settings;
    FileList state;
    platform::ReadWatch watch;
    EXPECT_EQ(OpenFolder(state, settings, tree.root(), "*.*", GroupedTrees(), &watch), 600);
    EXPECT_EQ(watch.filesRead.load(), 600);

    // Stopped before the first file: nothing read, and the list says so rather than
    // keeping the folder listed before.
    platform::ReadWatch stopped;
    stopped.stop = true;
    EXPECT_EQ(OpenFolder(state, settings, tree.root(), "*.*", GroupedTrees(), &stopped), 0);
    EXPECT_EQ(childTexts(state.tree()), QStringList{"no files"});
    EXPECT_EQ(state.entries().size(), 0);
    EXPECT_EQ(state.setup().statusCaption, " no [ALL] files");
}

TEST(ListingHandover, EverySetupFieldGoesOverAndComesBack)
{
    TempTree tree;
    tree.file("a.txt");
    tree.file("b.txt");
    Settings settings;
    FileList shown;
    shown.setTreeType(TreeType::Extension); // a grouped tree goes over as well
    open(shown, settings, tree.root());
    // Every field away from its default, so a field left behind shows.
    ListSetup setup = shown.setup();
    setup.showsPlaceholder = true;
    setup.readError = "Permission denied";
    setup.listPattern = "*.txt";
    setup.otherFilterActive = true;
    setup.filterTag = "Text";
    setup.statusCaption = " [Text] files";
    setup.treeType = TreeType::Age;
    setup.dateBasis = DateBasis::Modified;
    setup.treeDirection = SortDirection::Ascending;
    setup.sortNameDirection = SortDirection::Descending;
    setup.sortExtensionDirection = SortDirection::Ascending;
    setup.sortSizeDirection = SortDirection::Descending;
    setup.plainSortKey = SortKey::Size;
    setup.treeFolderPath = "/x/";
    setup.shownSort.set("Date", true);
    setup.treeButtonTip = "Tree display by file Last Update Age";
    shown.setSetup(setup);
    const ListSetup before = shown.setup();
    ASSERT_FALSE(before == ListSetup());

    FileList job;
    CopyListingSetup(shown, job);
    EXPECT_TRUE(job.setup() == before);
    EXPECT_EQ(job.listedNames().ListCount(), 0) << "a set-up copy takes no list";

    job.setSetup(ListSetup());
    SwapFileLists(shown, job);
    EXPECT_TRUE(shown.setup() == ListSetup());
    EXPECT_TRUE(job.setup() == before);
    EXPECT_EQ(job.listedNames().ListCount(), 3);
    EXPECT_EQ(job.entries().size(), 2);
    EXPECT_NE(job.tree().find(tree.root() + "/a.txt"), NodeTree::None) << "the tree goes too";
    EXPECT_EQ(shown.tree().count(), 0);

    FileList rebuild;
    CopyFileList(job, rebuild);
    EXPECT_TRUE(rebuild.setup() == before);
    EXPECT_EQ(rebuild.listedNames().list(1), "a.txt");
    EXPECT_EQ(rebuild.contents().readNames.ListCount(), job.contents().readNames.ListCount());
    EXPECT_EQ(rebuild.entries().size(), 2);
    EXPECT_EQ(rebuild.tree().count(), 0) << "the node tree stays with its list";
}

TEST(ListingHandover, CriteriaSetWhileAListingRunsOutliveItsHandover)
{
    TempTree tree;
    tree.file("a.txt");
    Settings settings;
    ScriptedPrompts prompts;
    FileList shown;
    OtherFilterFields first;
    first.fileName = "*.bmp";
    SetOtherFilter(first, FileList::Edit(shown).otherFilter(), prompts);

    FileList job;
    CopyListingSetup(shown, job);
    EXPECT_EQ(job.otherFilter().nameText, "*.bmp") << "the listing reads the criteria";
    // The dialog stores new criteria before the listing ends.
    OtherFilterFields second;
    second.fileName = "*.txt";
    second.fileSize = "0";
    SetOtherFilter(second, FileList::Edit(shown).otherFilter(), prompts);
    open(job, settings, tree.root());

    SwapFileLists(shown, job);
    EXPECT_EQ(shown.setup().currentFolder, tree.root() + '/');
    EXPECT_EQ(shown.otherFilter().nameText, "*.txt");
    EXPECT_EQ(shown.otherFilter().FileSizeLimit, 0);
}
