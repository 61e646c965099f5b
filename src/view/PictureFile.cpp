#include "view/PictureFile.h"

#include "platform/FileAccess.h"
#include "view/IcoDecode.h"
#include "view/Metafile.h"
#include "view/PcxReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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

QImage readOwnFormat(const QString& path, Decoder decoder)
{
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
    const QByteArray bytes = file.readAll();
    switch (decoder) {
    case Decoder::Pcx:
        return ReadPcx(bytes);
    case Decoder::Icon:
        return DecodeIcoImage(bytes);
    default:
        return RenderMetafile(bytes);
    }
}

} // namespace

QByteArray ForcedPictureFormat(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("dib"), Qt::CaseInsensitive) == 0
               ? QByteArray("bmp")
               : QByteArray();
}

QImage LoadPicture(const QString& path)
{
    if (const Decoder decoder = decoderFor(path); decoder != Decoder::Qt)
        return readOwnFormat(path, decoder);
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
    QImageReader reader(&file, ForcedPictureFormat(path));
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        return {};
    return reader.read();
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
        const QImage full = readOwnFormat(path, decoder);
        return full.isNull() ? full
                             : full.scaled(target(full.size()), Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation);
    }
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
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
