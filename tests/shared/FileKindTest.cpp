#include "shared/FileKind.h"

#include "shared/Settings.h"

#include <gtest/gtest.h>

namespace {

struct KindCase {
    const char* extension;
    int unknownAsText;
    int expected;
};

// Names the test cases by their values rather than by the bytes of the struct.
void PrintTo(const KindCase& c, std::ostream* os)
{
    *os << '"' << c.extension << "\" unknown-as-text " << c.unknownAsText;
}

class ClassifyFileKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ClassifyFileKindTest, MapsExtensionToKind)
{
    const KindCase& c = GetParam();
    Settings settings;
    settings.unknownAsText = c.unknownAsText;
    EXPECT_EQ(int(ClassifyFileKind(QString::fromLatin1(c.extension), settings)), c.expected)
        << c.extension << " UnknownAsText=" << c.unknownAsText;
}

INSTANTIATE_TEST_SUITE_P(
    DefaultCategories, ClassifyFileKindTest,
    ::testing::Values(
        // Extensions with views of their own win over every category.
        KindCase{".DOC", 0, -1}, KindCase{".TTF", 0, -2}, KindCase{".XLS", 0, -3},
        KindCase{".AVI", 0, -4}, KindCase{".TIF", 0, -5}, KindCase{".BSK", 0, -6},
        // The OLE test is a substring test over ".PPT.MPP.VSD.PCX".
        KindCase{".PPT", 0, -8}, KindCase{".MPP", 0, -8}, KindCase{".VSD", 0, -8},
        KindCase{".PCX", 0, -8}, KindCase{".PP", 0, -8}, KindCase{".VS", 0, -8},
        // Category lists are searched by the last three characters, first match wins.
        KindCase{".TXT", 0, 0}, KindCase{".RTF", 0, 0}, KindCase{".CSV", 0, 0},
        KindCase{".BMP", 0, 1}, KindCase{".JPG", 0, 1}, KindCase{".CUR", 0, 1},
        KindCase{".HTM", 0, 2}, KindCase{".HTML", 0, 2}, KindCase{".MHT", 0, 2},
        KindCase{".ZIP", 0, 3}, KindCase{".RAR", 0, 3}, KindCase{".CAB", 0, 3},
        KindCase{".MP3", 0, 4}, KindCase{".WAV", 0, 4}, KindCase{".MDB", 0, 5},
        // Today's picture formats are in the Picture list of new profiles ("PEG" of
        // .JPEG, "IFF" of .TIFF); ".C" keeps its dot and matches nothing.
        KindCase{".JPEG", 0, 1}, KindCase{".PNG", 0, 1}, KindCase{".TIFF", 0, 1},
        KindCase{".WEBP", 0, 1}, KindCase{".SVG", 0, 1}, KindCase{".C", 0, -9},
        KindCase{".C", 1, 0}, KindCase{" ", 0, -9}, KindCase{" ", 1, 0},
        // A fragment of a list entry matches too ("TML" is inside "html").
        KindCase{".TML", 0, 2}, KindCase{".XYZ", 0, -9}, KindCase{".XYZ", 1, 0}));

TEST(ClassifyFileKind, ProfilesWithTheClassicPictureListKeepIt)
{
    Settings settings;
    settings.unknownAsText = 0;
    settings.categories[1].extensions = QStringLiteral("bmp;dib;gif;jpg;emf;ico;cur;wmf");
    EXPECT_EQ(ClassifyFileKind(QStringLiteral(".JPEG"), settings), FileKind::None);
    EXPECT_EQ(ClassifyFileKind(QStringLiteral(".PNG"), settings), FileKind::None);
    EXPECT_EQ(Settings::defaultCategories()[1].extensions,
              QStringLiteral("bmp;dib;gif;jpg;jpeg;png;webp;tif;tiff;svg;emf;ico;cur;wmf;pcx"));
}

TEST(ClassifyFileKind, UsesTheUsersCategoryListsButOnlySlotsZeroToFive)
{
    Settings settings;
    settings.unknownAsText = 0;
    settings.categories[1].extensions = QStringLiteral("png;jpeg");
    settings.categories[6].extensions = QStringLiteral("xyz");
    EXPECT_EQ(ClassifyFileKind(QStringLiteral(".PNG"), settings), FileKind::Picture);
    EXPECT_EQ(ClassifyFileKind(QStringLiteral(".JPEG"), settings),
              FileKind::Picture); // "PEG" in "JPEG"
    EXPECT_EQ(ClassifyFileKind(QStringLiteral(".BMP"), settings), FileKind::None);
    EXPECT_EQ(ClassifyFileKind(QStringLiteral(".XYZ"), settings), FileKind::None);
}

struct IconCase {
    const char* extension;
    int tabColorSwap;
    int expected;
};

void PrintTo(const IconCase& c, std::ostream* os)
{
    *os << '"' << c.extension << "\" tab-colour-swap " << c.tabColorSwap;
}

class FileListIconIndexTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(FileListIconIndexTest, GivesImageIndex)
{
    const IconCase& c = GetParam();
    Settings settings;
    settings.tabColorSwap = c.tabColorSwap;
    EXPECT_EQ(FileListIconIndex(QString::fromLatin1(c.extension), settings), c.expected)
        << c.extension << " TabColorSwap=" << c.tabColorSwap;
}

INSTANTIATE_TEST_SUITE_P(DefaultCategories, FileListIconIndexTest,
                         ::testing::Values(IconCase{".BSK", 0, 3}, IconCase{".TXT", 0, 3},
                                           IconCase{".XYZ", 0, 3}, IconCase{".BSK", 1, 27},
                                           IconCase{".TXT", 1, 14}, IconCase{".GIF", 1, 15},
                                           IconCase{".HTML", 1, 16}, IconCase{".ZIP", 1, 17},
                                           IconCase{".WMA", 1, 18}, IconCase{".MDB", 1, 19},
                                           IconCase{".DOC", 1, 21}, IconCase{".XYZ", 1, 21},
                                           IconCase{".JPEG", 1, 15}, IconCase{".PNG", 1, 15}));

TEST(FileListIconIndex, OtherCategoryGivesImageTwenty)
{
    Settings settings;
    settings.tabColorSwap = 1;
    settings.categories[6].extensions = QStringLiteral("xyz;doc");
    EXPECT_EQ(FileListIconIndex(QStringLiteral(".XYZ"), settings), 20);
    EXPECT_EQ(FileListIconIndex(QStringLiteral(".DOC"), settings), 20);
}

} // namespace
