#pragma once

#include <QByteArray>
#include <QRect>
#include <QtEndian>
#include <bit>

/// Appends `v` as two little-endian bytes.
inline void appendLe16(QByteArray& out, quint32 v)
{
    char b[2];
    qToLittleEndian<quint16>(quint16(v), b);
    out.append(b, 2);
}

/// Appends `v` as four little-endian bytes.
inline void appendLe32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian<quint32>(v, b);
    out.append(b, 4);
}

/// Little-endian fields written one after another, for the byte layouts tests build.
class LittleEndianBytes {
public:
    LittleEndianBytes& u8(quint32 v)
    {
        data.append(char(v));
        return *this;
    }
    LittleEndianBytes& u16(quint32 v)
    {
        appendLe16(data, v);
        return *this;
    }
    LittleEndianBytes& u32(quint32 v)
    {
        appendLe32(data, v);
        return *this;
    }
    LittleEndianBytes& u64(quint64 v) { return u32(quint32(v)).u32(quint32(v >> 32)); }
    LittleEndianBytes& i32(qint32 v) { return u32(quint32(v)); }
    LittleEndianBytes& f32(float v) { return u32(std::bit_cast<quint32>(v)); }
    LittleEndianBytes& rect(QRect r)
    {
        return i32(r.left()).i32(r.top()).i32(r.right()).i32(r.bottom());
    }
    LittleEndianBytes& raw(const QByteArray& bytes)
    {
        data.append(bytes);
        return *this;
    }
    /// One EMF record: type, size, then the parameters.
    LittleEndianBytes& emfRecord(quint32 type, const LittleEndianBytes& params = {})
    {
        return u32(type).u32(quint32(8 + params.data.size())).raw(params.data);
    }
    [[nodiscard]] const QByteArray& bytes() const { return data; }
    QByteArray data;
};
