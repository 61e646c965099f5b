#include "tools/FindFiles.h"

#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "trees/TreeRebuild.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class ScriptedCancel : public CancelKey {
public:
    int pressAt = -1; ///< the poll (from 0) that sees Escape
    int polls = 0;
    bool pressed() override { return polls++ == pressAt; }
    void clear() override {}
};

class FindFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.file("alpha.txt", QByteArray("it says ALPHA here"));
        tree.file("both.txt", QByteArray("alpha and beta"));
        tree.file("beta.doc", QByteArray("only beta"));
        tree.file("none.doc", QByteArray("nothing"));
        settings.tempFolder = settings.workFolder = WithSlash(temp.folder("work"));
    }

    void list(TreeType type = TreeType::PlainList)
    {
        state.setTreeType(type);
        OpenFolder(state, settings, tree.root(), "*.*", GroupedTrees());
    }

    FindOutcome find(const QString& name, std::initializer_list<std::pair<QString, QString>> boxes,
                     bool zipped = false)
    {
        std::array<QString, ContentBoxCount> texts, connectors;
        int i = 0;
        for (const auto& [connector, text] : boxes) {
            connectors[size_t(i)] = connector;
            texts[size_t(i++)] = text;
        }
        FindRequest request;
        request.namePattern = FindNamePattern(name);
        request.content = BuildContentCriteria(texts, connectors);
        request.examineZipped = zipped;
        return ApplyFind(state, settings, request, cancel, prompts);
    }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 1; i < state.listedNames().ListCount(); ++i)
            names << state.listedNames().textAt(i);
        names.sort();
        return names;
    }

    TempTree tree;
    TempTree temp;
    FileList state;
    Settings settings;
    ScriptedPrompts prompts;
    ScriptedCancel cancel;
};

} // namespace

TEST_F(FindFiles, NamesAndContentsNarrowTheList)
{
    list();
    FindOutcome outcome = find("TXT", {});
    EXPECT_EQ(outcome.result, FindResult::Found);
    EXPECT_EQ(listed(), QStringList({"alpha.txt", "both.txt"}));
    EXPECT_EQ(state.setup().statusCaption, " 2 files");
    EXPECT_EQ(prompts.shownTexts(), QStringList({" 2 matching files found"}));
    EXPECT_EQ(prompts.shown.back().title, "Varnex");

    list();
    outcome = find("", {{"", "alpha"}, {"AND", "<>beta"}});
    EXPECT_EQ(outcome.kept, 1);
    EXPECT_EQ(listed(), QStringList({"alpha.txt"}));
    EXPECT_EQ(state.tree().children(state.tree().root()).size(), 1u);

    list();
    find(".doc", {{"", "beta"}});
    EXPECT_EQ(listed(), QStringList({"beta.doc"}));
}

TEST_F(FindFiles, MessagesForNoCriteriaNothingToSearchAndNoMatch)
{
    list();
    EXPECT_EQ(find("  ", {{"OR", " "}}).result, FindResult::NoCriteria);
    EXPECT_EQ(prompts.shown.back().text, "no criteria specified");
    EXPECT_EQ(prompts.shown.back().title, "SearchFiles");
    EXPECT_EQ(state.listedNames().ListCount(), 5); // the list is untouched

    EXPECT_EQ(find("", {{"", "gamma"}}).result, FindResult::NoMatch);
    EXPECT_EQ(prompts.shown.back().text, "no match found");
    EXPECT_EQ(prompts.shown.back().title, "SearchFiles");
    EXPECT_TRUE(state.setup().showsPlaceholder);

    EXPECT_EQ(find("", {{"", "alpha"}}).result, FindResult::NothingToSearch);
    EXPECT_EQ(prompts.shown.back().text, "nothing to search");
}

TEST_F(FindFiles, AGroupedTreeIsRebuiltFromTheKeptFiles)
{
    list(TreeType::Extension);
    find("", {{"", "beta"}});
    EXPECT_EQ(listed(), QStringList({"beta.doc", "both.txt"}));
    const NodeTree& t = state.tree();
    ASSERT_EQ(t.children(t.root()).size(), 2u); // .DOC and .TXT groups
    for (const NodeTree::Id group : t.children(t.root()))
        EXPECT_EQ(t.children(group).size(), 1u);
}

TEST_F(FindFiles, EscapeKeepsTheUntestedFiles)
{
    list();
    cancel.pressAt = 1;
    prompts.answers = {Prompts::Answer::Yes};
    find("", {{"", "gamma"}});
    // The first file was tested and removed; the other three were never tested.
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(prompts.shownTexts().front(), "cancel?");
}

