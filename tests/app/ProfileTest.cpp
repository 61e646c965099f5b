#include "app/Profile.h"

#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "common/Unprivileged.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

Settings sampleSettings()
{
    Settings s;
    s.viewFont = {QStringLiteral("DejaVu Sans"), 10.5};
    s.colours = {0x102030, 0, 0xFFFFFF, 0x00FF00, 0xABCDEF, 1};
    s.nextVersionOnOverwrite = 0;
    s.historySize = 3;
    s.unknownAsText = 0;
    s.singleClickView = 1;
    s.tabColorSwap = 1;
    s.tileHorizontal = 1;
    s.showSystemHidden = 1;
    s.multiSelect = 1;
    s.mouseOverFilter = 1;
    s.categoryLast = 8;
    s.categories[8] = {QStringLiteral("Code"), QStringLiteral("cpp;h")};
    s.tempFolder = QStringLiteral("/tmp/Dorared-x/");
    s.fileHistory = {QStringLiteral("/a/one.txt"), QString(), QStringLiteral("/a/two.txt"),
                     QStringLiteral("/a/three.txt"), QStringLiteral("/a/four.txt")};
    // "/f\xe9 2" is Latin-1: a folder whose name is not UTF-8 keeps its bytes.
    s.folderHistory = {QStringLiteral("/f1"), platform::decodeFileName("/f\xe9 2"),
                       QStringLiteral("/f3"), QStringLiteral("/f4"), QStringLiteral("/f5")};
    return s;
}

WindowState sampleWindow()
{
    WindowState w;
    w.treeFont = {QStringLiteral("Noto Sans"), 9.75};
    w.listFont = {QStringLiteral("Mono"), 11};
    w.mainWindow = {1024, 700, -4, 20};
    w.viewWindow = {800, 600, 30, 40};
    w.treeWidth = 300;
    w.treeHeight = 512.5;
    w.listWidth = 700;
    w.listHeight = 480;
    return w;
}

// Profile lines as the reader expects them, for damaged-profile cases.
QStringList goodLines()
{
    return {"MS Sans Serif",
            " 8.25 ",
            "MS Sans Serif",
            " 8.25 ",
            "MS Sans Serif",
            " 16777215  0  16777215  0  16777215  0  1  1 ",
            " 8.25  5  1  0  0  0 ",
            " 800  600  10  10 ",
            " 0  0 ",
            " 200  400  500  400 ",
            " 640  480  0  0 ",
            " 0  0 ",
            " 1 ",
            "Text",
            "txt",
            "Zip",
            "zip",
            "/tmp/t/",
            "FILEHISTORY",
            "\"/x/a.txt\"",
            "ENDOFFILEHISTORY",
            "FOLDERHISTORY",
            "\"/x\"",
            "ENDOFFOLDERHISTORY"};
}

class ProfileFile : public ::testing::Test {
protected:
    QString write(const QStringList& lines)
    {
        const QByteArray text = (lines.join("\r\n") + "\r\n").toUtf8();
        SaveFuzzSeed(QStringLiteral("profile"), QString::number(qHash(text), 16), text);
        return tree.file(QStringLiteral("Lumara.pro"), text);
    }
    TempTree tree;
    ScriptedPrompts prompts;
};

} // namespace

