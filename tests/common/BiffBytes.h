#pragma once

#include <QByteArray>
#include <QtEndian>
#include <initializer_list>

// Little-endian building blocks for workbook records written byte by byte, for the
// variants no program at hand writes.

namespace biffbytes {

inline QByteArray Record(quint16 id, const QByteArray& body)
{
    QByteArray r(4, '\0');
    qToLittleEndian<quint16>(id, r.data());
    qToLittleEndian<quint16>(quint16(body.size()), r.data() + 2);
    return r + body;
}

inline QByteArray Words(std::initializer_list<quint16> words)
{
    QByteArray out;
    for (const quint16 w : words)
        out.append(char(w & 0xFF)).append(char(w >> 8));
    return out;
}

inline QByteArray Dword(quint32 value)
{
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(value, out.data());
    return out;
}

inline QByteArray Double(double value)
{
    QByteArray out(8, '\0');
    qToLittleEndian<double>(value, out.data());
    return out;
}

/// A formula result that is no number: 0 text (a STRING record follows), 1 boolean,
/// 2 error, 3 empty text.
inline QByteArray SpecialResult(quint8 kind, quint8 value = 0)
{
    return QByteArray(1, char(kind)) + QByteArray(1, '\0') + QByteArray(1, char(value)) +
           QByteArray(3, '\0') + QByteArray("\xFF\xFF", 2);
}

/// A formula's flags, chain field and the tokens of "=1" (BIFF3 to BIFF8 layout).
inline QByteArray FormulaTail()
{
    return Words({0, 0, 0, 2}) + QByteArray("\x1E\x01", 2);
}

} // namespace biffbytes
