#include "basket/BasketFile.h"

#include "basket/Basket.h"
#include "basket/BasketHeader.h"
#include "browse/FileList.h"
#include "common/FileBytes.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QFile>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

namespace {

QByteArray HeaderLine()
{
    return EncodeBasketHeader(BasketMark, BasketKey).toLatin1() + "\r\n";
}

struct BasketFixture {
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket{grid, prompts, host};

    QStringList shownEntries() const
    {
        QStringList all;
        for (int row = 1; row < grid.rows(); ++row)
            all << basket.shown(row);
        return all;
    }
};

} // namespace

TEST(BasketHeader, EncodesTwoCharactersPerLetterWithBlankPaddingAndDecodesBack)
{
    int checksum = -1;
    const QString header = EncodeBasketHeader(BasketMark, BasketKey, &checksum);
    EXPECT_EQ(header, "192428311B2A3F293020");
    EXPECT_EQ(header.size(), 20);
    EXPECT_GT(checksum, 0);
    EXPECT_EQ(DecodeBasketHeader(header, BasketKey), BasketMark);
    // XOR values below 16 are written as " X": "KELTA" against itself gives zeros.
    EXPECT_EQ(EncodeBasketHeader("KELTAK", BasketKey), " 0 0 0 0 0 0");
    // The key wraps round after its fifth letter.
    EXPECT_EQ(DecodeBasketHeader(EncodeBasketHeader("abcdefghijk", "KEY"), "KEY"), "abcdefghijk");
    EXPECT_TRUE(IsBasketHeaderLine(header));
    EXPECT_FALSE(IsBasketHeaderLine("hello"));
    EXPECT_FALSE(IsBasketHeaderLine(header + "00"));
    EXPECT_EQ(DecodeBasketHeader("zz", "K"), QString(QChar('K'))) << "non-hex reads as 0";
    EXPECT_EQ(EncodeBasketHeader(QString(200, QChar(0xFF)), "\x01"), QString())
        << "a checksum past 16 bits ends the coding";
    SaveFuzzSeed("basket", "header.bsk", HeaderLine() + "/tmp/a.txt\r\n\"/tmp/b,c\"\r\n");
}

TEST(BasketFormat, FieldsSplitAtCommasLoseQuotesAndBlanks)
{
    EXPECT_EQ(ParseBasketEntries(u"/a,b.txt\r\n"), QStringList({"/a", "b.txt"}));
    EXPECT_EQ(ParseBasketEntries(u"  /x y.txt  \r\n\"/q.txt\"\r\n"),
              QStringList({"/x y.txt", "/q.txt"}));
    EXPECT_EQ(ParseBasketEntries(u"\"/a,b.txt\", /c\r\n"), QStringList({"/a,b.txt", "/c"}))
        << "a comma inside quotes stays";
    EXPECT_EQ(ParseBasketEntries(u"/one\n\r\n\n/two"), QStringList({"/one", "/two"}))
        << "empty lines add nothing; a last line without its end still counts";
    EXPECT_EQ(ParseBasketEntries(u"\"/open\n/next"), QStringList({"/open", "/next"}))
        << "an unclosed quote ends with its line";
}

TEST(BasketFile, SaveWritesHeaderAndOneCrLfLinePerEntryThenLoadsBack)
{
    TempTree t;
    BasketFixture f;
    const QString a = t.file("a.txt", 3);
    const QString b = t.file("sub/b.txt", 5);
    f.basket.addLoadedEntry(a);
    f.basket.addLoadedEntry(b);
    f.basket.addLoadedEntry(t.path("gone.txt"));
    const QString bsk = t.path("three.bsk");
    ASSERT_TRUE(SaveBasketFile(f.basket, bsk, f.prompts));
    EXPECT_EQ(f.prompts.shownTexts().last(), "RadeZazeda saved to:\r\n" + bsk);

    EXPECT_EQ(FileBytes(bsk),
              HeaderLine() + (a + "\r\n" + b + "\r\n" + t.path("gone.txt")).toUtf8() + "\r\n");

    // Loading replaces: an entry added before is gone afterwards.
    BasketFixture other;
    other.basket.addLoadedEntry(t.file("old.txt", 1));
    ASSERT_EQ(LoadBasketFile(other.basket, bsk), BasketLoad::Loaded);
    EXPECT_EQ(other.shownEntries(), QStringList({a, b, t.path("gone.txt")}));
    EXPECT_EQ(other.grid.textMatrix(2, Basket::NameColumn), "b.txt");
    EXPECT_EQ(other.grid.textMatrix(3, Basket::SizeColumn), "0") << "missing files load with 0";
    EXPECT_FALSE(other.basket.IsInBasket(t.path("old.txt")));
    EXPECT_TRUE(other.basket.IsInBasket(a.toUpper()));
}

