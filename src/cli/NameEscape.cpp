#include "cli/NameEscape.h"

#include "platform/FileNames.h"

#include <algorithm>

namespace cli {
namespace {

bool needsEscape(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'\\' || platform::rawByteOf(c) >= 0;
}

} // namespace

QString EscapeName(const QString& name)
{
    if (std::none_of(name.begin(), name.end(), needsEscape))
        return name;
    QString out;
    out.reserve(name.size() + 8);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (platform::isRawByteAt(name, i)) {
            // A byte that is not UTF-8, in octal as ls -b writes it.
            out += QStringLiteral("\\%1").arg(platform::rawByteOf(c), 3, 8, QLatin1Char('0'));
            continue;
        }
        if (!needsEscape(c) || platform::rawByteOf(c) >= 0) {
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
