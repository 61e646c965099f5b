#pragma once

#include "browse/FileList.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class CancelKey;
class Prompts;
struct Settings;

/// An entry of an archive shown below the archive's node in the file list.
struct ArchiveMember {
    QString archivePath; ///< the archive file on disk (an extracted copy for nested ones)
    QString archiveText; ///< the archive node's text
    QString entryName;   ///< the entry's full name as stored ("docs/a.txt")
};

/// Gives the archive file on disk behind an archive node: its own path for a file of
/// the folder, an extracted copy for an archive inside another; "" when it cannot be had.
using ArchivePathOf = std::function<QString(NodeTree::Id node)>;

/// The folder (ending in "/") below the working folder `workFolder` into which the
/// entries of the archive node keyed `archiveKey` are extracted: one of its own for
/// each archive, so archives of the same name in different folders, or inside
/// different archives, never share one; it ends in the archive's node text.
[[nodiscard]] QString ArchiveWorkFolder(const QString& workFolder, const QString& archiveKey,
                                        const QString& archiveText);

/// The file on disk behind a file node of the list: for an entry of an archive (also
/// of an archive inside another one) the entry extracted into its archive's work
/// folder, replacing an earlier copy there without a question; for any other node its
/// key. An archive inside another is extracted only once per run. "" when the entry
/// cannot be had (what went wrong was said through `prompts`) or there is no working
/// folder.
[[nodiscard]] QString FileOnDiskOf(const FileList& state, const Settings& settings, NodeTree::Id id,
                                   Prompts& prompts);

/// True for a file node of the Zip category (zip, cab, rar, ace by default).
[[nodiscard]] bool IsArchiveNode(const FileList& state, const Settings& settings, NodeTree::Id id);

/// The archive and entry behind a node whose parent is an archive node; nothing else.
[[nodiscard]] std::optional<ArchiveMember> ArchiveMemberOf(const FileList& state,
                                                           const Settings& settings,
                                                           NodeTree::Id id,
                                                           const ArchivePathOf& pathOf);

/// Viewing an archive node without children: its entries (folder entries left out)
/// become its children, keyed by the archive's path + "/" + entry name, with the image
/// of their extension. Returns the number added, or -1 when the node is no archive
/// node or is expanded already.
int ExpandArchiveNode(FileList& state, const Settings& settings, NodeTree::Id id,
                      const QString& archivePath, Prompts& prompts);

/// "Show all zipped files" one archive node at a time, so that the window can run (and
/// Escape be seen) between them: walks the list again and again, expanding every archive
/// node not expanded yet, until a walk expands nothing.
class ZippedFilesWalk {
public:
    /// Expands the next archive node; false once a whole walk expanded nothing.
    bool step(FileList& state, const Settings& settings, const ArchivePathOf& pathOf,
              Prompts& prompts);
    /// Writes the status and says " N files expanded" or "no files expanded"; returns N.
    int finish(FileList& state, Prompts& prompts) const;

private:
    std::vector<NodeTree::Id> walk_; ///< the nodes of the walk under way
    size_t next_ = 0;
    bool grew_ = true;
    /// Each archive node counts once, even if a view folds a childless node back up.
    QSet<NodeTree::Id> done_;
    int count_ = 0;
};

/// The whole ZippedFilesWalk in one go (a new Escape baseline first, the cancel check
/// before each archive node, from the presses delivered so far). Returns the number
/// expanded.
int ShowAllZippedFiles(FileList& state, const Settings& settings, const ArchivePathOf& pathOf,
                       CancelKey& cancel, Prompts& prompts);

/// "Collapse all zipped files": every expanded archive node is collapsed.
void CollapseZippedFiles(FileList& state, const Settings& settings);
