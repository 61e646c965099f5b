#include "platform/FileNames.h"

#include "common/FuzzSeeds.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray roundTrip(const QByteArray& bytes)
{
    return platform::encodeFileName(platform::decodeFileName(bytes));
}

} // namespace

TEST(FileNames, EveryByteComesBackAloneAndAmongText)
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray single(1, char(b));
        const QString name = platform::decodeFileName(single);
        ASSERT_EQ(name.size(), 1) << b;
        EXPECT_EQ(platform::encodeFileName(name), single) << b;
        EXPECT_EQ(platform::holdsRawBytes(name), b >= 0x80) << b;
        const QByteArray among = "caf\xc3\xa9-" + single + "-\xe2\x82\xac.txt";
        EXPECT_EQ(roundTrip(among), among) << b;
    }
    // Seeded noise: whatever the bytes, the trip is exact.
    QRandomGenerator random(7);
    for (int i = 0; i < 2000; ++i) {
        QByteArray noise(int(random.bounded(1, 40)), Qt::Uninitialized);
        for (char& c : noise)
            c = char(random.bounded(256));
        ASSERT_EQ(roundTrip(noise), noise) << noise.toHex().constData();
    }
    SaveFuzzSeed("file_names_fuzzer", "latin1", "caf\xe9.txt");
}

TEST(FileNames, OnlyStrictUtf8DecodesAsText)
{
    struct Case {
        const char* bytes;
        QString text; // the expected name; raw bytes as U+DC80..U+DCFF
    };
    const QString raw = [] {
        QString s;
        for (char16_t c : {0xDCC0, 0xDCAF})
            s += QChar(c);
        return s;
    }();
    const Case cases[] = {
        {"caf\xc3\xa9", QStringLiteral("caf\u00e9")},
        {"caf\xe9", QStringLiteral("caf") + QChar(0xDCE9)},
        {"\xc0\xaf", raw},                                                        // overlong '/'
        {"\xe0\x80\xaf", QString(QChar(0xDCE0)) + QChar(0xDC80) + QChar(0xDCAF)}, // overlong
        {"\xed\xa0\x80", QString(QChar(0xDCED)) + QChar(0xDCA0) + QChar(0xDC80)}, // U+D800
        {"\xf4\x90\x80\x80",
         QString(QChar(0xDCF4)) + QChar(0xDC90) + QChar(0xDC80) + QChar(0xDC80)}, // > U+10FFFF
        {"a\xe2\x82", QStringLiteral("a") + QChar(0xDCE2) + QChar(0xDC82)},       // cut short
        {"\xf0\x90\x82\x80", QString::fromUcs4(U"\U00010080")},
    };
    for (const Case& c : cases) {
        const QByteArray bytes(c.bytes);
        const QString name = platform::decodeFileName(bytes);
        EXPECT_EQ(name, c.text) << c.bytes;
        EXPECT_EQ(platform::encodeFileName(name), bytes) << c.bytes;
    }
    // U+10080's low half is U+DC80, yet it is a character, never a raw byte.
    const QString supplementary = platform::decodeFileName("\xf0\x90\x82\x80");
    EXPECT_FALSE(platform::holdsRawBytes(supplementary));
    EXPECT_EQ(platform::readableFileName(supplementary), supplementary);
    EXPECT_EQ(platform::readableFileName(platform::decodeFileName("bad\xff.txt")),
              QStringLiteral("bad\uFFFD.txt"));
    // Lone surrogates no name yields are written as U+FFFD rather than lost silently.
    EXPECT_EQ(platform::encodeFileName(QString(QChar(0xD800))), QByteArray("\xef\xbf\xbd"));
}

TEST(FileNames, UrlsCarryTheExactBytes)
{
    const QUrl url = platform::fileUrl(platform::decodeFileName("/tmp/bad\xff name.txt"));
    EXPECT_EQ(url.toEncoded(), QByteArray("file:///tmp/bad%FF%20name.txt"));
    EXPECT_EQ(platform::fileUrl("/tmp/plain.txt").toLocalFile(), "/tmp/plain.txt");
}

TEST(FileNames, FileUrlsReadBackToTheExactBytesOnlyForThisMachine)
{
    // Every byte value in a name, and the characters a URL gives a meaning to.
    QByteArray name = "/tmp/";
    for (int b = 1; b < 256; ++b)
        if (b != '/')
            name += char(b);
    for (const QByteArray& bytes : {name, QByteArray("/tmp/a%20b #1?x=2&y;z.txt"), QByteArray("/"),
                                    QByteArray("/tmp/\xc3\xa9t\xc3\xa9 \xe2\x80\xae.txt")}) {
        const QString path = platform::decodeFileName(bytes);
        const QByteArray url = platform::fileUrl(path).toEncoded();
        EXPECT_EQ(platform::encodeFileName(platform::localPathOfUrl(url)), bytes)
            << url.constData();
    }
    EXPECT_EQ(platform::localPathOfUrl("FILE://localhost/etc/hosts"), "/etc/hosts");
    EXPECT_EQ(platform::localPathOfUrl("file:/etc/hosts"), "/etc/hosts");
    EXPECT_EQ(platform::localPathOfUrl("file:///a/b%3Fc?query#part"), "/a/b?c");
    for (const char* other : {"file://elsewhere.example/etc/hosts", "http://localhost/etc/hosts",
                              "file:relative/x", "file://", "", "/etc/hosts", "file"})
        EXPECT_EQ(platform::localPathOfUrl(other), "") << other;
}
