#include "controls/gui/GridView.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
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

TEST(GridView, TheRowNumberColumnStaysWhileTheOthersScrollAcross)
{
    GridView view;
    Grid& g = view.grid();
    g.reset(12);
    g.setFixedCols(1); // as the table views number their rows
    for (int c = 1; c < 12; ++c)
        g.setColWidth(c, 2880);
    for (int r = 1; r <= 30; ++r)
        g.addItem(QString::number(r) + QStringLiteral("\tcell"));
    view.refresh();
    view.resize(300, 200);
    view.show();
    QApplication::processEvents();
    QTableView* fixed = view.fixedColumns();
    ASSERT_NE(fixed, nullptr);
    EXPECT_FALSE(fixed->isHidden());
    EXPECT_EQ(fixed->width(), view.columnWidth(0));
    EXPECT_EQ(fixed->geometry().left(), view.viewport()->geometry().left());

    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    view.verticalScrollBar()->setValue(5);
    QApplication::processEvents();
    EXPECT_LT(view.columnViewportPosition(0), 0) << "the grid itself scrolled across";
    EXPECT_EQ(fixed->columnViewportPosition(0), 0) << "the row numbers did not";
    EXPECT_EQ(fixed->verticalScrollBar()->value(), 5) << "but they follow up and down";
    EXPECT_EQ(fixed->indexAt(QPoint(2, 2)).row(), view.indexAt(QPoint(2, 2)).row());
    for (int c = 1; c < 12; ++c)
        EXPECT_TRUE(fixed->isColumnHidden(c)) << c;
    if (const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS"); !folder.isEmpty())
        view.grab().save(folder + QStringLiteral("/grid-scrolled.png"));
}
