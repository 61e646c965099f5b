#include "tools/FindCriteria.h"

#include "common/TempTree.h"
#include "tools/ContentSearch.h"

#include <gtest/gtest.h>

namespace {

using Boxes = std::array<QString, ContentBoxCount>;

ContentCriteria Criteria(std::initializer_list<std::pair<QString, QString>> boxes)
{
    Boxes texts, connectors;
    int i = 0;
    for (const auto& [connector, text] : boxes) {
        connectors[size_t(i)] = connector;
        texts[size_t(i++)] = text;
    }
    return BuildContentCriteria(texts, connectors);
}

/// Evaluates against a file that holds exactly the words in `holds`; records which
/// criteria were tested.
int Evaluate(const ContentCriteria& criteria, const QStringList& holds,
             QList<int>* tested = nullptr)
{
    return EvaluateCriteria(criteria, [&](int k) -> std::optional<bool> {
        if (tested)
            tested->append(k);
        QString word = criteria.criteria[k];
        word.remove('#').remove('*');
        return holds.contains(word);
    });
}

} // namespace

TEST(ContentCriteriaBuild, WrapsNegatesSkipsEmptyBoxesAndDescribes)
{
    const ContentCriteria c = Criteria(
        {{"", " alpha "}, {"", ""}, {"AND", "<>beta"}, {"OR", "[0-9][0-9]"}, {"OR", "x*y"}});
    EXPECT_EQ(c.criteria, QStringList({"*ALPHA*", "#*BETA*", "[0-9][0-9]", "X*Y"}));
    EXPECT_EQ(c.connectors, QStringList({"", "AND", "OR", "OR"}));
    EXPECT_EQ(c.description, " =*ALPHA* AND =#*BETA* OR =[0-9][0-9] OR =X*Y");
    // A criterion that begins with "=" is shown without another one.
    EXPECT_EQ(Criteria({{"", "=x*"}, {"AND", "y"}}).description, " =X* AND =*Y*");
    EXPECT_EQ(Criteria({{"", "=x"}}).description, " =*=X*");
    EXPECT_EQ(Criteria({}).description, "*");
    EXPECT_EQ(Criteria({{"AND", "   "}}).count(), 0);
    // Only one of the brackets does not make a list.
    EXPECT_EQ(Criteria({{"", "a[b"}}).criteria, QStringList({"*A[B*"}));
}

TEST(ContentCriteriaBuild, ConnectorLabelsCycleAndNamesMeanContains)
{
    EXPECT_EQ(NextConnector(""), "AND");
    EXPECT_EQ(NextConnector("AND"), "OR");
    EXPECT_EQ(NextConnector("OR"), "AND");

    EXPECT_EQ(FindNamePattern(" txt "), "*TXT*");
    EXPECT_EQ(FindNamePattern("*.txt"), "*.TXT*");
    EXPECT_EQ(FindNamePattern("a*"), "*A*");
    EXPECT_EQ(FindNamePattern(""), "*");
    EXPECT_EQ(FindNamePattern("**"), "*");
    EXPECT_EQ(FindNamePattern("a**b"), "*A*B*");
}

TEST(CriteriaEvaluation, RunsStrictlyLeftToRight)
{
    const ContentCriteria alphaNotBeta = Criteria({{"", "alpha"}, {"AND", "<>beta"}});
    EXPECT_NE(Evaluate(alphaNotBeta, {"ALPHA"}), 0);
    EXPECT_EQ(Evaluate(alphaNotBeta, {"ALPHA", "BETA"}), 0);
    EXPECT_EQ(Evaluate(alphaNotBeta, {}), 0);

    // A OR B AND C is (A OR B) AND C.
    const ContentCriteria orAnd = Criteria({{"", "a"}, {"OR", "b"}, {"AND", "c"}});
    EXPECT_NE(Evaluate(orAnd, {"B", "C"}), 0);
    EXPECT_NE(Evaluate(orAnd, {"A", "B", "C"}), 0);
    EXPECT_EQ(Evaluate(orAnd, {"A"}), 0);
    EXPECT_EQ(Evaluate(orAnd, {"C"}), 0);

    // A AND B OR C fails a file without A even when it holds C; C is never tested.
    const ContentCriteria andOr = Criteria({{"", "a"}, {"AND", "b"}, {"OR", "c"}});
    QList<int> tested;
    EXPECT_EQ(Evaluate(andOr, {"C"}, &tested), 0);
    EXPECT_EQ(tested, QList<int>({0}));
    EXPECT_NE(Evaluate(andOr, {"A", "C"}), 0);

    // A criterion whose label was never clicked changes nothing.
    const ContentCriteria unjoined = Criteria({{"", "a"}, {"", "b"}});
    EXPECT_NE(Evaluate(unjoined, {"A"}), 0);
    EXPECT_EQ(Evaluate(unjoined, {"B"}), 0);
}

