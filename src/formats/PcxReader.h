#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

/// Decodes a PCX picture: 1, 2, 4 or 8 bits per plane with 1, 3 or 4 planes, RLE or
/// raw, colours from the header's 16-entry palette or the 256-colour palette at the
/// end; 8 bits in 3 planes is true colour (4 planes add alpha). A null image when the
/// data is not a PCX picture this reader knows.
[[nodiscard]] QImage ReadPcx(const QByteArray& data);

/// ReadPcx of the file at `path`; a null image when it cannot be read.
[[nodiscard]] QImage ReadPcxFile(const QString& path);
