#include "controls/gui/GridView.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

void click(QWidget* w, Qt::MouseButton button, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, {});
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, {}, {});
    QApplication::sendEvent(w, &release);
}

void fill(GridView& view)
{
    Grid& g = view.grid();
    g.reset(3);
    g.setFormatString(QStringLiteral(">#|<Name|>Size"));
    g.setColWidth(1, 1440);
    g.addItem(QStringLiteral("1\tb\t200"));
    g.addItem(QStringLiteral("2\ta\t1000"));
    g.addItem(QStringLiteral("3\tc\t30"));
    view.refresh();
}

} // namespace

TEST(GridView, WidthsInTwipsFollowLogicalDpi)
{
    GridView view;
    fill(view);
    EXPECT_EQ(view.columnWidth(1), view.logicalDpiX());
}

TEST(GridView, ClickOnHeadingSortsAndCtrlCCopiesSelection)
{
    GridView view;
    ScriptedPrompts prompts;
    view.setPrompts(&prompts);
    fill(view);
    view.resize(600, 300);
    view.show();

    const QRect heading = view.visualRect(view.model()->index(0, 2));
    click(view.viewport(), Qt::LeftButton, heading.center());
    EXPECT_EQ(view.grid().textMatrix(1, 2), "30");
    EXPECT_EQ(view.model()->index(1, 2).data().toString(), "30");
    EXPECT_EQ(view.currentIndex().row(), 1);

    click(view.viewport(), Qt::RightButton, heading.center());
    EXPECT_EQ(view.grid().textMatrix(1, 2), "30"); // right button never sorts

    view.selectionModel()->select(
        QItemSelection(view.model()->index(1, 1), view.model()->index(2, 2)),
        QItemSelectionModel::ClearAndSelect);
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&view, &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "c\t30\r\nb\t200\r\n");
    EXPECT_EQ(prompts.shownTexts().value(0), "grid cells copied to clipboard");
}
