#pragma once

#include "browse/FileList.h"
#include "tools/FindCriteria.h"

#include <QString>
#include <functional>
#include <memory>

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

/// "Apply" one file at a time, so that the window can run (and Escape be seen) between
/// files: tests every file node of the list against the name pattern and the content
/// criteria (zip entries searched as they are unpacked, when asked) and keeps the matching
/// ones in listedNames and the tree (rebuilt for the current tree type). Everything the
/// search needs is taken from the list at the start. Messages go to `prompts` as the
/// dialog shows them.
class FindRun {
public:
    /// Takes the list's file nodes; says "no criteria specified" or "nothing to search"
    /// when there is nothing to do (ended() then).
    FindRun(const FileList& state, const Settings& settings, const FindRequest& request,
            Prompts& prompts);
    ~FindRun();
    FindRun(const FindRun&) = delete;
    FindRun& operator=(const FindRun&) = delete;

    /// No file is left to test (or there was none).
    [[nodiscard]] bool ended() const;
    /// Tests the next file.
    void step(Prompts& prompts, const FindProgress& progress = {});
    /// Escape answered Yes: the untested files are kept.
    void cancel();
    /// Puts the kept files in the list and says what was found; the outcome of the search.
    FindOutcome finish(FileList& state, Prompts& prompts, const ListChanged& listChanged = {});

private:
    struct Search;
    std::unique_ptr<Search> search_;
    FindOutcome outcome_;
};

/// The whole FindRun in one go, with the cancel check (from the presses delivered) before
/// each file.
FindOutcome ApplyFind(FileList& state, const Settings& settings, const FindRequest& request,
                      CancelKey& cancel, Prompts& prompts, const FindProgress& progress = {},
                      const ListChanged& listChanged = {});
