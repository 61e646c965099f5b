#include "cli/NameEscape.h"

#include <algorithm>

namespace cli {
namespace {

bool needsEscape(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'\\';
}

} // namespace

QString EscapeName(const QString& name)
{
    if (std::none_of(name.begin(), name.end(), needsEscape))
        return name;
    QString out;
    out.reserve(name.size() + 8);
    for (const QChar c : name) {
        if (!needsEscape(c)) {
            out += c;
            continue;
        }
        out += u'\\';
        switch (c.unicode()) {
        case '\\':
            out += u'\\';
            break;
        case '\t':
            out += u't';
            break;
        case '\n':
            out += u'n';
            break;
        case '\r':
            out += u'r';
            break;
        case '\a':
            out += u'a';
            break;
        case '\b':
            out += u'b';
            break;
        case '\f':
            out += u'f';
            break;
        case '\v':
            out += u'v';
            break;
        default:
            out += QStringLiteral("%1").arg(c.unicode(), 3, 8, QLatin1Char('0'));
        }
    }
    return out;
}

} // namespace cli
