#include "platform/IsolatedRead.h"

#include "common/TempTree.h"
#include "platform/TableSource.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

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

namespace {

/// Standard error of this process goes to a file while it lives.
class CapturedStandardError {
public:
    CapturedStandardError() : file_(std::tmpfile()), saved_(::dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        ::dup2(::fileno(file_), STDERR_FILENO);
    }
    ~CapturedStandardError()
    {
        release();
        std::fclose(file_);
    }
    /// Puts standard error back; what was written, in bytes.
    long release()
    {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
        return long(::lseek(::fileno(file_), 0, SEEK_END));
    }

private:
    std::FILE* file_;
    int saved_;
};

} // namespace

TEST(IsolatedRead, TheHelpersWarningsAreKeptUpToTheLimitAndTheRestDropped)
{
    CapturedStandardError captured;
    IsolatedRead read([](ListSink& sink) {
        // A library that complains on and on about a damaged file, on both streams.
        const std::string line(999, 'w');
        for (int i = 0; i < 4000; ++i) {
            std::fprintf(stderr, "%s\n", line.c_str());
            std::fprintf(stdout, "%s\n", line.c_str());
        }
        std::fflush(stdout);
        sink.send({QStringLiteral("done")}); // the helper outlived its warnings
    });
    EXPECT_EQ(read.next(), QStringList({QStringLiteral("done")}));
    EXPECT_EQ(read.next(), std::nullopt);
    const long written = captured.release();
    EXPECT_GT(written, 0) << "what was kept is passed on";
    EXPECT_LE(written, 1L << 20) << "4 MB of warnings down to at most 1 MB";
}

TEST(IsolatedRead, OutputPastItsLimitIsAFailure)
{
    platform::HelperLimits limits;
    limits.output = 1 << 20;
    IsolatedRead read(
        [](ListSink& sink) {
            const QString row(500, QLatin1Char('r'));
            for (int i = 0; i < 100000; ++i) // a damaged table that never ends
                sink.send({row});
        },
        IsolatedRead::DefaultSilence, limits);
    int rows = 0;
    EXPECT_THROW(
        {
            while (read.next())
                ++rows;
        },
        TableSourceError);
    EXPECT_GT(rows, 100);
    EXPECT_LT(rows, 1100) << "1 MB holds about a thousand such rows here";
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(IsolatedRead, MemoryPastItsLimitIsAFailureAndWithinItIsNot)
{
    const auto allocating = [](qint64 bytes) {
        return [bytes](ListSink& sink) {
            QByteArray block(bytes, 'm'); // throws (caught as a failure) past the cap
            sink.send({QString::number(block.count('m'))});
        };
    };
    platform::HelperLimits limits;
    limits.memory = qint64(64) << 20;
    IsolatedRead tooMuch(allocating(qint64(400) << 20), IsolatedRead::DefaultSilence, limits);
    EXPECT_THROW((void)tooMuch.nextList(), TableSourceError);
    IsolatedRead enough(allocating(qint64(16) << 20), IsolatedRead::DefaultSilence, limits);
    EXPECT_EQ(enough.nextList(), QStringList({QString::number(16 << 20)}));
}
#endif

TEST(HelperLimits, GrowWithTheFileAboveAFloor)
{
    TempTree t;
    const platform::HelperLimits small = platform::HelperLimits::forFile(t.file("s.mdb", 1000));
    EXPECT_EQ(small.memory, qint64(256) << 20);
    const platform::HelperLimits large =
        platform::HelperLimits::forFile(t.sparseFile("l.mdb", qint64(100) << 20));
    EXPECT_EQ(large.memory, qint64(800) << 20);
    EXPECT_GE(large.output, qint64(100) << 20);
    EXPECT_EQ(large.warnings, qint64(1) << 20);
}
