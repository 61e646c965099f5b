#include "cli/NameEscape.h"

#include "platform/FileNames.h"

namespace cli {
namespace {

/// The letter ls -b writes after the backslash for an ASCII control, or 0 for octal.
char controlLetter(char32_t c)
{
    switch (c) {
    case '\a':
        return 'a';
    case '\b':
        return 'b';
    case '\t':
        return 't';
    case '\n':
        return 'n';
    case '\v':
        return 'v';
    case '\f':
        return 'f';
    case '\r':
        return 'r';
    default:
        return 0;
    }
}

/// True for what the C library of a UTF-8 locale counts as not printable, which ls -b
/// escapes: controls, unassigned code points and the line and paragraph separators.
bool unprintable(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

void appendOctal(QString& out, unsigned byte)
{
    out += QStringLiteral("\\%1").arg(byte, 3, 8, QLatin1Char('0'));
}

} // namespace

bool IsPlainText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u' ' || u > u'~' || u == u'\\')
            return false;
    }
    return true;
}

namespace {

/// The escaping of `name` without its edge spaces.
QString escapeInner(QStringView name)
{
    QString out;
    out.reserve(name.size() + 8);
    for (qsizetype i = 0; i < name.size();) {
        if (platform::isRawByteAt(name, i)) {
            // A byte that is not UTF-8, in octal as ls -b writes it.
            appendOctal(out, unsigned(platform::rawByteOf(name[i])));
            ++i;
            continue;
        }
        char32_t c = name[i].unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            width = 2;
        }
        if (c == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (const char letter = controlLetter(c)) {
            out += u'\\';
            out += QLatin1Char(letter);
        } else if (unprintable(c)) {
            for (const char byte : name.mid(i, width).toUtf8())
                appendOctal(out, unsigned(static_cast<unsigned char>(byte)));
        } else {
            out += name.mid(i, width);
        }
        i += width;
    }
    return out;
}

} // namespace

QString EscapeName(const QString& name)
{
    // Most names need nothing: they are shared, not rebuilt.
    if (IsPlainText(name) && !name.startsWith(u' ') && !name.endsWith(u' '))
        return name;
    qsizetype lead = 0;
    while (lead < name.size() && name[lead] == u' ')
        ++lead;
    qsizetype trail = 0;
    while (trail < name.size() - lead && name[name.size() - 1 - trail] == u' ')
        ++trail;
    const QString inner = escapeInner(QStringView(name).mid(lead, name.size() - lead - trail));
    if (lead == 0 && trail == 0)
        return inner;
    return QStringLiteral("\\ ").repeated(lead) + inner + QStringLiteral("\\ ").repeated(trail);
}

QString EscapeMessage(const QString& text)
{
    if (IsPlainText(text))
        return text;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    for (QString& line : lines)
        line = escapeInner(line);
    return lines.join(u'\n');
}

} // namespace cli
