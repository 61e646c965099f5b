#pragma once
// Builds Windows metafiles record by record for the tests, the way GDI writes them.

#include "common/LittleEndianBytes.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QtEndian>

class WmfBuilder {
public:
    /// One record: size in words, function, then the parameter words.
    WmfBuilder& record(quint16 function, const QList<qint32>& words)
    {
        QByteArray r;
        appendLe32(r, quint32(3 + words.size()));
        appendLe16(r, function);
        for (qint32 w : words)
            appendLe16(r, quint32(w) & 0xFFFF);
        return raw(r);
    }
    /// A record whose parameters end with `tail` (a bitmap, a string).
    WmfBuilder& record(quint16 function, const QList<qint32>& words, const QByteArray& tail)
    {
        QByteArray body;
        for (qint32 w : words)
            appendLe16(body, quint32(w) & 0xFFFF);
        body += tail;
        if (body.size() % 2)
            body += '\0';
        QByteArray r;
        appendLe32(r, quint32(3 + body.size() / 2));
        appendLe16(r, function);
        return raw(r + body);
    }
    WmfBuilder& raw(const QByteArray& r)
    {
        records_ += r;
        maxRecord_ = std::max<quint32>(maxRecord_, quint32(r.size() / 2));
        return *this;
    }

    WmfBuilder& windowOrg(int x, int y) { return record(0x020B, {y, x}); }
    WmfBuilder& windowExt(int x, int y) { return record(0x020C, {y, x}); }
    WmfBuilder& solidBrush(QColor c) { return record(0x02FC, {0, lo(c), hi(c), 0}); }
    WmfBuilder& pen(QColor c, int width = 1) { return record(0x02FA, {0, width, 0, lo(c), hi(c)}); }
    WmfBuilder& nullPen() { return record(0x02FA, {5, 0, 0, 0, 0}); }
    WmfBuilder& select(int slot) { return record(0x012D, {slot}); }
    WmfBuilder& remove(int slot) { return record(0x01F0, {slot}); }
    WmfBuilder& rectangle(int l, int t, int r, int b) { return record(0x041B, {b, r, t, l}); }
    /// A font of `height` units with the baseline turned by `escapement` tenths of a degree.
    WmfBuilder& font(int height, int escapement = 0)
    {
        QList<qint32> words{height, 0, escapement, escapement, 400, 0, 0, 0, 0};
        QByteArray face("DejaVu Sans");
        face.resize(32, '\0');
        for (int i = 0; i < 16; ++i)
            words << (quint8(face[2 * i]) | quint8(face[2 * i + 1]) << 8);
        return record(0x02FB, words);
    }
    WmfBuilder& textOut(int x, int y, const QByteArray& text)
    {
        QByteArray padded = text;
        if (padded.size() % 2)
            padded += '\0';
        QList<qint32> words{qint32(text.size())};
        for (qsizetype i = 0; i < padded.size(); i += 2)
            words << (quint8(padded[i]) | quint8(padded[i + 1]) << 8);
        words << y << x;
        return record(0x0521, words);
    }

    /// The metafile: with a placeable header when `box` is given (left, top, right, bottom).
    QByteArray file(const QList<int>& box = {}, int inch = 1440, int objects = 16) const
    {
        QByteArray out;
        if (box.size() == 4) {
            QByteArray p;
            appendLe32(p, 0x9AC6CDD7);
            appendLe16(p, 0);
            for (int v : box)
                appendLe16(p, quint32(v));
            appendLe16(p, quint32(inch));
            appendLe32(p, 0);
            quint16 sum = 0;
            for (int i = 0; i < p.size(); i += 2)
                sum ^= qFromLittleEndian<quint16>(p.constData() + i);
            appendLe16(p, sum);
            out += p;
        }
        QByteArray body = records_;
        appendLe32(body, 3); // end record
        appendLe16(body, 0);
        appendLe16(out, 1);
        appendLe16(out, 9);
        appendLe16(out, 0x0300);
        appendLe32(out, quint32((18 + body.size()) / 2));
        appendLe16(out, quint32(objects));
        appendLe32(out, std::max<quint32>(maxRecord_, 3));
        appendLe16(out, 0);
        return out + body;
    }

    /// A bottom-up 24-bit DIB; `rows` from the top, colours left to right.
    static QByteArray dib24(const QList<QList<QColor>>& rows)
    {
        const int width = int(rows.value(0).size());
        const int height = int(rows.size());
        QByteArray d = infoHeader(width, height, 24, 0);
        const int stride = (width * 3 + 3) / 4 * 4;
        for (int y = height - 1; y >= 0; --y) {
            QByteArray row;
            for (const QColor& c : rows[y])
                row.append(char(c.blue())).append(char(c.green())).append(char(c.red()));
            row.resize(stride, '\0');
            d += row;
        }
        return d;
    }
    /// A bottom-up 1-bit DIB with a two-colour table; `bits` rows from the top, 8 wide.
    static QByteArray dib1(QColor zero, QColor one, const QList<quint8>& bits)
    {
        QByteArray d = infoHeader(8, int(bits.size()), 1, 2);
        for (const QColor& c : {zero, one})
            d.append(char(c.blue())).append(char(c.green())).append(char(c.red())).append('\0');
        for (qsizetype y = bits.size() - 1; y >= 0; --y)
            d.append(char(bits[y])).append(3, '\0');
        return d;
    }

    static qint32 lo(QColor c) { return c.red() | c.green() << 8; }
    static qint32 hi(QColor c) { return c.blue(); }

private:
    static QByteArray infoHeader(int width, int height, int bits, int colours)
    {
        QByteArray h;
        appendLe32(h, 40);
        appendLe32(h, quint32(width));
        appendLe32(h, quint32(height));
        appendLe16(h, 1);
        appendLe16(h, quint32(bits));
        for (quint32 v : {0u, 0u, 0u, 0u, quint32(colours), 0u})
            appendLe32(h, v);
        return h;
    }
    QByteArray records_;
    quint32 maxRecord_ = 3;
};
