#include "app/gui/MainWindow.h"
#include "platform/Prompts.h"
#include "view/window/gui/ViewWindow.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

TEST(ProgramIcon, EveryWindowOfTheProgramShowsTheFolderIcon)
{
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    for (QWidget* shown :
         {static_cast<QWidget*>(&window), static_cast<QWidget*>(window.viewWindow())}) {
        const QIcon icon = shown->windowIcon();
        ASSERT_FALSE(icon.isNull()) << "no window icon";
        const QImage image = icon.pixmap(64, 64).toImage();
        ASSERT_FALSE(image.isNull());
        // The folder's body, left of the glass, and a transparent corner.
        EXPECT_EQ(image.pixelColor(12, 40).rgb(), QColor(0xe8, 0xb6, 0x4c).rgb());
        EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);
    }
}
