#pragma once

#include "browse/FileList.h"
#include "controls/NodeTree.h"

struct Settings;

/// The file list's node scheme shared by every tree builder: root "R", group nodes
/// keyed by the tree folder path and their text, file nodes keyed by path and entry.
namespace nodescheme {

/// True when the header entry names the basket.
[[nodiscard]] bool isBasket(const FileList& state);

/// Clears fileTree and adds the root node for the header entry of listedNames.
NodeTree::Id addRoot(FileList& state);

/// The image index (as text) of a file list entry, from its extension.
[[nodiscard]] QString fileImage(const QString& entry, const Settings& settings);

/// fileImage with one classification per extension: large folders repeat few extensions.
class ImageCache {
public:
    explicit ImageCache(const Settings& settings);
    [[nodiscard]] QString imageOf(const QString& entry);

private:
    const Settings& settings_;
    const bool byExtensionAtAll_;
    const QString sameImage_;
    QHash<QString, QString> byExtension_;
};

/// The entry as a grouped tree keeps it: a leading "/" of a non-basket entry marks an
/// inner entry whose separators become "|".
[[nodiscard]] QString groupedEntry(const QString& entry, bool basket);

/// The length of a listed entry, from the metadata of the directory read (a second
/// look-up happens only for entries the read did not yield); 0 when unreadable.
/// `likelyAt` is where the read probably has it (entry i of listedNames is usually
/// read entry i - 1), or -1.
[[nodiscard]] qint64 entryLength(const FileList& state, const QString& entry,
                                 qsizetype likelyAt = -1);

/// The creation or last-write time of an entry in ms, as `basis` says; 0 when unknown.
[[nodiscard]] qint64 entryTime(const FileList& state, const QString& entry, DateBasis basis,
                               qsizetype likelyAt = -1);

/// Whether the list's buttons may act: it is not the placeholder and has 2+ nodes.
[[nodiscard]] bool listUsable(const FileList& state);

} // namespace nodescheme
