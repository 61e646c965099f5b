#include "tools/ContentSearch.h"

#include "platform/FileAccess.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <functional>

namespace {

unsigned char UpperAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

void UpperInPlace(char* data, qsizetype size)
{
    auto* p = reinterpret_cast<unsigned char*>(data);
    for (qsizetype i = 0; i < size; ++i) // a loop the compiler vectorises
        p[i] = static_cast<unsigned char>(p[i] - (unsigned(p[i] - 'a') < 26u ? 32 : 0));
}

// Blocks per read: 1 MiB reads keep the system calls few and the buffer in cache.
constexpr qsizetype BlocksPerRead = 1024;

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

/// Searches one window of upper-cased bytes whose first byte is block `firstBlock`'s
/// first byte; `blocks` whole blocks follow. `checkFrom` is the first block not yet
/// tested alone (pairs are tested ending at it and after).
bool WindowMatches(const BytePattern& pattern, const char* data, qsizetype blocks,
                   qsizetype checkFrom)
{
    const QByteArray& text = pattern.containedText();
    if (!text.isEmpty()) {
        // An occurrence counts when it lies within one block or two adjacent ones.
        const qsizetype size = blocks * ContentBlockSize;
        const qsizetype from = std::max<qsizetype>(0, (checkFrom - 1) * ContentBlockSize);
        const char* at = data + from;
        const char* end = data + size;
        while (at < end) {
            const void* hit = memmem(at, size_t(end - at), text.constData(), size_t(text.size()));
            if (!hit)
                return false;
            const qsizetype start = static_cast<const char*>(hit) - data;
            const qsizetype last = start + text.size() - 1;
            if (last / ContentBlockSize - start / ContentBlockSize <= 1)
                return true;
            at = static_cast<const char*>(hit) + 1;
        }
        return false;
    }
    for (qsizetype b = checkFrom; b < blocks; ++b) {
        const char* block = data + b * ContentBlockSize;
        if (pattern.matches(block, block + ContentBlockSize))
            return true;
        if (b > 0 && pattern.matches(block - ContentBlockSize, block + ContentBlockSize))
            return true;
    }
    return false;
}

} // namespace

std::optional<std::vector<bool>> ScanStream(const ByteReader& read,
                                            const std::vector<BytePattern>& patterns,
                                            const std::function<void()>& betweenReads)
{
    std::vector<bool> found(patterns.size(), false);
    size_t left = patterns.size();
    // One block of the previous read stays in front of the next, for the pairs.
    QByteArray buffer((BlocksPerRead + 1) * ContentBlockSize, ' ');
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
        UpperInPlace(reads, got);

        const char* window = first ? reads : reads - ContentBlockSize;
        for (size_t p = 0; p < patterns.size(); ++p) {
            if (!found[p] &&
                WindowMatches(patterns[p], window, blocks + (first ? 0 : 1), first ? 0 : 1)) {
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
                                             const std::function<void()>& betweenReads)
{
    QFile file;
    if (!platform::openForReading(file, path, QIODevice::Unbuffered))
        return std::nullopt;
    // The length when opened: a file that grows meanwhile is read that far only.
    qint64 left = file.size();
    return ScanStream(
        [&file, &left](char* into, qint64 most) -> qint64 {
            const qint64 n = file.read(into, std::min(most, left));
            if (n > 0)
                left -= n;
            return n;
        },
        patterns, betweenReads);
}

int ContentMatches(const QString& path, const QString& pattern)
{
    const std::optional<std::vector<bool>> found = ScanContent(path, {BytePattern(pattern)});
    return found && found->front() ? 1 : 0;
}
