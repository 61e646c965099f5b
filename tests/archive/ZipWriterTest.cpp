#include "ArchiveFixtures.h"
#include "archive/ExtractZipEntry.h"
#include "archive/ZipJob.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

/// A ZipJob set up as the basket's zip does it.
ZipJob BasketZip(const QString& target, const QStringList& files)
{
    ZipJob zip;
    zip.ZipFile = target;
    zip.StoreFolderNames = false;
    zip.RecurseSubDirs = false;
    zip.ClearFileSpecs();
    for (const QString& f : files)
        zip.AddFileSpec(f);
    return zip;
}

QStringList FolderNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

TEST(ZipJob, ZipsWithoutFolderNamesAndTheReaderListsIt)
{
    TempTree t;
    const QString a = t.file("one/a.txt", QByteArray(5000, 'a'));
    const QString b = t.file("two/b.bin", QByteArray("bee"));
    ZipJob zip = BasketZip(t.path("out.zip"), {a, b, t.path("missing.txt")});
    EXPECT_EQ(zip.FileSpecCount(), 3);
    EXPECT_EQ(zip.FileSpec(1), b);
    EXPECT_TRUE(zip.Zip());
    EXPECT_EQ(EntryNames(t.path("out.zip")), QStringList({"a.txt", "b.bin"}));
    EXPECT_EQ(FolderNames(t.root()), QStringList{"out.zip"}) << "no temporary file is left";

    const QStringList details = EntryDetails(t.path("out.zip"), "a.txt");
    ASSERT_EQ(details.size(), 14);
    EXPECT_EQ(details.at(11).left(9), "Deflated:");
    ScriptedPrompts prompts;
    EXPECT_EQ(ExtractZipEntry(t.path("out.zip"), t.folder("back"), "a.txt", prompts),
              ExtractOutcome::Extracted);
    EXPECT_EQ(QFileInfo(t.path("back/a.txt")).size(), 5000);
}

TEST(ZipJob, DuplicateStoredNamesCreateNoZipAndKeepAnOldOne)
{
    TempTree t;
    const QString a1 = t.file("one/a.txt", QByteArray("1"));
    const QString a2 = t.file("two/a.txt", QByteArray("2"));
    EXPECT_FALSE(BasketZip(t.path("dup.zip"), {a1, a2}).Zip());
    EXPECT_FALSE(QFileInfo::exists(t.path("dup.zip")));

    const QByteArray old = BuildZip({{"keep.txt", "k"}});
    t.file("old.zip", old);
    EXPECT_FALSE(BasketZip(t.path("old.zip"), {a1, a2}).Zip());
    QFile f(t.path("old.zip"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    EXPECT_EQ(FolderNames(t.root()), QStringList{"old.zip"});

    // With folder names stored, the same two files go in under different names.
    ZipJob paths = BasketZip(t.path("paths.zip"), {"one/a.txt", "two/a.txt"});
    paths.BasePath = t.root();
    paths.StoreFolderNames = true;
    EXPECT_TRUE(paths.Zip());
    EXPECT_EQ(EntryNames(t.path("paths.zip")), QStringList({"one/a.txt", "two/a.txt"}));
}

TEST(ZipJob, UpdatesKeepOtherEntriesAndDeleteRemovesNamedOnes)
{
    TempTree t;
    const QString a = t.file("a.txt", QByteArray("first"));
    const QString b = t.file("b.txt", QByteArray("bee"));
    ASSERT_TRUE(BasketZip(t.path("u.zip"), {a}).Zip());
    t.file("a.txt", QByteArray("second version"));
    ASSERT_TRUE(BasketZip(t.path("u.zip"), {a, b}).Zip());
    EXPECT_EQ(EntryNames(t.path("u.zip")), QStringList({"a.txt", "b.txt"}));
    ScriptedPrompts prompts;
    prompts.answers = {Prompts::Answer::Yes};
    ExtractZipEntry(t.path("u.zip"), t.folder("x"), "a.txt", prompts);
    EXPECT_EQ(QFileInfo(t.path("x/a.txt")).size(), 14);

    // Freshening adds nothing new; an older file does not replace a newer entry.
    const QString c = t.file("c.txt", QByteArray("c"));
    ZipJob fresh = BasketZip(t.path("u.zip"), {c});
    fresh.FreshenFiles = true;
    EXPECT_FALSE(fresh.Zip());
    EXPECT_EQ(EntryNames(t.path("u.zip")).size(), 2);

    ZipJob del = BasketZip(t.path("u.zip"), {"a.txt"});
    EXPECT_TRUE(del.Delete());
    EXPECT_EQ(EntryNames(t.path("u.zip")), QStringList{"b.txt"});
}

TEST(ZipJob, RecursionWildcardsHiddenFilesAndCancel)
{
    TempTree t;
    t.file("tree/x.txt", 1);
    t.file("tree/.hidden", 1);
    t.file("tree/sub/y.txt", 1);
    t.file("tree/sub/z.doc", 1);
    ZipJob rec = BasketZip(t.path("r.zip"), {t.path("tree")});
    rec.RecurseSubDirs = true;
    rec.StoreFolderNames = true;
    rec.StoreDirectories = true;
    rec.BasePath = t.root();
    EXPECT_TRUE(rec.Zip());
    QStringList names = EntryNames(t.path("r.zip"));
    names.sort();
    EXPECT_EQ(names, QStringList({"tree/sub/y.txt", "tree/sub/z.doc", "tree/x.txt"}));

    ZipJob wild = BasketZip(t.path("w.zip"), {t.path("tree/*.txt")});
    wild.RecurseSubDirs = true;
    EXPECT_TRUE(wild.Zip());
    names = EntryNames(t.path("w.zip"));
    names.sort();
    EXPECT_EQ(names, QStringList({"x.txt", "y.txt"}));

    ZipJob cancelled = BasketZip(t.path("c.zip"), {t.path("tree/x.txt")});
    cancelled.Cancel = [] { return true; };
    EXPECT_FALSE(cancelled.Zip());
    EXPECT_FALSE(QFileInfo::exists(t.path("c.zip")));
    EXPECT_EQ(FolderNames(t.root()), QStringList({"r.zip", "w.zip"}));
}

TEST(ZipJob, EncryptedZipNeedsItsPassword)
{
    TempTree t;
    const QString s = t.file("s.txt", QByteArray("secret text"));
    ZipJob zip = BasketZip(t.path("e.zip"), {s});
    zip.Encrypt = true;
    EXPECT_FALSE(zip.Zip()) << "no password, no zip";
    zip.PasswordRequest = [] { return std::optional<QString>("pw"); };
    EXPECT_TRUE(zip.Zip());

    const QStringList details = EntryDetails(t.path("e.zip"), "s.txt");
    ASSERT_EQ(details.size(), 14);
    EXPECT_EQ(details.at(12), "True");
    ScriptedPrompts prompts;
    prompts.texts = {"pw"};
    EXPECT_EQ(ExtractZipEntry(t.path("e.zip"), t.folder("o"), "s.txt", prompts),
              ExtractOutcome::Extracted);
}
