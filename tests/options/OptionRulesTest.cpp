#include "common/TempTree.h"
#include "options/OptionColours.h"
#include "options/OptionFonts.h"
#include "options/OtherOptions.h"
#include "shared/Settings.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(OptionColours, BlackIsStoredAsOneOneOneAndOnlyInItsTarget)
{
    Settings settings;
    settings.colours = {0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666};
    ApplyColour(settings, ColourTarget::FilesListBg, QColor(0, 0, 0));
    EXPECT_EQ(ColourOf(settings.colours[2]), QColor(1, 1, 1));

    // Colours near black are kept as they are; only pure black is lifted.
    EXPECT_EQ(StoredColour(QColor(0, 0, 1)), 0x000001u);
    EXPECT_EQ(StoredColour(QColor(1, 0, 0)), 0x010000u);
    EXPECT_EQ(StoredColour(QColor(255, 128, 0)), 0xFF8000u);
    EXPECT_EQ(settings.colours,
              (std::array<quint32, 6>{0x111111, 0x222222, 0x010101, 0x444444, 0x555555, 0x666666}));
}

TEST(OptionColours, EachTargetWritesTheSlotTheProfileKeepsForIt)
{
    // The profile keeps tree bg, tree fg, list bg, list fg, view bg, view fg.
    const struct {
        ColourTarget target;
        const char* caption;
        size_t slot;
    } cases[] = {
        {ColourTarget::ViewWindowFg, "View Window FG", 5},
        {ColourTarget::ViewWindowBg, "View Window BG", 4},
        {ColourTarget::FilesListFg, "Files List FG", 3},
        {ColourTarget::FilesListBg, "Files List BG", 2},
        {ColourTarget::DirectoryTreeFg, "Directory Tree FG", 1},
        {ColourTarget::DirectoryTreeBg, "Directory Tree BG", 0},
    };
    for (const auto& c : cases) {
        Settings settings;
        ApplyColour(settings, c.target, QColor(10, 20, 30));
        EXPECT_EQ(ColourTargetCaption(c.target), QLatin1String(c.caption));
        for (size_t slot = 0; slot < settings.colours.size(); ++slot) {
            const quint32 expected = slot == c.slot ? 0x0A141Eu : Settings().colours[slot];
            EXPECT_EQ(settings.colours[slot], expected) << c.caption;
        }
    }
}

TEST(OptionColours, ResetRestoresWhiteBackgroundsAndBlackText)
{
    Settings settings;
    for (int i = 0; i < ColourTargetCount; ++i)
        ApplyColour(settings, ColourTarget(i), QColor(0, 128, 0));
    ResetColours(settings);
    EXPECT_EQ(settings.colours,
              (std::array<quint32, 6>{0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000}));
}

TEST(OptionFonts, SizeStepsStayWithinOneToFortyEight)
{
    const struct {
        double size;
        bool up;
        std::optional<double> next;
    } cases[] = {
        {8.25, true, 9.75},       {8.25, false, 6.75},      {47, true, std::nullopt},
        {46.5, true, 48},         {48, true, std::nullopt}, {2.5, false, 1},
        {2, false, std::nullopt}, {1, false, std::nullopt}, {1, true, 2.5},
    };
    for (const auto& c : cases) {
        const std::optional<double> next = SteppedFontSize(c.size, c.up);
        ASSERT_EQ(next.has_value(), c.next.has_value()) << c.size << (c.up ? " up" : " down");
        if (next) {
            EXPECT_DOUBLE_EQ(*next, *c.next) << c.size;
        }
    }
}

TEST(OptionFonts, SizeLabelUsesTheHashPicture)
{
    EXPECT_EQ(FontSizeLabelText(8.25), QStringLiteral("Size 8.25"));
    EXPECT_EQ(FontSizeLabelText(47), QStringLiteral("Size 47."));
    EXPECT_EQ(HashPictureText(9.75), QStringLiteral("9.75"));
    EXPECT_EQ(HashPictureText(10.5), QStringLiteral("10.5"));
    EXPECT_EQ(HashPictureText(0.5), QStringLiteral(".5"));
    EXPECT_EQ(HashPictureText(0), QStringLiteral("."));
    EXPECT_EQ(HashPictureText(12.345), QStringLiteral("12.35"));
    EXPECT_EQ(HashPictureText(9.999), QStringLiteral("10."));
    EXPECT_EQ(HashPictureText(-1.5), QStringLiteral("-1.5"));
}

