#pragma once

#include "formats/MetafileBytes.h"

#include <QImage>

class MetafileCanvas;

/// The device-independent bitmap whose BITMAPINFO lies at `infoAt` (`infoSize` bytes) and
/// whose bits lie at `bitsAt` (`bitsSize` bytes) inside `record`: any bit depth Windows
/// writes, run-length coded, or a JPEG or PNG. With `alpha`, a 32-bit bitmap keeps its
/// (premultiplied) alpha bytes. A null image when the parts are missing or damaged.
[[nodiscard]] QImage EmfBitmapAt(const MetafileBytes& record, quint32 infoAt, quint32 infoSize,
                                 quint32 bitsAt, quint32 bitsSize, bool alpha = false);

/// Plays a block transfer record (BITBLT, STRETCHBLT, MASKBLT, ALPHABLEND, TRANSPARENTBLT,
/// STRETCHDIBITS, SETDIBITSTODEVICE) of `type`. False for any other record.
bool PlayEmfBitmapRecord(MetafileCanvas& canvas, quint32 type, const MetafileBytes& record);
