#include "tools/ContentReadAhead.h"

#include "common/TempTree.h"
#include "tools/ContentSearch.h"

#include <gtest/gtest.h>

namespace {

ContentCriteria TwoWords()
{
    std::array<QString, ContentBoxCount> texts, connectors;
    texts[0] = "quartz";
    texts[1] = "<>lynx";
    connectors[1] = "AND";
    return BuildContentCriteria(texts, connectors);
}

} // namespace

TEST(ContentReadAhead, AnswersEachFileAsItsOwnScanDoesInTheListOrder)
{
    TempTree t;
    const ContentCriteria criteria = TwoWords();
    std::vector<QString> paths;
    std::vector<std::optional<std::vector<bool>>> alone;
    for (int i = 0; i < 80; ++i) {
        QByteArray bytes(i % 9 == 0 ? 1100 * 1024 : 700 + i, '.');
        if (i % 2 == 0)
            bytes.replace(bytes.size() / 2, 6, "QUARTZ");
        if (i % 3 == 0)
            bytes.replace(10, 4, "lynx");
        // Every fifth is searched by the caller itself; one file is gone.
        paths.push_back(i % 5 == 4 ? QString() : t.file(QString("f%1").arg(i), bytes));
    }
    paths[7] = t.path("missing");
    for (const QString& path : paths)
        alone.push_back(path.isEmpty() ? std::nullopt
                                       : ScanContent(path, ContentPatterns(criteria)));
    ASSERT_EQ(alone[7], std::nullopt);

    ContentReadAhead ahead(criteria, paths);
    for (size_t i = 0; i < paths.size(); ++i) {
        int turns = 0;
        const std::optional<std::vector<bool>> found = ahead.take(i, [&turns] { ++turns; });
        EXPECT_EQ(found, alone[i]) << "file " << i;
        if (alone[i]) {
            EXPECT_EQ(EvaluateCriteria(criteria, found), i % 2 == 0 && i % 3 != 0 ? 1 : 0);
        }
    }
}

TEST(ContentReadAhead, StoppingLeavesTheRestUnsearchedAndWaitsForNone)
{
    TempTree t;
    std::vector<QString> paths;
    for (int i = 0; i < 100; ++i)
        paths.push_back(t.file(QString("f%1").arg(i), QByteArray(5000, 'q')));
    ContentReadAhead ahead(TwoWords(), paths);
    EXPECT_TRUE(ahead.take(0, {}).has_value());
    ahead.stop();
    // Files started ahead end as unread once stopped; the rest are never searched.
    EXPECT_FALSE(ahead.take(99, {}).has_value());
}
