#include "tools/ContentSearch.h"

#include "platform/SequentialFile.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define LUMARA_WIDE_PROBE 1
#endif

namespace {

unsigned char UpperAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

void UpperCopy(const char* from, qsizetype size, char* into)
{
    const auto* p = reinterpret_cast<const unsigned char*>(from);
    auto* q = reinterpret_cast<unsigned char*>(into);
    for (qsizetype i = 0; i < size; ++i) // a loop the compiler vectorises
        q[i] = static_cast<unsigned char>(p[i] - (unsigned(p[i] - 'a') < 26u ? 32 : 0));
}

// Blocks per read: 1 MiB reads keep the system calls few.
constexpr qsizetype BlocksPerRead = 1024;

/// How often a byte turns up in ordinary files, letters of both cases counted together
/// (the search looks for both): the rarer, the fewer places to confirm.
int ByteFrequency(unsigned char c)
{
    static constexpr char ByFrequency[] = "ETAOINSRHLDCUMFPGWYBVKXJQZ";
    const unsigned char upper = UpperAscii(c);
    if (upper >= 'A' && upper <= 'Z')
        return 250 - 6 * int(std::strchr(ByFrequency, upper) - ByFrequency);
    if (c == ' ')
        return 255;
    if (c == '\n' || c == '.' || c == ',' || c == 0 || c == '\r' || c == '\t')
        return 120;
    if (c >= '0' && c <= '9')
        return 90;
    if (c < 0x80)
        return c >= 0x20 ? 40 : 10;
    return 30;
}

/// One byte of the text the search looks for: a byte b fits when (b | caseBit) == want,
/// so a letter fits in either case.
struct Probe {
    qsizetype index = 0;
    unsigned char want = 0;
    unsigned char caseBit = 0;
    [[nodiscard]] bool fits(char c) const
    {
        return (static_cast<unsigned char>(c) | caseBit) == want;
    }
};

#if defined(LUMARA_WIDE_PROBE)
bool HasWideVectors()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

__attribute__((target("avx2"))) inline __m256i FitsWide(const char* p, __m256i bit, __m256i want)
{
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return _mm256_cmpeq_epi8(_mm256_or_si256(bytes, bit), want);
}

/// The probe over 64 starts a step with 32-byte vectors, on processors that have them:
/// the first start from `s` on whose two bytes fit, or -1 with `s` left at the first
/// start not looked at (fewer than 64 before `last`).
__attribute__((target("avx2"))) qsizetype NextWide(const char* data, qsizetype& s, qsizetype last,
                                                   Probe a, Probe b)
{
    const __m256i wantA = _mm256_set1_epi8(char(a.want));
    const __m256i wantB = _mm256_set1_epi8(char(b.want));
    const __m256i bitA = _mm256_set1_epi8(char(a.caseBit));
    const __m256i bitB = _mm256_set1_epi8(char(b.caseBit));
    for (; s + 63 <= last; s += 64) {
        const char* p = data + s;
        const __m256i low = _mm256_and_si256(FitsWide(p + a.index, bitA, wantA),
                                             FitsWide(p + b.index, bitB, wantB));
        const __m256i high = _mm256_and_si256(FitsWide(p + 32 + a.index, bitA, wantA),
                                              FitsWide(p + 32 + b.index, bitB, wantB));
        if (_mm256_testz_si256(_mm256_or_si256(low, high), _mm256_or_si256(low, high)))
            continue;
        const auto mask = quint64(unsigned(_mm256_movemask_epi8(low))) |
                          quint64(unsigned(_mm256_movemask_epi8(high))) << 32;
        return s + __builtin_ctzll(mask);
    }
    return -1;
}
#endif

/// Finds the places where a text may start by two of its bytes at once, each in either
/// case when it is a letter.
class TextProbe {
public:
    TextProbe(const QByteArray& text, std::pair<qsizetype, qsizetype> indices)
        : first_(Of(text, indices.first)), second_(Of(text, indices.second))
    {}

