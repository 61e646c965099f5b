// A folder of names that are hard on a file browser: not UTF-8, control characters,
// backslashes, a leading dot, the longest name allowed. Each must be listed, and every
// way of reaching a listed name must reach that very file.
#include "app/TempFolder.h"
#include "archive/ByteCursor.h"
#include "archive/ExamineArchive.h"
#include "archive/ExtractZipEntry.h"
#include "archive/ZipJob.h"
#include "basket/Basket.h"
#include "basket/BasketCopy.h"
#include "basket/BasketFile.h"
#include "basket/BasketZip.h"
#include "browse/FileList.h"
#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "tools/FileInfo.h"
#include "trees/TreeRebuild.h"
#include "view/picture/PictureFile.h"
#include "view/text/TextSlices.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QStringList OddNames()
{
    return {
        platform::decodeFileName("bad\xff\xfe.txt"),
        platform::decodeFileName("caf\xe9.txt"), // Latin-1
        QStringLiteral("new\nline.txt"),
        QStringLiteral("tab\there.txt"),
        QStringLiteral("back\\slash.txt"),
        QStringLiteral(".leading dot.txt"),
        QString(251, u'n') + QStringLiteral(".txt"), // 255 bytes
        QStringLiteral("caf\u00e9 \U0001F600.txt"),
    };
}

/// Each file holds a text naming it, so a file reached by mistake shows.
QByteArray ContentFor(const QString& name)
{
    return "file " + platform::encodeFileName(name).toHex();
}

QByteArray ReadThrough(const QString& path)
{
    QFile file;
    return platform::openForReading(file, path) ? file.readAll() : QByteArray("<unreachable>");
}

QSet<QString> Listed(const QString& folder)
{
    FileList state;
    Settings settings;
    settings.showSystemHidden = 1;
    OpenFolder(state, settings, folder, QStringLiteral("*.*"), GroupedTrees());
    QSet<QString> names;
    for (int i = 1; i < state.listedNames().ListCount(); ++i)
        names.insert(state.listedNames().textAt(i));
    return names;
}

} // namespace

TEST(OddNames, EveryNameIsListedAndEveryWayInReachesThatFile)
{
    TempTree tree;
    const QString folder = tree.folder("odd") + u'/';
    for (const QString& name : OddNames())
        tree.file("odd/" + name, ContentFor(name));
    ASSERT_EQ(platform::encodeFileName(OddNames()[6]).size(), 255);

    const QSet<QString> listed = Listed(folder);
    for (const QString& name : OddNames()) {
        SCOPED_TRACE(platform::encodeFileName(name).toStdString());
        ASSERT_TRUE(listed.contains(name));
        const QString path = folder + name;
        // The view's text reader.
        TextSlices text(path, 1 << 20);
        EXPECT_EQ(text.next(1 << 20), QString::fromLatin1(ContentFor(name)));
        // The properties dialog: found, with the file's own length.
        const FileInfoResult info = GetFileInfo(path, true);
        EXPECT_TRUE(info.found) << info.problem.toStdString();
        EXPECT_EQ(info.values[8], QString::number(ContentFor(name).size()));
    }
    EXPECT_EQ(listed.size(), OddNames().size());
}

