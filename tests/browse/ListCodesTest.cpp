#include "browse/ListCodes.h"

#include <gtest/gtest.h>
#include <set>

TEST(ListCodes, EveryValueHasItsOwnWordAndComesBackFromIt)
{
    std::set<QString> treeWords;
    for (TreeType type : {TreeType::PlainList, TreeType::Extension, TreeType::Date, TreeType::Size,
                          TreeType::Age}) {
        const QString word = TreeTypeWord(type);
        EXPECT_FALSE(word.isEmpty());
        EXPECT_EQ(TreeTypeFromWord(word), type) << word.toStdString();
        treeWords.insert(word);
    }
    EXPECT_EQ(treeWords.size(), 5u);

    std::set<QString> sortWords;
    for (SortKey key : {SortKey::Name, SortKey::Extension, SortKey::Size}) {
        const QString word = SortKeyWord(key);
        EXPECT_EQ(SortKeyFromWord(word), key) << word.toStdString();
        sortWords.insert(word);
    }
    EXPECT_EQ(sortWords.size(), 3u);
    EXPECT_TRUE(SortKeyWord(SortKey::None).isEmpty());

    for (DateBasis basis : {DateBasis::Created, DateBasis::Modified})
        EXPECT_EQ(DateBasisFromWord(DateBasisWord(basis)), basis);
    EXPECT_NE(DateBasisWord(DateBasis::Created), DateBasisWord(DateBasis::Modified));
}

TEST(ListCodes, WordsOutsideTheTablesAreRefused)
{
    for (const char* word : {"", "NAM", "Name", "names", "extension", "modified "}) {
        EXPECT_FALSE(SortKeyFromWord(QString::fromLatin1(word))) << word;
        EXPECT_FALSE(TreeTypeFromWord(QString::fromLatin1(word))) << word;
        EXPECT_FALSE(DateBasisFromWord(QString::fromLatin1(word))) << word;
    }
}

TEST(ListCodes, TheMenuFlipStartsAscendingAndThenAlternates)
{
    EXPECT_EQ(FlippedDirection(SortDirection::Unset), SortDirection::Ascending);
    EXPECT_EQ(FlippedDirection(SortDirection::Ascending), SortDirection::Descending);
    EXPECT_EQ(FlippedDirection(SortDirection::Descending), SortDirection::Ascending);
    EXPECT_EQ(SortKeyName(SortKey::Extension), "Extension");
    EXPECT_EQ(SortDirectionName(SortDirection::Descending), "Descending");
    EXPECT_TRUE(SortDirectionName(SortDirection::Unset).isEmpty());
}
