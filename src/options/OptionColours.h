#pragma once

#include <QColor>
#include <QString>
#include <array>

class QPalette;
struct Settings;

/// The colour targets of the options dialog, in the order of its option buttons.
enum class ColourTarget {
    ViewWindowFg,
    ViewWindowBg,
    FilesListFg,
    FilesListBg,
    DirectoryTreeFg,
    DirectoryTreeBg,
};
inline constexpr int ColourTargetCount = 6;

/// "View Window FG", "View Window BG", ... as the option buttons read.
[[nodiscard]] QString ColourTargetCaption(ColourTarget target);
/// The slot of Settings::colours that `target` edits.
[[nodiscard]] int ColourSlot(ColourTarget target);

/// One palette swatch: its name and either a fixed colour or a system colour index.
struct Swatch {
    const char* name;
    QRgb rgb = 0;
    int systemColour = -1; ///< -1 for the fixed colours of swatches 0..15
};
inline constexpr int SwatchCount = 32;
inline constexpr int SwatchesPerRow = 8;

/// The 32 swatches: the 16 console colours, then 16 system colours.
[[nodiscard]] const std::array<Swatch, SwatchCount>& Swatches();
/// The colour a swatch shows; system colours are looked up in `palette`.
[[nodiscard]] QColor SwatchColour(int index, const QPalette& palette);
/// The desktop colour that stands for a system colour index (1 desktop, 8 window
/// text, 15 button face, ...), from `palette`.
[[nodiscard]] QColor SystemColour(int index, const QPalette& palette);

/// The value stored for a chosen colour (0xRRGGBB). Pure black is stored as (1, 1, 1),
/// so the stored value is never 0.
[[nodiscard]] quint32 StoredColour(const QColor& colour);
/// A stored 0xRRGGBB value as a colour.
[[nodiscard]] QColor ColourOf(quint32 stored);

/// Stores `colour` in the settings slot of `target` (with the black rule).
void ApplyColour(Settings& settings, ColourTarget target, const QColor& colour);
/// All six colours back to the profile's defaults: white backgrounds, black text.
void ResetColours(Settings& settings);
