#pragma once

#include <QString>

namespace cli {

/// A name as one line of output, escaped as `ls -b` writes it in a UTF-8 locale:
/// backslash as \\, tab, newline, carriage return and the other controls as \t, \n, \r,
/// \a, \b, \f, \v or \ooo, and each byte of a character the C library counts as not
/// printable (a control, an unassigned code point, U+2028, U+2029) or of a name that is
/// not UTF-8 as \ooo. A space at either end is written "\ ", since the indentation of a
/// listing would hide it; a space inside a name stays a space, where ls -b writes "\ ".
/// Every other name comes back unchanged.
[[nodiscard]] QString EscapeName(const QString& name);

/// A message of several lines ("\r\n" between them) for standard error: each line
/// escaped as a name is, but for its spaces, and the lines joined by "\n".
[[nodiscard]] QString EscapeMessage(const QString& text);
/// True when `text` is printable ASCII without a backslash: escaping leaves it as it is.
[[nodiscard]] bool IsPlainText(QStringView text);

} // namespace cli