TEST(OddNames, PicturesCopiesAndBasketFilesKeepTheExactBytes)
{
    TempTree tree;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    const QString pictureName = platform::decodeFileName("pic\xe9.png");
    EXPECT_EQ(LoadPicture(tree.file("odd/" + pictureName, png)).size(), QSize(3, 2));

    const QString target = tree.folder("copies");
    ScriptedPrompts prompts;
    for (const QString& name : OddNames()) {
        SCOPED_TRACE(platform::encodeFileName(name).toStdString());
        const QString source = tree.file("odd/" + name, ContentFor(name));
        ASSERT_TRUE(CopySingleFile(source, target, false, prompts));
        EXPECT_EQ(ReadThrough(target + u'/' + name), ContentFor(name));
    }
    const QStringList names = OddNames();
    EXPECT_EQ(Listed(target + u'/'), QSet<QString>(names.begin(), names.end()));
    // A zip of a name that is not UTF-8 stores the name's bytes.
    const QString zip = tree.path("odd.zip");
    ASSERT_TRUE(ZipOneFile(tree.path("odd/") + names[0], zip));
    EXPECT_TRUE(ReadThrough(zip).contains(platform::encodeFileName(names[0])));

    // A basket file holds the names' own bytes and gives them back.
    BasketHost host;
    Grid grid;
    Basket basket{grid, prompts, host};
    const QString odd = tree.path("odd/") + OddNames()[0];
    const QString latin = tree.path("odd/") + OddNames()[1];
    basket.addLoadedEntry(odd);
    basket.addLoadedEntry(latin);
    const QByteArray bytes = BasketFileBytes(basket);
    EXPECT_TRUE(bytes.contains(platform::encodeFileName(odd) + "\r\n"));
    const QString bsk = tree.file("odd.bsk", bytes);
    EXPECT_EQ(ReadBasketFile(bsk).entries, QStringList({odd, latin}));
}

TEST(OddNames, AZippedFolderHoldsEveryNameAndGivesEachFileBack)
{
    TempTree tree;
    const QString sub = platform::decodeFileName("sub\xe9\xff");
    QStringList expected;
    for (const QString& name : OddNames()) {
        tree.file("odd/" + name, ContentFor(name));
        tree.file("odd/" + sub + "/" + name, ContentFor(sub + name));
        // The directory reader gives each name back with its own bytes, UTF-8 or not.
        expected << "odd/" + name << "odd/" + sub + "/" + name;
    }
    tree.link("odd/" + sub + "/loop", tree.path("odd")); // never followed into

    ZipJob zip;
    zip.ZipFile = tree.path(platform::decodeFileName("all\xfe.zip"));
    zip.BasePath = tree.root();
    zip.RecurseSubDirs = true;
    zip.StoreFolderNames = true;
    zip.IncludeSystemAndHiddenFiles = true; // the name with a leading dot
    zip.AddFileSpec(tree.path("odd"));
    ASSERT_TRUE(zip.Zip());
    ScriptedPrompts prompts;
    QStringList stored = ArchiveEntryNames(zip.ZipFile, prompts);
    stored.sort();
    expected.sort();
    EXPECT_EQ(stored, expected);

    // Asked for by their exact bytes, the entries come back into a working folder as
    // their own files, and the folder goes whole at the end.
    const WorkingFolder work = OpenWorkingFolder(tree.path("work"));
    ASSERT_FALSE(work.path.isEmpty());
    for (const QString& name : OddNames()) {
        SCOPED_TRACE(platform::encodeFileName(name).toStdString());
        if (name.contains(u'\\'))
            continue; // a zip entry's backslash is a folder separator
        const QString entry = "odd/" + sub + "/" + name;
        ASSERT_EQ(ExtractZipEntry(zip.ZipFile, work.path, entry, prompts),
                  ExtractOutcome::Extracted);
        EXPECT_EQ(ReadThrough(work.path + entry), ContentFor(sub + name));
    }
    // So does the name the listing shows for an entry that is not UTF-8.
    const QString listed = EntryNameText(platform::encodeFileName("odd/" + OddNames()[0]));
    ASSERT_EQ(ExtractZipEntry(zip.ZipFile, work.path, listed, prompts), ExtractOutcome::Extracted);
    EXPECT_EQ(ReadThrough(work.path + listed), ContentFor(OddNames()[0]));
    EXPECT_TRUE(DeleteTempFolder(work.path));
    EXPECT_FALSE(platform::pathExists(work.path));
}

TEST(OddNames, PipesAndLoopsAreRefusedWithoutWaiting)
{
    TempTree tree;
    QFile file;
    EXPECT_FALSE(platform::openForReading(file, tree.fifo("pipe")));
    EXPECT_FALSE(platform::openForReading(file, tree.link("loop", "loop")));
    EXPECT_FALSE(platform::openForReading(file, tree.folder("sub")));
    EXPECT_FALSE(platform::isRegularFile(tree.path("loop")));
    EXPECT_TRUE(platform::pathExists(tree.path("loop")));
}
