#include "browse/Wildcard.h"

#include "common/FuzzSeeds.h"

#include <gtest/gtest.h>

TEST(Wildcard, PatternTable)
{
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    };
    const Case cases[] = {
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"a*", "a", true},
        {"*.txt", "notes.txt", true},
        {"*.txt", "notes.txt.bak", false},
        {"*.txt", "notes.TXT", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"file#", "file7", true},
        {"file#", "filex", false},
        {"##", "1", false},
        {"[abc]x", "bx", true},
        {"[a-c]*", "cat", true},
        {"[a-c]*", "dog", false},
        {"[!a-c]*", "dog", true},
        {"[0-9A-F][0-9A-F]", "7E", true},
        {"[z-a]", "m", true}, // reversed range taken as written the other way
        {"x[", "x[", true},   // unclosed bracket is literal
        {"x[!", "x[!", true},
        {"*a*b*c", "zzabxxc", true},
        {"*a*b*c", "zzabxxcd", false},
        {"a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {"**x", "abx", true},
        {"*?", "", false},
        {"*?", "q", true},
    };
    int seed = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
            << c.pattern << " vs " << c.text;
        // The fuzz target takes the pattern, a NUL, then the name.
        SaveFuzzSeed(QStringLiteral("wildcard"), QString::number(seed++),
                     QByteArray(c.pattern) + '\0' + QByteArray(c.text));
    }
}

TEST(Wildcard, CaseInsensitiveComparesInUpperCase)
{
    EXPECT_TRUE(WildcardMatch(u"Notes.txt", u"*.TXT", Qt::CaseInsensitive));
    EXPECT_TRUE(WildcardMatch(u"Q", u"[a-z]", Qt::CaseInsensitive));
    EXPECT_FALSE(WildcardMatch(u"Q", u"[a-z]", Qt::CaseSensitive));
    EXPECT_TRUE(WildcardMatch(u"ÄPFEL", u"äpfel", Qt::CaseInsensitive));
}

TEST(Wildcard, LongTextsWithManyStarsStayFast)
{
    // Exponential backtracking would never finish on this.
    const QString text(20000, u'a');
    QString pattern;
    for (int i = 0; i < 30; ++i)
        pattern += QStringLiteral("*a");
    EXPECT_FALSE(WildcardMatch(text, pattern + QStringLiteral("b")));
    EXPECT_TRUE(WildcardMatch(text, pattern));
}

TEST(NamePatternList, SemicolonListsAndCatchAll)
{
    const NamePatternList docs("*.txt;*.md");
    EXPECT_FALSE(docs.takesAll());
    EXPECT_TRUE(docs.matches(u"README.MD"));
    EXPECT_TRUE(docs.matches(u"a.Txt"));
    EXPECT_FALSE(docs.matches(u"a.txt~"));
    EXPECT_FALSE(docs.matches(u"image.png"));

    for (const char* all : {"*.*", "*", "", ";", "*.txt;*.*"}) {
        const NamePatternList list{QString::fromLatin1(all)};
        EXPECT_TRUE(list.takesAll()) << all;
        EXPECT_TRUE(list.matches(u"Makefile")) << all;
    }
    EXPECT_TRUE(NamePatternList(" *.c ; *.h ").matches(u"x.h"));
}
