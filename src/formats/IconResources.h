#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

/// The icons a file holds, each rebuilt as the bytes of an .ico file: one per icon
/// group of a program or library (PE image), or the file itself when it is an .ico
/// file. Anything else holds none.
[[nodiscard]] QList<QByteArray> ReadIcons(const QByteArray& bytes);

/// The same for a file on disk; an unreadable file holds none. Files over 256 MB are
/// not read.
[[nodiscard]] QList<QByteArray> ReadIconsFromFile(const QString& path);

/// True when `bytes` start like an .ico file (reserved 0, type 1, at least one image
/// whose directory entry lies inside the bytes).
[[nodiscard]] bool LooksLikeIcoFile(const QByteArray& bytes);

/// The image of an icon drawn in a cell of `cell` x `cell` pixels: the largest of its
/// images that fits the cell at natural size, or the smallest shrunk to fit when none
/// does. A null image when nothing can be decoded.
[[nodiscard]] QImage IconImageForCell(const QByteArray& icoFile, int cell);
