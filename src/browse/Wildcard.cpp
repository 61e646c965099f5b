#include "browse/Wildcard.h"

#include <QStringList>

WildcardPattern::WildcardPattern(QStringView pattern, Qt::CaseSensitivity cs)
    : caseInsensitive_(cs == Qt::CaseInsensitive)
{
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = pattern[i].unicode();
        Token token;
        if (c == u'*') {
            // Consecutive stars mean the same as one.
            if (!tokens_.empty() && tokens_.back().kind == Kind::Star)
                continue;
            token.kind = Kind::Star;
        } else if (c == u'?') {
            token.kind = Kind::AnyOne;
        } else if (c == u'#') {
            token.kind = Kind::Digit;
        } else if (c == u'[' && pattern.indexOf(u']', i + 1) > i) {
            qsizetype j = i + 1;
            token.kind = Kind::Set;
            if (j < n && pattern[j] == u'!') {
                token.negate = true;
                ++j;
            }
            const qsizetype close = pattern.indexOf(u']', j);
            if (close < 0) {
                // "[!" followed by nothing closing: take the bracket literally.
                token = Token{Kind::Literal, fold(c), false, {}};
                tokens_.push_back(token);
                continue;
            }
            for (; j < close; ++j) {
                char16_t lo = fold(pattern[j].unicode());
                char16_t hi = lo;
                if (j + 2 < close && pattern[j + 1] == u'-') {
                    hi = fold(pattern[j + 2].unicode());
                    j += 2;
                }
                if (hi < lo)
                    std::swap(lo, hi);
                token.ranges.emplace_back(lo, hi);
            }
            i = close;
        } else {
            token.ch = fold(c);
        }
        tokens_.push_back(std::move(token));
    }
}

char16_t WildcardPattern::fold(char16_t c) const
{
    return caseInsensitive_ ? QChar(c).toUpper().unicode() : c;
}

bool WildcardPattern::tokenMatches(const Token& token, char16_t c) const
{
    switch (token.kind) {
    case Kind::Literal:
        return token.ch == c;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= u'0' && c <= u'9';
    case Kind::Set: {
        bool inSet = false;
        for (const auto& [lo, hi] : token.ranges) {
            if (c >= lo && c <= hi) {
                inSet = true;
                break;
            }
        }
        return inSet != token.negate;
    }
    case Kind::Star:
        return false;
    }
    return false;
}

bool WildcardPattern::matches(QStringView text) const
{
    const size_t nt = tokens_.size();
    const qsizetype nx = text.size();
    size_t t = 0;
    qsizetype x = 0;
    // The last star seen and the text position it currently swallows up to; on a
    // mismatch the star takes one more character. Only the last star needs retrying.
    size_t starToken = nt;
    qsizetype starText = 0;
    while (x < nx) {
        if (t < nt && tokens_[t].kind == Kind::Star) {
            starToken = t++;
            starText = x;
            continue;
        }
        if (t < nt && tokenMatches(tokens_[t], fold(text[x].unicode()))) {
            ++t;
            ++x;
            continue;
        }
        if (starToken == nt)
            return false;
        t = starToken + 1;
        x = ++starText;
    }
    while (t < nt && tokens_[t].kind == Kind::Star)
        ++t;
    return t == nt;
}

bool WildcardMatch(QStringView text, QStringView pattern, Qt::CaseSensitivity cs)
{
    return WildcardPattern(pattern, cs).matches(text);
}

NamePatternList::NamePatternList(const QString& patterns)
{
    const QStringList parts = patterns.split(u';', Qt::SkipEmptyParts);
    for (const QString& raw : parts) {
        const QString part = raw.trimmed();
        if (part.isEmpty())
            continue;
        if (part == u"*" || part == u"*.*") {
            // A catch-all anywhere in the list makes the other patterns moot.
            patterns_.clear();
            takesAll_ = true;
            return;
        }
        patterns_.emplace_back(part, Qt::CaseInsensitive);
        takesAll_ = false;
    }
}

bool NamePatternList::matches(QStringView name) const
{
    if (takesAll_)
        return true;
    for (const WildcardPattern& p : patterns_) {
        if (p.matches(name))
            return true;
    }
    return false;
}