TEST(OptionFonts, DefaultFontsResetEveryTarget)
{
    Settings settings;
    for (int i = 0; i < FontTargetCount; ++i)
        FontOf(settings, FontTarget(i)) = {QStringLiteral("DejaVu Sans"), 14.0 + i};
    EXPECT_EQ(settings.viewFont.size, 16) << "each target has a font of its own";
    SetDefaultFonts(settings);
    for (int i = 0; i < FontTargetCount; ++i) {
        const FontSetting& font = FontOf(std::as_const(settings), FontTarget(i));
        EXPECT_EQ(font.name, QStringLiteral("MS Sans Serif")) << i;
        EXPECT_DOUBLE_EQ(font.size, 8.25) << i;
    }
}

TEST(OtherOptions, PageShowsAndStoresTheFlagsAsOneOrZero)
{
    Settings settings;
    settings.unknownAsText = 0;
    settings.extensionNames = 1;
    settings.showSystemHidden = 1;
    settings.nextVersionOnOverwrite = 0;
    settings.mouseOverFilter = 1;
    settings.singleClickView = 1;
    settings.tempFolder.clear();
    OtherOptions shown = OtherOptionsOf(settings);
    EXPECT_FALSE(shown.unknownAsText);
    EXPECT_TRUE(shown.extensionNames);
    EXPECT_TRUE(shown.showSystemHidden);
    EXPECT_FALSE(shown.nextVersionOnOverwrite);
    EXPECT_TRUE(shown.mouseOverFilter);
    EXPECT_EQ(shown.selection, SelectionMode::SingleClickView);
    EXPECT_EQ(shown.tempFolder, Settings::defaultTempFolder())
        << "an empty setting shows the default";

    shown.unknownAsText = true;
    shown.showSystemHidden = false;
    shown.selection = SelectionMode::MultiSelect;
    shown.tempFolder = QStringLiteral("/elsewhere/");
    StoreOtherOptions(settings, shown);
    EXPECT_TRUE(settings.unknownAsText);
    EXPECT_FALSE(settings.showSystemHidden);
    EXPECT_TRUE(settings.multiSelect);
    EXPECT_FALSE(settings.singleClickView) << "the three modes exclude each other";
    EXPECT_TRUE(settings.tempFolder.isEmpty())
        << "the working folder is stored only after its check";

    shown.selection = SelectionMode::None;
    StoreOtherOptions(settings, shown);
    EXPECT_FALSE(settings.multiSelect);
    EXPECT_FALSE(settings.singleClickView);
    EXPECT_EQ(OtherOptionsOf(settings).selection, SelectionMode::None);
}

TEST(TempFolderCheck, ShortOrRelativeNamesAreRefusedBeforeAnythingIsMade)
{
    int made = 0;
    const FolderMaker counting = [&made](const QString&) { return ++made > 0; };
    for (const char* text : {"", "/tm", "  /a  ", "abcd", "temp/dir"}) {
        const TempFolderCheck check = CheckTempFolder(QLatin1String(text), counting);
        EXPECT_FALSE(check.ok()) << text;
        EXPECT_EQ(check.message, QStringLiteral("incorrect directory name")) << text;
    }
    EXPECT_EQ(made, 0);
}

TEST(TempFolderCheck, FolderThatCannotBeMadeIsReportedWithItsName)
{
    const TempFolderCheck refused =
        CheckTempFolder(QStringLiteral("/srv/work"), [](const QString&) { return false; });
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.message,
              QStringLiteral("could not create temporary directory:\r\n/srv/work/"));

    // A real attempt below a plain file fails the same way.
    TempTree tree;
    tree.file(QStringLiteral("plain"), 3);
    const QString below = tree.path(QStringLiteral("plain/work"));
    const TempFolderCheck real =
        CheckTempFolder(below, [](const QString& folder) { return QDir().mkpath(folder); });
    EXPECT_TRUE(real.message.startsWith(QStringLiteral("could not create temporary directory:")));
}

TEST(TempFolderCheck, GoodFolderIsMadeAndEndsInSlash)
{
    TempTree tree;
    QString asked;
    const FolderMaker make = [&asked](const QString& folder) {
        asked = folder;
        return QDir().mkpath(folder);
    };
    const TempFolderCheck check =
        CheckTempFolder(QStringLiteral("  ") + tree.path("a/./b") + "  ", make);
    ASSERT_TRUE(check.ok()) << check.message.toStdString();
    EXPECT_EQ(check.folder, tree.path(QStringLiteral("a/b/")));
    EXPECT_EQ(asked, check.folder);
    EXPECT_TRUE(QFileInfo(check.folder).isDir());
}
