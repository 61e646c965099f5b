#include "platform/FileNames.h"

#include <QDir>
#include <QSysInfo>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unistd.h>

namespace platform {
namespace {

constexpr char16_t RawByteBase = 0xDC00;

/// The length of the valid UTF-8 sequence at `at` and its code point, or 0 when the
/// bytes there do not start one.
int validSequence(const unsigned char* at, qsizetype left, char32_t& codePoint)
{
    const unsigned char lead = at[0];
    int length = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((at[i] & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (at[i] & 0x3F);
    }
    if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    // Most names are ASCII: widen them without the decoder.
    if (std::all_of(data, data + size, [](unsigned char c) { return c < 0x80; }))
        return QString::fromLatin1(bytes.data(), size);
    QString name;
    name.reserve(size);
    for (qsizetype i = 0; i < size;) {
        char32_t codePoint = data[i];
        if (codePoint < 0x80) {
            name += QChar(char16_t(codePoint));
            ++i;
        } else if (const int length = validSequence(data + i, size - i, codePoint)) {
            name += QStringView(QChar::fromUcs4(codePoint));
            i += length;
        } else {
            name += QChar(char16_t(RawByteBase + data[i]));
            ++i;
        }
    }
    return name;
}

QByteArray encodeFileName(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0x80) {
            bytes += char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < name.size() &&
                   QChar::isLowSurrogate(name[i + 1].unicode())) {
            appendUtf8(bytes, QChar::surrogateToUcs4(c, name[i + 1].unicode()));
            ++i;
        } else if (const int raw = rawByteOf(QChar(c)); raw >= 0) {
            bytes += char(raw);
        } else if (QChar::isSurrogate(c)) {
            appendUtf8(bytes, 0xFFFD);
        } else {
            appendUtf8(bytes, c);
        }
    }
    return bytes;
}

int rawByteOf(QChar c)
{
    const char16_t u = c.unicode();
    return u >= RawByteBase + 0x80 && u <= RawByteBase + 0xFF ? int(u - RawByteBase) : -1;
}

bool isRawByteAt(QStringView name, qsizetype i)
{
    // The low half of a surrogate pair (U+10080, say) is a character, not a raw byte.
    return rawByteOf(name[i]) >= 0 && (i == 0 || !name[i - 1].isHighSurrogate());
}

bool holdsRawBytes(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isRawByteAt(name, i))
            return true;
    }
    return false;
}

QString readableFileName(const QString& name)
{
    if (!holdsRawBytes(name))
        return name;
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (isRawByteAt(name, i))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QString displayFileName(const QString& name)
{
    const QString readable = readableFileName(name);
    const auto invisible = [](QChar c) { return c.category() == QChar::Other_Format; };
    if (std::none_of(readable.begin(), readable.end(), invisible))
        return readable;
    QString shown;
    shown.reserve(readable.size() + 16);
    for (const QChar c : readable) {
        if (invisible(c))
            shown += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString absoluteFilePath(const QString& path)
{
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    char* current = ::getcwd(nullptr, 0);
    const QString folder = current ? decodeFileName(current) : QStringLiteral("/");
    std::free(current);
    return QDir::cleanPath(path.isEmpty() ? folder : folder + u'/' + path);
}

QUrl fileUrl(const QString& path)
{
    if (!holdsRawBytes(path))
        return QUrl::fromLocalFile(absoluteFilePath(path));
    // QUrl::toPercentEncoding takes text and would lose the raw bytes: encoded here.
    QByteArray encoded = "file://";
    for (const char c : encodeFileName(absoluteFilePath(path))) {
        const auto b = static_cast<unsigned char>(c);
        if (std::isalnum(b) && b < 0x80)
            encoded += c;
        else if (c == '/' || c == '-' || c == '.' || c == '_' || c == '~')
            encoded += c;
        else
            encoded += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    }
    return QUrl::fromEncoded(encoded);
}

QString localPathOfUrl(QByteArrayView encodedUrl)
{
    const QByteArrayView scheme = "file:";
    if (encodedUrl.size() < scheme.size() ||
        qstrnicmp(encodedUrl.data(), scheme.data(), scheme.size()) != 0)
        return {};
    QByteArrayView rest = encodedUrl.sliced(scheme.size());
    if (rest.startsWith("//")) {
        rest = rest.sliced(2);
        const qsizetype slash = rest.indexOf('/');
        if (slash < 0)
            return {};
        const QByteArrayView host = rest.first(slash);
        if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0 &&
            host.compare(QSysInfo::machineHostName().toUtf8(), Qt::CaseInsensitive) != 0)
            return {};
        rest = rest.sliced(slash);
    }
    // A name's own '?' and '#' travel escaped: unescaped ones start a query or fragment.
    const qsizetype end = std::min(rest.indexOf('?') < 0 ? rest.size() : rest.indexOf('?'),
                                   rest.indexOf('#') < 0 ? rest.size() : rest.indexOf('#'));
    rest = rest.first(end);
    if (!rest.startsWith('/'))
        return {};
    return decodeFileName(QByteArray::fromPercentEncoding(rest.toByteArray()));
}

} // namespace platform
