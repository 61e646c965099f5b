#include "platform/Volumes.h"

#include "platform/NetworkShares.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QStringList>
#include <array>
#include <optional>
#include <unistd.h>

namespace platform {
namespace {

const QSet<QString>& pseudoFileSystems()
{
    static const QSet<QString> types{
        "proc",      "sysfs",       "devtmpfs",  "devpts",      "cgroup",
        "cgroup2",   "securityfs",  "debugfs",   "tracefs",     "configfs",
        "fusectl",   "mqueue",      "hugetlbfs", "pstore",      "bpf",
        "autofs",    "binfmt_misc", "efivarfs",  "rpc_pipefs",  "nsfs",
        "selinuxfs", "squashfs",    "nfsd",      "fuse.portal", "fuse.gvfsd-fuse",
        "fuse.lxcfs"};
    return types;
}

bool isRemote(const QString& type)
{
    static const QSet<QString> remote{"nfs",           "nfs4",      "cifs",        "smb3",
                                      "smbfs",         "ncpfs",     "afs",         "ceph",
                                      "glusterfs",     "9p",        "davfs",       "fuse.sshfs",
                                      "fuse.rclone",   "fuse.s3fs", "fuse.davfs2", "fuse.curlftpfs",
                                      "fuse.glusterfs"};
    return remote.contains(type);
}

// Mount points under these folders belong to the system, not to the user.
bool isSystemMountPoint(const QString& path)
{
    static const QStringList prefixes{
        "/proc", "/sys", "/dev", "/run", "/snap", "/boot/efi", "/var/lib/docker", "/var/snap"};
    if (path.startsWith(QLatin1String("/run/media/")))
        return false;
    for (const QString& p : prefixes) {
        if (path == p || path.startsWith(p + QLatin1Char('/')))
            return true;
    }
    return false;
}

// The table escapes blanks, tabs, newlines and backslashes as \ooo.
QString unescape(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

VolumeKind kindOf(const QString& device, const QString& type, const QString& path,
                  const RemovableTest& removable)
{
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf"))
        return VolumeKind::CdRom;
    if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs"))
        return VolumeKind::RamDisk;
    if (isRemote(type))
        return VolumeKind::Remote;
    if (path.startsWith(QLatin1String("/media/")) || path.startsWith(QLatin1String("/run/media/")))
        return VolumeKind::Removable;
    if (removable && device.startsWith(QLatin1String("/dev/")) && removable(device))
        return VolumeKind::Removable;
    return VolumeKind::Fixed;
}

bool sysfsRemovable(const QString& device)
{
    const QString name = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (name.isEmpty())
        return false;
    // A partition's own folder has no "removable"; its disk (the parent folder) does.
    const QString dir = QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    for (const QString& candidate :
         {dir + QStringLiteral("/removable"), dir + QStringLiteral("/../removable")}) {
        QFile file(candidate);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll().trimmed() == "1";
    }
    return false;
}

// Adds one mount to `volumes` unless it belongs to the system; a path mounted again
// replaces the earlier entry in its place.
void addMount(std::vector<Volume>& volumes, const QString& device, const QString& path,
              const QString& type, const RemovableTest& removable)
{
    if (path != QLatin1String("/") &&
        (pseudoFileSystems().contains(type) || isSystemMountPoint(path)))
        return;
    Volume v{path, device, type, kindOf(device, type, path, removable)};
    if (v.kind == VolumeKind::Remote) {
        const ShareOrigin origin = ShareOriginOf(device, type);
        v.server = origin.server;
        v.share = origin.share;
    }
    auto same = std::find_if(volumes.begin(), volumes.end(),
                             [&](const Volume& o) { return o.mountPath == path; });
    if (same != volumes.end())
        *same = v;
    else
        volumes.push_back(v);
}

// A mountinfo line: "ID PARENT MAJ:MIN ROOT MOUNTPOINT OPTIONS [TAGS...] - TYPE SOURCE
// OPTIONS". Returns mount point, type and source, or nothing for a short line.
std::optional<std::array<QString, 3>> mountInfoFields(const QString& line)
{
    const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const qsizetype dash = f.indexOf(QStringLiteral("-"), 6);
    if (f.size() < 5 || dash < 0 || dash + 2 >= f.size())
        return std::nullopt;
    return std::array<QString, 3>{unescape(f[4]), f[dash + 1], unescape(f[dash + 2])};
}

QString readProcFile(const char* path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

std::vector<Volume> ParseMounts(const QString& table, const RemovableTest& removable)
{
    std::vector<Volume> volumes;
    const QStringList lines = table.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() >= 3)
            addMount(volumes, unescape(f[0]), unescape(f[1]), f[2], removable);
    }
    return volumes;
}

std::vector<Volume> ParseMountInfo(const QString& table, const RemovableTest& removable)
{
    std::vector<Volume> volumes;
    const QStringList lines = table.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (const auto f = mountInfoFields(line))
            addMount(volumes, (*f)[2], (*f)[0], (*f)[1], removable);
    }
    return volumes;
}

QString GvfsMountPath(const QString& mountInfo, uint uid)
{
    const QString wanted = QStringLiteral("/run/user/%1/gvfs").arg(uid);
    const QStringList lines = mountInfo.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const auto f = mountInfoFields(line);
        if (f && (*f)[1] == QLatin1String("fuse.gvfsd-fuse") && (*f)[0] == wanted)
            return wanted;
    }
    return {};
}

