#include "browse/Filters.h"

#include "QtPrinters.h"
#include "browse/FilterTabs.h"
#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "controls/KivTabs.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <gtest/gtest.h>

namespace {

constexpr int Text = 0, Picture = 1, Other = 6, All = 7;

/// A folder with 3 bitmaps, 2 texts and an empty file, listed as the window lists it.
struct FilterFixture : ::testing::Test {
    TempTree tree;
    Settings settings;
    FileList state;
    KivTabs tabs;
    ScriptedPrompts prompts;
    FilterTabs filters{settings, state, GroupedTrees(), &tabs, prompts};

    void SetUp() override
    {
        tree.file("a.bmp", 100);
        tree.file("b.BMP", 200);
        tree.file("c.bmp", 300);
        tree.file("notes.txt", 10);
        tree.file("readme.txt", 20);
        filters.setupTabs();
    }

    void open()
    {
        if (ListFolder(state, settings, tree.root(), state.setup().listPattern) > 0)
            RefreshFileList(state, settings, GroupedTrees());
    }

    QStringList listed() const
    {
        QStringList names = state.listedNames().texts().mid(1);
        names.sort(Qt::CaseInsensitive);
        return names;
    }

    void setOther(OtherFilterFields fields) { filters.ApplyOtherFilter(fields); }
};

} // namespace

