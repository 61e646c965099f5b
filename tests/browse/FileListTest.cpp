#include "browse/FileList.h"

#include "QtPrinters.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

/// Counts what a list announces.
struct Heard {
    explicit Heard(FileList& list)
    {
        QObject::connect(&list, &FileList::setupChanged, [this] { ++setup; });
        QObject::connect(&list, &FileList::contentsChanged, [this] { ++contents; });
        QObject::connect(&list, &FileList::captionChanged, [this](const QString& caption) {
            ++captions;
            lastCaption = caption;
        });
    }
    int setup = 0;
    int contents = 0;
    int captions = 0;
    QString lastCaption;
};

struct Change {
    const char* name;
    std::function<void(FileList&)> apply;
};

} // namespace

TEST(FileList, EachSetupChangeAnnouncesOnceAndARepeatNotAtAll)
{
    const std::vector<Change> changes = {
        {"source", [](FileList& l) { l.setSource("/data/"); }},
        {"pattern", [](FileList& l) { l.setListPattern("*.txt"); }},
        {"other filter", [](FileList& l) { l.setOtherFilterActive(true); }},
        {"filter tag", [](FileList& l) { l.setFilterTag("Text"); }},
        {"tree type", [](FileList& l) { l.setTreeType(TreeType::Size); }},
        {"date basis", [](FileList& l) { l.setDateBasis(DateBasis::Modified); }},
        {"tree direction", [](FileList& l) { l.setTreeDirection(SortDirection::Descending); }},
        {"plain sort key", [](FileList& l) { l.setPlainSortKey(SortKey::Size); }},
        {"shown sort",
         [](FileList& l) {
             l.setShownSort({"Size", true});
         }},
        {"tree tip", [](FileList& l) { l.setTreeButtonTip("Tree display by file extension"); }},
        {"tree folder", [](FileList& l) { l.setTreeFolderPath("/data/"); }},
        {"whole set-up",
         [](FileList& l) {
             ListSetup setup;
             setup.treeType = TreeType::Age;
             setup.sortNameDirection = SortDirection::Descending;
             l.setSetup(setup);
         }},
    };
    for (const Change& change : changes) {
        FileList list;
        Heard heard(list);
        const ListSetup before = list.setup();
        change.apply(list);
        EXPECT_NE(list.setup(), before) << change.name;
        EXPECT_EQ(heard.setup, 1) << change.name;
        change.apply(list);
        EXPECT_EQ(heard.setup, 1) << change.name << ": the same value again";
        EXPECT_EQ(heard.contents, 0) << change.name;
        EXPECT_EQ(heard.captions, 0) << change.name;
    }
}

TEST(FileList, CaptionsAndSortFlipsAnnounceThemselves)
{
    FileList list;
    Heard heard(list);
    list.setFilterTag("Text");
    list.showFileCount(3);
    EXPECT_EQ(heard.captions, 1);
    EXPECT_EQ(heard.lastCaption, "3 [Text] files");
    EXPECT_EQ(list.setup().statusCaption, heard.lastCaption);
    list.showFileCount(3);
    EXPECT_EQ(heard.captions, 1) << "the same count again";
    EXPECT_EQ(heard.setup, 2) << "the tag, then the caption";

    // Each flip turns the key's own direction and leaves the others.
    EXPECT_EQ(list.flipSortDirection(SortKey::Size), SortDirection::Ascending);
    EXPECT_EQ(list.flipSortDirection(SortKey::Size), SortDirection::Descending);
    EXPECT_EQ(list.setup().sortSizeDirection, SortDirection::Descending);
    EXPECT_EQ(list.setup().sortNameDirection, SortDirection::Unset);
    EXPECT_EQ(heard.setup, 4);
    EXPECT_EQ(list.flipSortDirection(SortKey::None), SortDirection::Unset);
    EXPECT_EQ(heard.setup, 4);
}

