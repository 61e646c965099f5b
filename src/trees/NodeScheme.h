#pragma once

#include "browse/FileList.h"
#include "controls/NodeTree.h"

#include <QHash>
#include <utility>
#include <vector>

struct Settings;

/// The file list's node scheme shared by every tree builder: root "R", group nodes
/// keyed by the tree folder path and their text, file nodes keyed by path and entry.
namespace nodescheme {

/// True when the header entry names the basket.
[[nodiscard]] bool isBasket(const FileList& state);

/// Clears `tree` and adds the root node for the header entry of the list's listedNames.
NodeTree::Id addRoot(NodeTree& tree, const FileList& state);

/// The image index (as text) of a file list entry, from its extension.
[[nodiscard]] QString fileImage(const QString& entry, const Settings& settings);

/// fileImage with one classification per extension (classifying walks the category
/// lists): a folder holds few extensions. The recent ones are looked up as written in
/// the name, without building a string per file. Under most settings every file has the
/// same image, and nothing is looked up at all.
class ImageCache {
public:
    explicit ImageCache(const Settings& settings);
    /// The image of `entry`, valid until the next call.
    [[nodiscard]] const QString& imageOf(const QString& entry);

private:
    static constexpr size_t RecentCount = 32;
    const Settings& settings_;
    const bool byExtensionAtAll_;
    const QString sameImage_;
    /// The extension as written (from the last dot on; empty without one) and its image.
    std::vector<std::pair<QString, QString>> recent_;
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
