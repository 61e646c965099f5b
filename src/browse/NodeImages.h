#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The images of the nodes of the folder tree and of the file list. The trees keep an
// image as the text of its key; these name the keys, and the icons read them once.

/// The folder tree's images.
enum class FolderImage { Open, Closed, Leaf, Floppy, Hard, CdRom, Net, Desk, Desktop };

/// The key the folder tree keeps for `image` ("open", "closed", "floppy", ...).
[[nodiscard]] const QString& FolderImageKey(FolderImage image);
/// The image a folder tree key names; none for any other text.
[[nodiscard]] std::optional<FolderImage> FolderImageOf(QStringView key);

/// The file list's image keys: numbers of its image list, as text, and the tick.
namespace listimage {
inline const QString Folder = QStringLiteral("1");
inline const QString AnyFile = QStringLiteral("3");
inline const QString BasketFile = QStringLiteral("27");
inline const QString Missing = QStringLiteral("28");
inline const QString Ticked = QStringLiteral("Ticked");
/// Images 14 to 20 name the categories 0 to 6, 21 a file of none of them.
inline constexpr int FirstCategory = 14;
inline constexpr int Uncategorised = 21;
} // namespace listimage

/// What a file list image key shows.
enum class ListImage {
    None,
    Folder,
    AnyFile,
    Ticked,
    Category,
    Uncategorised,
    BasketFile,
    Missing,
    Other
};
struct ListImageKind {
    ListImage image = ListImage::None;
    int category = -1; ///< 0 to 6 for Category
};
/// Reads a file list image key; "k" and a number (the entries of an opened basket file)
/// is the same image as the number.
[[nodiscard]] ListImageKind ClassifyListImage(QStringView key);
