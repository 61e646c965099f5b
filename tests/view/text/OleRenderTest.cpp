#include "view/text/OleRender.h"

#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

/// Puts only `folder` on the PATH while it lives.
class PathOverride {
public:
    explicit PathOverride(const QString& folder) : saved_(qgetenv("PATH"))
    {
        qputenv("PATH", folder.toLocal8Bit());
    }
    ~PathOverride() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

/// A stand-in for LibreOffice: writes "<outdir>/<base>.png" unless told to fail, and
/// records its arguments.
void writeFakeOffice(TempTree& tree, const QString& name, bool succeed)
{
    const QString script = QStringLiteral("#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                          "prev=\"\"; for a in \"$@\"; do [ \"$prev\" = "
                                          "\"--outdir\" ] && out=\"$a\"; prev=\"$a\"; "
                                          "last=\"$a\"; done\n"
                                          "echo \"$@\" > \"$out/args.txt\"\n"
                                          "cat \"$last\" > \"$out/seen.txt\"\n") +
                           (succeed ? QStringLiteral("n=$(basename \"$last\"); "
                                                     "printf png > \"$out/${n%.*}.png\"\n")
                                    : QStringLiteral("exit 1\n"));
    const QString path = tree.file(QStringLiteral("bin/") + name, script.toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(RenderFirstPage, ConvertsThroughLibreOfficeIntoTheOutputFolder)
{
    TempTree tree;
    const QString deck = tree.file(QStringLiteral("docs/deck.ppt"), QByteArray("deck"));
    const QString out = tree.path(QStringLiteral("temp"));
    writeFakeOffice(tree, QStringLiteral("libreoffice"), true);
    PathOverride path(tree.path(QStringLiteral("bin")));

    EXPECT_EQ(OfficeProgram(), tree.path(QStringLiteral("bin/libreoffice")));
    EXPECT_EQ(RenderFirstPage(deck, out), out + QStringLiteral("/deck.png"));
    QFile args(out + QStringLiteral("/args.txt"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QString line = QString::fromUtf8(args.readAll());
    EXPECT_TRUE(
        line.contains(QStringLiteral("--headless --convert-to png --outdir ") + out + " " + deck))
        << line.toStdString();
}

TEST(RenderFirstPage, ADocumentNamedWithRawBytesIsRenderedFromAPlainCopy)
{
    TempTree tree;
    const QString deck =
        tree.file(platform::decodeFileName("docs\xe9/d\xff.ppt"), QByteArray("odd deck"));
    const QString out = tree.path(platform::decodeFileName("temp\xfe"));
    writeFakeOffice(tree, QStringLiteral("soffice"), true);
    PathOverride path(tree.path(QStringLiteral("bin")));

    EXPECT_EQ(RenderFirstPage(deck, out), out + QStringLiteral("/lumara-document.png"));
    QFile seen;
    ASSERT_TRUE(platform::openForReading(seen, out + QStringLiteral("/seen.txt")));
    EXPECT_EQ(seen.readAll(), "odd deck");
    EXPECT_FALSE(platform::pathExists(out + QStringLiteral("/lumara-document.ppt")))
        << "the copy goes when the page is made";
}

TEST(RenderFirstPage, GivesNothingWhenOfficeIsMissingOrFails)
{
    TempTree tree;
    const QString deck = tree.file(QStringLiteral("deck.vsd"), QByteArray("drawing"));
    const QString out = tree.folder(QStringLiteral("temp"));
    {
        PathOverride path(tree.folder(QStringLiteral("bin")));
        EXPECT_EQ(OfficeProgram(), QString());
        EXPECT_EQ(RenderFirstPage(deck, out), QString());
    }
    // A picture left from an earlier file of that name must not be shown.
    tree.file(QStringLiteral("temp/deck.png"), QByteArray("stale"));
    writeFakeOffice(tree, QStringLiteral("soffice"), false);
    PathOverride path(tree.path(QStringLiteral("bin")));
    EXPECT_EQ(RenderFirstPage(deck, out), QString());
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("/deck.png")));
}

} // namespace
