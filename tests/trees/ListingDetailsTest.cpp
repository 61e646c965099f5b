#include "browse/FileTreeBuilder.h"
#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "controls/Grid.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/Statistics.h"
#include "trees/TreeCommands.h"
#include "trees/TreeContext.h"
#include "trees/TreeRebuild.h"

#include <QFile>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

/// The grouped trees over the details of a full read (one status call per file while
/// reading), put in place before each build: what every consumer saw before a folder
/// was read by names alone.
class FullReadTrees final : public FileTreeBuilder {
public:
    void RebuildCurrentTree(FileList& state, const Settings& settings) const override
    {
        FileList::Edit(state).contents().entries.assign(
            platform::listFiles(state.setup().currentFolder, settings.showSystemHidden));
        GroupedTrees().RebuildCurrentTree(state, settings);
    }
};

/// Files of many sizes, extensions and days, with hidden, read-only and special files
/// and links of every kind beside them.
void makeVariedFolder(TempTree& tree)
{
    const QDateTime base(QDate(2024, 1, 1), QTime(9, 0), QTimeZone::utc());
    const QStringList extensions{"txt", "jpg", "bin", "c", "HTML"};
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("f%1.%2").arg(i).arg(extensions[i % 5]);
        if (i % 7 == 0)
            tree.sparseFile(name, qint64(i) << 24);
        else
            tree.file(name, (i * 997) % 20000);
        tree.setModified(name, base.addDays(-(i * 37) % 900).addSecs(i * 61));
    }
    tree.file(".hidden.txt", 12345);
    const QString readOnly = tree.file("locked.doc", 4321);
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    tree.fifo("pipe");
    tree.folder("sub");
    tree.link("to-file.txt", "f3.jpg");
    tree.link("to-folder", "sub");
    tree.link("dangling", "nowhere");
}

/// One folder listed both ways with the same set-up.
struct Listings {
    Listings(const QString& folder, const Settings& settings, TreeType type)
    {
        for (FileList* state : {&lazy, &full}) {
            state->setTreeType(type);
            state->setDateBasis(DateBasis::Modified);
        }
        OpenFolder(lazy, settings, folder, QStringLiteral("*.*"), GroupedTrees());
        OpenFolder(full, settings, folder, QStringLiteral("*.*"), FullReadTrees());
    }
    FileList lazy;
    FileList full;
};

TreeContext fixedContext(const Settings& settings)
{
    return TreeContext{settings, QDateTime(QDate(2024, 2, 1), QTime(12, 0), QTimeZone::utc()),
                       [](const QString&) { return QStringLiteral("type"); }};
}

} // namespace

TEST(ListingDetails, TreesSortsAndStatisticsOfANamesOnlyReadMatchAFullRead)
{
    TempTree tree;
    makeVariedFolder(tree);
    for (const bool hidden : {false, true}) {
        Settings settings;
        settings.showSystemHidden = hidden;
        const Listings plain(tree.root(), settings, TreeType::PlainList);
        EXPECT_FALSE(plain.lazy.entries().detailsRead()) << "a plain list needs no details";
        EXPECT_EQ(plain.lazy.listedNames().texts(), plain.full.listedNames().texts());

        for (const TreeType type :
             {TreeType::Extension, TreeType::Date, TreeType::Size, TreeType::Age}) {
            const Listings grouped(tree.root(), settings, type);
            EXPECT_EQ(CopyListText(grouped.lazy.tree()).toStdString(),
                      CopyListText(grouped.full.tree()).toStdString())
                << TreeTypeWord(type).toStdString() << " hidden " << hidden;
        }

        Listings bySize(tree.root(), settings, TreeType::PlainList);
        for (FileList* state : {&bySize.lazy, &bySize.full})
            RunSortChoice(*state, fixedContext(settings), SortChoice::BySize);
        EXPECT_EQ(CopyListText(bySize.lazy.tree()).toStdString(),
                  CopyListText(bySize.full.tree()).toStdString());

        Grid lazyGrid;
        Grid fullGrid;
        Listings stats(tree.root(), settings, TreeType::PlainList);
        ShowSizeTable(stats.lazy, lazyGrid, stats.lazy.tree().root());
        ShowSizeTable(stats.full, fullGrid, stats.full.tree().root());
        EXPECT_EQ(lazyGrid.wholeText().toStdString(), fullGrid.wholeText().toStdString())
            << "hidden " << hidden;
        EXPECT_TRUE(lazyGrid.wholeText().contains("locked.doc"));
    }
}

TEST(ListingDetails, TheOtherFilterOnANamesOnlyReadKeepsWhatAFullReadKeeps)
{
    TempTree tree;
    makeVariedFolder(tree);
    Settings settings;
    settings.showSystemHidden = true;
    ScriptedPrompts prompts;
    const Listings plain(tree.root(), settings, TreeType::PlainList);

    OtherFilterFields big;
    big.fileSize = "5000";
    big.fileSizeOption = Comparison::Greater;
    OtherFilterFields readOnly;
    readOnly.readOnly = true;
    for (const OtherFilterFields& fields : {big, readOnly}) {
        FileList state;
        state.setOtherFilterActive(true);
        OtherFilter filter;
        SetOtherFilter(fields, filter, prompts);
        state.setOtherFilter(filter);
        ListFolderFiltered(state, settings, tree.root());

        QStringList expected{plain.full.listedNames().textAt(0)};
        for (int i = 1; i < plain.full.listedNames().ListCount(); ++i) {
            const QString& name = plain.full.listedNames().textAt(i);
            if (FileMatchesFilter(state.otherFilter(), state.setup().currentFolder + name,
                                  plain.full.entries().value(name)))
                expected << name;
        }
        EXPECT_GT(expected.size(), 1);
        EXPECT_LT(expected.size(), plain.full.listedNames().ListCount());
        EXPECT_EQ(state.listedNames().texts(), expected);
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}
