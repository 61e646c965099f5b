#pragma once

#include <QString>

namespace platform {

// Qt reads names through its own decoder. Its directory iterator (and so its own file
// dialog and file model) leaves out every name that is not UTF-8; paths that reach Qt
// from elsewhere (a native dialog, a URL) carry U+FFFD in place of the raw bytes and no
// longer reach the file. These functions carry paths across that border.

/// The path as Qt would show it: each byte that is not UTF-8 decoded as Qt decodes it.
[[nodiscard]] QString qtShownPath(const QString& path);

/// The real path behind one that Qt decoded (a native or portal dialog's answer): each
/// part that does not exist as written is matched against the names of its folder as Qt
/// or readableFileName would show them, and the first that shows alike is taken. Parts that match
/// nothing (the new name a save dialog returns) stay as they are. A path that exists as written is
/// returned unchanged.
[[nodiscard]] QString pathFromQt(const QString& qtPath);

/// The longest leading part of `path` that Qt can reach (whole folders that hold no raw
/// bytes), for a dialog to start in; `path` itself when it holds none.
[[nodiscard]] QString reachableByQt(const QString& path);

} // namespace platform
