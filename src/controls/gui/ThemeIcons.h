#pragma once

#include <QIcon>
#include <QString>

/// Icons from the desktop's icon theme, with our own pictures where the theme has none.
/// Window thread only.
namespace ThemeIcons {

/// Lets theme icons appear under a bare X session too: where the platform names no theme
/// of its own, Adwaita stands in.
void UseFallbackTheme();

/// The theme's icon for files named like `name`, by the MIME type of its extension
/// (its own icon, else its generic one: text-x-generic, image-x-generic, ...); `fallback`
/// when the theme has neither.
[[nodiscard]] QIcon forFileName(const QString& name, const QIcon& fallback);

} // namespace ThemeIcons
