#include "controls/gui/KivTabsWidget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

QImage render(KivTabsWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(KivTabsWidget, SelectedTabJoinsThePageInEveryStyle)
{
    KivTabsWidget w;
    w.resize(300, 120);
    KivTabs& t = w.tabs();
    t.setTabs(3);
    for (int i = 1; i <= 3; ++i)
        t.setCaption(i, QStringLiteral("Tab %1").arg(i));
    t.setTabBackColor(1, 0x0000FF); // red
    t.setTabBackColor(2, 0x00FF00); // green
    t.setTabBackColor(3, 0xFF0000); // blue
    const QString shots = qEnvironmentVariable("LUMARA_TAB_SHOTS");
    for (int style = 0; style < 8; ++style) {
        SCOPED_TRACE(style);
        t.setStyle(style);
        t.setSelectedTab(2);
        const QImage img = render(w);
        if (!shots.isEmpty())
            img.save(QStringLiteral("%1/style%2.png").arg(shots).arg(style));
        const QRect page = t.pageRect(300, 120);
        EXPECT_EQ(img.pixelColor(page.center()), QColor(0, 255, 0));
        const QRect first = t.tabRect(1, 300, 120);
        EXPECT_EQ(img.pixelColor(first.center() + QPoint(20, 0)), QColor(255, 0, 0));
    }
}

TEST(KivTabsWidget, ClickOnATabSelectsIt)
{
    KivTabsWidget w;
    w.resize(300, 60);
    int now = 0;
    QObject::connect(&w.tabs(), &KivTabs::TabClick, [&now](int n, int) { now = n; });
    const QPoint at = w.tabs().tabRect(2, 300, 60).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&w, &press);
    EXPECT_EQ(now, 2);
    EXPECT_EQ(w.tabs().SelectedTab(), 2);
}

TEST(KivTabsWidget, NarrowTabsShortenTheirCaptionsInsteadOfRunningTogether)
{
    KivTabsWidget w;
    KivTabs& t = w.tabs();
    const QStringList names{"Text", "Picture", "Html", "Zip", "Sound", "Db", "Other", "ALL"};
    t.setTabs(int(names.size()));
    for (int i = 1; i <= names.size(); ++i)
        t.setCaption(i, names[i - 1]);
    t.setSelectedTab(8);

    t.setTabsWidth(90);
    w.resize(8 * 90 + 2, 30);
    for (int i = 1; i <= names.size(); ++i)
        EXPECT_EQ(w.shownCaption(i), names[i - 1]);

    t.setTabsWidth(26);
    w.resize(8 * 26 + 2, 30);
    for (int i = 1; i <= names.size(); ++i) {
        SCOPED_TRACE(names[i - 1].toStdString());
        const QFontMetrics fm(w.captionFont(i));
        EXPECT_LE(fm.horizontalAdvance(w.shownCaption(i)), t.tabRect(i, w.width(), 30).width());
    }
    EXPECT_TRUE(w.shownCaption(2).endsWith(QChar(0x2026))) << w.shownCaption(2).toStdString();
}

TEST(KivTabsWidget, TabsJustTooNarrowShowWholeCaptionsInASmallerFont)
{
    KivTabsWidget w;
    KivTabs& t = w.tabs();
    t.setTabs(2);
    t.setCaption(1, QStringLiteral("Picture"));
    t.setCaption(2, QStringLiteral("ALL"));
    t.setSelectedTab(2);
    // Room for "Picture" at four fifths of the tab font's width.
    const int natural = QFontMetrics(t.TabFont()).horizontalAdvance(QStringLiteral("Picture"));
    t.setTabsWidth(natural * 4 / 5 + 8);
    w.resize(2 * t.TabsWidth() + 2, 30);
    EXPECT_EQ(w.shownCaption(1), QStringLiteral("Picture"));
    EXPECT_LT(w.captionFont(1).pointSizeF(), t.TabFont().pointSizeF());
    EXPECT_GE(w.captionFont(1).pointSizeF(), 6.5);
    EXPECT_EQ(w.captionFont(2), t.TabFontActive()) << "a caption that fits keeps its font";
}