    /// The first start in [from, last] whose two probe bytes fit, or -1.
    [[nodiscard]] qsizetype next(const char* data, qsizetype from, qsizetype last) const
    {
        qsizetype s = from;
#if defined(LUMARA_WIDE_PROBE)
        if (HasWideVectors()) {
            if (const qsizetype hit = NextWide(data, s, last, first_, second_); hit >= 0)
                return hit;
        }
#endif
#if defined(__SSE2__)
        const __m128i want1 = _mm_set1_epi8(char(first_.want));
        const __m128i want2 = _mm_set1_epi8(char(second_.want));
        const __m128i bit1 = _mm_set1_epi8(char(first_.caseBit));
        const __m128i bit2 = _mm_set1_epi8(char(second_.caseBit));
        const auto fits = [](const char* p, __m128i bit, __m128i want) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            return _mm_cmpeq_epi8(_mm_or_si128(bytes, bit), want);
        };
        for (; s + 15 <= last; s += 16) {
            const __m128i both = _mm_and_si128(fits(data + s + first_.index, bit1, want1),
                                               fits(data + s + second_.index, bit2, want2));
            if (const int mask = _mm_movemask_epi8(both); mask != 0)
                return s + __builtin_ctz(unsigned(mask));
        }
#endif
        for (; s <= last; ++s) {
            if (first_.fits(data[s + first_.index]) && second_.fits(data[s + second_.index]))
                return s;
        }
        return -1;
    }

private:
    static Probe Of(const QByteArray& text, qsizetype index)
    {
        const auto c = static_cast<unsigned char>(text[index]);
        const bool letter = c >= 'A' && c <= 'Z';
        return {index, static_cast<unsigned char>(letter ? c | 0x20 : c),
                static_cast<unsigned char>(letter ? 0x20 : 0)};
    }

    Probe first_;
    Probe second_;
};

/// True when the bytes at `at`, upper-cased, are `text`.
bool EqualsUpper(const char* at, const QByteArray& text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(at);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (UpperAscii(p[i]) != static_cast<unsigned char>(text[i]))
            return false;
    }
    return true;
}

} // namespace

BytePattern::BytePattern(const QString& pattern)
{
    const QByteArray bytes = pattern.toUtf8();
    bool special = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = UpperAscii(static_cast<unsigned char>(bytes[i]));
        Token token;
        if (c == '*') {
            if (!tokens_.empty() && tokens_.back().kind == Kind::Star)
                continue;
            token.kind = Kind::Star;
        } else if (c == '?') {
            token.kind = Kind::AnyOne;
            special = true;
        } else if (c == '#') {
            token.kind = Kind::Digit;
            special = true;
        } else if (c == '[' && bytes.indexOf(']', i + 1) > i + 1) {
            const qsizetype close = bytes.indexOf(']', i + 1);
            token.kind = Kind::Set;
            special = true;
            qsizetype j = i + 1;
            if (bytes[j] == '!') {
                token.negate = true;
                ++j;
            }
            for (; j < close; ++j) {
                const auto from = UpperAscii(static_cast<unsigned char>(bytes[j]));
                if (j + 2 < close && bytes[j + 1] == '-') {
                    token.ranges.emplace_back(from,
                                              UpperAscii(static_cast<unsigned char>(bytes[j + 2])));
                    j += 2;
                } else {
                    token.ranges.emplace_back(from, from);
                }
            }
            i = close;
        } else {
            token.ch = c;
        }
        tokens_.push_back(std::move(token));
    }
    // "*text*" with nothing special inside: found by a plain substring search.
    if (!special && tokens_.size() >= 3 && tokens_.front().kind == Kind::Star &&
        tokens_.back().kind == Kind::Star &&
        std::none_of(tokens_.begin() + 1, tokens_.end() - 1,
                     [](const Token& t) { return t.kind == Kind::Star; })) {
        for (auto t = tokens_.begin() + 1; t != tokens_.end() - 1; ++t)
            contained_.append(char(t->ch));
    }
    // Every match holds each run of plain bytes: the longest one is looked for first.
    qsizetype runStart = 0;
    for (size_t i = 0; i <= tokens_.size(); ++i) {
        if (i < tokens_.size() && tokens_[i].kind == Kind::Literal)
            continue;
        if (qsizetype(i) - runStart > required_.size()) {
            required_.clear();
            for (size_t j = size_t(runStart); j < i; ++j)
                required_.append(char(tokens_[j].ch));
        }
        runStart = qsizetype(i) + 1;
    }
    const auto frequency = [this](qsizetype i) {
        return ByteFrequency(static_cast<unsigned char>(required_[i]));
    };
    for (qsizetype i = 1; i < required_.size(); ++i) {
        if (frequency(i) < frequency(rare_.first))
            rare_.first = i;
    }
    rare_.second = rare_.first;
    for (qsizetype i = 0; i < required_.size(); ++i) {
        if (i != rare_.first &&
            (rare_.second == rare_.first || frequency(i) < frequency(rare_.second)))
            rare_.second = i;
    }
}

