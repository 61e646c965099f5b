#pragma once

#include <QString>
#include <QStringList>

struct Settings;

/// True when the file name's extension is one of the Picture category's extensions
/// (compared without case).
[[nodiscard]] bool IsPictureName(const QString& name, const Settings& settings);

/// The full paths of the picture files directly in `folder`, in ascending order: the
/// set a thumbnail show of the folder takes.
[[nodiscard]] QStringList PictureFilesOfFolder(const QString& folder, const Settings& settings);

/// `paths` kept to the pictures and sorted ascending.
[[nodiscard]] QStringList PicturesAmong(const QStringList& paths, const Settings& settings);
