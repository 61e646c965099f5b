#include "formats/RtfReader.h"

#include "formats/TextDecoding.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>
#include <vector>

namespace {

/// Where text goes: the document, a font or colour table, nowhere, or the footnote
/// being read (footnotes follow the text, as other viewers place them).
enum class Destination { Text, FontTable, ColorTable, Skip, Footnote };

// 1638 pt, as large as word processors let a font be; larger sizes only make the layout
// crawl.
constexpr int MostHalfPoints = 3276;

/// What a group inherits from its parent and restores when it ends.
struct GroupState {
    Destination destination = Destination::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false; // \v: hidden text, never shown
    int font = -1;
    int halfPoints = 24; // RTF's default size is 12 pt
    int foreground = 0;  // colour table index, 0 = automatic
    int background = 0;
    int unicodeSkip = 1; // \ucN: characters that follow a \uN as its fallback
};

// Destinations whose text must not show, even when written without \*.
const QStringList SkippedDestinations = {
    QStringLiteral("pict"),
    QStringLiteral("object"),
    QStringLiteral("info"),
    QStringLiteral("stylesheet"),
    QStringLiteral("header"),
    QStringLiteral("headerl"),
    QStringLiteral("headerr"),
    QStringLiteral("headerf"),
    QStringLiteral("footer"),
    QStringLiteral("footerl"),
    QStringLiteral("footerr"),
    QStringLiteral("footerf"),
    QStringLiteral("fldinst"),
    QStringLiteral("themedata"),
    QStringLiteral("listtable"),
    QStringLiteral("listoverridetable"),
    QStringLiteral("revtbl"),
    QStringLiteral("filetbl"),
    QStringLiteral("rsidtbl"),
    QStringLiteral("xmlnstbl"),
    QStringLiteral("datastore"),
    QStringLiteral("latentstyles"),
    QStringLiteral("colorschememapping"),
    QStringLiteral("nonshppict"),
    QStringLiteral("shp"),
    QStringLiteral("objdata"),
    QStringLiteral("pgdsctbl"),
};

class RtfParser {
public:
    RtfParser(const QByteArray& rtf, QTextDocument& document, const QFont& defaultFont)
        : in_(rtf), doc_(document), cursor_(&document), defaultFont_(defaultFont)
    {}

    void run()
    {
        doc_.clear();
        doc_.setDefaultFont(defaultFont_);
        cursor_ = QTextCursor(&doc_);
        // One edit block: a document shown in a window is laid out once at the end, not
        // after every run of text (thousands of lines took minutes).
        cursor_.beginEditBlock();
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            switch (c) {
            case '{':
                flush();
                pendingSkip_ = 0;
                stack_.push_back(state_);
                break;
            case '}':
                endGroup();
                break;
            case '\\':
                controlSequence();
                break;
            case '\r':
            case '\n':
                break;
            default:
                textByte(static_cast<unsigned char>(c));
            }
        }
        flush();
        appendFootnotes();
        cursor_.endEditBlock();
    }

private:
    void endGroup()
    {
        flush();
        pendingSkip_ = 0;
        if (state_.destination == Destination::FontTable && fontIndex_ >= 0 &&
            !fontName_.trimmed().isEmpty())
            commitFont();
        if (stack_.empty())
            return; // an unbalanced "}" ends nothing
        state_ = stack_.back();
        stack_.pop_back();
    }