bool BytePattern::tokenMatches(const Token& token, unsigned char c)
{
    switch (token.kind) {
    case Kind::Literal:
        return token.ch == c;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= '0' && c <= '9';
    case Kind::Set: {
        const bool in = std::any_of(token.ranges.begin(), token.ranges.end(),
                                    [c](const auto& r) { return c >= r.first && c <= r.second; });
        return in != token.negate;
    }
    case Kind::Star:
        break;
    }
    return false;
}

bool BytePattern::matches(const char* begin, const char* end) const
{
    // Greedy with one backtrack point per star: at most text x pattern steps.
    const auto* text = reinterpret_cast<const unsigned char*>(begin);
    const auto* stop = reinterpret_cast<const unsigned char*>(end);
    size_t t = 0;
    size_t starToken = SIZE_MAX;
    const unsigned char* starText = nullptr;
    while (text < stop) {
        if (t < tokens_.size() && tokens_[t].kind == Kind::Star) {
            starToken = t++;
            starText = text;
        } else if (t < tokens_.size() && tokenMatches(tokens_[t], *text)) {
            ++t;
            ++text;
        } else if (starToken != SIZE_MAX) {
            t = starToken + 1;
            text = ++starText;
        } else {
            return false;
        }
    }
    while (t < tokens_.size() && tokens_[t].kind == Kind::Star)
        ++t;
    return t == tokens_.size();
}

namespace {

/// One read's bytes as the file holds them, `blocks` whole blocks; `checkFrom` is the
/// first block not yet tested alone (pairs are tested ending at it and after).
struct Window {
    const char* data = nullptr;
    qsizetype blocks = 0;
    qsizetype checkFrom = 0;
    char* upper = nullptr; ///< room for the window upper-cased
    bool uppered = false;  ///< `upper` holds this window
};

/// Every new block and pair of blocks against the pattern: for patterns without plain
/// text to look for.
bool EveryWindowMatches(const BytePattern& pattern, Window& window)
{
    if (!window.uppered) {
        UpperCopy(window.data, window.blocks * ContentBlockSize, window.upper);
        window.uppered = true;
    }
    for (qsizetype b = window.checkFrom; b < window.blocks; ++b) {
        const char* block = window.upper + b * ContentBlockSize;
        if (pattern.matches(block, block + ContentBlockSize))
            return true;
        if (b > 0 && pattern.matches(block - ContentBlockSize, block + ContentBlockSize))
            return true;
    }
    return false;
}

/// The new windows (one block, or two adjacent ones) that hold the pattern's plain text
/// found in blocks `first` to `last`, against the whole pattern; `tested` marks the
/// windows already tried (alone at 2b, pair from b at 2b + 1).
bool WindowsAroundMatch(const BytePattern& pattern, const Window& window, qsizetype first,
                        qsizetype last, std::vector<char>& tested)
{
    char upper[2 * ContentBlockSize];
    const auto test = [&](qsizetype block, qsizetype count) {
        char& mark = tested[size_t(2 * block + count - 1)];
        if (mark)
            return false;
        mark = 1;
        UpperCopy(window.data + block * ContentBlockSize, count * ContentBlockSize, upper);
        return pattern.matches(upper, upper + count * ContentBlockSize);
    };
    if (first == last && first >= window.checkFrom && test(first, 1))
        return true;
    for (qsizetype b = std::max<qsizetype>(last - 1, 0); b <= first; ++b) {
        if (b + 1 < window.blocks && b + 1 >= window.checkFrom && test(b, 2))
            return true;
    }
    return false;
}

/// Whether a new block or pair of blocks of the window matches. Patterns with plain
/// text look for its rarest byte (in both cases) first, confirm the text there, and
/// test only the windows around it; the others test every window.
bool WindowMatches(const BytePattern& pattern, Window& window)
{
    const QByteArray& text = pattern.requiredText();
    if (text.isEmpty())
        return EveryWindowMatches(pattern, window);
    const qsizetype size = window.blocks * ContentBlockSize;
    // A match in a new window starts in the block before the first new one or later.
    const qsizetype from = std::max<qsizetype>(0, (window.checkFrom - 1) * ContentBlockSize);
    if (size - from < text.size())
        return false;
    const bool contained = !pattern.containedText().isEmpty();
    const TextProbe probe(text, pattern.rareIndices());
    std::vector<char> tested;
    const qsizetype lastStart = size - text.size();
    for (qsizetype start = from; start <= lastStart; ++start) {
        start = probe.next(window.data, start, lastStart);
        if (start < 0)
            return false;
        if (!EqualsUpper(window.data + start, text))
            continue;
        const qsizetype first = start / ContentBlockSize;
        const qsizetype last = (start + text.size() - 1) / ContentBlockSize;
        if (last - first > 1)
            continue; // no window holds it
        if (contained)
            return true;
        if (tested.empty())
            tested.assign(size_t(2 * window.blocks), 0);
        if (WindowsAroundMatch(pattern, window, first, last, tested))
            return true;
    }
    return false;
}

/// The calling thread's read buffer, kept between files so that searching many small
/// files costs no fresh pages; a scan started while it is in use gets its own.
class ReadBuffer {
public:
    explicit ReadBuffer(qsizetype size)
    {
        thread_local Kept kept;
        if (!kept.busy && kept.size == size) {
            kept_ = &kept;
        } else if (!kept.busy) {
            kept.data = std::make_unique_for_overwrite<char[]>(size_t(size));
            kept.size = size;
            kept_ = &kept;
        } else {
            own_ = std::make_unique_for_overwrite<char[]>(size_t(size));
        }
        if (kept_)
            kept_->busy = true;
    }
    ~ReadBuffer()
    {
        if (kept_)
            kept_->busy = false;
    }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;

