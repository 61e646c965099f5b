#pragma once

// Font files for tests: 'name' tables built byte by byte and installed fonts renamed.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

namespace fontfixtures {

struct NameRecord {
    quint16 platform;
    quint16 encoding;
    quint16 language;
    quint16 nameId;
    QString text;
};

inline void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToBigEndian(v, b.data() + at);
}
inline void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToBigEndian(v, b.data() + at);
}

/// A format-0 'name' table; Macintosh names in Latin-1, the others in UTF-16BE.
inline QByteArray nameTable(const QList<NameRecord>& records)
{
    QByteArray head(6 + 12 * records.size(), '\0');
    put16(head, 2, quint16(records.size()));
    put16(head, 4, quint16(head.size()));
    QByteArray storage;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const NameRecord& r = records[i];
        QByteArray text;
        if (r.platform == 1) {
            text = r.text.toLatin1();
        } else {
            for (const QChar c : r.text) {
                text.append(char(c.unicode() >> 8));
                text.append(char(c.unicode() & 0xFF));
            }
        }
        const qsizetype at = 6 + 12 * i;
        put16(head, at, r.platform);
        put16(head, at + 2, r.encoding);
        put16(head, at + 4, r.language);
        put16(head, at + 6, r.nameId);
        put16(head, at + 8, quint16(text.size()));
        put16(head, at + 10, quint16(storage.size()));
        storage += text;
    }
    return head + storage;
}

/// The English Windows names 1, 2 and 4 of a font.
inline QByteArray windowsNames(const QString& family, const QString& style, const QString& full)
{
    return nameTable({{3, 1, 0x409, 1, family}, {3, 1, 0x409, 2, style}, {3, 1, 0x409, 4, full}});
}

/// A font file of the given tables (tag and bytes), laid out one after another.
inline QByteArray sfnt(const QList<std::pair<QByteArray, QByteArray>>& tables,
                       quint32 version = 0x00010000u)
{
    QByteArray b(12 + 16 * tables.size(), '\0');
    put32(b, 0, version);
    put16(b, 4, quint16(tables.size()));
    for (qsizetype i = 0; i < tables.size(); ++i) {
        while (b.size() % 4)
            b.append('\0');
        const qsizetype record = 12 + 16 * i;
        b.replace(record, 4, tables[i].first);
        put32(b, record + 8, quint32(b.size()));
        put32(b, record + 12, quint32(tables[i].second.size()));
        b += tables[i].second;
    }
    return b;
}

/// `font` with its 'name' table replaced by `names`; every other table is kept.
inline QByteArray withNameTable(const QByteArray& font, const QByteArray& names)
{
    QList<std::pair<QByteArray, QByteArray>> tables;
    const int count = qFromBigEndian<quint16>(font.constData() + 4);
    for (int i = 0; i < count; ++i) {
        const char* record = font.constData() + 12 + 16 * i;
        const QByteArray tag(record, 4);
        const quint32 offset = qFromBigEndian<quint32>(record + 8);
        const quint32 length = qFromBigEndian<quint32>(record + 12);
        tables.append({tag, tag == "name" ? names : font.mid(offset, length)});
    }
    return sfnt(tables, qFromBigEndian<quint32>(font.constData()));
}

/// An installed font of the system's fonts folder ("" bytes when it is missing).
inline QByteArray installedFont(const QString& file)
{
    QFile f(QStringLiteral("/usr/share/fonts/truetype/dejavu/") + file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace fontfixtures
