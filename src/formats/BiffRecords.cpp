#include "formats/BiffRecords.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace biff {

namespace {
constexpr quint16 ContinueId = 0x003C;
constexpr qsizetype HeaderSize = 4;
} // namespace

quint16 Le16(QByteArrayView d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.data() + at);
}

quint32 Le32(QByteArrayView d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.data() + at);
}

double LeDouble(QByteArrayView d, qsizetype at)
{
    const quint64 bits = qFromLittleEndian<quint64>(d.data() + at);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double RkNumber(quint32 rk)
{
    double value = 0;
    if (rk & 0x02) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

bool RecordStream::next(Record& record)
{
    if (pos_ < 0 || pos_ + HeaderSize > stream_.size())
        return false;
    const quint16 size = Le16(stream_, pos_ + 2);
    if (pos_ + HeaderSize + size > stream_.size())
        return false;
    record.id = Le16(stream_, pos_);
    record.data = stream_.sliced(pos_ + HeaderSize, size);
    pos_ += HeaderSize + size;
    return true;
}

std::vector<QByteArrayView> RecordStream::continuations()
{
    std::vector<QByteArrayView> parts;
    Record record;
    while (pos_ + HeaderSize <= stream_.size() && Le16(stream_, pos_) == ContinueId) {
        if (!next(record))
            break;
        parts.push_back(record.data);
    }
    return parts;
}

bool Pieces::atPiece()
{
    while (part_ < parts_.size() && pos_ >= parts_[part_].size()) {
        ++part_;
        pos_ = 0;
    }
    return part_ < parts_.size();
}

bool Pieces::byte(quint8& value)
{
    if (!atPiece())
        return false;
    value = quint8(parts_[part_][pos_++]);
    return true;
}

bool Pieces::word(quint16& value)
{
    quint8 low = 0;
    quint8 high = 0;
    if (!byte(low) || !byte(high))
        return false;
    value = quint16(low | high << 8);
    return true;
}

bool Pieces::dword(quint32& value)
{
    quint16 low = 0;
    quint16 high = 0;
    if (!word(low) || !word(high))
        return false;
    value = low | quint32(high) << 16;
    return true;
}

bool Pieces::skip(qint64 count)
{
    while (count > 0) {
        if (!atPiece())
            return false;
        const qint64 step = std::min<qint64>(count, parts_[part_].size() - pos_);
        pos_ += step;
        count -= step;
    }
    return true;
}

bool Pieces::chars(int count, bool wide, QString& out)
{
    out.clear();
    out.reserve(count);
    while (count > 0) {
        if (part_ < parts_.size() && pos_ >= parts_[part_].size()) {
            // The characters go on in the next continuation, behind a new flags byte.
            if (part_ + 1 >= parts_.size())
                return false;
            ++part_;
            pos_ = 0;
            quint8 flags = 0;
            if (!byte(flags))
                return false;
            wide = flags & 0x01;
            continue;
        }
        if (part_ >= parts_.size())
            return false;
        const QByteArrayView piece = parts_[part_];
        const qsizetype width = wide ? 2 : 1;
        const qsizetype fit = std::min<qsizetype>(count, (piece.size() - pos_) / width);
        if (fit == 0)
            return false; // half a character before the piece ends
        for (qsizetype i = 0; i < fit; ++i, pos_ += width)
            out += QChar(wide ? Le16(piece, pos_) : quint8(piece[pos_]));
        count -= int(fit);
    }
    return true;
}

bool Pieces::bytes(int count, QStringDecoder& decoder, QString& out)
{
    QByteArray raw;
    raw.reserve(count);
    for (quint8 b = 0; count > 0; --count) {
        if (!byte(b))
            return false;
        raw += char(b);
    }
    out = decoder.decode(raw);
    return true;
}

} // namespace biff
