#include "app/gui/PopupMenus.h"

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

TEST(PopupMenus, CaptionsAndCodesOfTheFileActions)
{
    QWidget owner;
    Settings settings;
    PopupMenus menus(settings, &owner);

    EXPECT_EQ(captions(menus.file1view.menu),
              (QStringList{"View file", "View icons", "Execute",
                           "Copy one file to:", "Zip one file to:", "Properties",
                           "Remove RadeZazeda entry", "Add to RadeZazeda", "Cancel"}));
    EXPECT_EQ(captions(menus.tvwview.menu),
              (QStringList{"Size", "Properties", "Picture thumbnails", "View TTFonts",
                           "Add to RadeZazeda", "Cancel"}));
    EXPECT_EQ(captions(menus.treeformat.dateTree),
              (QStringList{"by Creation Date", "by Lastupdated Date"}));

    const std::pair<QAction*, const char*> coded[] = {
        {menus.file1view.viewFile, "V"},     {menus.file1view.viewIcons, "VI"},
        {menus.file1view.execute, "R"},      {menus.file1view.properties, "P"},
        {menus.file1view.addToBasket, "AB"}, {menus.file1view.copySelected, "C"},
        {menus.file1view.zipDefault, "Z"},   {menus.tvwview.size, "S"},
        {menus.tvwview.properties, "P"},     {menus.filterview.modify, "M"},
        {menus.filterview.setDefaults, "D"}, {menus.allview.showZipped, "ZE"},
        {menus.allview.collapseZipped, "ZC"}};
    for (const auto& [action, code] : coded) {
        settings.menuCommand = QStringLiteral("X");
        action->setEnabled(true);
        action->trigger();
        EXPECT_EQ(settings.menuCommand, QLatin1String(code)) << action->text().toStdString();
    }
    settings.menuCommand = QStringLiteral("S");
    menus.tvwview.cancel->trigger();
    EXPECT_EQ(settings.menuCommand, QString());
}

TEST(PopupMenus, UnbuiltFeaturesStartDisabledAndShortcutsAreSet)
{
    QWidget owner;
    Settings settings;
    PopupMenus menus(settings, &owner);
    EXPECT_FALSE(menus.filter.byProperties->isEnabled());
    EXPECT_FALSE(menus.files.addSelectedToBasket->isEnabled());
    EXPECT_FALSE(menus.tvwview.pictureThumbnails->isEnabled());
    EXPECT_TRUE(menus.tvwview.size->isEnabled());
    EXPECT_EQ(menus.file.exit->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    EXPECT_EQ(menus.file.help->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
    EXPECT_EQ(menus.popups().size(), 8);
}

TEST(PopupMenus, RunReturnsTheCodeOfTheChosenItemOrNothing)
{
    QWidget owner;
    Settings settings;
    PopupMenus menus(settings, &owner);

    settings.menuCommand = QStringLiteral("X");
    QTimer::singleShot(0, menus.tvwview.menu, [&] {
        menus.tvwview.properties->trigger();
        menus.tvwview.menu->close();
    });
    EXPECT_EQ(menus.run(menus.tvwview.menu, QPoint(10, 10)), QStringLiteral("P"));

    settings.menuCommand = QStringLiteral("X");
    QTimer::singleShot(0, menus.tvwview.menu, [&] { menus.tvwview.menu->close(); });
    EXPECT_EQ(menus.run(menus.tvwview.menu, QPoint(10, 10)), QString());
}
