#pragma once

#include <QIcon>

/// The program's icon, the picture of data/lumara.svg (a folder under a magnifying
/// glass), painted here at the sizes window managers ask for: Qt reads SVG only with
/// a plug-in that a plain Qt install may lack.
[[nodiscard]] QIcon ProgramIcon();