TEST_F(ProfileFile, RoundTripKeepsEverySettingAndCutsHistories)
{
    Settings written = sampleSettings();
    const QString path = tree.path(QStringLiteral("Lumara.pro"));
    ASSERT_TRUE(WriteProfile(path, written, sampleWindow()));

    Settings read;
    EXPECT_FALSE(ReadProfile(path, read, prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    // At most HistorySize entries are written; empty file entries are skipped.
    EXPECT_EQ(read.fileHistory, (QStringList{"/a/one.txt", "/a/two.txt", "/a/three.txt"}));
    EXPECT_EQ(read.folderHistory,
              (QStringList{"/f1", platform::decodeFileName("/f\xe9 2"), "/f3"}));
    // Every other setting comes back: written again, the profile is the same bytes.
    EXPECT_EQ(ProfileText(read, WindowState::from(read)).toStdString(),
              ProfileText(written, sampleWindow()).toStdString());
}

TEST_F(ProfileFile, HistoryNamesWithLineBreaksTabsAndQuotesComeBackWhole)
{
    Settings written = sampleSettings();
    written.historySize = 10;
    written.fileHistory = {"/d/two\nhalves.txt",    "/d/tab\there.txt",  "/d/say \"hi\".txt",
                           "/d/back\\slash\\n.txt", "/d/cr\rbell\a.txt", " /d/spaced .txt "};
    written.folderHistory = {"/f/new\nline", "/f/plain\\"};
    const QString path = tree.path(QStringLiteral("Lumara.pro"));
    ASSERT_TRUE(WriteProfile(path, written, sampleWindow()));

    Settings read;
    EXPECT_FALSE(ReadProfile(path, read, prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(read.fileHistory, written.fileHistory);
    EXPECT_EQ(read.folderHistory, written.folderHistory);
    // Names without such characters are written as they always were.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\r\n\"/f/plain\\\"\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\n\\\"/d/two\\nhalves.txt\"\r\n")) << text.toStdString();
}

TEST_F(ProfileFile, OlderHistoryLinesReadAsBefore)
{
    QStringList lines = goodLines();
    const qsizetype at = lines.indexOf("FILEHISTORY") + 1;
    lines[at] = R"("/x/a\nb.txt")";
    lines.insert(at + 1, R"("/x/say "hi".txt")");
    lines.insert(at + 2, "/x/bare.txt");
    Settings s;
    EXPECT_FALSE(ReadProfile(write(lines), s, prompts));
    EXPECT_EQ(s.fileHistory, (QStringList{R"(/x/a\nb.txt)", R"(/x/say "hi".txt)", "/x/bare.txt"}));
    EXPECT_EQ(s.folderHistory, QStringList{"/x"});
}

TEST_F(ProfileFile, WritesPrintStyleNumbersWithCrLf)
{
    Settings s = sampleSettings();
    const QByteArray text = ProfileText(s, sampleWindow());
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_GT(lines.size(), 13);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    EXPECT_EQ(lines[1], " 9.75 \r");
    EXPECT_EQ(lines[3], " 11 \r");
    EXPECT_EQ(lines[5], " 1056816  0  16777215  65280  11259375  1  0  1 \r");
    EXPECT_EQ(lines[6], " 10.5  3  0  1  1  0 \r");
    EXPECT_EQ(lines[7], " 1024  700 -4  20 \r");
    EXPECT_EQ(lines[9], " 300  512.5  700  480 \r");
    EXPECT_TRUE(text.endsWith("\"/f3\"\r\nENDOFFOLDERHISTORY\r\n"));
    EXPECT_TRUE(text.contains("/tmp/Dorared-x/\r\nFILEHISTORY\r\n\"/a/one.txt\"\r\n"));
}

TEST_F(ProfileFile, ReadChecksCorrectOutOfRangeValues)
{
    QStringList lines = goodLines();
    lines[5] = " 1  2  3  4  5  6 -1  2 ";
    lines[6] = " 9  0  2 -1  1  7 ";
    lines[8] = " 1  5 ";
    lines[11] = " 3  1 ";
    Settings s;
    EXPECT_FALSE(ReadProfile(write(lines), s, prompts));
    EXPECT_FALSE(s.nextVersionOnOverwrite);
    EXPECT_FALSE(s.extensionNames);
    EXPECT_EQ(s.historySize, 10);
    EXPECT_FALSE(s.unknownAsText);
    EXPECT_FALSE(s.singleClickView);
    EXPECT_TRUE(s.tabColorSwap);
    EXPECT_FALSE(s.tabOrientation);
    EXPECT_FALSE(s.showSystemHidden);
    EXPECT_FALSE(s.multiSelect);
    EXPECT_TRUE(s.mouseOverFilter);
}

TEST_F(ProfileFile, SizesBeyondReasonAreHeldToSaneRanges)
{
    QStringList lines = goodLines();
    lines[1] = " 1E+30 ";                    // tree font size
    lines[3] = "-4";                         // list font size
    lines[6] = " 99999  30000  1  0  0  0 "; // view font size, history size
    lines[9] = " 200 -7  500  1E+12 ";       // pane heights
    Settings s;
    EXPECT_FALSE(ReadProfile(write(lines), s, prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(s.treeFont.size, 400);
    EXPECT_EQ(s.listFont.size, 1);
    EXPECT_EQ(s.viewFont.size, 400);
    EXPECT_EQ(s.historySize, 999);
    EXPECT_EQ(s.treeHeight, 0);
    EXPECT_EQ(s.listHeight, 100000);
}

TEST_F(ProfileFile, CategorySixIsAlwaysEverything)
{
    Settings s = sampleSettings();
    s.categories[6].extensions = QStringLiteral("txt");
    ASSERT_TRUE(WriteProfile(tree.path(QStringLiteral("Lumara.pro")), s, sampleWindow()));
    Settings loaded;
    EXPECT_TRUE(LoadSettings(loaded, tree.root(), sampleWindow(), prompts));
    EXPECT_EQ(loaded.categories[6].extensions, QStringLiteral("*"));
    EXPECT_EQ(loaded.categories[8].name, QStringLiteral("Code"));
    EXPECT_EQ(loaded.currentPattern, QStringLiteral("*.*"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ProfileFile, DamagedProfilesShowOneMessageAndKeepWhatWasRead)
{
    struct Case {
        const char* name;
        std::function<void(QStringList&)> damage;
        int historySize; // expected afterwards
    };
    const Case cases[] = {
        {"truncated in the numbers", [](QStringList& l) { l = l.mid(0, 9); }, 5},
        {"bad number", [](QStringList& l) { l[10] = " 640  abc  0  0 "; }, 5},
        {"short numbers line", [](QStringList& l) { l[7] = " 800  600 "; }, 5},
        {"missing final marker", [](QStringList& l) { l.removeLast(); }, 5},
        {"truncated before any number", [](QStringList& l) { l = l.mid(0, 1); }, 10},
    };
    for (const Case& c : cases) {
        QStringList lines = goodLines();
        c.damage(lines);
        write(lines);
        ScriptedPrompts shown;
        Settings s;
        WindowState now;
        now.mainWindow = {900, 650, 0, 0};
        EXPECT_FALSE(LoadSettings(s, tree.root(), now, shown)) << c.name;
        ASSERT_EQ(shown.shown.size(), 1) << c.name;
        EXPECT_EQ(shown.shown[0].text, ProfileErrorMessage);
        EXPECT_EQ(shown.shown[0].title, QStringLiteral("Varnex"));
        EXPECT_EQ(s.historySize, c.historySize) << c.name;
        // The defaults replace fonts, geometry and categories whatever was read.
        EXPECT_EQ(s.mainWindow, now.mainWindow) << c.name;
        EXPECT_EQ(s.categoryLast, 7) << c.name;
        EXPECT_EQ(s.tempFolder, Settings::defaultTempFolder()) << c.name;
    }
}

TEST_F(ProfileFile, DamagedCategoryCountsKeepTheLinesInStep)
{
    // Counts out of range read the two categories there; more than eleven keep eleven.
    const struct {
        const char* count;
        int extraCategories;
        int categoryLast;
    } cases[] = {{" 50 ", 0, 1},
                 {"-1 ", 0, 1},
                 {" 0 ", 0, 1},
                 {" 10 ", 0, 1},
                 {" 12 ", 11, Settings::CategorySlots - 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        QStringList lines = goodLines();
        lines[12] = c.count;
        for (int i = 0; i < c.extraCategories; ++i) {
            lines.insert(17, QStringLiteral("x"));
            lines.insert(17, QStringLiteral("Extra"));
        }
        write(lines);
        ScriptedPrompts shown;
        Settings s;
        EXPECT_TRUE(LoadSettings(s, tree.root(), WindowState{}, shown));
        EXPECT_TRUE(shown.shown.isEmpty());
        EXPECT_EQ(s.categoryLast, c.categoryLast);
        EXPECT_EQ(s.categories[1].name, QStringLiteral("Zip"));
        EXPECT_EQ(s.tempFolder, QStringLiteral("/tmp/t/"));
        EXPECT_EQ(s.fileHistory, QStringList({"/x/a.txt"}));
        EXPECT_EQ(s.folderHistory, QStringList({"/x"}));
    }
}

TEST_F(ProfileFile, AWorkingFolderThatIsNoPathIsNotUsed)
{
    for (const char* temp : {"\"/x/a.txt\"", "relative/folder", ""}) {
        QStringList lines = goodLines();
        lines[17] = temp;
        write(lines);
        Settings s;
        LoadSettings(s, tree.root(), WindowState{}, prompts);
        EXPECT_EQ(s.tempFolder, Settings::defaultTempFolder()) << temp;
    }
}

TEST_F(ProfileFile, MissingProfileFallsBackAndSavingCreatesIt)
{
    Settings s;
    WindowState now;
    now.mainWindow = {800, 600, 5, 5};
    EXPECT_FALSE(LoadSettings(s, tree.root(), now, prompts));
    EXPECT_EQ(prompts.shownTexts(), QStringList{ProfileErrorMessage});
    EXPECT_EQ(s.profilePath, tree.path(QStringLiteral("Lumara.pro")));
    EXPECT_TRUE(SaveSettingsOnExitCommand(s, now));
    EXPECT_EQ(s.settingsChanged, SettingsChange::SavedByExit);

    ScriptedPrompts again;
    Settings next;
    EXPECT_TRUE(LoadSettings(next, tree.root(), now, again));
    EXPECT_TRUE(again.shown.isEmpty());
    EXPECT_EQ(next.mainWindow, now.mainWindow);
}

TEST_F(ProfileFile, HistoryBlocksStopAtMarkerOrAtSizePlusOne)
{
    // HistorySize 2 and no end marker: three entries are read, the fourth line is taken
    // as the folder block's marker.
    QStringList lines = goodLines();
    lines[6] = " 8.25  2  1  0  0  0 ";
    const qsizetype at = lines.indexOf("FILEHISTORY") + 1;
    lines.remove(at, 2);
    const QStringList entries{"\"/h1\"", "\"  \"", "\"/h3\"", "\"/h4\"", "\"/h5\""};
    for (qsizetype i = 0; i < entries.size(); ++i)
        lines.insert(at + i, entries[i]);
    // remaining: FOLDERHISTORY "/x" ENDOFFOLDERHISTORY; "/h5" becomes a folder entry.
    Settings s;
    EXPECT_FALSE(ReadProfile(write(lines), s, prompts));
    EXPECT_EQ(s.fileHistory, (QStringList{"/h1", "/h3"}));
    EXPECT_EQ(s.folderHistory, (QStringList{"/h5", "FOLDERHISTORY", "/x"}));
}

TEST(ProfileExit, AsksOnlyWhenSomethingChanged)
{
    TempTree tree;
    Settings s;
    s.profilePath = tree.path(QStringLiteral("Lumara.pro"));
    WindowState now = WindowState::from(s);

    ScriptedPrompts quiet;
    EXPECT_TRUE(SaveSettingsAtExit(s, now, quiet));
    EXPECT_TRUE(quiet.shown.isEmpty());

    // Widths are not compared; the view window's position is.
    now.treeWidth += 50;
    EXPECT_TRUE(SaveSettingsAtExit(s, now, quiet));
    EXPECT_TRUE(quiet.shown.isEmpty());
    now.viewWindow.left += 10;
    ScriptedPrompts no;
    EXPECT_TRUE(SaveSettingsAtExit(s, now, no));
    EXPECT_EQ(no.shownTexts(), QStringList{"save options ?"});
    EXPECT_FALSE(QFile::exists(s.profilePath));
    EXPECT_EQ(s.settingsChanged, SettingsChange::Unchanged);

    ScriptedPrompts yes;
    yes.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(SaveSettingsAtExit(s, now, yes));
    EXPECT_TRUE(QFile::exists(s.profilePath));
    // Saved geometry is the new baseline.
    ScriptedPrompts after;
    EXPECT_TRUE(SaveSettingsAtExit(s, now, after));
    EXPECT_TRUE(after.shown.isEmpty());

    // An options change asks even with nothing moved; "Exit" never asks.
    s.settingsChanged = SettingsChange::AskAtExit;
    ScriptedPrompts changed;
    EXPECT_TRUE(SaveSettingsAtExit(s, now, changed));
    EXPECT_EQ(changed.shown.size(), 1);
    ASSERT_TRUE(SaveSettingsOnExitCommand(s, now));
    now.mainWindow.width += 1;
    ScriptedPrompts afterExit;
    EXPECT_TRUE(SaveSettingsAtExit(s, now, afterExit));
    EXPECT_TRUE(afterExit.shown.isEmpty());
}

TEST_F(ProfileFile, AFailedSaveSaysSoAndLeavesTheOldProfileWhole)
{
    Settings s = sampleSettings();
    s.profilePath = tree.path(QStringLiteral("Lumara.pro"));
    ASSERT_TRUE(WriteProfile(s.profilePath, s, sampleWindow()));
    const QByteArray before = ProfileText(s, sampleWindow());
    tree.openRootToOthers(); // readable by others, writable by its owner only
    // Run as an ordinary user: root may write anywhere.
    EXPECT_TRUE(RunUnprivileged([&] {
        Settings changed = s;
        changed.historySize = 7;
        return !WriteProfile(changed.profilePath, changed, sampleWindow()) &&
               !SaveSettingsOnExitCommand(changed, sampleWindow());
    }));
    QFile file(s.profilePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_TRUE(QDir(tree.root()).entryList({"Lumara.pro.*"}, QDir::Files).isEmpty());
}

TEST_F(ProfileFile, KillingAWriterMidWayNeverDamagesTheProfile)
{
    Settings a = sampleSettings();
    Settings b = sampleSettings();
    b.historySize = 2;
    b.folderHistory << QString(4000, QLatin1Char('f')); // a longer text to be caught in
    const QString path = tree.path(QStringLiteral("Lumara.pro"));
    ASSERT_TRUE(WriteProfile(path, a, sampleWindow()));
    const QByteArray textA = ProfileText(a, sampleWindow());
    const QByteArray textB = ProfileText(b, sampleWindow());
    std::mt19937 random(15);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (bool flip = false;; flip = !flip)
                (void)WriteProfile(path, flip ? a : b, sampleWindow());
        }
        ::usleep(useconds_t(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "attempt " << attempt;
        const QByteArray now = file.readAll();
        ASSERT_TRUE(now == textA || now == textB) << "attempt " << attempt << ": damaged";
    }
}

TEST_F(ProfileFile, FlagsComeBackAsTheSameBytes)
{
    // Every flag the other way round from its default, then every flag at its default.
    const QStringList flipped = {" 16777215  0  16777215  0  16777215  0  0  0 ",
                                 " 8.25  5  0  1  1  1 ", " 1  1 ", " 1  1 "};
    const QStringList defaults = {" 16777215  0  16777215  0  16777215  0  1  1 ",
                                  " 8.25  5  1  0  0  0 ", " 0  0 ", " 0  0 "};
    for (const QStringList& flags : {flipped, defaults}) {
        QStringList lines = goodLines();
        lines[5] = flags[0];
        lines[6] = flags[1];
        lines[8] = flags[2];
        lines[11] = flags[3];
        Settings s;
        ASSERT_FALSE(ReadProfile(write(lines), s, prompts));
        const QStringList written =
            QString::fromUtf8(ProfileText(s, WindowState::from(s))).split("\r\n");
        ASSERT_GT(written.size(), 11);
        for (const int i : {5, 6, 8, 11})
            EXPECT_EQ(written[i], lines[i]) << "line " << i;
    }
}
