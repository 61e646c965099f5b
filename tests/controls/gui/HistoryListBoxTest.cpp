#include "controls/gui/HistoryListBox.h"

#include "platform/Prompts.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void release(QWidget* target, QPoint at, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

/// Right-releases over the rows and picks the menu item `caption` once the menu is up.
void chooseFromMenu(HistoryListBox& box, const QString& caption)
{
    QTimer::singleShot(0, [&box, caption] {
        for (QAction* action : box.popupMenu()->actions()) {
            if (action->text() == caption)
                action->trigger();
        }
        box.popupMenu()->close();
    });
    release(box.rowsViewport(), QPoint(5, 5), Qt::RightButton);
}

QStringList rows(const HistoryListBox& box)
{
    QStringList all;
    for (int i = 0; i < box.model().ListCount(); ++i)
        all << box.model().list(i);
    return all;
}

/// An enabled box; props set before enable() or show() take effect.
struct HistoryListBoxTest : ::testing::Test {
    ScriptedPrompts prompts;
    HistoryListBox box{prompts};

    void enable()
    {
        box.model().props.Enabled = true;
        box.refresh();
    }
    void show(int width, int height)
    {
        enable();
        box.resize(width, height);
        box.show();
    }
};

} // namespace

TEST_F(HistoryListBoxTest, LeftClickChoosesTheRowAndShowsItsFirstColumn)
{
    show(300, 200);
    for (int i = 0; i < 4; ++i)
        box.Additem(QStringLiteral("/home/%1\tfolder\t%2 files").arg(i).arg(i * 10));
    int clicks = 0;
    QList<QList<int>> downs;
    QObject::connect(&box, &HistoryListBox::Click, [&clicks] { ++clicks; });
    QObject::connect(&box, &HistoryListBox::MouseDown, [&downs](int b, int s, int x, int y) {
        downs.append({b, s, x, y});
    });

    const int h = box.rowHeight();
    release(box.rowsViewport(), QPoint(10, h * 2 + 2), Qt::LeftButton);
    EXPECT_EQ(box.model().ListIndex(), 2);
    EXPECT_EQ(box.editField()->text(), QStringLiteral("/home/2"));
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(downs.size(), 1);
    EXPECT_EQ(downs[0], (QList<int>{1, 0, 10, h * 2 + 2}));

    // Below the last row nothing is chosen, but the event still comes.
    release(box.rowsViewport(), QPoint(10, h * 9), Qt::LeftButton);
    EXPECT_EQ(box.model().ListIndex(), 2);
    EXPECT_EQ(clicks, 2);
}

TEST_F(HistoryListBoxTest, RightClickMenuSortsAndClearsOnlyAfterYes)
{
    show(300, 200);
    for (const char* t : {"b", "C", "a"})
        box.Additem(QLatin1String(t));
    QStringList captions;
    for (QAction* action : box.popupMenu()->actions()) {
        if (!action->isSeparator())
            captions << action->text();
    }
    EXPECT_EQ(captions, (QStringList{"Clear", "Sort descending", "Sort ascending", "Cancel"}));

    chooseFromMenu(box, QStringLiteral("Sort ascending"));
    EXPECT_EQ(rows(box), (QStringList{"a", "b", "C"}));
    chooseFromMenu(box, QStringLiteral("Sort descending"));
    EXPECT_EQ(rows(box), (QStringList{"C", "b", "a"}));
    chooseFromMenu(box, QStringLiteral("Cancel"));
    EXPECT_EQ(rows(box), (QStringList{"C", "b", "a"}));

    chooseFromMenu(box, QStringLiteral("Clear"));
    EXPECT_EQ(prompts.shownTexts(), QStringList{"do you wish to clear contents?"});
    EXPECT_EQ(box.model().ListCount(), 3) << "No keeps the rows";
    prompts.answers << Prompts::Answer::Yes;
    chooseFromMenu(box, QStringLiteral("Clear"));
    EXPECT_EQ(box.model().ListCount(), 0);
}

TEST_F(HistoryListBoxTest, DropDownModeOpensUnderTheFieldAndClosesOnChoice)
{
    box.model().props.Mode = 1;
    box.model().props.DropDownHeight = 120;
    show(300, 30);
    for (int i = 0; i < 30; ++i)
        box.Additem(QStringLiteral("/files/%1.txt").arg(i));
    EXPECT_TRUE(box.dropButton()->isVisible());
    EXPECT_FALSE(box.isDroppedDown());

    box.dropButton()->click();
    ASSERT_TRUE(box.isDroppedDown());
    QWidget* popup = box.rowsViewport()->window();
    EXPECT_EQ(popup->height(), 120);
    EXPECT_EQ(popup->geometry().top(), box.mapToGlobal(QPoint(0, box.editField()->height())).y());

    release(box.rowsViewport(), QPoint(10, 1), Qt::LeftButton);
    EXPECT_FALSE(box.isDroppedDown());
    EXPECT_EQ(box.editField()->text(), QStringLiteral("/files/0.txt"));

    box.ShowItem(25);
    EXPECT_GT(box.model().props.TopIndex, 0) << "a far row scrolls into view";
    EXPECT_EQ(box.editField()->text(), QStringLiteral("/files/25.txt"));
}

