// RAR block headers, read for the details a listing shows. Layouts as RAR's own
// technote gives them: RAR 4 fixed-width blocks, RAR 5 variable-length integers.
#include "archive/RarHeaders.h"

#include "archive/ByteCursor.h"

#include <optional>

namespace {

const QByteArray Rar4Signature("Rar!\x1a\x07\x00", 7);
const QByteArray Rar5Signature("Rar!\x1a\x07\x01\x00", 8);
// Self-extracting stubs stay below this; the signature is searched in this much.
constexpr qint64 MostStubBytes = 1 << 20;

constexpr quint8 Rar4FileBlock = 0x74;
constexpr quint8 Rar4EndBlock = 0x7B;
constexpr quint16 Rar4LongBlock = 0x8000;
constexpr quint16 Rar4LargeFile = 0x0100;
constexpr quint32 DictionaryBits = 0xE0;

constexpr quint64 Rar5HasExtra = 0x01;
constexpr quint64 Rar5HasData = 0x02;
constexpr quint64 Rar5FileBlock = 2;
constexpr quint64 Rar5EncryptionBlock = 4;
constexpr quint64 Rar5EndBlock = 5;
constexpr quint64 Rar5Folder = 0x01;
constexpr quint64 Rar5HasTime = 0x02;
constexpr quint64 Rar5HasCrc = 0x04;
constexpr quint64 Rar5EncryptionRecord = 0x01;
constexpr quint32 EncryptedFlag = 0x04;
constexpr quint32 SolidFlag = 0x10;

/// A RAR 5 variable-length integer: seven bits a byte, lowest first, at most ten bytes.
std::optional<quint64> VarInt(ByteCursor& in)
{
    quint64 value = 0;
    for (int shift = 0; shift < 70; shift += 7) {
        const quint8 byte = in.u8();
        if (in.failed())
            return std::nullopt;
        if (shift < 64)
            value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

std::vector<RarFileFacts> ReadRar4(ByteCursor& in)
{
    std::vector<RarFileFacts> files;
    while (in.left() >= 7) {
        const qint64 start = in.pos();
        in.skip(2); // header CRC
        const quint8 type = in.u8();
        const quint16 flags = in.u16();
        const quint16 headerSize = in.u16();
        if (headerSize < 7 || type == Rar4EndBlock)
            break;
        quint64 dataSize = 0;
        if (type == Rar4FileBlock) {
            RarFileFacts file;
            quint64 packed = in.u32();
            in.skip(4); // unpacked size
            in.skip(1); // host system
            file.crc = in.u32();
            in.skip(4); // DOS time
            in.skip(1); // version needed
            file.method = in.u8();
            in.skip(2); // name size
            file.attributes = in.u32();
            if (flags & Rar4LargeFile)
                packed |= quint64(in.u32()) << 32;
            if (in.failed())
                break;
            file.packedSize = packed;
            file.flags = flags;
            dataSize = packed;
            files.push_back(file);
        } else if (flags & Rar4LongBlock) {
            in.seek(start + 7);
            dataSize = in.u32();
        }
        const quint64 next = quint64(start) + headerSize + dataSize;
        if (in.failed() || next > quint64(in.size()))
            break;
        in.seek(qint64(next));
    }
    return files;
}

/// The RAR 4 dictionary bits for a RAR 5 window of 128 Kb << n, as near as they go.
quint32 Rar4DictionaryBits(quint64 compression)
{
    const quint32 window = quint32((compression >> 10) & 0x0F) + 1; // in 64 Kb steps, log 2
    return qMin<quint32>(window, 6) << 5;
}

/// True when the extra area holds a file encryption record.
bool HasEncryptionRecord(const QByteArray& extra)
{
    ByteCursor in(reinterpret_cast<const uchar*>(extra.constData()), extra.size());
    while (in.left() > 0) {
        const std::optional<quint64> size = VarInt(in);
        if (!size || *size == 0 || *size > quint64(in.left()))
            return false;
        const qint64 end = in.pos() + qint64(*size);
        const std::optional<quint64> type = VarInt(in);
        if (type && *type == Rar5EncryptionRecord)
            return true;
        in.seek(end);
    }
    return false;
}

/// The fields of a RAR 5 file header after its common part.
std::optional<RarFileFacts> ReadRar5File(ByteCursor& in, quint64 dataSize, quint64 extraSize,
                                         qint64 headerEnd)
{
    RarFileFacts file;
    const std::optional<quint64> fileFlags = VarInt(in);
    const std::optional<quint64> unpacked = VarInt(in);
    const std::optional<quint64> attributes = VarInt(in);
    if (!fileFlags || !unpacked || !attributes)
        return std::nullopt;
    if (*fileFlags & Rar5HasTime)
        in.skip(4);
    if (*fileFlags & Rar5HasCrc)
        file.crc = in.u32();
    const std::optional<quint64> compression = VarInt(in);
    if (!compression || in.failed())
        return std::nullopt;
    file.method = 0x30 + quint32((*compression >> 7) & 0x07);
    file.packedSize = dataSize;
    file.attributes = quint32(*attributes);
    file.flags = (*fileFlags & Rar5Folder) ? DictionaryBits : Rar4DictionaryBits(*compression);
    if (*compression & 0x40)
        file.flags |= SolidFlag;
    if (extraSize > 0 && extraSize <= quint64(headerEnd)) {
        in.seek(headerEnd - qint64(extraSize));
        if (HasEncryptionRecord(in.bytes(qint64(extraSize))))
            file.flags |= EncryptedFlag;
    }
    return file;
}

std::vector<RarFileFacts> ReadRar5(ByteCursor& in)
{
    std::vector<RarFileFacts> files;
    while (in.left() > 4) {
        in.skip(4); // header CRC
        const std::optional<quint64> headerSize = VarInt(in);
        if (!headerSize || *headerSize == 0 || *headerSize > quint64(in.left()))
            break;
        const qint64 headerEnd = in.pos() + qint64(*headerSize);
        const std::optional<quint64> type = VarInt(in);
        const std::optional<quint64> flags = VarInt(in);
        if (!type || !flags || *type == Rar5EndBlock || *type == Rar5EncryptionBlock)
            break;
        std::optional<quint64> extraSize = quint64(0);
        std::optional<quint64> dataSize = quint64(0);
        if (*flags & Rar5HasExtra)
            extraSize = VarInt(in);
        if (*flags & Rar5HasData)
            dataSize = VarInt(in);
        if (!extraSize || !dataSize)
            break;
        if (*type == Rar5FileBlock) {
            if (const auto file = ReadRar5File(in, *dataSize, *extraSize, headerEnd))
                files.push_back(*file);
            else
                break;
        }
        if (*dataSize > quint64(in.size() - headerEnd))
            break;
        in.seek(headerEnd + qint64(*dataSize));
    }
    return files;
}

} // namespace

std::vector<RarFileFacts> ReadRarFileFacts(const uchar* data, qint64 size)
{
    if (!data || size <= 0)
        return {};
    const QByteArray head =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qMin(size, MostStubBytes));
    const qsizetype rar5 = head.indexOf(Rar5Signature);
    const qsizetype rar4 = head.indexOf(Rar4Signature);
    ByteCursor in(data, size);
    if (rar5 >= 0 && (rar4 < 0 || rar5 <= rar4)) {
        in.seek(rar5 + Rar5Signature.size());
        return ReadRar5(in);
    }
    if (rar4 < 0)
        return {};
    in.seek(rar4 + Rar4Signature.size());
    return ReadRar4(in);
}