    [[nodiscard]] char* data() const { return kept_ ? kept_->data.get() : own_.get(); }

private:
    struct Kept {
        std::unique_ptr<char[]> data;
        qsizetype size = 0;
        bool busy = false;
    };
    Kept* kept_ = nullptr;
    std::unique_ptr<char[]> own_;
};

} // namespace

std::optional<std::vector<bool>> ScanStream(const ByteReader& read,
                                            const std::vector<BytePattern>& patterns,
                                            const std::function<void()>& betweenReads)
{
    std::vector<bool> found(patterns.size(), false);
    size_t left = patterns.size();
    // One block of the previous read stays in front of the next, for the pairs. Nothing
    // needs clearing: every byte searched was read or set to a blank first.
    const qsizetype capacity = (BlocksPerRead + 1) * ContentBlockSize;
    ReadBuffer buffer(capacity);
    std::unique_ptr<char[]> upper;
    if (std::any_of(patterns.begin(), patterns.end(),
                    [](const BytePattern& p) { return p.requiredText().isEmpty(); }))
        upper = std::make_unique_for_overwrite<char[]>(size_t(capacity));
    char* const reads = buffer.data() + ContentBlockSize;
    const qint64 full = BlocksPerRead * ContentBlockSize;
    bool first = true;
    bool ended = false;
    while (!ended && left > 0) {
        qint64 got = 0;
        while (got < full) {
            const qint64 n = read(reads + got, full - got);
            if (n < 0)
                return std::nullopt;
            if (n == 0) {
                ended = true;
                break;
            }
            got += n;
        }
        // A stream of L bytes has L / 1024 + 1 blocks, the last one padded with blanks.
        const qint64 blocks = ended ? got / ContentBlockSize + 1 : BlocksPerRead;
        if (const qint64 padded = blocks * ContentBlockSize; padded > got)
            std::memset(reads + got, ' ', size_t(padded - got));

        Window window;
        window.data = first ? reads : reads - ContentBlockSize;
        window.blocks = blocks + (first ? 0 : 1);
        window.checkFrom = first ? 0 : 1;
        window.upper = upper.get();
        for (size_t p = 0; p < patterns.size(); ++p) {
            if (!found[p] && WindowMatches(patterns[p], window)) {
                found[p] = true;
                --left;
            }
        }
        first = false;
        if (betweenReads)
            betweenReads();
        std::memcpy(buffer.data(), reads + (blocks - 1) * ContentBlockSize, ContentBlockSize);
    }
    return found;
}

std::optional<std::vector<bool>> ScanContent(const QString& path,
                                             const std::vector<BytePattern>& patterns,
                                             const std::function<void()>& betweenReads,
                                             const std::atomic<bool>* stop)
{
    platform::SequentialFile file(path);
    if (!file.isOpen())
        return std::nullopt;
    return ScanStream(
        [&file, stop](char* into, qint64 most) -> qint64 {
            if (stop && stop->load(std::memory_order_relaxed))
                return -1;
            return file.read(into, most);
        },
        patterns, betweenReads);
}

int ContentMatches(const QString& path, const QString& pattern)
{
    const std::optional<std::vector<bool>> found = ScanContent(path, {BytePattern(pattern)});
    return found && found->front() ? 1 : 0;
}
