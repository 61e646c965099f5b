#pragma once

#include "shared/FileKind.h"

#include <QString>

/// The view operation that a FileKind selects in the view window.
enum class ViewAction {
    None, ///< kinds 3 (archives, shown by the file list) and -9
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
    Icons, ///< the icons of a file, asked for by ViewRequest::iconsView
};

/// The view for a FileKind. `.TIF` (-5) shows as a picture, and so does a PCX (-8 with
/// the extension ".PCX"): Linux has no Paintbrush to embed, our own reader decodes it.
[[nodiscard]] ViewAction ViewActionFor(FileKind fileKind, const QString& extension);
