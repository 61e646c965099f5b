#include "view/picture/PictureFile.h"

#include "formats/EmfReader.h"
#include "formats/IcoDecode.h"
#include "formats/JpegScaled.h"
#include "formats/Metafile.h"
#include "formats/PcxReader.h"
#include "platform/FileAccess.h"
#include "platform/MachineFacts.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <functional>

namespace {

enum class Decoder { Qt, Pcx, Metafile, Icon };

Decoder decoderFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pcx"))
        return Decoder::Pcx;
    if (suffix == QLatin1String("emf") || suffix == QLatin1String("wmf"))
        return Decoder::Metafile;
    if (suffix == QLatin1String("ico") || suffix == QLatin1String("cur"))
        return Decoder::Icon;
    return Decoder::Qt;
}

// Pictures larger than this many pixels are refused rather than exhausting memory.
constexpr qint64 MaxPixels = qint64(16384) * 16384;
// Qt's own allocation limit for one image (its reader's default).
constexpr qint64 QtDefaultLimitBytes = qint64(128) << 20;
// What one decoded pixel takes at most in the formats the readers give (32-bit).
constexpr qint64 BytesPerPixel = 4;

/// Raises Qt's allocation limit for one read and puts the old one back.
class AllocationLimit {
public:
    explicit AllocationLimit(qint64 bytes) : old_(QImageReader::allocationLimit())
    {
        const qint64 megabytes = std::min<qint64>(INT_MAX, bytes >> 20);
        QImageReader::setAllocationLimit(int(std::max<qint64>(old_, megabytes)));
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(old_); }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    int old_;
};

/// How many times each side must be halved for `natural` to fit in `memoryBytes`.
int halvingsToFit(QSize natural, qint64 memoryBytes)
{
    int halvings = 0;
    QSize size = natural;
    const auto pixels = [](QSize s) { return qint64(s.width()) * s.height(); };
    while (size.width() > 1 && size.height() > 1 &&
           (pixels(size) > MaxPixels || pixels(size) * BytesPerPixel > memoryBytes)) {
        size /= 2;
        ++halvings;
    }
    return halvings;
}

bool isEmf(const QByteArray& bytes)
{
    return bytes.size() >= 44 && qFromLittleEndian<quint32>(bytes.constData()) == 1 &&
           qFromLittleEndian<quint32>(bytes.constData() + 40) == 0x464D4520;
}

/// An EMF drawn no larger than the memory allows, and what the user must know about it.
PictureRead readEmf(const QByteArray& bytes, qint64 memoryBytes)
{
    const EmfDrawing drawing =
        DrawEmf(bytes, std::min(MaxPixels, memoryBytes / BytesPerPixel), EmfMaxSide);
    PictureRead result{drawing.image, QString()};
    if (drawing.image.isNull())
        result.problem = QStringLiteral("cannot read this picture");
    else if (drawing.emfPlusOnly)
        result.problem = QStringLiteral("drawn in EMF+ records only, which are not shown");
    else if (drawing.image.size() != drawing.naturalSize)
        result.problem = QStringLiteral("too large to draw whole: %1 x %2 drawn as %3 x %4")
                             .arg(drawing.naturalSize.width())
                             .arg(drawing.naturalSize.height())
                             .arg(drawing.image.width())
                             .arg(drawing.image.height());
    return result;
}

PictureRead readOwnFormat(const QString& path, Decoder decoder, qint64 memoryBytes)
{
    QFile file;
    if (!platform::openForReading(file, path))
        return {QImage(), QStringLiteral("cannot read this picture")};
    const QByteArray bytes = file.readAll();
    if (decoder == Decoder::Metafile && isEmf(bytes))
        return readEmf(bytes, memoryBytes);
    PictureRead result;
    switch (decoder) {
    case Decoder::Pcx:
        result.image = ReadPcx(bytes);
        break;
    case Decoder::Icon:
        result.image = DecodeIcoImage(bytes);
        break;
    default:
        result.image = RenderWmf(bytes);
        break;
    }
    if (result.image.isNull())
        result.problem = QStringLiteral("cannot read this picture");
    return result;
}

