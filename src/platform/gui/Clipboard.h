#pragma once

#include <QString>

namespace platform {

/// Puts `text` on the clipboard in place of what was there, each raw byte of a file name
/// in it (see FileNames.h) written as U+FFFD so that the text pastes as readable UTF-8.
void copyTextToClipboard(const QString& text);

} // namespace platform
