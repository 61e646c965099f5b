#include "formats/PcxReader.h"

#include "platform/FileAccess.h"

#include <QFile>
#include <QList>
#include <optional>

namespace {

constexpr qsizetype HeaderSize = 128;
constexpr qsizetype VgaPaletteSize = 769; // marker byte 12 + 256 RGB triples
// One byte of a run codes at most 63 pixel bytes: a header claiming more than the file's
// body can unpack to is not a picture, and is turned down before anything is allocated.
constexpr qint64 MostBytesPerCodedByte = 63;
// 256 MB of 32-bit pixels, the most a picture may make the view allocate.
constexpr qint64 MostPixels = qint64(1) << 26;

struct PcxHeader {
    int version = 0;
    bool rle = false;
    int bitsPerPlane = 0;
    int width = 0;
    int height = 0;
    int planes = 0;
    int bytesPerLine = 0;
};

int word(const QByteArray& d, qsizetype at)
{
    return static_cast<unsigned char>(d[at]) | (static_cast<unsigned char>(d[at + 1]) << 8);
}

QRgb rgbAt(const QByteArray& d, qsizetype at)
{
    return qRgb(static_cast<unsigned char>(d[at]), static_cast<unsigned char>(d[at + 1]),
                static_cast<unsigned char>(d[at + 2]));
}

std::optional<PcxHeader> readHeader(const QByteArray& d)
{
    if (d.size() <= HeaderSize || d[0] != 0x0A)
        return std::nullopt;
    PcxHeader h;
    h.version = d[1];
    h.rle = d[2] == 1;
    h.bitsPerPlane = d[3];
    h.width = word(d, 8) - word(d, 4) + 1;
    h.height = word(d, 10) - word(d, 6) + 1;
    h.planes = d[65];
    h.bytesPerLine = word(d, 66);
    const bool knownDepth =
        h.bitsPerPlane == 1 || h.bitsPerPlane == 2 || h.bitsPerPlane == 4 || h.bitsPerPlane == 8;
    const bool knownPlanes = h.planes == 1 || h.planes == 3 || h.planes == 4;
    if (!knownDepth || !knownPlanes || h.width <= 0 || h.height <= 0 ||
        qint64(h.bytesPerLine) * 8 < qint64(h.width) * h.bitsPerPlane)
        return std::nullopt;
    const qint64 pixelBytes = qint64(h.bytesPerLine) * h.planes * h.height;
    if (qint64(h.width) * h.height > MostPixels ||
        pixelBytes > (d.size() - HeaderSize) * MostBytesPerCodedByte)
        return std::nullopt;
    return h;
}

/// The pixel bytes, plane lines after each other per scan line.
QByteArray unpack(const QByteArray& d, const PcxHeader& h)
{
    const qsizetype needed = qsizetype(h.bytesPerLine) * h.planes * h.height;
    qsizetype end = d.size();
    if (h.bitsPerPlane == 8 && h.planes == 1 && d.size() >= HeaderSize + VgaPaletteSize &&
        d[d.size() - VgaPaletteSize] == 0x0C)
        end = d.size() - VgaPaletteSize;
    if (!h.rle)
        return d.mid(HeaderSize, qMin(needed, end - HeaderSize));
    QByteArray out;
    out.reserve(needed);
    // Runs may cross scan lines, so the whole picture is one stream.
    for (qsizetype i = HeaderSize; i < end && out.size() < needed; ++i) {
        const auto b = static_cast<unsigned char>(d[i]);
        if ((b & 0xC0) == 0xC0) {
            if (++i >= end)
                break;
            out.append(qsizetype(b & 0x3F), d[i]);
        } else {
            out.append(char(b));
        }
    }
    return out;
}

QList<QRgb> egaPalette(const QByteArray& d)
{
    QList<QRgb> palette;
    bool allBlack = true;
    for (int i = 0; i < 16; ++i) {
        palette.append(rgbAt(d, 16 + i * 3));
        allBlack = allBlack && qRed(palette.last()) == 0 && qGreen(palette.last()) == 0 &&
                   qBlue(palette.last()) == 0;
    }
    if (!allBlack)
        return palette;
    // Many writers leave the header palette empty and mean the standard EGA colours.
    static const QList<QRgb> standard{
        0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
        0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
    };
    return standard;
}

QList<QRgb> paletteFor(const QByteArray& d, int bits)
{
    QList<QRgb> palette;
    if (bits == 1)
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (bits <= 4)
        return egaPalette(d);
    if (d.size() >= HeaderSize + VgaPaletteSize && d[d.size() - VgaPaletteSize] == 0x0C) {
        for (int i = 0; i < 256; ++i)
            palette.append(rgbAt(d, d.size() - 768 + i * 3));
        return palette;
    }
    const int colours = 1 << bits;
    for (int i = 0; i < colours; ++i) {
        const int grey = i * 255 / (colours - 1);
        palette.append(qRgb(grey, grey, grey));
    }
    return palette;
}

/// The value of pixel `x` in one plane line of `bits` bits per pixel.
int planeValue(const uchar* line, int x, int bits)
{
    const int bitPos = x * bits;
    const int shift = 8 - bits - (bitPos % 8);
    return (line[bitPos / 8] >> shift) & ((1 << bits) - 1);
}

} // namespace

QImage ReadPcx(const QByteArray& data)
{
    const std::optional<PcxHeader> header = readHeader(data);
    if (!header)
        return {};
    const PcxHeader& h = *header;
    QByteArray pixels = unpack(data, h);
    const qsizetype lineBytes = qsizetype(h.bytesPerLine) * h.planes;
    pixels.resize(lineBytes * h.height, '\0'); // a short file shows black below its end

    const bool trueColour = h.bitsPerPlane == 8 && h.planes >= 3;
    const int bits = h.bitsPerPlane * h.planes;
    if (!trueColour && bits > 8)
        return {};
    QImage image(h.width, h.height,
                 h.planes == 4 && trueColour ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const QList<QRgb> palette = trueColour ? QList<QRgb>{} : paletteFor(data, bits);
    for (int y = 0; y < h.height; ++y) {
        const auto* line = reinterpret_cast<const uchar*>(pixels.constData()) + y * lineBytes;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < h.width; ++x) {
            if (trueColour) {
                const uchar* p = line + x;
                const int alpha = h.planes == 4 ? p[3 * h.bytesPerLine] : 255;
                out[x] = qRgba(p[0], p[h.bytesPerLine], p[2 * h.bytesPerLine], alpha);
                continue;
            }
            int index = 0;
            for (int plane = 0; plane < h.planes; ++plane)
                index |= planeValue(line + plane * h.bytesPerLine, x, h.bitsPerPlane)
                         << (plane * h.bitsPerPlane);
            out[x] = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
        }
    }
    return image;
}

QImage ReadPcxFile(const QString& path)
{
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
    return ReadPcx(file.readAll());
}
