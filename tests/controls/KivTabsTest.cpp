#include "controls/KivTabs.h"

#include "common/FuzzSeeds.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(KivTabs, TabRectanglesOfEveryStyle)
{
    // Three tabs of 70 x 20 in a 300 x 100 control: first and last tab of each style.
    struct Case {
        int style;
        QPoint first, last;
        QRect page;
    };
    const Case cases[] = {
        {0, {0, 0}, {140, 0}, {0, 20, 300, 80}},  {1, {89, 0}, {229, 0}, {0, 20, 300, 80}},
        {2, {0, 79}, {140, 79}, {0, 0, 300, 79}}, {3, {89, 79}, {229, 79}, {0, 0, 300, 79}},
        {4, {0, 0}, {0, 40}, {70, 0, 230, 100}},  {5, {229, 0}, {229, 40}, {0, 0, 229, 100}},
        {6, {0, 39}, {0, 79}, {70, 0, 230, 100}}, {7, {229, 39}, {229, 79}, {0, 0, 229, 100}},
    };
    KivTabs tabs;
    tabs.setTabs(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        tabs.setStyle(c.style);
        EXPECT_EQ(tabs.tabRect(1, 300, 100), QRect(c.first, QSize(71, 21)));
        EXPECT_EQ(tabs.tabRect(3, 300, 100), QRect(c.last, QSize(71, 21)));
        EXPECT_EQ(tabs.pageRect(300, 100), c.page);
        // hit tests agree with the rectangles, and the page is no tab
        EXPECT_EQ(tabs.tabAt(c.first.x() + 5, c.first.y() + 5, 300, 100), 1);
        EXPECT_EQ(tabs.tabAt(c.last.x() + 65, c.last.y() + 15, 300, 100), 3);
        const QPoint inPage = c.page.center();
        EXPECT_EQ(tabs.tabAt(inPage.x(), inPage.y(), 300, 100), 0);
    }
    tabs.setStyle(8); // out of range is ignored
    EXPECT_EQ(tabs.Style(), 7);
}

TEST(KivTabs, SelectedTabIsClampedAndAlwaysRaisesTabClick)
{
    KivTabs tabs;
    tabs.setTabs(4);
    std::vector<std::pair<int, int>> clicks;
    QObject::connect(&tabs, &KivTabs::TabClick,
                     [&clicks](int now, int before) { clicks.emplace_back(now, before); });
    tabs.setSelectedTab(0);
    tabs.setSelectedTab(3);
    tabs.setSelectedTab(99);
    tabs.setSelectedTab(-5);
    const std::vector<std::pair<int, int>> expected{{1, 1}, {3, 1}, {4, 3}, {1, 4}};
    EXPECT_EQ(clicks, expected);
    EXPECT_TRUE(tabs.changedKeys().contains("TABSELECTED"));
}

TEST(KivTabs, ArrowKeysAndMouseSelectTabs)
{
    KivTabs tabs;
    tabs.setTabs(3);
    int clicks = 0;
    QObject::connect(&tabs, &KivTabs::TabClick, [&clicks](int, int) { ++clicks; });
    EXPECT_TRUE(tabs.keyPressed(Qt::Key_Left)); // first tab stays first, still a click
    EXPECT_EQ(tabs.SelectedTab(), 1);
    EXPECT_EQ(clicks, 1);
    tabs.keyPressed(Qt::Key_Right);
    tabs.keyPressed(Qt::Key_Down);
    tabs.keyPressed(Qt::Key_Down);
    EXPECT_EQ(tabs.SelectedTab(), 3);
    tabs.keyPressed(Qt::Key_Up);
    EXPECT_EQ(tabs.SelectedTab(), 2);
    EXPECT_FALSE(tabs.keyPressed(Qt::Key_A));
    EXPECT_EQ(clicks, 5);

    EXPECT_TRUE(tabs.mousePressed(150, 10, 300, 100));
    EXPECT_EQ(tabs.SelectedTab(), 3);
    EXPECT_FALSE(tabs.mousePressed(150, 60, 300, 100)); // the page
    EXPECT_EQ(tabs.SelectedTab(), 3);
}

TEST(KivTabs, CaptionPlacementByAlignment)
{
    KivTabs tabs; // tab 1 spans (0,0) 71 x 21
    struct Case {
        int alignment;
        QPoint at;
    };
    // a caption of 31 x 11 pixels
    const Case cases[] = {{0, {3, 0}},  {1, {20, 0}}, {2, {36, 0}}, {3, {3, 5}}, {4, {20, 5}},
                          {5, {36, 5}}, {6, {3, 8}},  {7, {20, 8}}, {8, {36, 8}}};
    for (const Case& c : cases) {
        tabs.setCaptionAlignment(c.alignment);
        EXPECT_EQ(tabs.captionPosition(1, 31, 11, 300, 100), c.at) << c.alignment;
    }
}

TEST(KivTabs, TabsCountKeepsCaptionsAndClampsSelection)
{
    KivTabs tabs;
    tabs.setTabs(4);
    tabs.setCaption(4, QStringLiteral("Four"));
    tabs.setSelectedTab(4);
    EXPECT_EQ(tabs.Caption(1), "Tab 1");
    EXPECT_EQ(tabs.Caption(3), "");
    tabs.setTabs(2);
    EXPECT_EQ(tabs.SelectedTab(), 2);
    EXPECT_EQ(tabs.Caption(2), "Tab 2");
    EXPECT_EQ(tabs.Caption(4), "");
    tabs.setTabs(0);
    EXPECT_EQ(tabs.Tabs(), 1);
}