    void controlSequence()
    {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!isLetter(c)) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        QString word;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            word += QLatin1Char(in_[pos_++]);
        bool hasParam = false;
        int param = 0;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9') {
            hasParam = true;
            param = param * 10 + (in_[pos_++] - '0');
            if (param > 100000000)
                param = 100000000;
        }
        if (negative)
            param = -param;
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_; // the delimiting space belongs to the control word
        controlWord(word, hasParam, param);
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\'': {
            if (pos_ + 2 > in_.size())
                return;
            bool ok = false;
            const int value = QByteArray(in_.constData() + pos_, 2).toInt(&ok, 16);
            pos_ += 2;
            if (ok)
                textByte(static_cast<unsigned char>(value));
            break;
        }
        case '*':
            state_.destination = Destination::Skip;
            break;
        case '~':
            appendChar(QChar(0x00A0));
            break;
        case '_':
            appendChar(QChar(0x2011));
            break;
        case '-':
            break; // optional hyphen
        case '\r':
        case '\n':
            paragraph();
            break;
        default: // \\ \{ \} and anything else stand for themselves
            textByte(static_cast<unsigned char>(c));
        }
    }

    void controlWord(const QString& word, bool hasParam, int param)
    {
        if (word == QLatin1String("footnote")) {
            startFootnote();
            return;
        }
        if (SkippedDestinations.contains(word)) {
            state_.destination = Destination::Skip;
            return;
        }
        if (word == QLatin1String("bin")) {
            pos_ += qMax(0, param); // raw binary data
            return;
        }
        if (pendingSkip_ > 0 && word != QLatin1String("u")) {
            --pendingSkip_; // a control word counts as one fallback character
            return;
        }
        if (state_.destination == Destination::Skip)
            return;
        const bool on = !hasParam || param != 0;
        if (word == QLatin1String("fonttbl")) {
            state_.destination = Destination::FontTable;
        } else if (word == QLatin1String("colortbl")) {
            state_.destination = Destination::ColorTable;
            colour_ = {};
        } else if (state_.destination == Destination::ColorTable) {
            const int value = qBound(0, param, 255);
            if (word == QLatin1String("red"))
                colour_.red = value;
            else if (word == QLatin1String("green"))
                colour_.green = value;
            else if (word == QLatin1String("blue"))
                colour_.blue = value;
            else
                return;
            colour_.set = true;
        } else if (word == QLatin1String("f")) {
            if (state_.destination == Destination::FontTable) {
                fontIndex_ = param;
                fontName_.clear();
            } else {
                setFormat([&] { state_.font = param; });
            }
        } else if (word == QLatin1String("deff")) {
            defaultFontIndex_ = param;
        } else if (word == QLatin1String("ansicpg")) {
            setCodePage(param);
        } else if (state_.destination == Destination::FontTable) {
            return; // font family and charset words
        } else if (word == QLatin1String("b")) {
            setFormat([&] { state_.bold = on; });
        } else if (word == QLatin1String("i")) {
            setFormat([&] { state_.italic = on; });
        } else if (word == QLatin1String("ul")) {
            setFormat([&] { state_.underline = on; });
        } else if (word == QLatin1String("v")) {
            setFormat([&] { state_.hidden = on; });
        } else if (word == QLatin1String("chftn")) {
            appendText(QString::number(footnoteNumber()));
        } else if (word == QLatin1String("ulnone")) {
            setFormat([&] { state_.underline = false; });
        } else if (word == QLatin1String("plain")) {
            setFormat([&] {
                state_.bold = state_.italic = state_.underline = state_.hidden = false;
                state_.font = -1;
                state_.halfPoints = 24;
                state_.foreground = state_.background = 0;
            });
        } else if (word == QLatin1String("fs")) {
            setFormat([&] {
                state_.halfPoints = hasParam && param > 0 ? qMin(param, MostHalfPoints) : 24;
            });
        } else if (word == QLatin1String("cf")) {
            setFormat([&] { state_.foreground = param; });
        } else if (word == QLatin1String("highlight") || word == QLatin1String("cb")) {
            setFormat([&] { state_.background = param; });
        } else if (word == QLatin1String("uc")) {
            state_.unicodeSkip = qMax(0, param);
        } else if (word == QLatin1String("u")) {
            appendChar(QChar(char16_t(param < 0 ? param + 65536 : param)));
            pendingSkip_ = state_.unicodeSkip;
        } else if (word == QLatin1String("par") || word == QLatin1String("row")) {
            paragraph();
        } else if (word == QLatin1String("line")) {
            appendChar(QChar::LineSeparator);
        } else if (word == QLatin1String("tab") || word == QLatin1String("cell")) {
            appendChar(QLatin1Char('\t'));
        } else if (word == QLatin1String("pard")) {
            flush();
            alignment_ = Qt::AlignLeft;
        } else if (word == QLatin1String("qc")) {
            alignment_ = Qt::AlignHCenter;
        } else if (word == QLatin1String("qr")) {
            alignment_ = Qt::AlignRight;
        } else if (word == QLatin1String("qj")) {
            alignment_ = Qt::AlignJustify;
        } else if (word == QLatin1String("ql")) {
            alignment_ = Qt::AlignLeft;
        } else {
            specialCharacter(word);
        }
    }

    void specialCharacter(const QString& word)
    {
        static const QHash<QString, char16_t> chars{
            {QStringLiteral("emdash"), 0x2014},    {QStringLiteral("endash"), 0x2013},
            {QStringLiteral("bullet"), 0x2022},    {QStringLiteral("lquote"), 0x2018},
            {QStringLiteral("rquote"), 0x2019},    {QStringLiteral("ldblquote"), 0x201C},
            {QStringLiteral("rdblquote"), 0x201D}, {QStringLiteral("emspace"), 0x2003},
            {QStringLiteral("enspace"), 0x2002},
        };
        if (const auto it = chars.constFind(word); it != chars.constEnd())
            appendChar(QChar(it.value()));
    }

    /// A byte of text in the document's code page (Windows-1252).
    void textByte(unsigned char b)
    {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        switch (state_.destination) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            if (b == ';')
                commitFont();
            else
                fontName_ += DecodeWindows1252(QByteArray(1, char(b)));
            return;
        case Destination::ColorTable:
            if (b == ';') {
                colours_.push_back(colour_.set ? QColor(colour_.red, colour_.green, colour_.blue)
                                               : QColor());
                colour_ = {};
            }
            return;
        case Destination::Text:
        case Destination::Footnote:
            // Kept as bytes until the run ends, so double-byte code pages decode whole.
            if (!state_.hidden)
                pendingBytes_ += char(b);
        }
    }

    [[nodiscard]] bool showsText() const
    {
        return (state_.destination == Destination::Text ||
                state_.destination == Destination::Footnote) &&
               !state_.hidden;
    }

    void appendChar(QChar c)
    {
        if (!showsText())
            return;
        decodePendingBytes();
        pending_ += c;
    }

    void appendText(const QString& text)
    {
        for (const QChar c : text)
            appendChar(c);
    }

    /// A footnote group: its text is kept apart and added after the document's text.
    /// Only a footnote in the text counts, not one inside a destination that is skipped.
    void startFootnote()
    {
        const Destination outer = stack_.empty() ? Destination::Text : stack_.back().destination;
        if (outer != Destination::Text)
            return;
        flush();
        state_.destination = Destination::Footnote;
        footnotes_.append(QString());
    }

    /// The number \chftn stands for: the footnote being read, or in the text the one
    /// that comes next.
    [[nodiscard]] qsizetype footnoteNumber() const
    {
        return state_.destination == Destination::Footnote ? footnotes_.size()
                                                           : footnotes_.size() + 1;
    }

    /// The footnotes after the text, one paragraph each, after an empty one.
    void appendFootnotes()
    {
        if (footnotes_.isEmpty())
            return;
        state_ = GroupState();
        alignment_ = Qt::AlignLeft;
        cursor_.movePosition(QTextCursor::End);
        cursor_.insertBlock(QTextBlockFormat());
        for (const QString& note : std::as_const(footnotes_)) {
            for (const QString& line : note.split(u'\n')) {
                if (line.trimmed().isEmpty())
                    continue;
                cursor_.insertBlock(QTextBlockFormat());
                cursor_.insertText(line.trimmed(), charFormat());
            }
        }
    }

    /// Text bytes use Windows-1252 unless \ansicpg names another code page we know.
    void setCodePage(int codePage)
    {
        decodePendingBytes();
        if (codePage == 1252 || codePage <= 0) {
            codePage_.reset();
            return;
        }
        QStringDecoder decoder(QByteArray("windows-" + QByteArray::number(codePage)).constData());
        if (decoder.isValid())
            codePage_.emplace(std::move(decoder));
    }

    void decodePendingBytes()
    {
        if (pendingBytes_.isEmpty())
            return;
        pending_ += codePage_ ? codePage_->decode(pendingBytes_) : DecodeWindows1252(pendingBytes_);
        pendingBytes_.clear();
    }

    void commitFont()
    {
        if (fontIndex_ >= 0)
            fonts_.insert(fontIndex_, fontName_.trimmed());
        fontIndex_ = -1;
        fontName_.clear();
    }

    /// Writes the pending text before a formatting change takes effect.
    template <typename Change> void setFormat(Change change)
    {
        flush();
        change();
    }

    void paragraph()
    {
        if (state_.hidden)
            return; // a hidden paragraph mark joins its paragraph to the next
        if (state_.destination == Destination::Footnote) {
            flush();
            footnotes_.last() += u'\n';
            return;
        }
        if (state_.destination != Destination::Text)
            return;
        flush();
        applyAlignment();
        QTextBlockFormat next;
        next.setAlignment(alignment_);
        cursor_.insertBlock(next);
    }

    void applyAlignment()
    {
        QTextBlockFormat block = cursor_.blockFormat();
        if (block.alignment() != alignment_) {
            block.setAlignment(alignment_);
            cursor_.setBlockFormat(block);
        }
    }

    void flush()
    {
        decodePendingBytes();
        if (pending_.isEmpty())
            return;
        if (state_.destination == Destination::Footnote) {
            footnotes_.last() += pending_;
            pending_.clear();
            return;
        }
        applyAlignment();
        cursor_.insertText(pending_, charFormat());
        pending_.clear();
    }

    [[nodiscard]] QTextCharFormat charFormat() const
    {
        QTextCharFormat format;
        const int fontIndex = state_.font >= 0 ? state_.font : defaultFontIndex_;
        if (const auto it = fonts_.constFind(fontIndex); it != fonts_.constEnd())
            format.setFontFamilies({it.value()});
        format.setFontPointSize(state_.halfPoints / 2.0);
        format.setFontWeight(state_.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(state_.italic);
        format.setFontUnderline(state_.underline);
        if (const QColor c = colourAt(state_.foreground); c.isValid())
            format.setForeground(c);
        if (const QColor c = colourAt(state_.background); c.isValid())
            format.setBackground(c);
        return format;
    }

    /// The colour table entry, invalid for index 0 (automatic) or past the table.
    [[nodiscard]] QColor colourAt(int index) const
    {
        if (index <= 0 || index >= int(colours_.size()))
            return {};
        return colours_[size_t(index)];
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    const QByteArray& in_;
    QTextDocument& doc_;
    QTextCursor cursor_;
    QFont defaultFont_;
    qsizetype pos_ = 0;
    GroupState state_;
    std::vector<GroupState> stack_;
    QString pending_;
    QByteArray pendingBytes_;
    std::optional<QStringDecoder> codePage_;
    int pendingSkip_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QHash<int, QString> fonts_;
    int fontIndex_ = -1;
    QString fontName_;
    int defaultFontIndex_ = 0;
    std::vector<QColor> colours_;
    QStringList footnotes_;
    struct {
        int red = 0;
        int green = 0;
        int blue = 0;
        bool set = false; // an entry without components is the automatic colour
    } colour_;
};

} // namespace

void ReadRtf(const QByteArray& rtf, QTextDocument& document, const QFont& defaultFont)
{
    RtfParser(rtf, document, defaultFont).run();
}

QString RtfToHtml(const QByteArray& rtf, const QFont& defaultFont)
{
    QTextDocument document;
    ReadRtf(rtf, document, defaultFont);
    return document.toHtml();
}

bool LooksLikeRtf(const QByteArray& bytes)
{
    return bytes.startsWith("{\\rtf");
}
