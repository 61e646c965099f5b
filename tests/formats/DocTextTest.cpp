#include "formats/DocText.h"

#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "formats/TextDecoding.h"

#include <gtest/gtest.h>

namespace {

TEST(DocText, ReadsSizeOver1024PlusOneBlocksPaddedWithSpaces)
{
    struct Case {
        qsizetype size;
        qsizetype expectedLength;
    };
    // Exact multiples of 1024 still get one more block of spaces.
    for (const Case c : {Case{0, 1024}, Case{1, 1024}, Case{1023, 1024}, Case{1024, 2048},
                         Case{2048, 3072}, Case{2049, 3072}}) {
        const QString text = DocText(QByteArray(c.size, 'a'));
        EXPECT_EQ(text.size(), c.expectedLength) << c.size;
        EXPECT_EQ(text.count(QLatin1Char('a')), c.size) << c.size;
        EXPECT_EQ(text.count(QLatin1Char(' ')), c.expectedLength - c.size) << c.size;
    }
}

TEST(DocText, KeepsPrintableBytesAndTurnsCarriageReturnsIntoLineFeeds)
{
    QByteArray bytes("Hello\r\nWorld\n\t~");
    bytes.append('\0').append(char(127)).append(char(0xE9)).append(char(31)).append(' ');
    bytes.append("end\r\r");
    SaveFuzzSeed(QStringLiteral("doc_text"), QStringLiteral("printable"), bytes);
    const QString text = DocText(bytes);
    EXPECT_EQ(text.left(20), QStringLiteral("Hello\nWorld~ end\n\n  "));
    EXPECT_EQ(text.size(), 1024 - (bytes.size() - 18));
}

TEST(DocText, ReadsFileAndReportsUnreadable)
{
    TempTree tree;
    const QString path = tree.file(QStringLiteral("report.doc"), QByteArray("\xD0\xCFTitle\r"));
    const std::optional<QString> text = DocTextOfFile(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->startsWith(QStringLiteral("Title\n ")));
    EXPECT_FALSE(DocTextOfFile(tree.path(QStringLiteral("missing.doc"))).has_value());
}

TEST(DecodeText, ChoosesUtf8Utf16OrWindows1252)
{
    struct Case {
        QByteArray bytes;
        QString expected;
    };
    const Case cases[] = {
        {QByteArray("plain ascii"), QStringLiteral("plain ascii")},
        {QByteArray("caf\xC3\xA9 \xE2\x82\xAC"), QStringLiteral(u"café €")},
        {QByteArray("\xEF\xBB\xBFmarked"), QStringLiteral("marked")},
        // Not valid UTF-8: every byte is a Windows-1252 character.
        {QByteArray("caf\xE9 \x80 \x93x\x94"), QStringLiteral(u"café € “x”")},
        {QByteArray("\xFF\xFEh\0i\0", 6), QStringLiteral("hi")},
        {QByteArray("\xFE\xFF\0h\0i", 6), QStringLiteral("hi")},
        {QByteArray("\xFF\xFE\xAC\x20", 4), QStringLiteral(u"€")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeText(c.bytes), c.expected) << c.bytes.toHex().constData();
}

TEST(DecodeWindows1252, MapsTheHighControlRangeAndKeepsLatin1)
{
    EXPECT_EQ(DecodeWindows1252(QByteArray("\x80\x8A\x9F\xA0\xFF\x81")),
              QStringLiteral(u"€ŠŸ\u00A0ÿ\u0081"));
}

} // namespace