TEST(KivTabs, OwnColourOverridesTheSelectedAndNormalColours)
{
    KivTabs tabs;
    EXPECT_EQ(tabs.TabBackColor(1), KivTabs::ButtonFace);
    EXPECT_EQ(tabs.TabBackColor(2), KivTabs::ButtonShadow);
    tabs.setTabBackColor(2, 0x0000FF);
    EXPECT_EQ(tabs.TabBackColor(2), 0x0000FFu);
    EXPECT_EQ(KivTabs::TranslateColor(0x0000FF), QColor(255, 0, 0)); // BGR order
}

TEST(KivTabs, SavesAndLoadsEveryPropertyWithMissingKeyDefaults)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath("design.ini"), QSettings::IniFormat);
    KivTabs tabs;
    tabs.setTabs(3);
    tabs.setTabsWidth(55);
    tabs.setTabsHeight(18);
    tabs.setCaption(3, QStringLiteral("ALL"));
    tabs.setSelectedTab(3);
    tabs.setStyle(5);
    tabs.setCaptionAlignment(7);
    tabs.setUseFocusRect(true);
    tabs.setTabColor(0x123456);
    QFont bold;
    bold.setBold(true);
    tabs.setTabFontActive(bold);
    EXPECT_TRUE(tabs.changedKeys().contains("TABCAPTION3"));
    store.beginGroup("FilterButton");
    tabs.save(store);
    store.endGroup();
    EXPECT_TRUE(tabs.changedKeys().isEmpty());

    KivTabs loaded;
    store.beginGroup("FilterButton");
    loaded.load(store, QFont());
    store.endGroup();
    EXPECT_EQ(loaded.Tabs(), 3);
    EXPECT_EQ(loaded.TabsWidth(), 55);
    EXPECT_EQ(loaded.TabsHeight(), 18);
    EXPECT_EQ(loaded.Caption(3), "ALL");
    EXPECT_EQ(loaded.SelectedTab(), 3);
    EXPECT_EQ(loaded.Style(), 5);
    EXPECT_EQ(loaded.CaptionAlignment(), 7);
    EXPECT_TRUE(loaded.UseFocusRect());
    EXPECT_EQ(loaded.TabColor(), 0x123456u);
    EXPECT_TRUE(loaded.TabFontActive().bold());
    EXPECT_FALSE(loaded.TabFont().bold());

    KivTabs fresh; // an empty group: missing keys give empty captions
    store.beginGroup("Nothing");
    fresh.load(store, QFont());
    store.endGroup();
    EXPECT_EQ(fresh.Tabs(), 2);
    EXPECT_EQ(fresh.Caption(1), "");
    EXPECT_EQ(fresh.TabsWidth(), 70);
    EXPECT_EQ(fresh.TextColor(), KivTabs::ButtonHighlight);
}

TEST(KivTabs, DamagedStoreValuesAreHeldToWhatAStripCanShow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("design.ini");
    for (const char* count : {"10000000", "2147483647", "-5", "many"}) {
        {
            QFile ini(path);
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(QByteArray("[FilterButton]\nTABCOUNT=") + count +
                      "\nTABWIDE=99999999\nTABHIGH=-3\nTABSELECTED=2147483647\n"
                      "TABFONT=\"Sans,100000000,-1,5,400,0,0,0,0,0\"\n");
        }
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        SaveFuzzSeed("design", QStringLiteral("damaged-") + count, written.readAll());
        QSettings store(path, QSettings::IniFormat);
        store.beginGroup("FilterButton");
        KivTabs tabs;
        tabs.load(store, QFont());
        EXPECT_GE(tabs.Tabs(), 1) << count;
        EXPECT_LE(tabs.Tabs(), 256) << count;
        EXPECT_LE(tabs.TabsWidth(), 10000);
        EXPECT_EQ(tabs.TabsHeight(), 1);
        EXPECT_EQ(tabs.SelectedTab(), tabs.Tabs());
        EXPECT_LE(tabs.TabFont().pointSizeF(), 400.0);
    }
}

TEST(KivTabs, SavingUnchangedPropertiesLeavesTheStoreFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("design.ini");
    KivTabs tabs;
    tabs.setTabs(4);
    {
        QSettings store(path, QSettings::IniFormat);
        tabs.save(store);
    }
    {
        QFile ini(path);
        ASSERT_TRUE(ini.open(QIODevice::Append));
        ini.write("; kept by hand\n");
    }
    {
        QSettings store(path, QSettings::IniFormat);
        KivTabs same;
        same.load(store, QFont());
        same.save(store);
    }
    QFile ini(path);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("; kept by hand")) << "an unchanged store was rewritten";

    {
        QSettings store(path, QSettings::IniFormat);
        KivTabs changed;
        changed.load(store, QFont());
        changed.setTabs(5);
        changed.save(store);
    }
    QSettings reread(path, QSettings::IniFormat);
    EXPECT_EQ(reread.value("TABCOUNT").toInt(), 5);
}
