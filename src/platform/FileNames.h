#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QUrl>

namespace platform {

// A Linux file name is bytes, not text. Names are carried as QString all through Lumara,
// so the bytes that are not valid UTF-8 must survive the trip: each byte of an invalid
// sequence becomes the lone surrogate U+DC80 + (byte - 0x80), and only these functions
// turn such a string back into the exact bytes. Qt's own file classes cannot do this
// (they write a '?' for a lone surrogate), so a path that holds raw bytes reaches the
// system only through the platform layer.

/// The name for `bytes`: valid UTF-8 decodes as usual (overlong forms, encoded
/// surrogates and code points above U+10FFFF are not valid), every other byte becomes
/// its lone surrogate. encodeFileName gives the same bytes back.
[[nodiscard]] QString decodeFileName(QByteArrayView bytes);

/// The exact bytes of a name made by decodeFileName. Other lone surrogates, which no
/// file name yields, are written as U+FFFD.
[[nodiscard]] QByteArray encodeFileName(QStringView name);

/// The byte a lone low surrogate stands for when it is a raw byte of a name, or -1.
[[nodiscard]] int rawByteOf(QChar c);

/// True when the character at `i` stands for a raw byte (and is not the low half of a
/// surrogate pair).
[[nodiscard]] bool isRawByteAt(QStringView name, qsizetype i);

/// True when the name holds raw bytes that are not UTF-8.
[[nodiscard]] bool holdsRawBytes(QStringView name);

/// The name as a person reads it: each raw byte shown as U+FFFD. For painting only;
/// the result no longer reaches the file.
[[nodiscard]] QString readableFileName(const QString& name);

/// The name as the window shows it: readableFileName, and every invisible format
/// character (the bidirectional controls U+202A-U+202E and U+2066-U+2069 among them,
/// which can make "exe.jpg" of a program's name) written as a visible "<U+202E>".
[[nodiscard]] QString displayFileName(const QString& name);

/// `path` made absolute against the current folder and cleaned of "." and "..", by text
/// alone: QFileInfo and QDir make paths absolute through the '?'-writing encoder.
[[nodiscard]] QString absoluteFilePath(const QString& path);

/// A file:// URL that carries the exact bytes of `path` (made absolute), percent-encoded
/// where needed, for handing a file to a player, a browser or another program.
[[nodiscard]] QUrl fileUrl(const QString& path);

/// The path a file:// URL (in its encoded form) names, with the exact bytes its
/// percent-escapes give, or "" when the URL is not a file on this machine (another
/// scheme, another host, a relative path). The reverse of fileUrl.
[[nodiscard]] QString localPathOfUrl(QByteArrayView encodedUrl);

} // namespace platform
