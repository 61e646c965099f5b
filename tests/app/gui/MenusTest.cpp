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

    EXPECT_EQ(captions(list.fileNode.menu),
              (QStringList{"View file", "View icons", "Execute",
                           "Copy one file to:", "Zip one file to:", "Properties",
                           "Remove RadeZazeda entry", "Add to RadeZazeda", "Cancel"}));
    EXPECT_EQ(captions(frame.folderTree.menu),
              (QStringList{"Size", "Properties", "Picture thumbnails", "View TTFonts",
                           "Add to RadeZazeda", "Cancel"}));
    EXPECT_EQ(captions(trees.treeformat.dateTree),
              (QStringList{"by Creation Date", "by Lastupdated Date"}));

    // Each coded item, triggered, leaves its own code in its menus' owner.
    const std::pair<QAction*, NodeActionKind> fileCodes[] = {
        {list.fileNode.viewFile, NodeActionKind::View},
        {list.fileNode.viewIcons, NodeActionKind::ViewIcons},
        {list.fileNode.execute, NodeActionKind::Run},
        {list.fileNode.properties, NodeActionKind::Properties},
        {list.fileNode.addToBasket, NodeActionKind::AddToBasket},
        {list.fileNode.copyDefault, NodeActionKind::Copy},
        {list.fileNode.copySelected, NodeActionKind::Copy},
        {list.fileNode.zipDefault, NodeActionKind::Zip},
        {list.fileNode.zipSelected, NodeActionKind::Zip},
        {list.expansion.showZipped, NodeActionKind::ExpandArchives},
        {list.expansion.collapseZipped, NodeActionKind::CollapseArchives},
        {list.fileNode.cancel, NodeActionKind::None},
        {list.files.sizeTable, NodeActionKind::None}};
    for (const auto& [action, code] : fileCodes) {
        action->setEnabled(true);
        action->trigger();
        EXPECT_EQ(list.last<NodeActionKind>(), code) << action->text().toStdString();
    }
    const std::pair<QAction*, NodeActionKind> listCodes[] = {
        {frame.list.showZipped, NodeActionKind::ExpandArchives},
        {frame.list.collapseZipped, NodeActionKind::CollapseArchives},
        {frame.list.expandAll, NodeActionKind::None}};
    for (const auto& [action, code] : listCodes) {
        action->trigger();
        EXPECT_EQ(frame.last<NodeActionKind>(), code) << action->text().toStdString();
    }
    const std::pair<QAction*, FolderMenuCode> folderCodes[] = {
        {frame.folderTree.size, FolderMenuCode::SizeTable},
        {frame.folderTree.properties, FolderMenuCode::Properties},
        {frame.folderTree.cancel, FolderMenuCode::None}};
    for (const auto& [action, code] : folderCodes) {
        action->trigger();
        EXPECT_EQ(frame.last<FolderMenuCode>(), code) << action->text().toStdString();
    }
    const std::pair<QAction*, FilterviewCode> filterCodes[] = {
        {filter.filterview.modify, FilterviewCode::Modify},
        {filter.filterview.setDefaults, FilterviewCode::SetDefaults},
        {filter.filterview.swapTabColor, FilterviewCode::None}};
    for (const auto& [action, code] : filterCodes) {
        action->trigger();
        EXPECT_EQ(filter.last<FilterviewCode>(), code) << action->text().toStdString();
    }
}

TEST(Menus, UnbuiltFeaturesStartDisabledAndShortcutsAreSet)
{
    QWidget owner;
    FrameMenus frame(&owner);
    FileListMenus list(&owner);
    FilterMenus filter(&owner);
    EXPECT_FALSE(filter.filter.byProperties->isEnabled());
    EXPECT_FALSE(list.files.addSelectedToBasket->isEnabled());
    EXPECT_FALSE(frame.folderTree.pictureThumbnails->isEnabled());
    EXPECT_TRUE(frame.folderTree.size->isEnabled());
    EXPECT_EQ(frame.file.exit->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    EXPECT_EQ(frame.file.help->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
}

TEST(Menus, RunReturnsTheCodeOfTheChosenItemOrNothing)
{
    QWidget owner;
    FrameMenus menus(&owner);

    QTimer::singleShot(0, menus.folderTree.menu, [&] {
        menus.folderTree.properties->trigger();
        menus.folderTree.menu->close();
    });
    EXPECT_EQ(menus.run<FolderMenuCode>(menus.folderTree.menu, QPoint(10, 10)),
              FolderMenuCode::Properties);

    // A dismissed menu leaves nothing, whatever an earlier run left.
    QTimer::singleShot(0, menus.folderTree.menu, [&] { menus.folderTree.menu->close(); });
    EXPECT_EQ(menus.run<FolderMenuCode>(menus.folderTree.menu, QPoint(10, 10)),
              FolderMenuCode::None);
}
