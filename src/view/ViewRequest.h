#pragma once

#include "shared/FileKind.h"

#include <QString>

/// What the caller fills before it asks the view window to show a file.
struct ViewRequest {
    QString folder;    ///< ends in "/"
    QString name;      ///< file name, no folder
    QString extension; ///< upper case with its dot, " " without one
    FileKind kind = FileKind::Text;
    bool iconsView = false; ///< the file's icons rather than the file

    [[nodiscard]] QString fullPath() const { return folder + name; }
};
