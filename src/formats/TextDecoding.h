#pragma once

#include <QByteArray>
#include <QString>

/// True when `bytes` start with a UTF-16 byte-order mark, either byte order.
[[nodiscard]] bool StartsWithUtf16Mark(const QByteArray& bytes);

/// Decodes a text file's bytes: UTF-16 when it starts with a byte-order mark, UTF-8 when
/// the bytes are valid UTF-8 (a UTF-8 mark is dropped), else Windows-1252.
[[nodiscard]] QString DecodeText(const QByteArray& bytes);

/// Decodes bytes as Windows-1252 (undefined codes keep their Latin-1 value).
[[nodiscard]] QString DecodeWindows1252(const QByteArray& bytes);
