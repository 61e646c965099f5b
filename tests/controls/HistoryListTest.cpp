#include "controls/HistoryList.h"

#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

QStringList texts(const HistoryList& list)
{
    QStringList all;
    for (int i = 0; i < list.ListCount(); ++i)
        all << list.list(i);
    return all;
}

} // namespace

TEST(HistoryList, RowsKeepTheirAttributesThroughInsertsRemovalsAndSorts)
{
    HistoryList list;
    list.Additem(QStringLiteral("beta"), -1, 3, 0);
    list.Additem(QStringLiteral("Alpha"), -1, 4, -1);
    EXPECT_EQ(list.Additem(QStringLiteral("gamma"), 0, 5, 7), 0);
    EXPECT_EQ(texts(list), (QStringList{"gamma", "beta", "Alpha"}));
    list.setListIndex(1); // beta
    list.UpdateForeColor(1, 0x0000FF);
    list.UpdateFont(1, QStringLiteral("DejaVu Sans"), 12);

    list.SortAscending();
    EXPECT_EQ(texts(list), (QStringList{"Alpha", "beta", "gamma"})) << "case does not count";
    EXPECT_EQ(list.GetItemData(0), -1);
    EXPECT_EQ(list.row(2)->icon, 5);
    EXPECT_EQ(list.ListIndex(), 1) << "the current row follows its row";
    EXPECT_EQ(list.row(1)->foreColor, 0x0000FFu);
    EXPECT_EQ(list.row(1)->fontName, QStringLiteral("DejaVu Sans"));

    list.SortDescending();
    EXPECT_EQ(texts(list), (QStringList{"gamma", "beta", "Alpha"}));
    EXPECT_EQ(list.GetItemData(0), 7);

    list.setListIndex(2);
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), 1);
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1) << "removing the current row leaves none";
    list.RemoveItem(5); // out of range: nothing
    EXPECT_EQ(texts(list), QStringList{"beta"});
    list.SetItemData(0, 42);
    EXPECT_EQ(list.GetItemData(0), 42);
    EXPECT_EQ(list.GetItemData(3), 0);
    EXPECT_EQ(list.list(-1), QString());
}

TEST(HistoryList, FindShowItemAndTheRowUnderThePointer)
{
    HistoryList list;
    for (int i = 0; i < 20; ++i)
        list.Additem(QStringLiteral("/folder/%1\tcol b\tcol c").arg(i));
    EXPECT_EQ(list.Find(QStringLiteral("/folder/7\tcol b\tcol c")), 7);
    EXPECT_EQ(list.Find(QStringLiteral("/FOLDER/7\tcol b\tcol c")), -1);
    EXPECT_EQ(list.Find(QStringLiteral("/folder/7\tcol b\tcol c"), 8), -1);

    list.ShowItem(15, 5);
    EXPECT_EQ(list.props.TopIndex, 11) << "the row comes in at the bottom";
    list.ShowItem(3, 5);
    EXPECT_EQ(list.props.TopIndex, 3) << "and at the top when above";
    list.ShowItem(5, 5);
    EXPECT_EQ(list.props.TopIndex, 3) << "a visible row scrolls nothing";

    // Rows of 18 pixels starting at row 3.
    EXPECT_EQ(list.RowAt(0, 18), 3);
    EXPECT_EQ(list.RowAt(37, 18), 5);
    EXPECT_EQ(list.RowAt(18 * 17, 18), -1) << "below the last row";
    EXPECT_EQ(list.RowAt(-1, 18), -1);
    ASSERT_TRUE(list.chooseRowAt(20, 18));
    EXPECT_EQ(list.ListIndex(), 4);
    EXPECT_EQ(list.text(), QStringLiteral("/folder/4")) << "the edit field shows the first column";
    EXPECT_EQ(HistoryList::Columns(list.list(4)).size(), 3) << "two TABs make three columns";
}

TEST(HistoryList, MenuCodesSortAndClearOnlyAfterYes)
{
    HistoryList list;
    for (const char* t : {"b", "c", "a"})
        list.Additem(QLatin1String(t));
    ScriptedPrompts prompts;
    EXPECT_TRUE(list.runMenuCode(HistoryList::MenuCode::SortAscending, prompts));
    EXPECT_EQ(texts(list), (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(list.runMenuCode(HistoryList::MenuCode::SortDescending, prompts));
    EXPECT_EQ(texts(list), (QStringList{"c", "b", "a"}));
    EXPECT_FALSE(list.runMenuCode(HistoryList::MenuCode::None, prompts)) << "Cancel leaves no code";
    EXPECT_TRUE(prompts.shown.isEmpty());

    EXPECT_FALSE(list.runMenuCode(HistoryList::MenuCode::Clear, prompts));
    EXPECT_EQ(list.ListCount(), 3) << "No keeps the rows";
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("do you wish to clear contents?"));
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("yesno"));

    prompts.answers << Prompts::Answer::Yes;
    list.props.TopIndex = 2;
    EXPECT_TRUE(list.runMenuCode(HistoryList::MenuCode::Clear, prompts));
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.props.TopIndex, 0);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(HistoryList, SavedPropertiesLeaveDefaultsOutAndReadBack)
{
    TempTree tree;
    const QString file = tree.path("design.ini");
    {
        QSettings store(file, QSettings::IniFormat);
        HistoryList list;
        list.save(store);
        EXPECT_TRUE(store.allKeys().isEmpty()) << "every default is left out";

        list.props.Enabled = true;
        list.props.Mode = 1;
        list.props.DropDownHeight = 200;
        list.props.FontSize = 9;
        list.props.BackColor = 0x00FFFFFF;
        list.Additem(QStringLiteral("x"));
        list.save(store);
        EXPECT_EQ(store.allKeys().size(), 6);
        EXPECT_EQ(store.value("ListCount").toInt(), 1);
        EXPECT_FALSE(store.contains("BorderStyle"));

        list.props.Mode = 0; // back to the default: the key goes
        list.save(store);
        EXPECT_FALSE(store.contains("Mode"));
        store.setValue("List", QStringList{"one", "two\tsecond"});
        store.setValue("Text", "one");
        store.setValue("ListIndex", 1);
    }
    QSettings store(file, QSettings::IniFormat);
    HistoryList loaded;
    loaded.load(store);
    EXPECT_TRUE(loaded.props.Enabled);
    EXPECT_EQ(loaded.props.Mode, 0);
    EXPECT_EQ(loaded.props.DropDownHeight, 200);
    EXPECT_DOUBLE_EQ(loaded.props.FontSize, 9);
    EXPECT_EQ(loaded.props.BackColor, 0x00FFFFFFu);
    EXPECT_EQ(loaded.props.BorderStyle, 1);
    EXPECT_EQ(loaded.props.ForeColor, HistoryList::WindowText);
    EXPECT_EQ(loaded.props.Fontname, HistoryList::DefaultFontName);
    EXPECT_EQ(texts(loaded), (QStringList{"one", "two\tsecond"}));
    EXPECT_EQ(loaded.text(), QStringLiteral("one"));
    EXPECT_EQ(loaded.ListIndex(), 1);

    HistoryList empty;
    QSettings none(tree.path("none.ini"), QSettings::IniFormat);
    empty.load(none);
    EXPECT_EQ(empty.ListIndex(), -1) << "row 0 of no rows is no row";
    EXPECT_EQ(empty.props.BackColor, HistoryList::ButtonFace);
}