TEST(BasketFile, SavingOverAnExistingFileAsksFirst)
{
    TempTree t;
    BasketFixture f;
    f.basket.addLoadedEntry("/x");
    const QString bsk = t.file("keep.bsk", QByteArray("precious"));
    EXPECT_FALSE(SaveBasketFile(f.basket, bsk, f.prompts)) << "No is the preselected answer";
    EXPECT_EQ(f.prompts.shown.first().kind, "yesnowarning") << "the exclamation icon";
    EXPECT_EQ(f.prompts.shown.first().text, bsk + "\r\n file already exists, overwrite?");
    EXPECT_EQ(FileBytes(bsk), "precious");
    f.prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(SaveBasketFile(f.basket, bsk, f.prompts));
    EXPECT_EQ(FileBytes(bsk), HeaderLine() + "/x\r\n");
}

TEST(BasketFile, CommaEntryGivesTwoAndForeignFileLeavesTheBasketAlone)
{
    TempTree t;
    BasketFixture f;
    const QString comma = t.file("comma.bsk", HeaderLine() + "/a,b.txt\r\n\"/c d.txt\"\r\n");
    ASSERT_EQ(LoadBasketFile(f.basket, comma), BasketLoad::Loaded);
    EXPECT_EQ(f.shownEntries(), QStringList({"/a", "b.txt", "/c d.txt"}));
    EXPECT_EQ(f.grid.textMatrix(1, Basket::SizeColumn), "0");

    const QString foreign = t.file("notes.bsk", QByteArray("my notes\r\n/a\r\n"));
    EXPECT_EQ(LoadBasketFile(f.basket, foreign), BasketLoad::NotBasket);
    EXPECT_EQ(LoadBasketFile(f.basket, t.path("none.bsk")), BasketLoad::Unreadable);
    EXPECT_EQ(f.shownEntries(), QStringList({"/a", "b.txt", "/c d.txt"}));

    Settings settings;
    EXPECT_TRUE(IsBasketFile(comma, settings));
    EXPECT_FALSE(IsBasketFile(foreign, settings));
    const QString wrongKind = t.file("comma.txt", HeaderLine());
    EXPECT_FALSE(IsBasketFile(wrongKind, settings)) << "only the basket extension counts";
}

TEST(BasketFile, LoadingUnderANodeListsEachEntryWithItsImage)
{
    TempTree t;
    BasketFixture f;
    const QString a = t.file("a.txt", 4);
    const QString bsk = t.file("list.bsk", HeaderLine() + a.toUtf8() + "\r\n/none.txt\r\n");
    NodeTree tree;
    const NodeTree::Id root = tree.add(NodeTree::None, "R", t.root());
    const NodeTree::Id node = tree.add(root, bsk, "list.bsk");
    Settings settings;
    ASSERT_EQ(LoadBasketFile(f.basket, bsk, tree, node, settings), BasketLoad::Loaded);
    ASSERT_EQ(tree.children(node).size(), 2u);
    const NodeTree::Id first = tree.children(node)[0];
    EXPECT_EQ(tree.key(first), "[list.bsk]" + a);
    EXPECT_EQ(tree.node(first).text, a);
    EXPECT_TRUE(tree.image(first).startsWith('k'));
    EXPECT_NE(tree.image(first), "k28");
    EXPECT_EQ(tree.image(tree.children(node)[1]), "k28");
    // A second load replaces the grid but does not list the entries twice.
    ASSERT_EQ(LoadBasketFile(f.basket, bsk, tree, node, settings), BasketLoad::Loaded);
    EXPECT_EQ(tree.children(node).size(), 2u);
    EXPECT_EQ(f.basket.entries(), 2);
}

TEST(BasketFile, RemovingAnEntryDropsEveryEqualLineOnly)
{
    TempTree t;
    ScriptedPrompts prompts;
    const QString bsk =
        t.file("r.bsk", HeaderLine() + "/a.txt\r\n/b.txt\r\n/A.txt\r\n/a.txt\r\n/c.txt\r\n");
    EXPECT_EQ(RemoveBasketFileEntry(bsk, "/a.txt", prompts), 2);
    EXPECT_EQ(FileBytes(bsk), HeaderLine() + "/b.txt\r\n/A.txt\r\n/c.txt\r\n")
        << "the comparison is exact and the order stays";
    EXPECT_EQ(RemoveBasketFileEntry(t.path("missing.bsk"), "/a.txt", prompts), -1);
    EXPECT_FALSE(prompts.shown.isEmpty());
}

TEST(BasketFile, AFailedRewriteLeavesTheBasketFileWhole)
{
    TempTree t;
    ScriptedPrompts prompts;
    QByteArray content = HeaderLine();
    for (int i = 0; i < 400; ++i)
        content += "/some/long/folder/name/file" + QByteArray::number(i) + ".txt\r\n";
    const QString bsk = t.file("big.bsk", content);

    // A file-size limit makes every write past 1 KB fail, even for root.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int removed = RemoveBasketFileEntry(bsk, "/some/long/folder/name/file7.txt", prompts);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(removed, -1);
    EXPECT_EQ(FileBytes(bsk), content);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.shown.last().text.startsWith("the entry was not removed"));
}

