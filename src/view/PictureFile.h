#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

/// Reads a picture of any kind the picture views show: bmp, dib (BMP bytes), gif (its
/// first frame), jpg, png, ico, cur, tif, pcx, emf and wmf. A null image when the file
/// cannot be read or is not a picture.
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
