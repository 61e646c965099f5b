#include "app/gui/FrameMenus.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FilterMenus.h"
#include "trees/gui/TreeMenus.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QStringList captions(const QMenu* menu)
{
    QStringList result;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator())
            result << a->text();
    }
    return result;
}

} // namespace

TEST(Menus, CaptionsAndCodesOfTheFileActions)
{
    QWidget owner;
    FrameMenus frame(&owner);
    FileListMenus list(&owner);
    FilterMenus filter(&owner);
    TreeMenus trees(&owner);

    EXPECT_EQ(captions(list.file1view.menu),
              (QStringList{"View file", "View icons", "Execute",
                           "Copy one file to:", "Zip one file to:", "Properties",
                           "Remove RadeZazeda entry", "Add to RadeZazeda", "Cancel"}));
    EXPECT_EQ(captions(frame.tvwview.menu),
              (QStringList{"Size", "Properties", "Picture thumbnails", "View TTFonts",
                           "Add to RadeZazeda", "Cancel"}));
    EXPECT_EQ(captions(trees.treeformat.dateTree),
              (QStringList{"by Creation Date", "by Lastupdated Date"}));

    const std::tuple<MenuCommand*, QAction*, const char*> coded[] = {
        {&list, list.file1view.viewFile, "V"},         {&list, list.file1view.viewIcons, "VI"},
        {&list, list.file1view.execute, "R"},          {&list, list.file1view.properties, "P"},
        {&list, list.file1view.addToBasket, "AB"},     {&list, list.file1view.copySelected, "C"},
        {&list, list.file1view.zipDefault, "Z"},       {&frame, frame.tvwview.size, "S"},
        {&frame, frame.tvwview.properties, "P"},       {&filter, filter.filterview.modify, "M"},
        {&filter, filter.filterview.setDefaults, "D"}, {&list, list.allview.showZipped, "ZE"},
        {&list, list.allview.collapseZipped, "ZC"}};
    for (const auto& [owner, action, code] : coded) {
        action->setEnabled(true);
        action->trigger();
        EXPECT_EQ(owner->last(), QLatin1String(code)) << action->text().toStdString();
    }
    frame.tvwview.cancel->trigger();
    EXPECT_EQ(frame.last(), QString());
}

TEST(Menus, UnbuiltFeaturesStartDisabledAndShortcutsAreSet)
{
    QWidget owner;
    FrameMenus frame(&owner);
    FileListMenus list(&owner);
    FilterMenus filter(&owner);
    EXPECT_FALSE(filter.filter.byProperties->isEnabled());
    EXPECT_FALSE(list.files.addSelectedToBasket->isEnabled());
    EXPECT_FALSE(frame.tvwview.pictureThumbnails->isEnabled());
    EXPECT_TRUE(frame.tvwview.size->isEnabled());
    EXPECT_EQ(frame.file.exit->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    EXPECT_EQ(frame.file.help->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
}

TEST(Menus, RunReturnsTheCodeOfTheChosenItemOrNothing)
{
    QWidget owner;
    FrameMenus menus(&owner);

    QTimer::singleShot(0, menus.tvwview.menu, [&] {
        menus.tvwview.properties->trigger();
        menus.tvwview.menu->close();
    });
    EXPECT_EQ(menus.run(menus.tvwview.menu, QPoint(10, 10)), QStringLiteral("P"));

    // A dismissed menu leaves nothing, whatever an earlier run left.
    QTimer::singleShot(0, menus.tvwview.menu, [&] { menus.tvwview.menu->close(); });
    EXPECT_EQ(menus.run(menus.tvwview.menu, QPoint(10, 10)), QString());
}
