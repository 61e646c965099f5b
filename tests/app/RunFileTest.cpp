#include "app/RunFile.h"

#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <gtest/gtest.h>

namespace {

struct FakeShell {
    QString program;
    bool executable = false;
    bool starts = true; ///< false: the desktop has nothing that opens the file
    QStringList opened;

    RunFileShell shell()
    {
        return {[this](const QString&) { return program; },
                [this](const QString&) { return executable; },
                [this](const QString& path) {
                    opened << path;
                    return starts;
                }};
    }
};

} // namespace

TEST(RunFile, ProgramsAreRunOnlyAfterYes)
{
    struct Case {
        const char* extension;
        bool executeBit;
    };
    const Case cases[] = {{".EXE", false}, {".exe", false}, {".BAT", false},
                          {".SH", false},  {".sh", false},  {" ", true}};
    for (const Case& c : cases) {
        FakeShell fake;
        fake.executable = c.executeBit;
        ScriptedPrompts no;
        EXPECT_FALSE(RunFile("setup", "/x/setup", c.extension, no, fake.shell()));
        ASSERT_EQ(no.shown.size(), 1) << c.extension;
        EXPECT_EQ(no.shown[0].text, QStringLiteral("do you wish to run:\r\nsetup"));
        EXPECT_EQ(no.shown[0].title, QStringLiteral("Run"));
        EXPECT_TRUE(fake.opened.isEmpty());

        ScriptedPrompts yes;
        yes.answers = {Prompts::Answer::Yes};
        EXPECT_TRUE(RunFile("", "/x/setup", c.extension, yes, fake.shell()));
        EXPECT_EQ(yes.shown[0].text, QStringLiteral("do you wish to run:\r\n/x/setup"));
        EXPECT_EQ(fake.opened, QStringList{"/x/setup"});
    }
}

TEST(RunFile, OtherFilesGoThroughTheirAssociatedProgram)
{
    FakeShell none;
    ScriptedPrompts prompts;
    EXPECT_FALSE(RunFile("a.xyz", "/x/a.xyz", ".xyz", prompts, none.shell()));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("there is no associated program to run for extension: .XYZ"));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Run"));

    FakeShell editor;
    editor.program = QStringLiteral("Text Editor (gedit %U)");
    ScriptedPrompts yes;
    yes.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(RunFile("a.txt", "/x/a.txt", ".TXT", yes, editor.shell()));
    EXPECT_EQ(yes.shown[0].text,
              QStringLiteral("file:\r\na.txt\r\n\r\nhas following program associated with "
                             "it\r\nText Editor (gedit %U)\r\n\r\ndo you wish to run this "
                             "prgram?"));
    EXPECT_EQ(editor.opened, QStringList{"/x/a.txt"});
}

TEST(RunFile, AFileNothingCouldStartSaysSo)
{
    for (const bool executeBit : {true, false}) {
        FakeShell broken;
        broken.executable = executeBit;
        broken.program = QStringLiteral("Viewer (view %f)");
        broken.starts = false;
        ScriptedPrompts yes;
        yes.answers = {Prompts::Answer::Yes};
        EXPECT_FALSE(RunFile("a.dat", "/x/a.dat", ".DAT", yes, broken.shell()));
        ASSERT_EQ(yes.shown.size(), 2) << executeBit;
        EXPECT_EQ(yes.shown[1].kind, QStringLiteral("message"));
        EXPECT_EQ(yes.shown[1].text, QStringLiteral("could not run /x/a.dat"));
        EXPECT_EQ(yes.shown[1].title, QStringLiteral("Run"));
    }
}

TEST(RunFile, LookupReportsMissingFilesAndFolders)
{
    TempTree tree;
    ScriptedPrompts prompts;
    EXPECT_EQ(AssociatedProgram(tree.path("nofolder/a.txt"), prompts), QString());
    EXPECT_EQ(AssociatedProgram(tree.path("gone.txt"), prompts), QString());
    EXPECT_EQ(prompts.shownTexts(), (QStringList{"incorrect path", "file missing"}));
}
