#pragma once

#include <QString>
#include <QStringView>
#include <vector>

/// A compiled wildcard pattern: "*" any run of characters, "?" one character, "#" one
/// digit, "[abc]" / "[a-z]" a character set, "[!...]" its complement; every other
/// character stands for itself. An unclosed "[" is a literal. Matching is greedy with
/// one backtrack point per star, so it takes at most text x pattern steps.
class WildcardPattern {
public:
    WildcardPattern() = default;
    explicit WildcardPattern(QStringView pattern, Qt::CaseSensitivity cs = Qt::CaseSensitive);

    /// True when the whole of `text` fits the pattern.
    [[nodiscard]] bool matches(QStringView text) const;

private:
    enum class Kind { Literal, AnyOne, Digit, Set, Star };
    struct Token {
        Kind kind = Kind::Literal;
        char16_t ch = 0;
        bool negate = false;
        std::vector<std::pair<char16_t, char16_t>> ranges; ///< inclusive, for sets
    };

    [[nodiscard]] bool tokenMatches(const Token& token, char16_t c) const;
    [[nodiscard]] char16_t fold(char16_t c) const;

    std::vector<Token> tokens_;
    bool caseInsensitive_ = false;
};

/// True when `text` fits `pattern` (see WildcardPattern).
[[nodiscard]] bool WildcardMatch(QStringView text, QStringView pattern,
                                 Qt::CaseSensitivity cs = Qt::CaseSensitive);

/// File-name patterns joined by ";" ("*.txt;*.md"), matched ignoring case. "*.*" and
/// "*" take every name; an empty list takes every name too.
class NamePatternList {
public:
    NamePatternList() = default;
    explicit NamePatternList(const QString& patterns);

    [[nodiscard]] bool matches(QStringView name) const;
    /// True when every name passes (no pattern narrows the list).
    [[nodiscard]] bool takesAll() const { return takesAll_; }

private:
    std::vector<WildcardPattern> patterns_;
    bool takesAll_ = true;
};
