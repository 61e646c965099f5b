#include "tools/gui/FindForm.h"

#include "browse/FolderListing.h"
#include "common/FakeEscape.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#include <optional>

namespace {

/// Apply, then the event loop until the search has ended; its outcome.
std::optional<FindOutcome> applyAndWait(FindForm& form)
{
    std::optional<FindOutcome> outcome;
    QObject::connect(&form, &FindForm::applied, &form,
                     [&outcome](const FindOutcome& o) { outcome = o; });
    form.Apply();
    QElapsedTimer clock;
    clock.start();
    while (!outcome && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return outcome;
}
} // namespace

TEST(FindForm, ControlsCarryTheirCaptionsAndConnectorsCycle)
{
    FileList state;
    Settings settings;
    ScriptedPrompts prompts;
    FakeEscape escape;
    FindForm form(state, settings, prompts, escape);
    EXPECT_EQ(form.nameCriteria()->toolTip(), "enter search criteria for file names");
    EXPECT_EQ(form.contentBox(7)->toolTip(), "Enter text to search");
    EXPECT_EQ(form.examineZipped()->text(), "Examine Zipped Files in File Tree");
    EXPECT_EQ(form.applyButton()->text(), "Apply");
    EXPECT_EQ(form.applyButton()->toolTip(), "Apply current search criteria");
    EXPECT_EQ(form.exitButton()->text(), "Exit");
    EXPECT_EQ(form.exitButton()->toolTip(), "Close this window");
    form.setForm(FindForm::Form::ContentFilter);
    EXPECT_EQ(form.windowTitle(), "Filter by File Contents");

    EXPECT_EQ(form.connectorLabel(1)->text(), "");
    form.ToggleConnector(1);
    EXPECT_EQ(form.connectorLabel(1)->text(), "AND");
    form.ToggleConnector(1);
    EXPECT_EQ(form.connectorLabel(1)->text(), "OR");
    form.ToggleConnector(1);
    EXPECT_EQ(form.connectorLabel(1)->text(), "AND");

    ASSERT_TRUE(applyAndWait(form).has_value());
    EXPECT_EQ(prompts.shownTexts(), QStringList({"no criteria specified"}));
}

TEST(FindForm, ApplyNarrowsTheListAndReportsTheContentDescription)
{
    TempTree tree;
    tree.file("a.txt", QByteArray("alpha"));
    tree.file("b.txt", QByteArray("alpha beta"));
    FileList state;
    Settings settings;
    ScriptedPrompts prompts;
    FakeEscape escape;
    OpenFolder(state, settings, tree.root(), "*.*", GroupedTrees());
    FindForm form(state, settings, prompts, escape);
    QStringList changed;
    QObject::connect(&form, &FindForm::listChanged,
                     [&changed](const QString& content) { changed << content; });
    form.contentBox(0)->setText("alpha");
    form.contentBox(1)->setText("<>beta");
    form.ToggleConnector(1);
    const std::optional<FindOutcome> outcome = applyAndWait(form);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->kept, 1);
    EXPECT_EQ(changed, QStringList({" =*ALPHA* AND =#*BETA*"}));
    EXPECT_EQ(form.progressBar()->value(), 0);
    EXPECT_EQ(prompts.shownTexts(), QStringList({" 1 matching files found"}));
}

TEST(FindForm, TheSearchRunsInTurnsOfTheEventLoopAndAYesKeepsTheUntestedFiles)
{
    TempTree tree;
    for (const char* name : {"a", "b", "c", "d", "e"})
        tree.file(QString(name) + ".txt", QByteArray(name == QByteArray("a") ? "alpha" : "x"));
    FileList state;
    Settings settings;
    ScriptedPrompts prompts;
    OpenFolder(state, settings, tree.root(), "*.*", GroupedTrees());
    EscapeAtCheck escape(3); // after two files, answered Yes
    prompts.answers = {Prompts::Answer::Yes};
    FindForm form(state, settings, prompts, escape);
    form.contentBox(0)->setText("alpha");
    int started = 0;
    int ended = 0;
    QObject::connect(&form, &FindForm::searchStarted, [&started] { ++started; });
    QObject::connect(&form, &FindForm::searchEnded, [&] { ended += started; });
    const std::optional<FindOutcome> outcome = applyAndWait(form);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(ended, 1) << "one start, and its end after it";
    EXPECT_FALSE(form.searching());
    EXPECT_TRUE(form.applyButton()->isEnabled());
    EXPECT_EQ(outcome->kept, 1);
    EXPECT_EQ(prompts.shownTexts(), QStringList({"cancel?", " 1 matching files found"}));
    // a.txt matched, b.txt did not; the three untested ones stay.
    QStringList names;
    for (int i = 1; i < state.listedNames().ListCount(); ++i)
        names << state.listedNames().textAt(i);
    names.sort();
    EXPECT_EQ(names, QStringList({"a.txt", "c.txt", "d.txt", "e.txt"}));
    EXPECT_EQ(state.tree().count(), 5);
}
