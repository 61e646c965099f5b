#pragma once

#include "shared/FileKind.h"

/// The view operation that a FileKind selects in the view window.
enum class ViewAction {
    None, ///< kinds 3 (archives, shown by the file list), -5 (.TIF) and -9
    Basket,
    Ole,
    Video,
    Spreadsheet,
    FontSample,
    DocText,
    Text,
    Picture,
    Web,
    Sound,
    Database,
    Icons, ///< the icons of a file, asked for with the extension "VI"
};

/// The view for a FileKind.
[[nodiscard]] ViewAction ViewActionFor(FileKind fileKind);
