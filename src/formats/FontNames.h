#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

/// The names a TrueType or OpenType font gives itself in its 'name' table.
struct FontNames {
    QString family;    ///< name 1, "DejaVu Sans"
    QString subfamily; ///< name 2, "Bold Oblique"
    QString fullName;  ///< name 4, "DejaVu Sans Bold Oblique"
};

/// Reads the 'name' table of a font file (a single font, or the first font of a
/// collection). English Windows names are preferred, then any Windows or Unicode
/// name, then Macintosh Roman. Nothing when the bytes are no font or the table is
/// damaged.
[[nodiscard]] std::optional<FontNames> ReadFontNames(const QByteArray& bytes);

/// The same for a font file; nothing when it cannot be read or is no font.
[[nodiscard]] std::optional<FontNames> ReadFontNamesFromFile(const QString& path);

/// The face name among a font's names: its full name, or the family and style when
/// there is no full name.
[[nodiscard]] QString FaceName(const FontNames& names);

/// The face name of a font file: its full name, or the family and style when the
/// font has no full name; "" when the file cannot be read or is no font.
[[nodiscard]] QString GetFontFaceName(const QString& path);
