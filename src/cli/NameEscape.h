#pragma once

#include <QString>

namespace cli {

/// A name as one line of output, escaped the way `ls -b` does for the characters that
/// would break or blur a line: backslash as \\, tab, newline, carriage return and the
/// other control characters as \t, \n, \r, \a, \b, \f, \v or \ooo (octal of the byte).
/// A raw byte of a name that is not UTF-8 is written \ooo too, so the output matches
/// `ls -b` byte for byte. Every other name comes back unchanged.
[[nodiscard]] QString EscapeName(const QString& name);

} // namespace cli
