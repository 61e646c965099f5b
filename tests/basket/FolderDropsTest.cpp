#include "basket/FolderDrops.h"

#include "basket/Basket.h"
#include "basket/BasketHeader.h"
#include "basket/BasketZip.h"
#include "common/FileBytes.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

/// Records what the rules ask the window to copy.
struct RecordingCopier : DropCopier {
    QStringList calls;
    void copyBasketRows(const QString& folder, int first, int last) override
    {
        calls << QString("rows %1 %2 to %3").arg(first).arg(last).arg(folder);
    }
    void copyFiles(const QStringList& sources, const QString& folder) override
    {
        calls << sources.join(',') + " to " + folder;
    }
};

struct DropFixture {
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket{grid, prompts, host};
    RecordingCopier copier;
    Settings settings;
};

} // namespace

TEST(FolderDrops, TheBasketDroppedOnAFolderAsksAndCopiesEveryRow)
{
    DropFixture f;
    EXPECT_FALSE(DropBasketOnFolder(f.basket, "/dst/", f.prompts, f.copier));
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, "RadeZazeda is empty");
    EXPECT_EQ(f.prompts.shown[0].kind, "message");

    f.basket.addLoadedEntry("/a/one.txt");
    f.basket.addLoadedEntry("/a/two.txt");
    f.prompts.answers = {Prompts::Answer::No, Prompts::Answer::Yes};
    EXPECT_FALSE(DropBasketOnFolder(f.basket, "/dst/", f.prompts, f.copier));
    EXPECT_TRUE(f.copier.calls.isEmpty()) << "No copies nothing";
    EXPECT_TRUE(DropBasketOnFolder(f.basket, "/dst/", f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shown.last().text, "copy 2 files in RadeZazeda to: /dst/");
    EXPECT_EQ(f.prompts.shown.last().title, "Copy RadeZazeda");
    EXPECT_EQ(f.prompts.shown.last().kind, "yesno");
    EXPECT_EQ(f.copier.calls, QStringList{"rows 1 2 to /dst/"});
}

