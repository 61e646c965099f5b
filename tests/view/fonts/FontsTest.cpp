#include "common/FontFixtures.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "controls/Grid.h"
#include "formats/FontNames.h"
#include "view/fonts/ApplicationFonts.h"
#include "view/fonts/FontViews.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFontDatabase>
#include <gtest/gtest.h>

using namespace fontfixtures;

namespace {

TEST(FontNames, WindowsEnglishNamesComeFirst)
{
    const QByteArray names = nameTable({{1, 0, 0, 4, "Mac Full"},
                                        {3, 1, 0x407, 4, "German Full"},
                                        {3, 1, 0x409, 4, "Probe Sans Bold"},
                                        {0, 3, 0, 1, "Unicode Family"},
                                        {3, 1, 0x409, 2, "Bold"},
                                        {1, 0, 0, 1, "Mac Family"}});
    const QByteArray font = sfnt({{"head", QByteArray(54, '\0')}, {"name", names}});
    SaveFuzzSeed("font_names", "preferences", font);
    const auto read = ReadFontNames(font);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->fullName, "Probe Sans Bold");
    EXPECT_EQ(read->family, "Unicode Family") << "Unicode before Macintosh";
    EXPECT_EQ(read->subfamily, "Bold");

    // Only Macintosh names: Latin-1 text.
    const auto mac =
        ReadFontNames(sfnt({{"name", nameTable({{1, 0, 0, 1, QString::fromUtf8("Caf\u00e9")}})}}));
    ASSERT_TRUE(mac.has_value());
    EXPECT_EQ(mac->family, QString::fromUtf8("Caf\u00e9"));
    EXPECT_EQ(FaceName(*mac), QString::fromUtf8("Caf\u00e9"));
}

TEST(FontNames, FaceNameFallsBackToFamilyAndStyle)
{
    EXPECT_EQ(FaceName({"Probe", "Bold Italic", ""}), "Probe Bold Italic");
    EXPECT_EQ(FaceName({"Probe", "Regular", ""}), "Probe");
    EXPECT_EQ(FaceName({"Probe", "Bold", "Probe Heavy"}), "Probe Heavy");
}

TEST(FontNames, CollectionsAndOpenTypeFontsAreRead)
{
    const QByteArray single = sfnt({{"name", windowsNames("Probe", "Italic", "Probe Italic")}},
                                   0x4F54544Fu); // OTTO
    EXPECT_EQ(ReadFontNames(single).value_or(FontNames{}).fullName, "Probe Italic");
    QByteArray collection(16, '\0');
    collection.replace(0, 4, "ttcf");
    put32(collection, 4, 0x00010000u);
    put32(collection, 8, 1);
    put32(collection, 12, 16);
    // The table offsets of a collection's font count from the start of the file.
    QByteArray member = sfnt({{"name", windowsNames("Coll", "Regular", "Coll Regular")}});
    put32(member, 12 + 8, quint32(16 + 28));
    collection += member;
    SaveFuzzSeed("font_names", "collection", collection);
    EXPECT_EQ(ReadFontNames(collection).value_or(FontNames{}).fullName, "Coll Regular");
}

TEST(FontNames, DamagedFontsGiveNothingAndNeverReadPastTheEnd)
{
    const QByteArray font = sfnt({{"name", windowsNames("Probe", "Bold", "Probe Bold")}});
    for (qsizetype cut = 0; cut < font.size(); ++cut) {
        const auto read = ReadFontNames(font.left(cut));
        if (read) {
            EXPECT_LE(read->fullName.size(), 10);
        }
    }
    EXPECT_FALSE(ReadFontNames("not a font, just some words").has_value());
    EXPECT_FALSE(ReadFontNames(sfnt({{"head", QByteArray(54, '\0')}})).has_value());
    EXPECT_EQ(GetFontFaceName("/no/such/font.ttf"), "");
}

TEST(FontNames, AnInstalledFontNamesItself)
{
    const QByteArray bold = installedFont("DejaVuSans-Bold.ttf");
    if (bold.isEmpty())
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    TempTree tree;
    EXPECT_EQ(GetFontFaceName(tree.file("DejaVuSans-Bold.ttf", bold)), "DejaVu Sans Bold");
}

