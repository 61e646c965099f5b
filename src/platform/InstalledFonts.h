#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

/// A font the system has installed, with every name it answers to.
struct InstalledFont {
    QString family;    ///< the family it is drawn by ("DejaVu Math TeX Gyre")
    QStringList names; ///< its families, full names and PostScript name
};

/// The installed fonts as fontconfig lists them; none when it cannot.
[[nodiscard]] std::vector<InstalledFont> InstalledFonts();

} // namespace platform
