#pragma once

#include <QString>

struct Settings;

/// FileKind values: 0..5 are the view category indexes (Text, Picture, Html, Zip,
/// Sound, Db); the negative ones name the extensions with views of their own.
enum class FileKind : int {
    Doc = -1,
    Ttf = -2,
    Xls = -3,
    Avi = -4,
    Tif = -5,
    Basket = -6,
    Ole = -8,
    None = -9,
    Text = 0,
    Picture = 1,
    Html = 2,
    Zip = 3,
    Sound = 4,
    Db = 5,
};

/// The FileKind of an upper-case extension with its dot (as ExtensionOf gives it).
[[nodiscard]] FileKind ClassifyFileKind(const QString& extension, const Settings& settings);

/// The file list's image index for a file of that extension.
[[nodiscard]] int FileListIconIndex(const QString& extension, const Settings& settings);
/// False when FileListIconIndex gives every file the same image under these settings.
[[nodiscard]] bool FileListIconsByExtension(const Settings& settings);
