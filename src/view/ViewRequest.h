#pragma once

#include "shared/FileKind.h"

#include <QString>

/// What the caller fills before it asks the view window to show a file.
struct ViewRequest {
    QString folder;    ///< ends in "/"
    QString name;      ///< file name, no folder
    QString extension; ///< upper case with its dot, " " without one, or "VI" for the icons view
    FileKind kind = FileKind::Text;

    [[nodiscard]] QString fullPath() const { return folder + name; }
};
