#include "app/gui/FrameMenus.h"
#include "app/gui/MainWindow.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "common/FontFixtures.h"
#include "common/IconFixtures.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "controls/gui/GridView.h"
#include "platform/Prompts.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

TEST(IconFontCommands, ViewTTFontsListsTheFontsOfTheListAndViewIconsShowsIcons)
{
    const QByteArray dejavu = fontfixtures::installedFont("DejaVuSans.ttf");
    if (dejavu.isEmpty())
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    TempTree tree;
    tree.file("fonts/a.ttf", dejavu);
    tree.file("fonts/B.TTF", dejavu);
    tree.file("fonts/readme.txt", "not a font");
    tree.folder("empty");
    tree.file("prog/tool.exe", iconfixtures::peWithIcons({{iconfixtures::dibImage(32, 8)}}));
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    prompts.shown.clear();

    FileListPanel* list = window.fileListPanel();
    QAction* listFonts = list->menus().files.viewFonts;
    ASSERT_TRUE(listFonts->isEnabled());
    EXPECT_TRUE(window.menus().folderTree.viewFonts->isEnabled());
    EXPECT_TRUE(list->menus().fileNode.viewIcons->isEnabled());

    OpenAndWait(*list, tree.path("empty") + "/");
    listFonts->trigger();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"There are no TTF files"});

    OpenAndWait(*list, tree.path("fonts") + "/");
    listFonts->trigger();
    const Grid& grid = window.viewWindow()->grid().grid();
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.textMatrix(1, 1), "B.TTF");
    EXPECT_EQ(grid.textMatrix(2, 1), "a.ttf");
    EXPECT_EQ(grid.textMatrix(2, 2), "DejaVu Sans");

    const QString folder = tree.path("prog") + "/";
    Q_EMIT list->command(NodeActionKind::ViewIcons, folder, "tool.exe");
    EXPECT_EQ(window.viewWindow()->viewMode(), ViewMode::Icons);
    EXPECT_EQ(window.viewWindow()->statusMessage(), " 1 icons");
    window.close();
}

} // namespace
