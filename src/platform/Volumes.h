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

/// The volumes mounted now (read from /proc/self/mounts, removability from sysfs);
/// mount points that are not folders are left out.
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
