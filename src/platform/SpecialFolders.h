#pragma once

#include <QStringList>

namespace platform {

/// The folders of the "SpecialFolders" branch, in the branch's order: desktop,
/// applications, documents, downloads, music, pictures, videos, recent, fonts,
/// templates, public, data, cache, config, trash and home. Only folders that exist are
/// given, each once, without a trailing "/".
[[nodiscard]] QStringList SpecialFolders();

/// The user's desktop folder (it may not exist).
[[nodiscard]] QString DesktopFolder();

} // namespace platform
