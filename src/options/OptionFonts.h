#pragma once

#include "shared/Settings.h"

#include <QString>
#include <optional>

/// The font targets of the options dialog, in the order of its option buttons.
enum class FontTarget { Directory, FileList, Views };
inline constexpr int FontTargetCount = 3;

/// "Directory", "FileList", "Views".
[[nodiscard]] QString FontTargetCaption(FontTarget target);
/// The setting a target edits: the folder tree's, the file list's or the view font.
[[nodiscard]] FontSetting& FontOf(Settings& settings, FontTarget target);
[[nodiscard]] const FontSetting& FontOf(const Settings& settings, FontTarget target);

inline constexpr double FontSizeStep = 1.5;
inline constexpr double SmallestFontSize = 1;
inline constexpr double LargestFontSize = 48;

/// The size after one click on the size label: a left click (`up`) adds 1.5 points, a
/// right click takes 1.5 away. Nothing when the new size would leave 1..48.
[[nodiscard]] std::optional<double> SteppedFontSize(double size, bool up);
/// `value` in the "##.##" picture: no leading zero, the point always, at most two
/// decimals without trailing zeros (9 gives "9.", 8.25 gives "8.25", 0.5 gives ".5").
[[nodiscard]] QString HashPictureText(double value);
/// The size label's text: "Size " and the size in the "##.##" picture.
[[nodiscard]] QString FontSizeLabelText(double size);

/// "Set Default Fonts": every target back to the profile's default face and size.
void SetDefaultFonts(Settings& settings);

/// The text the font sample shows: the digits, the lower-case and upper-case alphabet.
inline const QString OptionsFontSample =
    QStringLiteral("0123456789\nabcdefghijklmnopqrstuvwxyz\nABCDEFGHIJKLMNOPQRSTUVWXYZ");
