#pragma once

#include <QString>
#include <QStringList>

/// Size with its unit: "1023 bytes", "1 Kb", "1.5 Kb", "1.229 Mb", "2 Gb".
[[nodiscard]] QString SizeText(double size);
/// Upper-case extension with its dot, from the last "." ("a.tar.gz" gives ".GZ");
/// a single space when the name has no dot.
[[nodiscard]] QString ExtensionOf(const QString& name);
/// The part of a path after its last separator; the whole text when there is none.
[[nodiscard]] QString NameAfterLastBackslash(const QString& path);
/// The text up to its first NUL character.
[[nodiscard]] QString CutAtNul(const QString& text);
/// A number in decimal, with one leading blank when it is not negative.
[[nodiscard]] QString NumText(qint64 value);
/// "Jan" to "Dec", index 0..11.
[[nodiscard]] const QStringList& MonthNames();
/// `path` with a trailing "/" added when missing.
[[nodiscard]] QString WithSlash(const QString& path);
/// `path` without its trailing "/" when it is 4 characters or longer ("/" stays "/").
[[nodiscard]] QString RootText(const QString& path);
