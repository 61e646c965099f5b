#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class Prompts;

/// The header fields of an icon image found by the byte scan.
struct IconImageHeader {
    int width = 0;  ///< the header's width byte
    int height = 0; ///< half the header's height byte (the header counts the mask too)
    int bitCount = 0;
};

/// The 1-based offsets of every icon image that the byte scan accepts in `bytes`: a
/// 40 at the offset, planes 1, width at least 16, height byte twice the width, 1, 4,
/// 8, 24 or 32 bits per pixel.
[[nodiscard]] QList<qint64> FindIconImageOffsets(const QByteArray& bytes);

/// The header of the image at 1-based `offset`.
[[nodiscard]] IconImageHeader IconImageHeaderAt(const QByteArray& bytes, qint64 offset);

/// The .ico file for found image `n` (1-based): a 22-byte header and the image's
/// bytes up to the next found image, or to the end of the file for the last one.
/// Empty when `n` is out of range.
[[nodiscard]] QByteArray IcoFileForImage(const QByteArray& bytes, const QList<qint64>& offsets,
                                         int n);

/// Saving an icon found by the byte scan: the file's bytes are read once, scanned,
/// and the chosen image is written as an .ico file.
class IconFileScan {
public:
    /// Whether SaveIconFile asks before replacing an existing file.
    enum class Replace { Ask, Always };

    /// Reads the whole file. False, with the message, when it is over 5,000,000 bytes,
    /// empty, or cannot be read.
    [[nodiscard]] bool LoadIconFileBytes(const QString& path, Prompts& prompts);
    /// Scans the bytes read. False, with the message, when no image is found (the
    /// bytes are let go then).
    [[nodiscard]] bool FindIconImages(Prompts& prompts);
    /// Writes found image `n` (1-based) to `path`, beside and renamed into place. True
    /// when written; false when the user kept the old file or writing failed ("unable
    /// to save icon").
    bool SaveIconFile(int n, const QString& path, Prompts& prompts, Replace replace = Replace::Ask);

    [[nodiscard]] const QList<qint64>& offsets() const { return offsets_; }
    [[nodiscard]] const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    QList<qint64> offsets_;
};
