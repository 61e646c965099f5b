#include "tools/gui/FindForm.h"

#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
class NoEscape : public CancelKey {
public:
    bool pressed() override { return false; }
    void clear() override {}
};
} // namespace

TEST(FindForm, ControlsCarryTheirCaptionsAndConnectorsCycle)
{
    FileList state;
    Settings settings;
    ScriptedPrompts prompts;
    NoEscape escape;
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

    form.Apply();
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
    NoEscape escape;
    OpenFolder(state, settings, tree.root(), "*.*", GroupedTrees());
    FindForm form(state, settings, prompts, escape);
    QStringList changed;
    QObject::connect(&form, &FindForm::listChanged,
                     [&changed](const QString& content) { changed << content; });
    form.contentBox(0)->setText("alpha");
    form.contentBox(1)->setText("<>beta");
    form.ToggleConnector(1);
    EXPECT_EQ(form.Apply().kept, 1);
    EXPECT_EQ(changed, QStringList({" =*ALPHA* AND =#*BETA*"}));
    EXPECT_EQ(form.progressBar()->value(), 0);
    EXPECT_EQ(prompts.shownTexts(), QStringList({" 1 matching files found"}));
}
