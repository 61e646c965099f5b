#pragma once

#include <QString>

struct Settings;

/// FileKind values: 0..5 are the view category indexes (Text, Picture, Html, Zip,
/// Sound, Db); the negative ones name the extensions with views of their own.
enum FileKind : int {
    KindDoc = -1,
    KindTtf = -2,
    KindXls = -3,
    KindAvi = -4,
    KindTif = -5,
    KindBasket = -6,
    KindOle = -8,
    KindNone = -9,
    KindText = 0,
    KindPicture = 1,
    KindHtml = 2,
    KindZip = 3,
    KindSound = 4,
    KindDb = 5,
};

/// The FileKind of an upper-case extension with its dot (as ExtensionOf gives it).
[[nodiscard]] int ClassifyFileKind(const QString& extension, const Settings& settings);

/// The file list's image index for a file of that extension.
[[nodiscard]] int FileListIconIndex(const QString& extension, const Settings& settings);
/// False when FileListIconIndex gives every file the same image under these settings.
[[nodiscard]] bool FileListIconsByExtension(const Settings& settings);
