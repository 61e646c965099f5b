#include "formats/RtfReader.h"

#include "common/FuzzSeeds.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

namespace {

/// Each text run of the document with its format, in order.
QList<QTextFragment> fragments(const QTextDocument& doc)
{
    QList<QTextFragment> all;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            all.append(it.fragment());
    }
    return all;
}

/// The format of the run holding `text`; fails the test when no run holds it.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    for (const QTextFragment& f : fragments(doc)) {
        if (f.text().contains(text))
            return f.charFormat();
    }
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

QString plain(const QByteArray& rtf)
{
    SaveFuzzSeed(QStringLiteral("rtf"), QString::number(qHash(rtf), 16), rtf);
    QTextDocument doc;
    ReadRtf(rtf, doc);
    return doc.toPlainText();
}

TEST(RtfReader, KeepsCharacterFormattingFontsSizesAndColours)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "Normal \\b bold\\b0  then \\i italic\\i0  and \\ul under\\ulnone  done "
        "\\f1\\fs36 big times\\plain  reset \\cf1 red\\cf0  \\highlight2 marked\\highlight0  "
        "\\cb1 back}";
    SaveFuzzSeed(QStringLiteral("rtf"), QStringLiteral("formatting"), rtf);
    QTextDocument doc;
    ReadRtf(rtf, doc);
    EXPECT_EQ(doc.toPlainText().toStdString(),
              "Normal bold then italic and under done big times reset red marked back");

    const QTextCharFormat normal = formatOf(doc, QStringLiteral("Normal"));
    EXPECT_EQ(normal.fontWeight(), QFont::Normal);
    EXPECT_FALSE(normal.fontItalic());
    EXPECT_EQ(normal.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_DOUBLE_EQ(normal.fontPointSize(), 12.0);

    EXPECT_EQ(formatOf(doc, QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, QStringLiteral("then")).fontWeight(), QFont::Normal);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("italic")).fontItalic());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("under")).fontUnderline());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("done")).fontUnderline());

    const QTextCharFormat big = formatOf(doc, QStringLiteral("big times"));
    EXPECT_EQ(big.fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman")});
    EXPECT_DOUBLE_EQ(big.fontPointSize(), 18.0);
    EXPECT_DOUBLE_EQ(formatOf(doc, QStringLiteral("reset")).fontPointSize(), 12.0);

    EXPECT_EQ(formatOf(doc, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatOf(doc, QStringLiteral("marked")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, QStringLiteral("marked")).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatOf(doc, QStringLiteral("back")).background().color(), QColor(255, 0, 0));
}

TEST(RtfReader, GroupsRestoreTheFormatOfTheirParent)
{
    QTextDocument doc;
    ReadRtf("{\\rtf1 a{\\b b{\\i c}d}e}", doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("abcde"));
    EXPECT_EQ(formatOf(doc, QStringLiteral("a")).fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(doc, QStringLiteral("b")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("c")).fontItalic());
    EXPECT_EQ(formatOf(doc, QStringLiteral("c")).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatOf(doc, QStringLiteral("d")).fontItalic());
    EXPECT_EQ(formatOf(doc, QStringLiteral("e")).fontWeight(), QFont::Normal);
}

TEST(RtfReader, ReadsEscapesAndStructure)
{
    struct Case {
        QByteArray rtf;
        QString expected;
    };
    const Case cases[] = {
        {"{\\rtf1 caf\\'e9 \\'80}", QStringLiteral(u"café €")},
        // \uN is followed by \ucN fallback characters (1 by default) that are skipped.
        {"{\\rtf1 \\u8364?x \\u-4064?}", QStringLiteral(u"€x \uF020")},
        {"{\\rtf1\\uc2 \\u1488\\'e0\\'e0!}", QStringLiteral(u"א!")},
        {"{\\rtf1\\uc0 \\u1488 !}", QStringLiteral(u"א!")},
        {"{\\rtf1 one\\par two\\line three\\tab four}", QStringLiteral("one\ntwo\nthree\tfour")},
        {"{\\rtf1 \\{braces\\} and \\\\ slash}", QStringLiteral("{braces} and \\ slash")},
        // Line ends in the source are not text; a backslash before one is a paragraph.
        {"{\\rtf1 joined\r\nword\\\nnext}", QStringLiteral("joinedword\nnext")},
        {"{\\rtf1 \\ldblquote q\\rdblquote  \\emdash}", QStringLiteral(u"“q” —")},
        // Bytes follow the document's code page; double-byte characters stay whole.
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\b \\'e2\\b0 }", QStringLiteral(u"Прив")},
        {"{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}", QStringLiteral(u"日本")},
        {"{\\rtf1\\ansicpg99999 caf\\'e9}", QStringLiteral(u"café")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plain(c.rtf).toStdString(), c.expected.toStdString()) << c.rtf.constData();
}

TEST(RtfReader, SkipsDestinationsPicturesAndBinaryData)
{
    const QByteArray rtf =
        "{\\rtf1{\\info{\\title Secret}{\\author Me}}{\\stylesheet{\\s0 Normal;}}"
        "{\\*\\generator Writer;}A{\\*\\unknowndest {\\b nested} text}"
        "B{\\pict\\pngblip 89504e47}C{\\object{\\objdata 0102}{\\result R}}"
        "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}"
        "D{\\*\\blob\\bin4 }}}}}E}";
    EXPECT_EQ(plain(rtf), QStringLiteral("ABClinkDE"));
}

TEST(RtfReader, CentresParagraphsAndSurvivesBrokenInput)
{
    QTextDocument doc;
    ReadRtf("{\\rtf1\\pard\\qc centred\\par\\pard left}", doc);
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);

    EXPECT_EQ(plain("{\\rtf1 unclosed {\\b group"), QStringLiteral("unclosed group"));
    EXPECT_EQ(plain("{\\rtf1 extra}} close}"), QStringLiteral("extra close"));
    EXPECT_EQ(plain("{\\rtf1 cut \\'"), QStringLiteral("cut "));
    EXPECT_EQ(plain("{\\rtf1 trailing\\"), QStringLiteral("trailing"));
}

TEST(RtfReader, HtmlCarriesTheFormatting)
{
    const QString html = RtfToHtml("{\\rtf1{\\colortbl;\\red0\\green128\\blue0;}\\b\\cf1 go}");
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight:700"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("#008000"))) << html.toStdString();
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1 x}"));
    EXPECT_FALSE(LooksLikeRtf("plain {\\rtf"));
}

} // namespace

TEST(RtfReader, HiddenTextStaysHiddenAndFootnotesFollowTheText)
{
    // As Word writes them: hidden runs with \v, a hidden paragraph mark joining two
    // paragraphs, and footnotes whose reference mark is \chftn.
    EXPECT_EQ(plain("{\\rtf1 shown{\\v  secret} text \\v gone\\v0 back\\par "
                    "one{\\v\\par}two\\plain\\par}"),
              QStringLiteral("shown text back\nonetwo\n"));
    const QByteArray word =
        "{\\rtf1\\ansi First{\\super\\chftn}{\\*\\footnote\\pard\\plain{\\super\\chftn} "
        "Note one.}. Second{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Note "
        "two\\par continued.}.\\par Last line.}";
    EXPECT_EQ(
        plain(word),
        QStringLiteral("First1. Second2.\nLast line.\n\n1 Note one.\n2 Note two\ncontinued."));
    // A footnote inside a skipped destination stays out.
    EXPECT_EQ(plain("{\\rtf1 A{\\*\\unknown{\\footnote X}}B}"), QStringLiteral("AB"));
}