TEST(FileList, AnEditAnnouncesWhenTheOutermostOneEnds)
{
    FileList list;
    Heard heard(list);
    {
        FileList::Edit outer(list);
        {
            FileList::Edit inner(list);
            inner.listedNames().Additem("/data");
            AddFileListRoot(inner.tree(), "/data/");
            list.setTreeType(TreeType::Extension);
            list.showFileCount(1);
        }
        EXPECT_EQ(heard.contents + heard.setup + heard.captions, 0) << "nothing before the end";
        // A door opened inside an Edit announces with it.
        list.rebuildTree([](NodeTree& tree) { tree.add(tree.root(), "/data/a.txt", "a.txt"); });
    }
    EXPECT_EQ(heard.contents, 1);
    EXPECT_EQ(heard.setup, 1);
    EXPECT_EQ(heard.captions, 1);
    EXPECT_EQ(heard.lastCaption, "1 [ALL] files");
    EXPECT_EQ(list.tree().count(), 2);

    // An edit that took nothing to change, and one that put everything back, stay quiet
    // about the set-up.
    {
        FileList::Edit idle(list);
    }
    {
        FileList::Edit back(list);
        back.setup().treeType = TreeType::Date;
        back.setup().treeType = TreeType::Extension;
    }
    EXPECT_EQ(heard.contents, 1);
    EXPECT_EQ(heard.setup, 1);
}

TEST(FileList, PlaceholderAndSwapAnnounceOnBothSides)
{
    FileList shown;
    FileList job;
    shown.setSource("/data/");
    Heard heardShown(shown);
    Heard heardJob(job);
    shown.showNoFiles();
    EXPECT_TRUE(shown.setup().showsPlaceholder);
    EXPECT_EQ(heardShown.contents, 1);
    EXPECT_EQ(heardShown.setup, 1);
    EXPECT_EQ(heardShown.lastCaption, " no [ALL] files");

    job.setTreeType(TreeType::Age);
    shown.swapWith(job);
    EXPECT_EQ(shown.setup().treeType, TreeType::Age);
    EXPECT_EQ(job.tree().count(), 2) << "the placeholder went with its list";
    EXPECT_EQ(heardShown.contents, 2);
    EXPECT_EQ(heardShown.setup, 2);
    EXPECT_EQ(heardJob.contents, 1);
    EXPECT_EQ(heardJob.setup, 2);
    EXPECT_EQ(heardJob.captions, 1);
}

TEST(FileList, TreeDoorsAnnounceTheirContentsOnceAndAnUnmovedMarkNotAtAll)
{
    // A list showing "/data/" with one folder node holding one file, all collapsed.
    const auto filled = [](FileList& list) {
        list.rebuildTree([](NodeTree& tree) {
            const NodeTree::Id root = AddFileListRoot(tree, "/data/");
            const NodeTree::Id sub = tree.add(root, "/data/sub", "sub");
            tree.add(sub, "/data/sub/a.txt", "a.txt");
        });
    };
    const auto subOf = [](const FileList& list) {
        return list.tree().children(list.tree().root()).front();
    };
    struct TreeChange {
        const char* name;
        std::function<void(FileList&)> apply;
        bool repeatAnnounces; ///< a rebuild is news each time; a mark set again is not
    };
    const std::vector<TreeChange> changes = {
        {"rebuild", [&](FileList& l) { filled(l); }, true},
        {"rebuild with names",
         [](FileList& l) {
             l.rebuildTreeAndNames([](NodeTree& tree, ListBoy& names) {
                 AddFileListRoot(tree, "/data/");
                 names.Clear();
                 names.Additem("/data/");
             });
         },
         true},
        {"view opens a node", [&](FileList& l) { l.setNodeExpanded(subOf(l), true); }, false},
        {"expand all",
         [&](FileList& l) {
             l.changeExpansion([&](FileList::ExpansionMarks& marks) {
                 marks.makeVisible(marks.tree().children(subOf(l)).front());
             });
         },
         false},
    };
    for (const TreeChange& change : changes) {
        FileList list;
        filled(list);
        Heard heard(list);
        change.apply(list);
        EXPECT_EQ(heard.contents, 1) << change.name;
        change.apply(list);
        EXPECT_EQ(heard.contents, change.repeatAnnounces ? 2 : 1) << change.name << ": again";
        EXPECT_EQ(heard.setup + heard.captions, 0) << change.name;
    }

    FileList list;
    filled(list);
    list.setNodeExpanded(subOf(list), true);
    EXPECT_TRUE(list.tree().node(subOf(list)).expanded);
    Heard heard(list);
    list.changeExpansion([&](FileList::ExpansionMarks& marks) {
        marks.setExpanded(subOf(list), true); // already open
        marks.makeVisible(subOf(list));       // its parent, the root, is open too
    });
    EXPECT_EQ(heard.contents, 0) << "nothing moved";
    list.rebuildTreeAndNames([](NodeTree&, ListBoy& names) { names.Additem("b.txt"); });
    EXPECT_EQ(list.listedNames().list(0), "b.txt");
}
