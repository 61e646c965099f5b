#pragma once

#include "browse/FileList.h"
#include "browse/NodeSource.h"

#include <QString>

struct Settings;

/// What a file-list node stands for: the folder and name of a file on disk, or the
/// archive and entry of a member.
struct ResolvedFileNode {
    QString folder;
    QString name;
    NodeSource source = NodeSource::None;
    bool overBasket = false; ///< the list shows the basket, not a folder
    QString entryRef;        ///< "|archive|entry" for an archive line, the group for BasketGroup
};

/// Resolves `id` of state.tree(). `currentFolder` is the folder the list shows (ending
/// in "/"); `tempFolder` the working folder (ending in "/"). An archive line is a node
/// text holding "|": its archive part lies between its last two "|", its entry after the
/// last one.
[[nodiscard]] ResolvedFileNode ResolveFileNode(const FileList& state, NodeTree::Id id,
                                               const QString& currentFolder,
                                               const QString& tempFolder, const Settings& settings);

/// True when the node's text has the basket-file kind (".BSK").
[[nodiscard]] bool HasBasketKind(const QString& text, const Settings& settings);
