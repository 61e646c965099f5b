#pragma once

#include <QIcon>
#include <QString>

/// The folder tree's image for a key ("open", "closed", "leaf", "floppy", "hard",
/// "cdrom", "net", "desk", "desktop"): the icon theme's, else the style's own drawing.
/// Unknown keys give a null icon.
[[nodiscard]] QIcon FolderTreeIcon(const QString& key);

/// The folder history's icon by index: 3 folder, 4 removable, 5 fixed, 6 CD-ROM,
/// 7 remote or RAM disk.
[[nodiscard]] QIcon FolderHistoryIcon(int index);