/// A JPEG decoded at the decoder's own reduced scale that still covers `target(natural)`,
/// then brought to that size; null when the file is no JPEG this decoder takes (Qt's
/// reader tries it then). The file is read whole: the decoder works fastest from memory.
QImage ThumbnailOfJpeg(QFile& file, const std::function<QSize(QSize)>& target)
{
    constexpr qint64 MaxJpegBytes = qint64(256) << 20;
    char head[3];
    if (file.peek(head, 3) != 3 || !LooksLikeJpeg(QByteArrayView(head, 3)) ||
        file.size() > MaxJpegBytes)
        return {};
    const QByteArray bytes = file.readAll();
    const ScaledJpeg jpeg = DecodeJpegCovering(bytes, target, MaxPixels);
    if (jpeg.image.isNull())
        return {};
    const QSize wanted = target(jpeg.natural);
    return jpeg.image.size() == wanted
               ? jpeg.image
               : jpeg.image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QByteArray ForcedPictureFormat(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("dib"), Qt::CaseInsensitive) == 0
               ? QByteArray("bmp")
               : QByteArray();
}

qint64 PictureMemoryBudget()
{
    return std::max(platform::AvailableMemoryBytes() / 2, QtDefaultLimitBytes);
}

PictureRead ReadPicture(const QString& path, qint64 memoryBytes)
{
    PictureRead result;
    if (const Decoder decoder = decoderFor(path); decoder != Decoder::Qt)
        return readOwnFormat(path, decoder, memoryBytes);
    QFile file;
    if (!platform::openForReading(file, path)) {
        result.problem = file.errorString();
        return result;
    }
    QImageReader reader(&file, ForcedPictureFormat(path));
    reader.setAutoTransform(false);
    const QSize natural = reader.size();
    if (natural.isValid()) {
        if (const int halvings = halvingsToFit(natural, memoryBytes); halvings > 0) {
            const QSize reduced = natural / (1 << halvings);
            reader.setScaledSize(reduced);
            result.problem = QStringLiteral("too large for the free memory: %1 x %2 shown as "
                                            "%3 x %4")
                                 .arg(natural.width())
                                 .arg(natural.height())
                                 .arg(reduced.width())
                                 .arg(reduced.height());
        }
    }
    const AllocationLimit limit(memoryBytes);
    result.image = reader.read();
    if (result.image.isNull())
        result.problem = QStringLiteral("cannot show this picture: ") + reader.errorString();
    return result;
}

QImage LoadPicture(const QString& path)
{
    return ReadPicture(path, PictureMemoryBudget()).image;
}

QImage LoadThumbnail(const QString& path, QSize size, Qt::AspectRatioMode mode)
{
    if (size.isEmpty())
        return {};
    // Kept proportions never enlarge a small picture.
    const auto target = [size, mode](QSize natural) {
        if (mode == Qt::IgnoreAspectRatio || !natural.isValid())
            return size;
        return natural.width() <= size.width() && natural.height() <= size.height()
                   ? natural
                   : natural.scaled(size, mode).expandedTo(QSize(1, 1));
    };
    if (const Decoder decoder = decoderFor(path); decoder != Decoder::Qt) {
        // A metafile need not be drawn much larger than its thumbnail.
        const qint64 enough = BytesPerPixel * 4 * qint64(size.width()) * size.height();
        const QImage full =
            readOwnFormat(path, decoder, std::min(enough, PictureMemoryBudget())).image;
        return full.isNull() ? full
                             : full.scaled(target(full.size()), Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation);
    }
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
    if (QImage jpeg = ThumbnailOfJpeg(file, target); !jpeg.isNull())
        return jpeg;
    file.seek(0);
    QImageReader reader(&file, ForcedPictureFormat(path));
    reader.setAutoTransform(false);
    const QSize natural = reader.size();
    if (natural.isValid() && qint64(natural.width()) * natural.height() > MaxPixels)
        return {};
    const QSize wanted = target(natural);
    // Decoders that cannot scale ignore this and give the natural size.
    reader.setScaledSize(wanted);
    QImage image = reader.read();
    if (!image.isNull() && image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}