TEST(FontInstalled, FaceAndInstalledNameContainOneAnother)
{
    const QStringList installed{"Arial", "DejaVu Sans", "DejaVu Sans Mono", "Noto"};
    EXPECT_TRUE(FontFaceInstalled("Arial Bold", installed));
    EXPECT_TRUE(FontFaceInstalled("DejaVu", installed)) << "the face inside a name";
    EXPECT_TRUE(FontFaceInstalled("", installed)) << "an empty face counts as installed";
    EXPECT_FALSE(FontFaceInstalled("arial", installed)) << "case counts";
    EXPECT_FALSE(FontFaceInstalled("Lumara Probe", installed));
    EXPECT_FALSE(FontFaceInstalled("Arial", {}));

    EXPECT_EQ(InstalledFontForFace("DejaVu Sans Mono Bold", installed), "DejaVu Sans Mono");
    EXPECT_EQ(InstalledFontForFace("DejaVu", installed), "DejaVu Sans");
    EXPECT_EQ(InstalledFontForFace("Lumara Probe", installed), "");
}

TEST(FontSample, FacePaddedTo36ThenTheFourLines)
{
    const QString text = FontSampleText("Probe Sans");
    EXPECT_EQ(text, "Probe Sans" + QString(26, ' ') +
                        "ABCSDEFGHIJKLMNOPQRSTUVWXYZ\r\nabcdefghijklmnopqrstuvwxyz\r\n"
                        "!@#$%^&*()_+{}:?><~/.,-=][';\r\n1234567890");
    EXPECT_EQ(text.indexOf("ABCS"), FontSampleStart);
    const QString longFace(40, 'F');
    EXPECT_TRUE(FontSampleText(longFace).startsWith(longFace + "ABCS")) << "never cut";
    EXPECT_EQ(FontSampleText("").indexOf("ABCS"), 36);
}

/// Records what ViewFont asks of the system.
class RecordingFonts : public FontRegistry {
public:
    QStringList installed;
    QStringList calls;
    QStringList installedFonts() override { return installed; }
    bool AddFont(const QString& path) override
    {
        calls << "add " + path;
        return true;
    }
    void RemoveFont(const QString& path) override { calls << "remove " + path; }
    QString registeredFamily(const QString&) const override { return "Registered"; }
};

TEST(ViewFont, AnInstalledFontIsNeitherRegisteredNorRemoved)
{
    TempTree tree;
    const QString installedFace =
        tree.file("bold.ttf", sfnt({{"name", windowsNames("Arial", "Bold", "Arial Bold")}}));
    const QString otherFace =
        tree.file("probe.ttf", sfnt({{"name", windowsNames("Probe", "Bold", "Probe Bold")}}));
    RecordingFonts fonts;
    fonts.installed = {"Courier", "Arial"};

    const FontSample shown = ViewFontSteps(
        installedFace, fonts, [&fonts](const FontSample& s) { fonts.calls << "show " + s.face; });
    EXPECT_EQ(fonts.calls, QStringList{"show Arial Bold"});
    EXPECT_FALSE(shown.registered);
    EXPECT_EQ(shown.family, "Arial");
    EXPECT_EQ(shown.style, "Bold");

    fonts.calls.clear();
    const FontSample probe = ViewFontSteps(
        otherFace, fonts, [&fonts](const FontSample& s) { fonts.calls << "show " + s.family; });
    EXPECT_EQ(fonts.calls,
              (QStringList{"add " + otherFace, "show Registered", "remove " + otherFace}));
    EXPECT_EQ(probe.text, FontSampleText("Probe Bold"));
}

TEST(ApplicationFonts, ARegisteredFontComesAndGoes)
{
    const QByteArray dejavu = installedFont("DejaVuSans.ttf");
    if (dejavu.isEmpty())
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    TempTree tree;
    const QString path = tree.file(
        "probe.ttf", withNameTable(dejavu, windowsNames("Lumara Probe", "Book", "Lumara Probe")));
    ApplicationFonts fonts;
    EXPECT_FALSE(fonts.installedFonts().contains("Lumara Probe"));
    ASSERT_TRUE(fonts.AddFont(path));
    EXPECT_EQ(fonts.registeredFamily(path), "Lumara Probe");
    EXPECT_TRUE(QFontDatabase::families().contains("Lumara Probe"));
    fonts.RemoveFont(path);
    EXPECT_EQ(fonts.registeredFamily(path), "");
    EXPECT_FALSE(QFontDatabase::families().contains("Lumara Probe"));
    EXPECT_FALSE(fonts.AddFont(tree.file("broken.ttf", "not a font")));
}