TEST(CriteriaEvaluation, AFailedTestEndsWithTheResultSoFar)
{
    const ContentCriteria c = Criteria({{"", "a"}, {"OR", "b"}, {"AND", "c"}});
    EXPECT_EQ(EvaluateCriteria(c, [](int) { return std::optional<bool>(); }), 0);
    EXPECT_EQ(EvaluateCriteria(
                  c, [](int k) { return k == 0 ? std::optional<bool>(true) : std::nullopt; }),
              1);
    // A negated criterion on an unreadable file does not pass it.
    EXPECT_EQ(EvaluateCriteria(Criteria({{"", "<>x"}}), QStringLiteral("/nonexistent/file")), 0);
}

TEST(ContentSearch, FindsTextAcrossTheBoundaryOfTwoBlocksIgnoringCase)
{
    TempTree t;
    QByteArray bytes(3000, '.');
    bytes.replace(1020, 8, "Boundary");
    const QString path = t.file("a.bin", bytes);
    EXPECT_EQ(ContentMatches(path, "*BOUNDARY*"), 1);
    EXPECT_EQ(ContentMatches(path, "*BOUN?ARY*"), 1); // the block-by-block path
    EXPECT_EQ(ContentMatches(path, "*MISSING*"), 0);
    EXPECT_EQ(ContentMatches(t.path("none"), "*X*"), 0);

    // Text beyond two blocks never fits.
    QByteArray longText(1500, 'z');
    QByteArray spread(5000, '.');
    spread.replace(1000, longText.size(), longText);
    const QString spreadPath = t.file("spread.bin", spread);
    EXPECT_EQ(ContentMatches(spreadPath, "*" + QString(1500, 'Z') + "*"), 0);
    EXPECT_EQ(ContentMatches(spreadPath, "*" + QString(1000, 'Z') + "*"), 1);
    // Within one pair of adjacent blocks (1024..3071) a long run is found.
    spread.replace(1024, 2000, QByteArray(2000, 'y'));
    const QString pairPath = t.file("pair.bin", spread);
    EXPECT_EQ(ContentMatches(pairPath, "*" + QString(2000, 'Y') + "*"), 1);
}

TEST(ContentSearch, WholeBlockPatternsAndBlankPadding)
{
    TempTree t;
    const QString digits = t.file("d.txt", QByteArray("12345"));
    // Not wrapped: it would have to fill a whole block, so it never matches.
    EXPECT_EQ(ContentMatches(digits, "[0-9][0-9]"), 0);
    EXPECT_EQ(ContentMatches(digits, "12345*"), 1);
    EXPECT_EQ(ContentMatches(digits, "*5" + QString(10, ' ') + "*"), 1); // blanks after the end
    EXPECT_EQ(ContentMatches(t.file("empty.txt", QByteArray()), "* *"), 1);
    // A file of exactly one block has a second, blank one.
    const QString exact = t.file("k.txt", QByteArray(1024, 'k'));
    EXPECT_EQ(ContentMatches(exact, "K*"), 1);
    EXPECT_EQ(ContentMatches(exact, QString(1024, ' ')), 1);
}

TEST(ContentSearch, LargeFilesAreSearchedAcrossReadsAndForEveryPatternAtOnce)
{
    TempTree t;
    QByteArray bytes(3 * 1024 * 1024 + 100, 'x');
    const int mib = 1024 * 1024;
    bytes.replace(mib - 3, 6, "needle");
    bytes.replace(2 * mib + 5000, 5, "lastw");
    bytes.replace(bytes.size() - 4, 4, "tail");
    const QString path = t.file("big.bin", bytes);
    const std::optional<std::vector<bool>> found =
        ScanContent(path, {BytePattern("*NEEDLE*"), BytePattern("*NEE?LE*"), BytePattern("*LASTW*"),
                           BytePattern("*TAIL *"), BytePattern("*ABSENT*")});
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, std::vector<bool>({true, true, true, true, false}));

    // The window gets a turn after every read of a big file: four reads of 1 MiB here.
    int turns = 0;
    EXPECT_TRUE(ScanContent(path, {BytePattern("*ABSENT*")}, [&turns] { ++turns; }));
    EXPECT_EQ(turns, 4);
}