TEST(FolderDrops, TheWholeListAGroupAndSeveralFilesAskBeforeTheyAreCopied)
{
    DropFixture f;
    const QStringList sources{"/src/a.txt", "/src/b.txt"};
    // The listed folder itself, in any letter case, is refused without a question.
    EXPECT_FALSE(DropFilesOnFolder({DraggedSet::WholeList, sources, "/Src/"}, "/src/", false,
                                   f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shownTexts(), QStringList{"source and destination directory are same"});

    f.prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::Yes, Prompts::Answer::No,
                         Prompts::Answer::Yes};
    EXPECT_TRUE(DropFilesOnFolder({DraggedSet::WholeList, sources, "/src/"}, "/dst/", false,
                                  f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shown.last().text, "copy 2 files shown in folder:\r\n/src/\r\nto\r\n/dst/");
    EXPECT_EQ(f.prompts.shown.last().title, "Copy");

    // A group asks even for one file; it is copied through the window like the others.
    EXPECT_TRUE(DropFilesOnFolder({DraggedSet::Group, {"/src/a.txt"}, "/src/"}, "/src/", false,
                                  f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shown.last().text, "copy 1 files to\r\n/src/");
    EXPECT_EQ(f.prompts.shown.last().title, "Copy");

    // Several files from another program: the same question; No copies nothing.
    EXPECT_FALSE(
        DropFilesOnFolder({DraggedSet::Files, sources, ""}, "/dst/", false, f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shown.last().text, "copy 2 files to\r\n/dst/");
    EXPECT_TRUE(
        DropFilesOnFolder({DraggedSet::Files, sources, ""}, "/dst/", false, f.prompts, f.copier));
    EXPECT_EQ(f.copier.calls, (QStringList{"/src/a.txt,/src/b.txt to /dst/", "/src/a.txt to /src/",
                                           "/src/a.txt,/src/b.txt to /dst/"}));
    EXPECT_FALSE(
        DropFilesOnFolder({DraggedSet::Files, {}, ""}, "/dst/", false, f.prompts, f.copier))
        << "nothing dropped, nothing asked";
}

TEST(FolderDrops, OneFileIsCopiedAtOnceButNeverOntoItselfOrOverAnotherUnasked)
{
    TempTree t;
    DropFixture f;
    const QString source = t.file("src/note.txt", QByteArray("new"));
    const QString dst = t.folder("dst") + "/";
    EXPECT_FALSE(DropFilesOnFolder({DraggedSet::Files, {source}, ""}, t.path("src") + "/", false,
                                   f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shownTexts(), QStringList{"cannot copy to itself"});

    EXPECT_TRUE(
        DropFilesOnFolder({DraggedSet::Files, {source}, ""}, dst, false, f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shownTexts().last(), "copied: " + source + "\r\nto: " + dst + "note.txt");
    EXPECT_EQ(FileBytes(dst + "note.txt"), "new");

    // Over an existing file: the question comes first, and No keeps the old file.
    t.file("dst/note.txt", QByteArray("old"));
    const qsizetype before = f.prompts.shown.size();
    f.prompts.answers = {Prompts::Answer::No};
    EXPECT_FALSE(
        DropFilesOnFolder({DraggedSet::Files, {source}, ""}, dst, false, f.prompts, f.copier));
    ASSERT_EQ(f.prompts.shown.size(), before + 1);
    EXPECT_TRUE(f.prompts.shown.last().text.contains("Overwrite ?"));
    EXPECT_EQ(FileBytes(dst + "note.txt"), "old");
    // With next versions on, the copy takes the next free name and asks nothing.
    EXPECT_TRUE(
        DropFilesOnFolder({DraggedSet::Files, {source}, ""}, dst, true, f.prompts, f.copier));
    EXPECT_EQ(FileBytes(dst + "note;01.txt"), "new");
    EXPECT_TRUE(f.copier.calls.isEmpty()) << "one file goes without the window's copier";
}

TEST(FolderDrops, PathsDroppedOnTheBasketAddFilesAndFoldersButNoBasketFiles)
{
    TempTree t;
    DropFixture f;
    const QString one = t.file("in/one.txt", 5);
    const QString two = t.file("in/two.txt", 6);
    const QString folder = t.folder("dir");
    t.file("dir/x.txt", 1);
    t.file("dir/y.txt", 2);
    const QString bsk = t.file("in/keep.bsk", EncodeBasketHeader(BasketMark, BasketKey).toLatin1() +
                                                  "\r\n" + one.toUtf8() + "\r\n");

    EXPECT_EQ(AddDroppedPaths(f.basket, {one}, f.settings), 1);
    EXPECT_EQ(f.prompts.shownTexts(),
              QStringList{"file added:\r\n" + one + "\r\n1 files in the basket"});

    f.prompts.shown.clear();
    EXPECT_EQ(AddDroppedPaths(f.basket, {bsk, two, one, folder}, f.settings), 3)
        << "the basket file is passed over, the duplicate skipped";
    EXPECT_EQ(f.prompts.shownTexts(),
              (QStringList{" 2 files added to RadeZazeda", " 1 files added to RadeZazeda"}));
    EXPECT_EQ(f.basket.entries(), 4);
    EXPECT_FALSE(f.basket.IsInBasket(bsk));
    EXPECT_TRUE(f.basket.IsInBasket(folder + "/y.txt"));
    EXPECT_EQ(FilesAmong({folder, one}), QStringList{one});
}

TEST(FolderDrops, ZippingOneFileSaysWhereItWentOrWhyNot)
{
    TempTree t;
    ScriptedPrompts prompts;
    const QString file = t.file("a.txt", 40);
    const QString zip = t.path("out.zip");
    EXPECT_TRUE(ZipOneFileReported(file, zip, prompts));
    EXPECT_EQ(prompts.shownTexts().last(), file + "\r\nzipped to:\r\n" + zip);
    EXPECT_TRUE(QFile::exists(zip));

    const QString missing = t.path("missing.txt");
    const QString other = t.path("other.zip");
    EXPECT_FALSE(ZipOneFileReported(missing, other, prompts));
    EXPECT_TRUE(prompts.shownTexts().last().startsWith(other + " was not created.\r\n"));
    EXPECT_FALSE(QFile::exists(other));
}
