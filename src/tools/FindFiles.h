#pragma once

#include "browse/FileList.h"
#include "tools/FindCriteria.h"

#include <QString>
#include <functional>

class CancelKey;
class Prompts;
struct Settings;

/// What the find dialog applies to the file list.
struct FindRequest {
    QString namePattern = QStringLiteral("*"); ///< from FindNamePattern
    ContentCriteria content;
    bool examineZipped = false; ///< "Examine Zipped Files in File Tree"
};

/// A file node as the search sees it: a file of a folder, or an entry of an archive.
struct FoundNode {
    QString folder;  ///< ending in "/"
    QString name;    ///< the file name (for an entry: its full name in the archive)
    QString archive; ///< the archive's path for an archive entry, else empty
    QString entry;   ///< listedNames's text for the node
};

/// A file node's node in the list: a child of a file node is an entry of that archive.
[[nodiscard]] FoundNode ResolveFoundNode(const FileList& state, NodeTree::Id id);

enum class FindResult {
    NoCriteria,      ///< "no criteria specified" was shown
    NothingToSearch, ///< "nothing to search" was shown
    NoMatch,         ///< the list shows its placeholder; "no match found" was shown
    Found,           ///< the list shows the kept files; the count was reported
};

struct FindOutcome {
    FindResult result = FindResult::NoCriteria;
    int kept = 0;
    int unread = 0; ///< files (or zip entries) whose contents could not be read; reported
};

/// Called once per tested node with the number of nodes done and the total, and again
/// between the large reads of a big file.
using FindProgress = std::function<void(int done, int total)>;
/// Called once the list holds its result, before the closing message.
using ListChanged = std::function<void()>;

/// "Apply": tests every file node of the list against the name pattern and the content
/// criteria (zip entries searched as they are unpacked, when asked) and keeps the
/// matching ones in listedNames and the tree (rebuilt for the current tree type). The
/// cancel check runs once per file; a Yes keeps the untested files. Messages go to
/// `prompts` as the dialog shows them.
FindOutcome ApplyFind(FileList& state, const Settings& settings, const FindRequest& request,
                      CancelKey& cancel, Prompts& prompts, const FindProgress& progress = {},
                      const ListChanged& listChanged = {});