TEST(ContentSearch, PlainTextIsFoundInEitherCaseOfLettersOnly)
{
    TempTree t;
    const auto holds = [&t](const QByteArray& bytes, const QString& pattern) {
        return ContentMatches(t.file("f.bin", QByteArray(700, '.') + bytes + "."), pattern);
    };
    // The rarest bytes (Z, J) of the text are looked for in both cases.
    EXPECT_EQ(holds("the jazz age", "*JAZZ*"), 1);
    EXPECT_EQ(holds("THE JAZZ AGE", "*jAzZ*"), 1);
    EXPECT_EQ(holds("the jaZz age", "*JA?Z*"), 1);
    EXPECT_EQ(holds("the jaz age", "*JAZZ*"), 0);
    // Bytes one bit 0x20 apart that are not ASCII letters never stand for each other.
    EXPECT_EQ(holds("caf\xc3\xa9", QString::fromUtf8("*CAF\xc3\x89*")), 0); // é is not É
    EXPECT_EQ(holds("caf\xc3\x89", QString::fromUtf8("*CAF\xc3\x89*")), 1);
    EXPECT_EQ(holds("a`b", "*A@B*"), 0);
    EXPECT_EQ(holds("a{b", "*A[B*"), 0);
    EXPECT_EQ(holds("a[b", "*A[B*"), 1);
    EXPECT_EQ(holds("x\x01y", "*X!Y*"), 0);
}

TEST(ContentSearch, TextIsFoundAtEveryOffsetBehindPlacesThatOnlyLookLikeIt)
{
    TempTree t;
    // The search strides over many bytes at once: the text at each offset of a stride and
    // near the end of the file, behind places whose rarest bytes fit but the rest not.
    for (int at = 0; at <= 394; ++at) {
        QByteArray bytes(400, '-');
        bytes.replace(at, 6, at % 2 ? "ZePhYr" : "zEpHyR");
        if (at >= 8)
            bytes.replace(at - 8, 6, "zxxxyr"); // Z and Y where ZEPHYR has them
        const QString path = t.file(QString("at%1.txt").arg(at), bytes);
        EXPECT_EQ(ContentMatches(path, "*ZEPHYR*"), 1) << "at " << at;
        // Only the last place is followed by the blanks past the end.
        EXPECT_EQ(ContentMatches(path, "*ZEPHYR *"), at == 394 ? 1 : 0) << "at " << at;
        bytes.replace(at + 5, 1, "-");
        EXPECT_EQ(ContentMatches(t.file(QString("cut%1.txt").arg(at), bytes), "*ZEPHYR*"), 0)
            << "at " << at;
    }
}

TEST(ContentSearch, WildcardPatternsAreTestedAroundEveryPlaceTheirTextIsFound)
{
    TempTree t;
    constexpr int mib = 1024 * 1024;
    // The first places that hold the text do not fit the whole pattern; a later one does.
    QByteArray bytes(3 * 4096, '-');
    bytes.replace(100, 5, "zephA");
    bytes.replace(2000, 5, "ZEPHb");
    bytes.replace(9000, 5, "zeph7");
    const QString several = t.file("several.txt", bytes);
    EXPECT_EQ(ContentMatches(several, "*ZEPH#*"), 1);
    EXPECT_EQ(ContentMatches(several, "*ZEPH##*"), 0);

    // A window that starts with QQQ and ends with WWW: only the pair of the last block of
    // the first large read and the first block of the next one.
    QByteArray spanning(mib + 2048, '-');
    spanning.replace(mib - 1024, 3, "qqq");
    spanning.replace(mib + 1021, 3, "www");
    const QString pair = t.file("pair.txt", spanning);
    EXPECT_EQ(ContentMatches(pair, "QQQ*WWW"), 1);
    EXPECT_EQ(ContentMatches(pair, "QQQ*WWW?"), 0);
    // The same inside one read, and the text of the pattern at a block's very end.
    QByteArray inside(8192, '-');
    inside.replace(1024, 3, "QqQ");
    inside.replace(3069, 3, "wWw");
    EXPECT_EQ(ContentMatches(t.file("inside.txt", inside), "QQQ*WWW"), 1);
    // Text that reaches into the blanks after the end of the file.
    EXPECT_EQ(ContentMatches(t.file("tail.txt", QByteArray(5000, '-') + "tai"), "*TAI? *"), 1);
    EXPECT_EQ(ContentMatches(t.file("tail2.txt", QByteArray(5000, '-') + "tai"), "*TAI?X*"), 0);
}

TEST(ContentSearch, PatternsFollowTheWildcardRules)
{
    const auto fits = [](const char* pattern, const QByteArray& text) {
        return BytePattern(pattern).matches(text.begin(), text.end());
    };
    EXPECT_TRUE(fits("A#C", "A1C"));
    EXPECT_FALSE(fits("A#C", "ABC"));
    EXPECT_TRUE(fits("[A-C]X", "BX"));
    EXPECT_FALSE(fits("[!A-C]X", "BX"));
    EXPECT_TRUE(fits("*B*D", "ABCD"));
    EXPECT_TRUE(fits("a?c", "ABC")); // the pattern is upper-cased like the file
    EXPECT_FALSE(fits("AB", "ABC"));
    EXPECT_EQ(BytePattern("*ALPHA*").containedText(), "ALPHA");
    EXPECT_TRUE(BytePattern("*AL?HA*").containedText().isEmpty());
}
