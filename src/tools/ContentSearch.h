#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

/// A content pattern over upper-cased file bytes: "*" any run, "?" one byte, "#" one
/// digit, "[list]" one byte of the list ("[!list]" none of it). The pattern's text is
/// taken as UTF-8 bytes and upper-cased the way the file is: ASCII letters only.
class BytePattern {
public:
    explicit BytePattern(const QString& pattern);

    /// True when the whole range fits the pattern.
    [[nodiscard]] bool matches(const char* begin, const char* end) const;
    /// For "*text*" patterns: the text; empty otherwise.
    [[nodiscard]] const QByteArray& containedText() const { return contained_; }
    /// The longest run of plain bytes that every match holds (upper case); empty when
    /// the pattern has none.
    [[nodiscard]] const QByteArray& requiredText() const { return required_; }
    /// The indices in requiredText() of its two rarest bytes in ordinary files (the same
    /// one twice for a single byte): the search looks for places that hold both first.
    [[nodiscard]] std::pair<qsizetype, qsizetype> rareIndices() const { return rare_; }

private:
    enum class Kind { Literal, AnyOne, Digit, Set, Star };
    struct Token {
        Kind kind = Kind::Literal;
        unsigned char ch = 0;
        bool negate = false;
        std::vector<std::pair<unsigned char, unsigned char>> ranges;
    };
    [[nodiscard]] static bool tokenMatches(const Token& token, unsigned char c);

    std::vector<Token> tokens_;
    QByteArray contained_;
    QByteArray required_;
    std::pair<qsizetype, qsizetype> rare_{0, 0};
};

/// Files are tested in blocks of this many bytes, padded with blanks past the end.
inline constexpr int ContentBlockSize = 1024;

/// Which of `patterns` occur in the file: each is tested against every upper-cased
/// 1024-byte block (the last one padded with blanks; a file of L bytes has L / 1024 + 1
/// blocks) and against every pair of adjacent blocks. The file is read once, in large
/// reads; the scan stops when every pattern is found. Nothing when the file cannot be
/// opened or read. `betweenReads` (when set) runs after every large read, so a window
/// can paint while a big file is searched. A set `stop` ends the scan as a failed read.
[[nodiscard]] std::optional<std::vector<bool>>
ScanContent(const QString& path, const std::vector<BytePattern>& patterns,
            const std::function<void()>& betweenReads = {},
            const std::atomic<bool>* stop = nullptr);

/// Reads up to `most` bytes into `into`: the count, 0 at the end, -1 on an error.
using ByteReader = std::function<qint64(char* into, qint64 most)>;

/// The same search over bytes that `read` hands out (a zip entry as it is unpacked), so
/// that nothing needs to be written first.
[[nodiscard]] std::optional<std::vector<bool>>
ScanStream(const ByteReader& read, const std::vector<BytePattern>& patterns,
           const std::function<void()>& betweenReads = {});

/// 1 when `pattern` (upper case) is found in the file by the block rules above, else 0
/// (also when the file cannot be read).
[[nodiscard]] int ContentMatches(const QString& path, const QString& pattern);
