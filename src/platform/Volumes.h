#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

enum class VolumeKind { Removable, Fixed, Remote, CdRom, RamDisk, Other };

/// One mounted volume: where it is mounted, what backs it and what kind it is.
struct Volume {
    QString mountPath; ///< the node key; "/" for the root
    QString device;
    QString fsType;
    VolumeKind kind = VolumeKind::Fixed;
    QString server = {}; ///< remote volumes: the host that serves them
    QString share = {};  ///< remote volumes: the export, share or path on that host
};

/// Free and total bytes of a volume.
struct VolumeSpace {
    qint64 free = 0;
    qint64 total = 0;
};

/// Tells whether a block device ("/dev/sdb1") sits on removable media.
using RemovableTest = std::function<bool(const QString& device)>;

/// The volumes of a mount table in /proc/self/mounts format, in table order. Pseudo
/// file systems and system mount points are left out; a path mounted twice keeps its
/// last entry (the one that is visible). `removable` may be empty.
[[nodiscard]] std::vector<Volume> ParseMounts(const QString& table,
                                              const RemovableTest& removable = {});

/// The volumes of a table in /proc/self/mountinfo format, filtered like ParseMounts.
/// Remote volumes carry their server and share. GVfs's own mount is left out; its shares
/// come from NetworkSharesOfGvfs.
[[nodiscard]] std::vector<Volume> ParseMountInfo(const QString& table,
                                                 const RemovableTest& removable = {});

/// Where GVfs mounts the shares of the user `uid` (its fuse.gvfsd-fuse mount under
/// /run/user/UID in a mountinfo table), "" when it is not mounted.
[[nodiscard]] QString GvfsMountPath(const QString& mountInfo, uint uid);

/// The volumes mounted now (read from /proc/self/mountinfo, removability from sysfs),
/// then the shares GVfs holds. Local mount points that are not folders are left out;
/// remote ones are never looked at, so a dead server cannot hold this up.
[[nodiscard]] std::vector<Volume> MountedVolumes();

/// The label of the volume mounted at `mountPath`, "" when it has none.
[[nodiscard]] QString VolumeLabel(const QString& mountPath);

/// Free and total space, or nothing when the volume cannot be read.
[[nodiscard]] std::optional<VolumeSpace> VolumeSpaceOf(const QString& mountPath);

/// The folder history's word for a kind: "Removeable", "Fixed", "Remote", "CDRom",
/// "RamDisk", "" for others.
[[nodiscard]] QString KindWord(VolumeKind kind);

/// The folder tree's text for a volume: "Floppy (" + path + ")" for removable volumes
/// (never read), label + " (" + path + ")" for fixed, remote and CD-ROM volumes ("File
/// System (/)" for a root without a label), "(" + path + ")" otherwise. `label` is only used for
/// the kinds that show it.
[[nodiscard]] QString VolumeText(const Volume& volume, const QString& label);

/// The folder tree's image key for a kind: "hard", "floppy", "net" or "cdrom".
[[nodiscard]] QString VolumeImage(VolumeKind kind);

} // namespace platform
