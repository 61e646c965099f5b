#include "TreeFixture.h"
#include "platform/FileNames.h"
#include "trees/GroupedTree.h"

#include <gtest/gtest.h>

namespace {

/// Names whose order trips a comparison that forgets the TAB and item data each scratch
/// line ends with: prefixes of each other, codes below and at the TAB, TABs inside,
/// case twins, bytes that are not UTF-8, an empty name, a very long one.
QStringList OddEntries()
{
    return {QStringLiteral("a"),
            QStringLiteral("a\x01"),
            QStringLiteral("a\t"),
            QStringLiteral("a\t0"),
            QStringLiteral("a\t0b"),
            QStringLiteral("a\t/"),
            QStringLiteral("a!"),
            QStringLiteral("A"),
            QStringLiteral("b\tc"),
            QString(),
            QStringLiteral("Readme.TXT"),
            QStringLiteral("README.txt"),
            QStringLiteral("readme.txt"),
            platform::decodeFileName("caf\xe9.txt"),
            QStringLiteral("caf\u00e9.txt"),
            QString(300, QLatin1Char('x')) + QStringLiteral(".long"),
            QString(300, QLatin1Char('x'))};
}

int Sign(int c)
{
    return (c > 0) - (c < 0);
}

/// The tree `files` gives, built the lean way or from their scratch lines.
QStringList GroupedOutline(const GroupedFiles& files, bool fromLines, bool backwards)
{
    TreeFixture f;
    f.header(QStringLiteral("/data/"));
    FileList::Edit(f.state).tree().add(NodeTree::None, QStringLiteral("R"),
                                       QStringLiteral("/data"));
    const auto groupText = [](QStringView line, int tab) { return line.left(tab); };
    if (fromLines) {
        ListBoy lines;
        for (size_t i = 0; i < files.size(); ++i)
            lines.Additem(ScratchLine(files.keyOf(i), files.entryOf(i)));
        BuildGroupsFromList1(f.state, lines, f.settings, backwards, groupText, QString());
    } else {
        BuildGroupsFromFiles(f.state, f.settings, backwards, groupText, QString(), files);
    }
    return f.outline();
}

} // namespace

TEST(GroupedFiles, EntriesCompareAsTheirScratchLineEnds)
{
    const QStringList entries = OddEntries();
    for (const QString& a : entries) {
        for (const QString& b : entries) {
            const QString lineA = a + QStringLiteral("\t0");
            const QString lineB = b + QStringLiteral("\t0");
            EXPECT_EQ(Sign(CompareFiledEntries(a, b)), Sign(lineA.compare(lineB)))
                << a.toStdString() << " | " << b.toStdString();
        }
    }
}

TEST(GroupedFiles, TreeMatchesTheOneBuiltFromSortedScratchLines)
{
    // Keys that begin one another and sit either side of the TAB; with a TAB inside a
    // key the lines themselves are sorted.
    const QStringList keyChoices[] = {
        {QStringLiteral(".C"), QStringLiteral(".CPP"), QStringLiteral(".C\x01"),
         QStringLiteral("."), QString(), QStringLiteral(".c")},
        {QStringLiteral(".C"), QStringLiteral(".C\tX"), QStringLiteral(".CPP")}};
    const QStringList entries = OddEntries();
    for (const QStringList& keys : keyChoices) {
        GroupedFiles files;
        // Each entry under two keys, so every key gathers a run of odd names, and once
        // more after a long start they share, which the first characters cannot settle.
        for (qsizetype i = 0; i < entries.size(); ++i) {
            files.add(keys[i % keys.size()], entries[i]);
            files.add(keys[(i * 5 + 1) % keys.size()], entries[i] + QStringLiteral("~"));
            files.add(keys[(i * 3 + 2) % keys.size()],
                      QStringLiteral("shared start ") + entries[i]);
        }
        for (const bool backwards : {false, true}) {
            EXPECT_EQ(GroupedOutline(files, false, backwards),
                      GroupedOutline(files, true, backwards))
                << keys.join(u',').toStdString() << (backwards ? " backwards" : "");
        }
    }
}
