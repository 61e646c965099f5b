#include "formats/PngFast.h"

#include <QtEndian>
#include <vector>
#include <zlib.h>

namespace {

constexpr unsigned char SubFilter = 1;
constexpr int BytesPerPixel = 3;
constexpr int ColourTypeRgb = 2;
constexpr uInt OutputStep = 1 << 16;

void AppendChunk(QByteArray& png, const char type[4], const QByteArray& data)
{
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    png.append(length, 4);
    const qsizetype typeAt = png.size();
    png.append(type, 4);
    png.append(data);
    const auto* checked = reinterpret_cast<const Bytef*>(png.constData() + typeAt);
    const uLong crc = crc32(crc32(0, nullptr, 0), checked, uInt(4 + data.size()));
    char crcBytes[4];
    qToBigEndian<quint32>(quint32(crc), crcBytes);
    png.append(crcBytes, 4);
}

QByteArray BigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian<quint32>(value, bytes.data());
    return bytes;
}

/// One row as PNG stores it: the filter byte, then each byte less the one a pixel before.
void SubFilteredRow(const QRgb* pixels, int width, unsigned char* out)
{
    out[0] = SubFilter;
    unsigned char* bytes = out + 1;
    unsigned char before[BytesPerPixel] = {0, 0, 0};
    for (int x = 0; x < width; ++x) {
        const unsigned char rgb[BytesPerPixel] = {static_cast<unsigned char>(qRed(pixels[x])),
                                                  static_cast<unsigned char>(qGreen(pixels[x])),
                                                  static_cast<unsigned char>(qBlue(pixels[x]))};
        for (int c = 0; c < BytesPerPixel; ++c) {
            bytes[x * BytesPerPixel + c] = static_cast<unsigned char>(rgb[c] - before[c]);
            before[c] = rgb[c];
        }
    }
}

/// The deflated, filtered rows; empty when zlib fails.
QByteArray DeflatedRows(const QImage& image)
{
    z_stream stream{};
    // Runs are what a filtered page mostly holds; matching only runs keeps level 1 quick.
    if (deflateInit2(&stream, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        return {};
    const int width = image.width();
    std::vector<unsigned char> row(size_t(width) * BytesPerPixel + 1);
    QByteArray out;
    out.reserve(qsizetype(deflateBound(&stream, uLong(row.size()) * uLong(image.height()))));
    int status = Z_OK;
    for (int y = 0; y < image.height() && status != Z_STREAM_ERROR; ++y) {
        SubFilteredRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, row.data());
        stream.next_in = row.data();
        stream.avail_in = uInt(row.size());
        const int flush = y + 1 == image.height() ? Z_FINISH : Z_NO_FLUSH;
        do {
            const qsizetype at = out.size();
            out.resize(at + OutputStep);
            stream.next_out = reinterpret_cast<Bytef*>(out.data() + at);
            stream.avail_out = OutputStep;
            status = deflate(&stream, flush);
            out.resize(at + qsizetype(OutputStep - stream.avail_out));
        } while (stream.avail_out == 0 && status != Z_STREAM_ERROR);
    }
    deflateEnd(&stream);
    return status == Z_STREAM_END ? out : QByteArray();
}

} // namespace

QByteArray EncodePngFast(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    const QByteArray idat = DeflatedRows(image);
    if (idat.isEmpty())
        return {};

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header = BigEndian32(quint32(image.width())) + BigEndian32(quint32(image.height()));
    header.append(char(8)); // bits per sample
    header.append(char(ColourTypeRgb));
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace
    AppendChunk(png, "IHDR", header);
    if (image.dotsPerMeterX() > 0 || image.dotsPerMeterY() > 0) {
        QByteArray physical = BigEndian32(quint32(image.dotsPerMeterX())) +
                              BigEndian32(quint32(image.dotsPerMeterY()));
        physical.append(char(1)); // the unit is the metre
        AppendChunk(png, "pHYs", physical);
    }
    AppendChunk(png, "IDAT", idat);
    AppendChunk(png, "IEND", QByteArray());
    return png;
}
