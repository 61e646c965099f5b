#include "tools/PeVersionReader.h"

#include "formats/PeResources.h"
#include "platform/FileAccess.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <optional>

namespace {

/// Little-endian reads that fail instead of reading past the end.
class Bytes {
public:
    explicit Bytes(const QByteArray& data) : data_(data) {}
    [[nodiscard]] qsizetype size() const { return data_.size(); }
    [[nodiscard]] std::optional<quint16> u16(qint64 at) const
    {
        if (at < 0 || at + 2 > data_.size())
            return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(data_.constData() + at);
        return quint16(p[0] | (p[1] << 8));
    }
    [[nodiscard]] std::optional<quint32> u32(qint64 at) const
    {
        const auto lo = u16(at);
        const auto hi = u16(at + 2);
        if (!lo || !hi)
            return std::nullopt;
        return quint32(*lo) | (quint32(*hi) << 16);
    }
    /// A NUL-terminated UTF-16 string starting at `at`, ending before `limit`.
    [[nodiscard]] QString utf16z(qint64 at, qint64 limit, qint64* after = nullptr) const
    {
        QString text;
        qint64 pos = at;
        while (pos + 2 <= limit) {
            const auto c = u16(pos);
            pos += 2;
            if (!c || *c == 0)
                break;
            text += QChar(*c);
        }
        if (after)
            *after = pos;
        return text;
    }

private:
    const QByteArray& data_;
};

qint64 aligned4(qint64 at, qint64 base)
{
    return qint64((at - base + 3) / 4 * 4 + base);
}

/// One version block: wLength, wValueLength, wType, key, value, children.
struct Block {
    qint64 start = 0;
    qint64 end = 0;
    QString key;
    qint64 value = 0;
    qint64 valueBytes = 0;
    qint64 children = 0;
};

std::optional<Block> readBlock(const Bytes& b, qint64 at, qint64 base, qint64 limit)
{
    const auto length = b.u16(at);
    const auto valueLength = b.u16(at + 2);
    const auto type = b.u16(at + 4);
    if (!length || !valueLength || !type || *length < 6 || at + *length > limit)
        return std::nullopt;
    Block block;
    block.start = at;
    block.end = at + *length;
    qint64 afterKey = 0;
    block.key = b.utf16z(at + 6, block.end, &afterKey);
    block.value = aligned4(afterKey, base);
    // Text values count UTF-16 characters, binary ones bytes.
    block.valueBytes = *type == 1 ? qint64(*valueLength) * 2 : qint64(*valueLength);
    block.children = aligned4(block.value + block.valueBytes, base);
    return block;
}

QMap<QString, QString> readStrings(const Bytes& b, qint64 base, qint64 limit)
{
    QMap<QString, QString> strings;
    const auto root = readBlock(b, base, base, limit);
    if (!root || root->key != QLatin1String("VS_VERSION_INFO"))
        return strings;
    for (qint64 at = root->children; at < root->end;) {
        const auto info = readBlock(b, at, base, root->end);
        if (!info)
            break;
        if (info->key == QLatin1String("StringFileInfo")) {
            const auto table = readBlock(b, info->children, base, info->end);
            if (!table)
                break;
            for (qint64 s = table->children; s < table->end;) {
                const auto str = readBlock(b, s, base, table->end);
                if (!str)
                    break;
                if (!strings.contains(str->key))
                    strings.insert(str->key, b.utf16z(str->value, str->end));
                s = aligned4(str->end, base);
            }
            break;
        }
        at = aligned4(info->end, base);
    }
    return strings;
}

} // namespace

QMap<QString, QString> ReadPeVersionStrings(const QByteArray& image)
{
    const PeResources resources(image);
    const QList<PeResources::Entry> versions = resources.entries(PeResources::Version);
    if (versions.isEmpty())
        return {};
    const PeResources::Entry& version = versions.first();
    return readStrings(Bytes(image), version.offset, version.offset + version.size);
}

QMap<QString, QString> ReadPeVersionStringsFromFile(const QString& path)
{
    // A pipe or a device would block the read or must not be touched.
    if (!platform::fileReadProblem(path).isEmpty())
        return {};
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
    const QByteArray start = file.read(2);
    if (start != "MZ")
        return {};
    file.seek(0);
    // Program files are rarely large; anything over 256 MB is not worth mapping whole.
    if (file.size() > 256LL * 1024 * 1024)
        return {};
    return ReadPeVersionStrings(file.readAll());
}
