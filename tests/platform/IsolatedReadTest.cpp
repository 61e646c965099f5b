#include "platform/IsolatedRead.h"

#include "common/TempTree.h"
#include "platform/FileNames.h"
#include "platform/TableSource.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using platform::IsolatedRead;
using platform::TableSourceError;

namespace {

/// A read by the stand-in reader, which misbehaves as `request` asks.
IsolatedRead StandIn(const QStringList& request,
                     std::chrono::milliseconds silence = IsolatedRead::DefaultSilence,
                     platform::HelperLimits limits = {})
{
    return IsolatedRead(request, silence, limits, QStringLiteral(LUMARA_READER_STAND_IN));
}

} // namespace

TEST(IsolatedRead, ListsArriveInOrderAndAFailureBringsItsMessage)
{
    IsolatedRead read = StandIn({QStringLiteral("lists")});
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
    IsolatedRead read = StandIn({QStringLiteral("long")});
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
    IsolatedRead crashing = StandIn({QStringLiteral("crash")});
    EXPECT_EQ(crashing.next(), QStringList({QStringLiteral("first")}));
    EXPECT_THROW((void)crashing.next(), TableSourceError);

    IsolatedRead hanging = StandIn({QStringLiteral("hang")}, std::chrono::milliseconds(200));
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
    // A library that complains on and on about a damaged file, on both streams.
    IsolatedRead read = StandIn({QStringLiteral("complain")});
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
    IsolatedRead read = StandIn({QStringLiteral("flood")}, IsolatedRead::DefaultSilence, limits);
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

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(IsolatedRead, MemoryPastItsLimitIsAFailureAndWithinItIsNot)
{
    const auto allocating = [](qint64 bytes) {
        return QStringList{QStringLiteral("allocate"), QString::number(bytes)};
    };
    platform::HelperLimits limits;
    limits.memory = qint64(64) << 20;
    IsolatedRead tooMuch =
        StandIn(allocating(qint64(400) << 20), IsolatedRead::DefaultSilence, limits);
    EXPECT_THROW((void)tooMuch.nextList(), TableSourceError);
    IsolatedRead enough =
        StandIn(allocating(qint64(16) << 20), IsolatedRead::DefaultSilence, limits);
    EXPECT_EQ(enough.nextList(), QStringList({QString::number(16 << 20)}));
}
#endif

TEST(IsolatedRead, TheHelperIsAProgramOfItsOwnThatGetsNothingButItsRequest)
{
    // A name that is no valid UTF-8 and a query with blanks arrive as they were sent.
    const QString oddName = platform::decodeFileName("caf\xe9 table.mdb");
    IsolatedRead arguments = StandIn({QStringLiteral("arguments"), oddName, "SELECT * FROM [a b]"});
    EXPECT_EQ(arguments.nextList(),
              QStringList({QString::fromLatin1(QByteArray("caf\xe9 table.mdb").toHex()),
                           QString::fromLatin1(QByteArray("SELECT * FROM [a b]").toHex())}));

    // A descriptor this process left open without close-on-exec stays here.
    const int leaked = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaked, 0);
    IsolatedRead descriptors = StandIn({QStringLiteral("descriptors")});
    const QStringList open = descriptors.nextList();
    ::close(leaked);
    EXPECT_TRUE(open.contains(QStringLiteral("3"))) << "the list pipe";
    EXPECT_FALSE(open.contains(QString::number(leaked))) << open.join(u' ').toStdString();
}

TEST(IsolatedRead, AHelperThatCannotStartIsAFailureWithTheReason)
{
    TempTree t;
    try {
        IsolatedRead read({QStringLiteral("tables")}, IsolatedRead::DefaultSilence, {},
                          t.path(QStringLiteral("no-such-helper")));
        ADD_FAILURE() << "a missing helper started";
    } catch (const TableSourceError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
            << e.what();
    }
}

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