TEST(BasketFile, RemovingAListedEntryListsWhatTheFileHoldsNowWithTheirImages)
{
    TempTree t;
    ScriptedPrompts prompts;
    Settings settings;
    const QString a = t.file("a.txt", 4);
    const QString b = t.file("b.mp3", 9);
    const QString bsk =
        t.file("list.bsk", HeaderLine() + (a + "\r\n" + b + "\r\n").toUtf8() + "/gone.txt\r\n");
    FileList list;
    NodeTree::Id root = NodeTree::None;
    NodeTree::Id node = NodeTree::None;
    list.rebuildTree([&](NodeTree& tree) {
        root = tree.add(NodeTree::None, "R", t.root());
        node = tree.add(root, bsk, "list.bsk");
        for (const QString& entry : {a, b, QString("/gone.txt")})
            tree.add(node, "[list.bsk]" + entry, entry, "k0");
    });
    const NodeTree& tree = list.tree();
    int announced = 0;
    QObject::connect(&list, &FileList::contentsChanged, [&announced] { ++announced; });

    EXPECT_EQ(RemoveListedBasketFileEntry(list, tree.children(node)[0], settings, prompts), 1);
    EXPECT_EQ(announced, 1);
    ASSERT_EQ(tree.children(node).size(), 2u);
    const NodeTree::Id first = tree.children(node)[0];
    EXPECT_EQ(tree.node(first).text, b);
    EXPECT_EQ(tree.key(first), "[list.bsk]" + b);
    // The image follows the entry's kind: an mp3 and a missing file differ from the "k0"
    // the nodes had.
    EXPECT_TRUE(tree.image(first).startsWith('k'));
    EXPECT_NE(tree.image(first), "k28");
    EXPECT_NE(tree.image(first), "k0");
    EXPECT_EQ(tree.image(tree.children(node)[1]), "k28");
    EXPECT_EQ(FileBytes(bsk), HeaderLine() + (b + "\r\n").toUtf8() + "/gone.txt\r\n");

    // The basket file's own node, and an entry under a file that is no basket, are not
    // entries to remove.
    EXPECT_EQ(RemoveListedBasketFileEntry(list, node, settings, prompts), -1);
    NodeTree::Id plainEntry = NodeTree::None;
    list.rebuildTree([&](NodeTree& changed) {
        const NodeTree::Id plain = changed.add(root, t.file("plain.txt", 3), "plain.txt");
        plainEntry = changed.add(plain, "x", "x");
    });
    EXPECT_EQ(RemoveListedBasketFileEntry(list, plainEntry, settings, prompts), -1);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(BasketFile, AddedFilesAndArchiveEntriesSaveLoadAndSaveAgainByteForByte)
{
    TempTree t;
    struct ListedHost : BasketHost {
        QString folder;
        QString currentFolderPath() const override { return folder; }
    };
    ScriptedPrompts prompts;
    ListedHost host;
    host.folder = t.root() + "/data/";
    Grid grid;
    Basket basket(grid, prompts, host);
    const QString file = t.file("data/a.txt", 3);
    t.file("work/pack.zip/in.txt", 4);
    ASSERT_TRUE(basket.AddFileToBasket(t.root() + "/data/", "a.txt", NodeSource::File, {},
                                       Basket::Notice::Silent));
    ASSERT_TRUE(basket.AddFileToBasket(t.root() + "/work/pack.zip/", "in.txt",
                                       NodeSource::ArchiveEntry, "|pack.zip|in.txt",
                                       Basket::Notice::Silent));
    EXPECT_FALSE(basket.AddFileToBasket(t.root() + "/data/", "c.txt", NodeSource::None, {},
                                        Basket::Notice::Silent));

    const QString first = t.path("first.bsk");
    ASSERT_TRUE(SaveBasketFile(basket, first, prompts));
    // The second addition goes above the first (the insertion row of a one-entry basket).
    EXPECT_EQ(QString::fromUtf8(FileBytes(first)), QString::fromUtf8(HeaderLine()) + host.folder +
                                                       "|pack.zip|in.txt\r\n" + file + "\r\n")
        << "an archive entry is saved as the listed folder and its entry";

    BasketFixture again;
    ASSERT_EQ(LoadBasketFile(again.basket, first), BasketLoad::Loaded);
    const QString second = t.path("second.bsk");
    ASSERT_TRUE(SaveBasketFile(again.basket, second, again.prompts));
    EXPECT_EQ(FileBytes(second), FileBytes(first));
}
