#pragma once

#include <QByteArray>
#include <QColor>
#include <bit>

/// Little-endian reads inside a byte range that answer 0 past its end, so a short or
/// damaged record can never read outside the file.
class MetafileBytes {
public:
    MetafileBytes(const QByteArray& bytes, qsizetype begin, qsizetype end)
        : bytes_(bytes), begin_(begin), end_(std::min(end, bytes.size()))
    {}

    [[nodiscard]] bool has(qsizetype offset, qsizetype count) const
    {
        return offset >= 0 && count >= 0 && begin_ + offset <= end_ - count;
    }
    [[nodiscard]] quint8 u8(qsizetype offset) const
    {
        return has(offset, 1) ? quint8(bytes_[begin_ + offset]) : 0;
    }
    [[nodiscard]] quint16 u16(qsizetype offset) const
    {
        return has(offset, 2) ? quint16(u8(offset) | u8(offset + 1) << 8) : 0;
    }
    [[nodiscard]] qint16 i16(qsizetype offset) const { return qint16(u16(offset)); }
    [[nodiscard]] quint32 u32(qsizetype offset) const
    {
        return has(offset, 4) ? quint32(u16(offset)) | quint32(u16(offset + 2)) << 16 : 0;
    }
    [[nodiscard]] qint32 i32(qsizetype offset) const { return qint32(u32(offset)); }
    /// An IEEE single; 0 past the end.
    [[nodiscard]] float f32(qsizetype offset) const { return std::bit_cast<float>(u32(offset)); }
    /// A COLORREF: red in the low byte.
    [[nodiscard]] QColor colour(qsizetype offset) const
    {
        const quint32 c = u32(offset);
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
    [[nodiscard]] qsizetype size() const { return end_ - begin_; }
    /// `count` bytes from `offset`; empty when they are not all there.
    [[nodiscard]] QByteArray mid(qsizetype offset, qsizetype count) const
    {
        return has(offset, count) ? bytes_.mid(begin_ + offset, count) : QByteArray();
    }

private:
    const QByteArray& bytes_;
    qsizetype begin_;
    qsizetype end_;
};
