#pragma once

#include <QString>
#include <functional>

namespace platform {

/// One thing met by walkFolder.
struct WalkedEntry {
    QString path;        ///< the folder walked + "/" + the names below it, exact bytes kept
    bool folder = false; ///< a folder (or a link to one, when links are followed)
};

/// How walkFolder goes.
struct WalkOptions {
    bool recurse = true;        ///< enter subfolders, depth first
    bool includeHidden = false; ///< report and enter names that start with "."
    bool followLinks = false;   ///< enter links to folders; each real folder only once
};

/// Calls `visit` for each regular file (links to files included) and each folder below
/// `folder`, in directory order, a folder before what it holds. Devices, sockets, FIFOs
/// and dangling links are never reported. Links to folders are neither reported nor
/// entered unless followed, and a folder already on the walk is never entered again, so
/// a link loop ends. Unreadable folders yield nothing. Names keep their raw bytes.
void walkFolder(const QString& folder, const WalkOptions& options,
                const std::function<void(const WalkedEntry&)>& visit);

/// Deletes `folder` and everything in it, names of any bytes included. Links are
/// removed, never followed. True when the folder is gone afterwards.
bool removeFolderTree(const QString& folder);

} // namespace platform