TEST_F(FindFiles, ZipEntriesAreExaminedAfterExtraction)
{
    const QString inner = temp.folder("inner");
    // Compressed, so the word is not in the archive's own bytes.
    temp.file("inner/hit.txt", QByteArray(4000, 'q') + "the word ZEBRA" + QByteArray(4000, 'q'));
    temp.file("inner/miss.txt", QByteArray("no such word"));
    if (!ZipWithTool(inner, tree.path("pack.zip"), {"hit.txt", "miss.txt"}))
        GTEST_SKIP() << "zip is not installed";

    const auto expand = [this] {
        list();
        const NodeTree::Id archive = state.tree().find(tree.path("pack.zip"));
        ASSERT_NE(archive, NodeTree::None);
        FileList::Edit(state).tree().add(archive, tree.path("pack.zip") + ":hit.txt", "hit.txt");
        FileList::Edit(state).tree().add(archive, tree.path("pack.zip") + ":miss.txt", "miss.txt");
    };
    expand();
    const FindOutcome zipped = find("", {{"", "zebra"}}, true);
    EXPECT_EQ(zipped.kept, 1);
    EXPECT_EQ(listed(), QStringList({"pack.zip"})); // kept for its entry
    const NodeTree::Id archive = state.tree().find(tree.path("pack.zip"));
    ASSERT_EQ(state.tree().children(archive).size(), 1u);
    EXPECT_EQ(state.tree().node(state.tree().children(archive).front()).text, "hit.txt");
    // The extracted copies are gone again.
    EXPECT_TRUE(QDir(settings.tempFolder).entryList(QDir::Files).isEmpty());

    expand();
    EXPECT_EQ(find("", {{"", "zebra"}}, false).result, FindResult::NoMatch);
}

TEST_F(FindFiles, ZipEntriesAreSearchedWithoutBeingWrittenAndUnreadableOnesAreReported)
{
    const QString inner = temp.folder("inner");
    temp.file("inner/hit.txt", QByteArray(4000, 'q') + "the word ZEBRA" + QByteArray(4000, 'q'));
    if (!ZipWithTool(inner, tree.path("pack.zip"), {"hit.txt"}))
        GTEST_SKIP() << "zip is not installed";
    // No working folder can be made here: the entry must be searched where it lies.
    settings.tempFolder = WithSlash(temp.file("not-a-folder", 1));
    list();
    const NodeTree::Id archive = state.tree().find(tree.path("pack.zip"));
    ASSERT_NE(archive, NodeTree::None);
    FileList::Edit(state).tree().add(archive, tree.path("pack.zip") + ":hit.txt", "hit.txt");
    FileList::Edit(state).tree().add(archive, tree.path("pack.zip") + ":gone.txt", "gone.txt");
    const FindOutcome zipped = find("", {{"", "zebra"}}, true);
    EXPECT_EQ(zipped.kept, 1);
    EXPECT_EQ(listed(), QStringList({"pack.zip"}));
    // The entry the archive does not hold is not passed over in silence.
    EXPECT_EQ(zipped.unread, 1);
    EXPECT_TRUE(prompts.shownTexts().join("|").contains(
        " 1 files could not be read:\r\n" + tree.path("pack.zip") + ":gone.txt: no such entry"))
        << prompts.shownTexts().join("|").toStdString();
}

TEST_F(FindFiles, ManyFilesSearchedTogetherKeepTheListOrderAndReportUnreadOnesInOrder)
{
    // Big files among small ones, so the searches end out of order.
    QStringList expected;
    for (int i = 0; i < 90; ++i) {
        const QString name = QStringLiteral("f%1.txt").arg(i, 3, 10, QLatin1Char('0'));
        const qsizetype size = i % 7 == 0 ? 3 * 1024 * 1024 : 3000;
        QByteArray bytes(size, 'y');
        if (i % 3 == 0) {
            bytes.replace(size - 2000, 6, "Quartz");
            expected << name;
        }
        tree.file(name, bytes);
    }
    list(TreeType::PlainList);
    for (const char* gone : {"f010.txt", "f050.txt", "f020.txt"})
        QFile::remove(tree.path(gone));
    const FindOutcome outcome = find("f", {{"", "quartz"}});
    expected.removeAll("f020.txt");
    EXPECT_EQ(outcome.kept, expected.size());
    QStringList inListOrder;
    for (int i = 1; i < state.listedNames().ListCount(); ++i)
        inListOrder << state.listedNames().textAt(i);
    EXPECT_EQ(inListOrder, expected);
    EXPECT_EQ(outcome.unread, 3);
    const QString report = prompts.shownTexts().front();
    EXPECT_LT(report.indexOf("f010.txt"), report.indexOf("f020.txt")) << report.toStdString();
    EXPECT_LT(report.indexOf("f020.txt"), report.indexOf("f050.txt")) << report.toStdString();
}