std::vector<Volume> MountedVolumes()
{
    const QString info = readProcFile("/proc/self/mountinfo");
    std::vector<Volume> all = info.isEmpty()
                                  ? ParseMounts(readProcFile("/proc/self/mounts"), sysfsRemovable)
                                  : ParseMountInfo(info, sysfsRemovable);
    if (all.empty())
        return {Volume{QStringLiteral("/"), {}, {}, VolumeKind::Fixed}};
    std::vector<Volume> volumes;
    for (Volume& v : all) {
        // A remote mount point is not looked at: a dead server would hold up the caller.
        if (v.kind == VolumeKind::Remote || QFileInfo(v.mountPath).isDir())
            volumes.push_back(std::move(v));
    }
    // GVfs answers for its mount folder itself, without asking the servers.
    if (const QString gvfs = GvfsMountPath(info, ::getuid()); !gvfs.isEmpty()) {
        for (Volume& v : NetworkSharesOfGvfs(gvfs, GvfsFolderNames(gvfs)))
            volumes.push_back(std::move(v));
    }
    return volumes;
}

QString VolumeLabel(const QString& mountPath)
{
    const QStorageInfo info(mountPath);
    return info.isValid() ? info.name() : QString();
}

std::optional<VolumeSpace> VolumeSpaceOf(const QString& mountPath)
{
    const QStorageInfo info(mountPath);
    if (!info.isValid() || !info.isReady())
        return std::nullopt;
    return VolumeSpace{info.bytesAvailable(), info.bytesTotal()};
}

QString KindWord(VolumeKind kind)
{
    switch (kind) {
    case VolumeKind::Removable:
        return QStringLiteral("Removeable");
    case VolumeKind::Fixed:
        return QStringLiteral("Fixed");
    case VolumeKind::Remote:
        return QStringLiteral("Remote");
    case VolumeKind::CdRom:
        return QStringLiteral("CDRom");
    case VolumeKind::RamDisk:
        return QStringLiteral("RamDisk");
    case VolumeKind::Other:
        break;
    }
    return {};
}

QString VolumeText(const Volume& volume, const QString& label)
{
    const QString inBrackets = QLatin1Char('(') + volume.mountPath + QLatin1Char(')');
    switch (volume.kind) {
    case VolumeKind::Removable:
        return QStringLiteral("Floppy ") + inBrackets;
    case VolumeKind::Fixed:
        // The root file system seldom has a label; a bare "(/)" reads as nothing.
        if (label.isEmpty() && volume.mountPath == QLatin1String("/"))
            return QStringLiteral("File System ") + inBrackets;
        return label + QLatin1Char(' ') + inBrackets;
    case VolumeKind::Remote:
    case VolumeKind::CdRom:
        return label + QLatin1Char(' ') + inBrackets;
    default:
        return inBrackets;
    }
}

QString VolumeImage(VolumeKind kind)
{
    switch (kind) {
    case VolumeKind::Removable:
        return QStringLiteral("floppy");
    case VolumeKind::Remote:
        return QStringLiteral("net");
    case VolumeKind::CdRom:
        return QStringLiteral("cdrom");
    default:
        return QStringLiteral("hard");
    }
}

} // namespace platform
