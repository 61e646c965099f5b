#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Grid;

/// Fonts known to the system, and the temporary registration of a font file.
class FontRegistry {
public:
    virtual ~FontRegistry() = default;
    /// The names of the fonts installed now.
    [[nodiscard]] virtual QStringList installedFonts() = 0;
    /// `AddFont`: registers a font file for this run; false when it is no usable font.
    virtual bool AddFont(const QString& path) = 0;
    /// `RemoveFont`: takes back a registration made by AddFont.
    virtual void RemoveFont(const QString& path) = 0;
    /// The family a registered font file brought in; "" when it is not registered.
    [[nodiscard]] virtual QString registeredFamily(const QString& path) const = 0;
    /// The family that draws the installed font known as `name` (a family, full name or
    /// PostScript name among installedFonts()); the name itself when it is a family.
    [[nodiscard]] virtual QString familyOf(const QString& name) const { return name; }
};

/// Gives the family that draws an installed font name.
using FamilyOfName = std::function<QString(const QString& name)>;

/// A font counts as installed when its face and one of the installed names contain one
/// another (either way, case counts); an empty face therefore counts as installed.
[[nodiscard]] bool FontFaceInstalled(const QString& face, const QStringList& installed);

/// The installed font that best stands for `face`: the longest name the face contains,
/// else the shortest name that contains the face; "" when none matches.
[[nodiscard]] QString InstalledFontForFace(const QString& face, const QStringList& installed);

/// The four sample lines, joined by CR LF.
[[nodiscard]] QString FontSampleLines();

/// The text of the font sample view: the face padded with spaces to 36 characters,
/// followed at once by the sample lines (no line break at the end).
[[nodiscard]] QString FontSampleText(const QString& face);

/// Where the sample begins in FontSampleText: it is set in the face at 16 points.
constexpr int FontSampleStart = 36;

/// What the font sample view shows.
struct FontSample {
    QString face;            ///< the face name from the font file ("" when unreadable)
    QString text;            ///< FontSampleText(face)
    QString family;          ///< the family to draw the sample in
    QString style;           ///< the font's own style name ("Bold Oblique")
    bool registered = false; ///< true while the file is registered for the view
};

/// `ViewFont`'s steps around the display: reads the face, registers the font when it
/// is not installed, lets `show` display the sample, and removes the registration
/// again. A font that is already installed is neither registered nor removed.
FontSample ViewFontSteps(const QString& path, FontRegistry& registry,
                         const std::function<void(const FontSample&)>& show);

/// Fills `grid` as the font table of `paths` (full paths, in order): the header
/// ">#|<File|<Font|<Sample|<Sample", widths 400 and 1600 twips, one row per font with
/// its number, file name, face and two samples in that face (bold or italic when the
/// face says so); " ***font not installed***" replaces the first sample of a font that
/// is not installed. `progress(i, n)` runs before each font (i from 1); `familyOf` gives
/// the family that draws an installed name (the name itself when none is given).
void FillFontTable(Grid& grid, const QStringList& paths, const QStringList& installed,
                   const std::function<void(int i, int n)>& progress = {},
                   const FamilyOfName& familyOf = {});

/// The text of column 3 for a font that is not installed.
inline const QString FontNotInstalled = QStringLiteral(" ***font not installed***");
