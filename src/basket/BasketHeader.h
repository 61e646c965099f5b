#pragma once

#include <QString>

/// The key that scrambles the first line of a basket file.
inline const QString BasketKey = QStringLiteral("KELTA");
/// What the first line of a basket file decodes to.
inline const QString BasketMark = QStringLiteral("RadeZazeda");

/// Scrambles `text` with `key`: each character's code (Latin-1, "?" beyond it) XOR the
/// key's next character, written as upper-case hex right-aligned in two characters
/// (" A" below 16). `checksum` gets the 16-bit sum of the XOR values; a sum that
/// overflows 16 bits ends the coding and gives "". An empty key gives "".
[[nodiscard]] QString EncodeBasketHeader(const QString& text, const QString& key,
                                         int* checksum = nullptr);

/// The reverse: every two characters, blanks trimmed, read as hex (0 when they are not
/// hex) and XOR the key's next character. An odd last character is read alone.
[[nodiscard]] QString DecodeBasketHeader(const QString& text, const QString& key,
                                         int* checksum = nullptr);

/// True when `line` decodes with BasketKey to BasketMark.
[[nodiscard]] bool IsBasketHeaderLine(const QString& line);
