#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

/// A picture read for the user to look at, with what the user must be told about it.
struct PictureRead {
    QImage image;    ///< null when the file cannot be read or is not a picture
    QString problem; ///< why less than the whole picture or nothing shows; "" if all is well
};

/// Reads a picture of any kind the picture views show: bmp, dib (BMP bytes), gif (its
/// first frame), jpg, png, webp, ico, cur, tif, svg, pcx, emf and wmf, at its natural size
/// when it fits in `memoryBytes`, else decoded reduced (halved until it fits) and said so.
[[nodiscard]] PictureRead ReadPicture(const QString& path, qint64 memoryBytes);
/// The most memory one picture the user opens may take: half of what the machine has
/// free now, and never less than Qt's own reader allows.
[[nodiscard]] qint64 PictureMemoryBudget();
/// ReadPicture within PictureMemoryBudget(), the picture alone.
[[nodiscard]] QImage LoadPicture(const QString& path);

/// The picture at `path` stretched to exactly `size` (proportions not kept), or with
/// Qt::KeepAspectRatio made to fit inside `size` (never enlarged). Formats whose decoder
/// can reduce while decoding (JPEG) do so, which keeps large photographs cheap. A null
/// image when the file cannot be read.
[[nodiscard]] QImage LoadThumbnail(const QString& path, QSize size,
                                   Qt::AspectRatioMode mode = Qt::IgnoreAspectRatio);

/// The image format to force for a file, by its extension: "bmp" for .dib, empty when
/// the reader may decide from the contents.
[[nodiscard]] QByteArray ForcedPictureFormat(const QString& path);