TEST(ApplicationFonts, EveryInstalledFontFileCountsAsInstalled)
{
    QStringList files;
    QDirIterator it(QStringLiteral("/usr/share/fonts"),
                    {QStringLiteral("*.ttf"), QStringLiteral("*.otf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    if (files.isEmpty())
        GTEST_SKIP() << "no fonts under /usr/share/fonts";
    ApplicationFonts fonts;
    const QStringList installed = fonts.installedFonts();
    QStringList reported;
    for (const QString& file : std::as_const(files)) {
        const QString face = GetFontFaceName(file);
        if (!FontFaceInstalled(face, installed))
            reported << file + " (" + face + ")";
    }
    EXPECT_TRUE(reported.isEmpty()) << reported.join(", ").toStdString();
}

TEST(ApplicationFonts, AFaceNamedByItsPostScriptNameDrawsInItsFamily)
{
    // fonts-dejavu-extra: the face is "DejaVuMathTeXGyre-Regular", no family's name.
    const QString math = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf");
    if (!QFileInfo::exists(math))
        GTEST_SKIP() << "fonts-dejavu-extra is not installed";
    ApplicationFonts fonts;
    const FontSample sample = ViewFontSteps(math, fonts, {});
    EXPECT_EQ(sample.face, "DejaVuMathTeXGyre-Regular");
    EXPECT_FALSE(sample.registered) << "an installed font is not registered again";
    EXPECT_TRUE(QFontDatabase::families().contains(sample.family)) << sample.family.toStdString();

    Grid grid;
    FillFontTable(grid, {math}, fonts.installedFonts(), {},
                  [&fonts](const QString& name) { return fonts.familyOf(name); });
    EXPECT_EQ(grid.textMatrix(1, 3), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    ASSERT_TRUE(grid.cellFont);
    EXPECT_EQ(grid.cellFont(grid, 1, 3)->name, sample.family);
}

TEST(FontTable, RowsShowNumberFileFaceAndSamplesInTheFace)
{
    TempTree tree;
    const QStringList paths{
        tree.file("a.ttf",
                  sfnt({{"name", windowsNames("Arial", "Bold Italic", "Arial Bold Italic")}})),
        tree.file("b.ttf", sfnt({{"name", windowsNames("Probe", "Regular", "Probe")}})),
        tree.file("c.ttf", "unreadable")};
    Grid grid;
    QStringList progress;
    FillFontTable(grid, paths, {"Arial", "Courier"},
                  [&progress](int i, int n) { progress << QString("%1/%2").arg(i).arg(n); });
    EXPECT_EQ(progress, (QStringList{"1/3", "2/3", "3/3"}));
    ASSERT_EQ(grid.rows(), 4);
    ASSERT_EQ(grid.cols(), 5);
    EXPECT_EQ(grid.textMatrix(0, 0), "#");
    EXPECT_EQ(grid.textMatrix(0, 2), "Font");
    EXPECT_EQ(grid.colAlignment(0), Grid::Alignment::Right);
    EXPECT_EQ(grid.colAlignment(4), Grid::Alignment::Left);
    EXPECT_EQ(grid.colWidth(0), 400);
    EXPECT_EQ(grid.colWidth(3), 1600);

    const auto row = [&grid](int r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.textMatrix(r, c);
        return cells;
    };
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(row(1), (QStringList{"1", "a.ttf", "Arial Bold Italic", alphabet, "0123456789"}));
    EXPECT_EQ(row(2).mid(3), (QStringList{" ***font not installed***", "0123456789"}));
    // An unreadable font has no face, and an empty face counts as installed.
    EXPECT_EQ(row(3).mid(2, 2), (QStringList{"", alphabet}));

    ASSERT_TRUE(grid.cellFont);
    const auto sample = grid.cellFont(grid, 1, 3);
    ASSERT_TRUE(sample.has_value());
    EXPECT_EQ(sample->name, "Arial");
    EXPECT_EQ(sample->pointSize, 8);
    EXPECT_TRUE(sample->bold);
    EXPECT_TRUE(sample->italic);
    EXPECT_EQ(grid.cellFont(grid, 1, 1)->name, "ariel");
    EXPECT_FALSE(grid.cellFont(grid, 0, 3).has_value()) << "the header keeps the grid's font";
    EXPECT_FALSE(grid.cellFont(grid, 2, 4)->bold);

    // Sorting by face keeps each sample's font with its row.
    grid.sort(2, Grid::SortMode::TextDescending);
    EXPECT_EQ(grid.textMatrix(1, 2), "Probe");
    EXPECT_FALSE(grid.cellFont(grid, 1, 3)->bold);
    EXPECT_TRUE(grid.cellFont(grid, 2, 3)->bold);
    grid.reset(2);
    EXPECT_FALSE(grid.cellFont);
}

} // namespace