TEST_F(HistoryListBoxTest, ColumnsDrawSideBySide)
{
    box.model().props.BackColor = 0x00FFFFFF; // white
    show(300, 100);
    box.Additem(QStringLiteral("WWWW\tWWWW\tWWWW"));
    QApplication::processEvents();
    const QImage image = box.rowsViewport()->grab().toImage();
    // Ink appears in each third of the first row.
    const int w = image.width();
    const int y0 = 0, y1 = box.rowHeight();
    for (int column = 0; column < 3; ++column) {
        bool ink = false;
        for (int x = column * w / 3; x < (column + 1) * w / 3 && !ink; ++x)
            for (int y = y0; y < y1 && !ink; ++y)
                ink = QColor(image.pixel(x, y)).lightness() < 128;
        EXPECT_TRUE(ink) << "column " << column;
    }
}

TEST_F(HistoryListBoxTest, APathRowIsOneColumnWhateverItsNameHolds)
{
    box.model().props.BackColor = 0x00FFFFFF; // white
    show(300, 100);
    box.Additem(QStringLiteral("WW\tWW"), -1, -1, 0, HistoryList::RowKind::Path);
    QApplication::processEvents();
    const QImage image = box.rowsViewport()->grab().toImage();
    bool inkRight = false;
    for (int x = image.width() / 2; x < image.width() && !inkRight; ++x)
        for (int y = 0; y < box.rowHeight() && !inkRight; ++y)
            inkRight = QColor(image.pixel(x, y)).lightness() < 128;
    EXPECT_FALSE(inkRight) << "no second column";
    box.ShowItem(0);
    EXPECT_EQ(box.editField()->text(), QString::fromUtf8("WW\u2409WW"));
    EXPECT_EQ(box.model().text(), "WW\tWW");
}

TEST_F(HistoryListBoxTest, GrowingTheListShowsRowsScrolledAwayWhileItWasSmall)
{
    enable();
    box.resize(300, box.editField()->sizeHint().height() + box.rowHeight() + 4);
    box.show();
    for (int i = 0; i < 3; ++i)
        box.Additem(QStringLiteral("row %1").arg(i));
    box.ShowItem(2);
    EXPECT_EQ(box.model().props.TopIndex, 2) << "one row fits: the last one is shown";
    box.resize(300, 300);
    QApplication::processEvents();
    EXPECT_EQ(box.model().props.TopIndex, 0) << "all rows fit again";
}

TEST_F(HistoryListBoxTest, DropDownWithoutHeightFitsItsRowsAndOpensFromTheKeyboard)
{
    box.model().props.Mode = 1;
    enable();
    EXPECT_EQ(box.sizeHint().height(), box.editField()->sizeHint().height());
    box.resize(300, box.sizeHint().height());
    box.show();
    for (const char* t : {"/a", "/b", "/c"})
        box.Additem(QLatin1String(t));
    const auto press = [](QWidget* target, int key, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &event);
    };

    press(box.editField(), Qt::Key_F4);
    ASSERT_TRUE(box.isDroppedDown());
    QApplication::processEvents(); // the scroll area shows or hides its bar queued
    const int shown = box.rowsViewport()->height();
    EXPECT_GE(shown, 3 * box.rowHeight()) << "every row in sight";
    EXPECT_LT(shown, 4 * box.rowHeight()) << "and no empty space under them";
    const auto* area = qobject_cast<QAbstractScrollArea*>(box.rowsViewport()->parentWidget());
    ASSERT_NE(area, nullptr);
    EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << "nothing to scroll";
    press(box.rowsViewport()->parentWidget(), Qt::Key_Escape);
    EXPECT_FALSE(box.isDroppedDown());

    // A long list opens a dozen rows high, scrolled to the current row.
    for (int i = 0; i < 30; ++i)
        box.Additem(QStringLiteral("/files/%1").arg(i));
    box.ShowItem(25);
    box.model().props.TopIndex = 0;
    press(box.editField(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(box.isDroppedDown());
    QApplication::processEvents();
    const int visible = box.rowsViewport()->height() / box.rowHeight();
    EXPECT_EQ(visible, 12);
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_LE(box.model().props.TopIndex, 25);
    EXPECT_GT(box.model().props.TopIndex + visible, 25);
    box.setDroppedDown(false);
}