TEST(PatternFromExtensions, BuildsPatternsPerTab)
{
    struct Case {
        QString list;
        int tab;
        QString pattern;
    };
    const Case cases[] = {
        {"txt;rtf;prn;dat;bat;log;csv", Text, "*.txt;*.rtf;*.prn;*.dat;*.bat;*.log;*.csv"},
        {" txt ; md ", Picture, "*.txt;*.md"},
        {"*", Picture, "*.*"},
        {"bmp", All, "*.*"},         // "ALL" is always every file
        {"a*;b?c", Other, "a*;b?c"}, // "Other" holds name patterns
        {"", Other, "*"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PatternFromExtensions(c.list, c.tab, Other, All), c.pattern)
            << c.list.toStdString();
}

TEST_F(FilterFixture, PictureTabNarrowsWithoutReadingAndAllRestores)
{
    open();
    ASSERT_EQ(state.listedNames().ListCount(), 6);
    EXPECT_EQ(filters.SelectCategory(Picture), 3);
    EXPECT_EQ(listed(), QStringList({"a.bmp", "b.BMP", "c.bmp"}));
    EXPECT_EQ(state.setup().statusCaption, "3 [Picture] files");
    EXPECT_EQ(tabs.SelectedTab(), Picture + 1);
    EXPECT_EQ(state.setup().listPattern.left(12), "*.bmp;*.dib;");
    EXPECT_EQ(state.tree().count(), 4); // root and three files

    // a file written after the listing must not appear: the tab narrows the copy
    tree.file("late.bmp", 5);
    EXPECT_EQ(filters.SelectCategory(Picture), 3);

    EXPECT_EQ(filters.SelectCategory(All), 6); // ALL re-reads the folder
    EXPECT_EQ(state.setup().statusCaption, "6 [ALL] files");
    EXPECT_EQ(state.setup().listPattern, "*.*");
}

TEST_F(FilterFixture, EmptyCategoryShowsPlaceholderThenRereadsWithPattern)
{
    open();
    EXPECT_EQ(filters.SelectCategory(2), 0); // Html
    EXPECT_TRUE(state.setup().showsPlaceholder);
    EXPECT_EQ(state.setup().statusCaption, " no [Html] files");
    const NodeTree::Id root = state.tree().root();
    EXPECT_EQ(state.tree().node(state.tree().children(root).front()).text, "no [Html] files");
    // the placeholder with no other filter makes the next tab read the disk again
    tree.file("page.htm", 7);
    EXPECT_EQ(filters.SelectCategory(2), 1);
    EXPECT_EQ(listed(), QStringList({"page.htm"}));
}

TEST_F(FilterFixture, ModifyAndSetDefaultTypes)
{
    prompts.texts << QStringLiteral("  txt;md  ");
    filters.ModifyCategory(Text);
    EXPECT_EQ(settings.categories[Text].extensions, "txt;md");
    EXPECT_EQ(prompts.shown.value(0).text,
              "Enter [Text] types separated by ;\r\nEnter file extensions like:\r\n"
              "txt;mdb;html etc");
    EXPECT_EQ(settings.settingsChanged, SettingsChange::AskAtExit);
    open();
    filters.SelectCategory(Text);
    EXPECT_EQ(state.setup().listPattern, "*.txt;*.md");

    prompts.texts << QStringLiteral("   "); // a blank answer changes nothing
    filters.ModifyCategory(Text);
    EXPECT_EQ(settings.categories[Text].extensions, "txt;md");

    filters.SetDefaultTypes(Text); // answered No
    EXPECT_EQ(settings.categories[Text].extensions, "txt;md");
    prompts.answers << Prompts::Answer::Yes;
    filters.SetDefaultTypes(Text);
    EXPECT_EQ(settings.categories[Text].extensions, "txt;rtf;prn;dat;bat;log;csv");
    EXPECT_EQ(prompts.shown.last().title, "Filetypes");
    EXPECT_EQ(prompts.shown.last().text, "Text to:\r\ntxt;rtf;prn;dat;bat;log;csv");
}

TEST_F(FilterFixture, OtherFilterBySizeAndNameLength)
{
    tree.file("empty.dat", 0);
    tree.file("ab", 3);
    open();
    OtherFilterFields size0;
    size0.fileSize = QStringLiteral("0");
    size0.fileSizeOption = Comparison::Equal;
    setOther(size0);
    EXPECT_EQ(filters.otherFilter().OtherFilterText, "Name[*],NameLength[*],FileLength[=0],Attr");
    EXPECT_EQ(filters.SelectCategory(Other), 1);
    EXPECT_EQ(listed(), QStringList({"empty.dat"}));
    EXPECT_TRUE(state.setup().otherFilterActive);

    OtherFilterFields shortNames;
    shortNames.nameLength = QStringLiteral("3");
    shortNames.nameLengthOption = Comparison::Less;
    setOther(shortNames);
    filters.SelectCategory(Other);
    EXPECT_EQ(listed(), QStringList({"ab"}));

    // opening the folder again keeps the tab and the criteria
    state.setListPattern(
        PatternFromExtensions(settings.categories[Other].extensions, Other, Other, All));
    open();
    EXPECT_EQ(listed(), QStringList({"ab"}));

    // "ALL" while a filter is set keeps narrowing by it
    EXPECT_EQ(filters.SelectCategory(All), 1);
}

TEST_F(FilterFixture, SetDefaultOnOtherClearsEveryCriterion)
{
    OtherFilterFields f;
    f.fileName = QStringLiteral("a*");
    f.nameLength = QStringLiteral("4");
    f.hidden = true;
    setOther(f);
    EXPECT_EQ(settings.categories[Other].extensions, "a*");
    EXPECT_NE(filters.filterDescription(), "No filters set");
    prompts.answers << Prompts::Answer::Yes;
    filters.SetDefaultTypes(Other);
    EXPECT_EQ(settings.categories[Other].extensions, "*");
    EXPECT_EQ(filters.otherFilter().OtherFilterText, "[*]");
    EXPECT_EQ(filters.otherFilter().NamePatternCount, -1);
    EXPECT_EQ(filters.otherFilter().FileSizeLimit, -1);
    EXPECT_EQ(filters.otherFields().fileName, "*");
    EXPECT_TRUE(filters.otherFields().nameLength.isEmpty());
    EXPECT_EQ(filters.otherFields().fileSizeOption, Comparison::Equal);
    EXPECT_EQ(filters.filterDescription(), "No filters set");
}

TEST(SetOtherFilter, PatternsCaseAndTooManyCriteria)
{
    ScriptedPrompts prompts;
    OtherFilter filter;
    OtherFilterFields f;
    QStringList many;
    for (int i = 0; i < 18; ++i)
        many << QStringLiteral("p%1*").arg(i);
    f.fileName = many.join(u';');
    SetOtherFilter(f, filter, prompts);
    EXPECT_EQ(prompts.shownTexts().value(0), f.fileName + "\r\ntoo many search criteria");
    EXPECT_EQ(filter.NamePatternCount, 16);
    EXPECT_EQ(filter.NamePatterns[16], "P16*");

    prompts.shown.clear();
    f.fileName = many.mid(0, 17).join(u';'); // exactly 17 is fine
    SetOtherFilter(f, filter, prompts);
    EXPECT_TRUE(prompts.shown.isEmpty());

    const platform::FileEntry e;
    f.fileName = QStringLiteral("*.TXT");
    SetOtherFilter(f, filter, prompts);
    EXPECT_FALSE(filter.NameCaseSensitive);
    EXPECT_TRUE(FileMatchesFilter(filter, "/d/Read.txt", e));
    f.fileName = QStringLiteral("^*.TXT");
    SetOtherFilter(f, filter, prompts);
    EXPECT_TRUE(filter.NameCaseSensitive);
    EXPECT_FALSE(FileMatchesFilter(filter, "/d/Read.txt", e));
    EXPECT_TRUE(FileMatchesFilter(filter, "/d/READ.TXT", e));
    f.fileName = QStringLiteral("  ");
    EXPECT_EQ(SetOtherFilter(f, filter, prompts), "*");
    EXPECT_EQ(filter.OtherFilterText, "[*]");
}

TEST(FileMatchesFilter, LengthSizeAndAttributeBoundaries)
{
    ScriptedPrompts prompts;
    struct Case {
        QString length;
        Comparison lengthOption;
        QString size;
        Comparison sizeOption;
        QString name;
        qint64 bytes;
        bool pass;
    };
    const Case cases[] = {
        {"3", Comparison::Less, "", Comparison::Equal, "ab", 0, true},
        {"3", Comparison::Less, "", Comparison::Equal, "abc", 0, false},
        {"3", Comparison::Equal, "", Comparison::Equal, "abc", 0, true},
        {"3", Comparison::Greater, "", Comparison::Equal, "abc", 0, false},
        {"3", Comparison::Greater, "", Comparison::Equal, "abcd", 0, true},
        {"0", Comparison::Greater, "", Comparison::Equal, "a", 0, true}, // 0 is no criterion
        {"", Comparison::Equal, "10", Comparison::Less, "a", 9, true},
        {"", Comparison::Equal, "10", Comparison::Less, "a", 10, false},
        {"", Comparison::Equal, "10", Comparison::Greater, "a", 10, false},
        {"", Comparison::Equal, "10", Comparison::Greater, "a", 11, true},
        {"", Comparison::Equal, "0", Comparison::Equal, "a", 1, false},
        {"", Comparison::Equal, "0", Comparison::Equal, "a", 0, true},
    };
    for (const Case& c : cases) {
        OtherFilter filter;
        OtherFilterFields f;
        f.nameLength = c.length;
        f.nameLengthOption = c.lengthOption;
        f.fileSize = c.size;
        f.fileSizeOption = c.sizeOption;
        SetOtherFilter(f, filter, prompts);
        platform::FileEntry e;
        e.size = c.bytes;
        EXPECT_EQ(FileMatchesFilter(filter, "/x/" + c.name, e), c.pass)
            << c.length.toStdString() << " " << c.size.toStdString() << " " << c.name.toStdString();
    }

    OtherFilter filter;
    OtherFilterFields f;
    f.hidden = true;
    f.readOnly = true;
    SetOtherFilter(f, filter, prompts);
    EXPECT_EQ(filter.AttributeText, "[Hidden][ReadOnly]");
    platform::FileEntry e;
    e.attributes = platform::FileAttribute::Hidden;
    EXPECT_FALSE(FileMatchesFilter(filter, "/x/.a", e)); // needs every ticked attribute
    e.attributes |= platform::FileAttribute::ReadOnly;
    EXPECT_TRUE(FileMatchesFilter(filter, "/x/.a", e));
    f = {};
    f.normal = true;
    SetOtherFilter(f, filter, prompts);
    EXPECT_FALSE(FileMatchesFilter(filter, "/x/.a", e));
    EXPECT_TRUE(FileMatchesFilter(filter, "/x/a", platform::FileEntry{}));
}

TEST(FilterDescription, PartsAndNone)
{
    ScriptedPrompts prompts;
    OtherFilter filter;
    EXPECT_EQ(FilterDescription(filter, {}), "No filters set");
    EXPECT_EQ(FilterDescription(filter, "abc"),
              "Name[none], Content[abc], Property[none], Attribute[none]");
    OtherFilterFields f;
    f.fileName = QStringLiteral("*.c;*.h");
    f.fileSize = QStringLiteral("100");
    f.fileSizeOption = Comparison::Greater;
    f.system = true;
    SetOtherFilter(f, filter, prompts);
    EXPECT_EQ(FilterDescription(filter, {}),
              "Name[*.c;*.h], Content[none], Property[FileLength>=100], Attribute[System]");
    EXPECT_EQ(filter.OtherFilterText, "Name[*.c;*.h],NameLength[*],FileLength[>=100],Attr[System]");
}

TEST_F(FilterFixture, TipsSelectedOnlyAndRemovingFilters)
{
    EXPECT_EQ(filters.TabTip(Picture), "Show Picture files: "
                                       "[bmp;dib;gif;jpg;jpeg;png;webp;tif;tiff;svg;emf;ico;cur;"
                                       "wmf;pcx]");
    EXPECT_EQ(filters.TabTip(Other), "Show Other files:[*]");

    QString tip;
    QObject::connect(&filters, &FilterTabs::tipChanged, [&tip](const QString& t) { tip = t; });
    OtherFilterFields f;
    f.fileSize = QStringLiteral("100");
    f.fileSizeOption = Comparison::Greater;
    setOther(f);
    EXPECT_EQ(tip, filters.filterDescription());
    EXPECT_EQ(filters.TabTip(Other),
              "Show Other files:Name[*],NameLength[*],FileLength[>=100],Attr");

    open();
    filters.SelectCategory(Other);
    EXPECT_EQ(listed(), QStringList({"b.BMP", "c.bmp"}));
    filters.RemoveContentFilters();
    EXPECT_EQ(prompts.shownTexts().last(),
              "Name[none], Content[none], Property[FileLength>=100], Attribute[none]");
    EXPECT_EQ(filters.filterDescription(), "No filters set");
    EXPECT_EQ(listed().size(), 5);
    prompts.shown.clear();
    filters.RemoveContentFilters(); // nothing set: nothing happens
    EXPECT_TRUE(prompts.shown.isEmpty());

    filters.ShowSelectedOnly();
    EXPECT_EQ(prompts.shownTexts().last(), "no selected files");
    const NodeTree::Id root = state.tree().root();
    FileList::Edit(state).tree().setMark(state.tree().children(root)[0], NodeMark::Marked);
    FileList::Edit(state).tree().setMark(state.tree().children(root)[3], NodeMark::Marked);
    filters.ShowSelectedOnly();
    EXPECT_EQ(prompts.shownTexts().last(), " 2 selected files found");
    EXPECT_EQ(state.listedNames().ListCount(), 3);
    EXPECT_EQ(state.setup().statusCaption, " [SELECTED] files");
}

TEST_F(FilterFixture, ClickingTheStripSelectsTheCategory)
{
    open();
    tabs.setSelectedTab(Picture + 1); // what a mouse press or arrow key does
    EXPECT_EQ(listed().size(), 3);
    tabs.keyPressed(Qt::Key_Left);
    EXPECT_EQ(state.setup().filterTag, "Text");
    EXPECT_EQ(listed(), QStringList({"notes.txt", "readme.txt"}));
}

TEST_F(FilterFixture, FolderOpenedUnderATabIsReadAgainForAnotherTab)
{
    filters.SelectCategory(Picture); // no folder yet: only the pattern changes
    open();                          // the folder read with the Picture pattern
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(filters.SelectCategory(Text), 2); // not narrowed from the pictures alone
    EXPECT_EQ(listed(), QStringList({"notes.txt", "readme.txt"}));
    EXPECT_EQ(filters.SelectCategory(All), 5);
    tree.file("late.txt", 1);
    EXPECT_EQ(filters.SelectCategory(Text), 2); // narrowed from the full copy: no read
}

TEST_F(FilterFixture, NarrowingRebuildsTheGroupedTree)
{
    settings.extensionNames = 0;
    state.setTreeType(TreeType::Extension);
    open();
    EXPECT_EQ(filters.SelectCategory(Picture), 3);
    const NodeTree& t = state.tree();
    ASSERT_EQ(t.children(t.root()).size(), 1u); // one group: the bitmaps
    EXPECT_EQ(t.children(t.children(t.root()).front()).size(), 3u);
    EXPECT_EQ(filters.SelectCategory(All), 5);
    EXPECT_EQ(t.children(t.root()).size(), 2u);
}
