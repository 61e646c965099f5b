#pragma once

#include "platform/Volumes.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

/// Server and share of a network mount, from its mount source and file system type:
/// "ann@host:/srv" (fuse.sshfs), "host:/export" (nfs), "//server/share" (cifs),
/// "https://host/dav" (davfs). Server is "" when the source names none.
struct ShareOrigin {
    QString server;
    QString share;
};
[[nodiscard]] ShareOrigin ShareOriginOf(const QString& source, const QString& fsType);

/// The shares in GVfs's mount folder, one per folder name such as
/// "sftp:host=example.org,user=u" or "smb-share:server=s,share=x"; names that are not
/// GVfs mount names are left out. `gvfsPath` is the folder the names are in.
[[nodiscard]] std::vector<Volume> NetworkSharesOfGvfs(const QString& gvfsPath,
                                                      const QStringList& names);

/// The names in GVfs's mount folder, read without looking at any of them (no stat).
[[nodiscard]] QStringList GvfsFolderNames(const QString& gvfsPath);

/// The folder tree's text for a network share: "server: share", the server alone when
/// there is no share, the mount source when there is no server.
[[nodiscard]] QString ShareLabel(const Volume& volume);

} // namespace platform
