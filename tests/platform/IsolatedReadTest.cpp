#include "platform/IsolatedRead.h"

#include "platform/TableSource.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

using platform::IsolatedRead;
using platform::ListSink;
using platform::TableSourceError;

TEST(IsolatedRead, ListsArriveInOrderAndAFailureBringsItsMessage)
{
    IsolatedRead read([](ListSink& sink) {
        sink.send({QStringLiteral("Größe"), QString(), QStringLiteral("b")});
        sink.send({});
        throw TableSourceError("no such sheet");
    });
    EXPECT_EQ(read.next(), QStringList({QStringLiteral("Größe"), QString(), "b"}));
    EXPECT_EQ(read.next(), QStringList());
    try {
        (void)read.next();
        ADD_FAILURE() << "the failure did not arrive";
    } catch (const TableSourceError& e) {
        EXPECT_STREQ(e.what(), "no such sheet");
    }
    EXPECT_EQ(read.next(), std::nullopt);
}

TEST(IsolatedRead, MoreThanAPipeHoldsArrivesWhole)
{
    const QString longText(300000, QLatin1Char('x'));
    IsolatedRead read([&longText](ListSink& sink) {
        sink.send({longText});
        for (int i = 0; i < 20000; ++i)
            sink.send({QString::number(i), QStringLiteral("row")});
    });
    EXPECT_EQ(read.nextList(), QStringList({longText}));
    int rows = 0;
    while (std::optional<QStringList> row = read.next()) {
        ASSERT_EQ(*row, QStringList({QString::number(rows), QStringLiteral("row")}));
        ++rows;
    }
    EXPECT_EQ(rows, 20000);
    EXPECT_THROW((void)read.nextList(), TableSourceError);
}

TEST(IsolatedRead, AHelperThatCrashesOrHangsIsAFailure)
{
    IsolatedRead crashing([](ListSink& sink) {
        sink.send({QStringLiteral("first")});
        std::abort();
    });
    EXPECT_EQ(crashing.next(), QStringList({QStringLiteral("first")}));
    EXPECT_THROW((void)crashing.next(), TableSourceError);

    IsolatedRead hanging([](ListSink&) { std::this_thread::sleep_for(std::chrono::hours(1)); },
                         std::chrono::milliseconds(200));
    EXPECT_THROW((void)hanging.next(), TableSourceError);
    EXPECT_EQ(hanging.next(), std::nullopt);
}
