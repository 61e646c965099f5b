#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "common/TempTree.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeView.h"
#include "options/gui/OptionsForm.h"
#include "platform/Prompts.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

template <typename T> T* child(const QWidget& form, const char* name)
{
    T* found = form.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void applySwatch(OptionsForm& form, int target, int swatch)
{
    child<QRadioButton>(form, QStringLiteral("colourTarget%1").arg(target).toLatin1().data())
        ->click();
    child<QToolButton>(form, QStringLiteral("swatch%1").arg(swatch).toLatin1().data())->click();
    child<QPushButton>(form, "applyColourButton")->click();
}

} // namespace

TEST(OptionsWiring, OptionsReachBothWindowsAtOnceAndAreSavedAtExit)
{
    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    prompts.shown.clear();
    ViewWindow* view = window.viewWindow();

    window.menus().file.options->trigger();
    OptionsForm* form = window.optionsForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(window.settings().settingsChanged, SettingsChange::AskAtExit)
        << "opening the dialog counts as a change";

    applySwatch(*form, 5, 0);  // Directory Tree BG: black
    applySwatch(*form, 2, 12); // Files List FG: bright red
    applySwatch(*form, 1, 1);  // View Window BG: blue
    EXPECT_EQ(window.folderTreeView()->palette().color(QPalette::Base), QColor(1, 1, 1));
    QWidget* fileList = window.fileListPanel()->fileList();
    ASSERT_NE(fileList, nullptr);
    EXPECT_EQ(fileList->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(view->textBox().palette().color(QPalette::Base), QColor(0, 0, 128));

    child<QRadioButton>(*form, "fontTarget0")->click(); // Directory
    form->clickSize(Qt::LeftButton);                    // 9.75
    child<QPushButton>(*form, "applyFontButton")->click();
    EXPECT_DOUBLE_EQ(window.folderTreeView()->font().pointSizeF(), 9.75);
    child<QRadioButton>(*form, "fontTarget2")->click(); // Views
    form->clickSize(Qt::RightButton);                   // 6.75
    child<QPushButton>(*form, "applyFontButton")->click();
    EXPECT_DOUBLE_EQ(view->textBox().font().pointSizeF(), 6.75);
    EXPECT_DOUBLE_EQ(fileList->font().pointSizeF(), 8.25) << "the list keeps its font";
    form->close();

    prompts.answers << Prompts::Answer::Yes;
    window.close();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"save options ?"});

    // The next start shows what was applied.
    ScriptedPrompts again;
    MainWindow reopened(nullptr, &again);
    reopened.start(tree.root());
    EXPECT_EQ(reopened.settings().colours[0], 0x010101u);
    EXPECT_EQ(reopened.settings().colours[3], 0xFF0000u);
    EXPECT_DOUBLE_EQ(reopened.settings().treeFont.size, 9.75);
    EXPECT_DOUBLE_EQ(reopened.settings().viewFont.size, 6.75);
    EXPECT_EQ(reopened.folderTreeView()->palette().color(QPalette::Base), QColor(1, 1, 1));
}

TEST(OptionsWiring, ViewWindowOpensTheSameDialogAndClearingEmptiesBothHistories)
{
    TempTree tree;
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    ViewWindow* view = window.viewWindow();
    view->RecordFile(tree.file("a.txt", 3));
    window.RecordFolder(tree.root());
    ASSERT_GT(window.folderHistoryBox()->model().ListCount(), 0);
    ASSERT_EQ(view->fileHistoryList()->model().ListCount(), 1);

    QAction* options = view->menuItem(ViewMenuItem::Options);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->isEnabled());
    options->trigger();
    OptionsForm* form = window.optionsForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    window.menus().file.options->trigger();
    EXPECT_EQ(window.optionsForm(), form) << "one dialog for both windows";

    prompts.answers << Prompts::Answer::Yes;
    child<QPushButton>(*form, "clearHistoryButton")->click();
    EXPECT_EQ(window.folderHistoryBox()->model().ListCount(), 0);
    EXPECT_EQ(view->fileHistoryList()->model().ListCount(), 0);
    EXPECT_TRUE(window.settings().fileHistory.isEmpty());
    window.menus().file.exit->trigger();
    EXPECT_TRUE(window.settings().folderHistory.isEmpty()) << "nothing left to save";
    form->close();
}
