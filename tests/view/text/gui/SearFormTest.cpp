#include "view/text/gui/SearForm.h"

#include "common/TempTree.h"
#include "controls/gui/GridView.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "view/window/gui/ViewWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

/// A view window on the screen, its prompts scripted.
struct SearFormTest : ::testing::Test {
    Settings settings;
    ScriptedPrompts prompts;
    ViewWindow window{settings, prompts};

    SearFormTest() { window.show(); }
};

} // namespace

TEST_F(SearFormTest, FindsForwardInTheTextThenSaysNotFound)
{
    TempTree tree;
    const QString path = tree.file("notes.txt", QByteArray("alpha beta\nBeta gamma beta\n"));
    window.ViewText(path);

    window.FindText();
    SearForm* form = window.searForm();
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Find");
    form->findWhat()->setText("beta");
    form->matchCase()->setChecked(true);
    form->FindNext();
    EXPECT_EQ(window.textBox().textCursor().selectedText(), "beta");
    EXPECT_EQ(window.textBox().textCursor().selectionStart(), 6);
    form->FindNext();
    EXPECT_EQ(window.textBox().textCursor().selectionStart(), 22);
    form->FindNext();
    form->FindNext();
    EXPECT_EQ(prompts.shownTexts(), (QStringList{"text not found", "text not found"}));
}

TEST_F(SearFormTest, SearchesTheGridWhenItIsShownEvenWithNoFileShown)
{
    // A size table leaves the view mode empty; a table view sets it.
    for (const ViewMode mode : {ViewMode::None, ViewMode::Workbook}) {
        SCOPED_TRACE(int(mode));
        window.CloseView(); // as a table view starts
        Grid& grid = window.grid().grid();
        grid.reset(3);
        grid.setRows(3);
        grid.setTextMatrix(2, 1, "Needle");
        window.ShowGrid();
        if (mode != ViewMode::None)
            window.setViewMode(mode);

        window.FindText();
        SearForm* form = window.searForm();
        ASSERT_TRUE(form->isVisible());
        EXPECT_TRUE(form->searchesGrid);
        form->findWhat()->setText("needle");
        form->FindNext();
        EXPECT_EQ(grid.row(), 2);
        EXPECT_EQ(grid.col(), 1);
        EXPECT_TRUE(prompts.shown.isEmpty());
    }
}

TEST_F(SearFormTest, AnotherFileIsSearchedFromItsBeginning)
{
    TempTree tree;
    tree.file("first.txt", QByteArray("one needle\n"));
    tree.file("second.txt", QByteArray("needle at the start, needle\n"));
    ViewRequest request;
    request.folder = tree.root() + "/";
    request.extension = ".TXT";
    request.kind = FileKind::Text;
    request.name = "first.txt";
    window.TriggerView(request);
    window.FindText();
    SearForm* form = window.searForm();
    form->findWhat()->setText("needle");
    form->FindNext();
    form->FindNext();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"text not found"});

    request.name = "second.txt";
    window.TriggerView(request);
    window.FindText();
    form->FindNext();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"text not found"}) << "found in the new file";
    EXPECT_EQ(window.textBox().textCursor().selectionStart(), 0);
}
