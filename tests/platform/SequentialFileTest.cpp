#include "platform/SequentialFile.h"

#include "common/TempTree.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

/// Everything `file` hands out, read in pieces of `piece` bytes.
QByteArray ReadAll(platform::SequentialFile& file, qint64 piece)
{
    QByteArray all;
    QByteArray buffer(piece, '\0');
    for (;;) {
        const qint64 n = file.read(buffer.data(), piece);
        EXPECT_GE(n, 0);
        if (n <= 0)
            return all;
        all.append(buffer.constData(), n);
    }
}

} // namespace

TEST(SequentialFile, ReadsARegularFileToTheLengthItHadWhenOpened)
{
    TempTree t;
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.append(char('a' + i % 26));
    const QString path = t.file(QStringLiteral("caf\u00e9 \xff.txt"), bytes);
    for (const qint64 piece : {1LL, 4096LL, 69999LL, 1LL << 20}) {
        platform::SequentialFile file(path);
        ASSERT_TRUE(file.isOpen());
        EXPECT_EQ(file.size(), bytes.size());
        EXPECT_EQ(ReadAll(file, piece), bytes) << piece;
        EXPECT_EQ(file.read(bytes.data(), 10), 0); // still at the end
    }
    // What is added after opening is not read.
    platform::SequentialFile growing(path);
    QFile more(path);
    ASSERT_TRUE(more.open(QIODevice::Append));
    more.write("tail");
    more.close();
    EXPECT_EQ(ReadAll(growing, 1 << 16), bytes);
    // Cut short after opening: the read ends where the file does.
    platform::SequentialFile cut(path);
    ASSERT_TRUE(QFile::resize(path, 100));
    EXPECT_EQ(ReadAll(cut, 1 << 16), bytes.left(100));
    EXPECT_TRUE(platform::SequentialFile(t.file(QStringLiteral("empty"))).isOpen());
}

TEST(SequentialFile, RefusesWhatIsNoRegularFileWithoutWaiting)
{
    TempTree t;
    // A pipe nobody writes to would block a plain open or read for ever.
    platform::SequentialFile pipe(t.fifo(QStringLiteral("pipe")));
    EXPECT_FALSE(pipe.isOpen());
    char c = 0;
    EXPECT_EQ(pipe.read(&c, 1), -1);
    EXPECT_FALSE(platform::SequentialFile(t.folder(QStringLiteral("dir"))).isOpen());
    EXPECT_FALSE(platform::SequentialFile(t.path(QStringLiteral("missing"))).isOpen());
}
