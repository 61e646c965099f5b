#pragma once

#include "controls/NodeTree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

class QMimeData;

/// The lists a drag can leave.
enum class DragList : std::uint8_t { FileList, FolderTree };

/// What a dragged node stands for, so that a drop taken by path still knows which rule
/// applies: one file, the files of a group, every file the list shows, or a folder.
enum class DraggedSet : std::uint8_t { Files, Group, WholeList, Folder };

/// Where a drag from Lumara left: the running Lumara, which of its lists, and which state
/// of that list. A node id means something only to that list in that state.
struct DragOrigin {
    qint64 process = 0;
    quint64 list = 0;       ///< the list's serial number within its process
    quint64 generation = 0; ///< changes whenever the list drops or rebuilds its nodes
    DragList source = DragList::FileList;
    NodeTree::Id node = NodeTree::None;
    DraggedSet set = DraggedSet::Files;
    QString listedFolder; ///< the folder the file list showed, ending in "/"
};

/// Drags carry the standard list of file URLs, which every program reads, plus the
/// origin in Lumara's own format.
inline const QString UriListFormat = QStringLiteral("text/uri-list");
inline const QString DragOriginFormat = QStringLiteral("application/x-lumara-drag-origin");

/// The text/uri-list of `paths`: one file:// URL per line, each ended by CR LF, that
/// keeps every byte of the name.
[[nodiscard]] QByteArray UriListOf(const QStringList& paths);
/// The local paths a text/uri-list names, in order: comment lines, blank lines and URLs
/// of other schemes or other machines are left out.
[[nodiscard]] QStringList PathsOfUriList(const QByteArray& list);

/// A new drag payload (the caller owns it): `paths` as a uri-list and `origin`.
[[nodiscard]] QMimeData* MakeFileDrag(const QStringList& paths, const DragOrigin& origin);

/// The origin a payload carries, when it carries a readable one.
[[nodiscard]] std::optional<DragOrigin> DragOriginOf(const QMimeData* data);

/// One list of this Lumara that takes its own drags back by node.
struct OwnList {
    DragList source = DragList::FileList;
    quint64 list = 0;
    quint64 generation = 0;
};

/// How a drop is to be taken.
struct DropItems {
    enum class Kind {
        Nothing, ///< no file in it
        OwnNode, ///< a node of one of our lists, still as it was dragged
        Paths,   ///< files by path: from another program, another Lumara or another window
        Stale    ///< a node of one of our lists that changed since the drag: refused
    };
    Kind kind = Kind::Nothing;
    DragList source = DragList::FileList; ///< for OwnNode
    NodeTree::Id node = NodeTree::None;   ///< for OwnNode
    DraggedSet set = DraggedSet::Files;   ///< what the sender said; Files from others
    QString listedFolder;                 ///< the sender's listed folder, for WholeList
    QStringList paths;                    ///< for Paths
};

/// Reads a drop. A node is taken by id only when the origin is this process (`process`)
/// and one of `ownLists` in the generation it has now; the same list in another
/// generation is Stale. Anything else is taken by the paths of its uri-list.
[[nodiscard]] DropItems ReadDrop(const QMimeData* data, qint64 process,
                                 const std::vector<OwnList>& ownLists);
/// The same without reading the uri-list, for the moves of a drag over a target: a
/// payload with one is taken as Paths (paths left empty). A drag from another program
/// hands its data over only when asked, and a whole listing is long.
[[nodiscard]] DropItems PeekDrop(const QMimeData* data, qint64 process,
                                 const std::vector<OwnList>& ownLists);

/// True when a drop onto a file target could bring something: a uri-list or our origin.
[[nodiscard]] bool MayCarryFiles(const QMimeData* data);
