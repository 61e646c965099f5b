#include "platform/NetworkShares.h"

#include "common/TempTree.h"
#include "platform/Volumes.h"

#include <gtest/gtest.h>

using platform::Volume;
using platform::VolumeKind;

namespace {

// A mountinfo table as a desktop with network shares has it (shortened options).
const char* const MountInfo =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "24 22 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8g\n"
    "40 22 259:3 / /home rw,relatime shared:30 - ext4 /dev/nvme0n1p3 rw\n"
    "41 22 0:50 / /mnt/ssh rw,nosuid,nodev,relatime shared:60 - fuse.sshfs "
    "ann@build.example.org:/srv/data rw,user_id=1000\n"
    "42 22 0:51 / /mnt/home\\040box rw,relatime shared:61 - fuse.sshfs box: rw\n"
    "43 22 0:52 / /net/export rw,relatime shared:62 master:3 - nfs4 filer:/export/home rw\n"
    "44 22 0:53 / /mnt/music rw,relatime shared:63 - cifs //nas/music/ rw,vers=3.0\n"
    "45 22 0:54 / /mnt/v6 rw,relatime shared:64 - fuse.sshfs u@[fe80::1]:docs rw\n"
    "46 22 0:55 / /mnt/dav rw,relatime shared:65 - davfs https://cloud.example.com/remote.php/ rw\n"
    "47 30 0:56 / /run/user/1000/gvfs rw,nosuid shared:70 - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "48 30 0:57 / /run/user/1001/gvfs rw,nosuid shared:71 - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "49 22 8:17 / /mnt/backup rw shared:80 - ext4 /dev/sdb1 rw\n";

} // namespace

TEST(NetworkShares, MountInfoGivesKindsServersAndShares)
{
    const std::vector<Volume> volumes =
        platform::ParseMountInfo(MountInfo, [](const QString& d) { return d == "/dev/sdb1"; });
    struct Expected {
        const char* path;
        VolumeKind kind;
        const char* label; // remote volumes only
    };
    const Expected expected[] = {
        {"/", VolumeKind::Fixed, ""},
        {"/home", VolumeKind::Fixed, ""},
        {"/mnt/ssh", VolumeKind::Remote, "build.example.org: /srv/data"},
        {"/mnt/home box", VolumeKind::Remote, "box: ~"},
        {"/net/export", VolumeKind::Remote, "filer: /export/home"},
        {"/mnt/music", VolumeKind::Remote, "nas: music"},
        {"/mnt/v6", VolumeKind::Remote, "fe80::1: ~/docs"},
        {"/mnt/dav", VolumeKind::Remote, "cloud.example.com: /remote.php"},
        {"/mnt/backup", VolumeKind::Removable, ""},
    };
    ASSERT_EQ(volumes.size(), std::size(expected));
    for (size_t i = 0; i < volumes.size(); ++i) {
        const Volume& v = volumes[i];
        EXPECT_EQ(v.mountPath, QString::fromUtf8(expected[i].path)) << i;
        EXPECT_EQ(v.kind, expected[i].kind) << expected[i].path;
        if (v.kind == VolumeKind::Remote) {
            EXPECT_EQ(platform::ShareLabel(v), QString::fromUtf8(expected[i].label));
        }
    }
    EXPECT_EQ(volumes[2].device, QStringLiteral("ann@build.example.org:/srv/data"));
    EXPECT_EQ(volumes[2].fsType, QStringLiteral("fuse.sshfs"));

    // The same sources read from the older table give the same servers and shares.
    const auto old = platform::ParseMounts("//nas/music /mnt/music cifs rw 0 0\n");
    ASSERT_EQ(old.size(), 1u);
    EXPECT_EQ(platform::ShareLabel(old[0]), QStringLiteral("nas: music"));
}

TEST(NetworkShares, GvfsMountIsFoundForTheUserOnly)
{
    EXPECT_EQ(platform::GvfsMountPath(MountInfo, 1000), QStringLiteral("/run/user/1000/gvfs"));
    EXPECT_EQ(platform::GvfsMountPath(MountInfo, 1001), QStringLiteral("/run/user/1001/gvfs"));
    EXPECT_EQ(platform::GvfsMountPath(MountInfo, 0), QString());
    // A damaged line (no separator, too few fields) is passed over, not misread.
    EXPECT_TRUE(platform::ParseMountInfo("41 22 0:50 / /mnt/ssh rw shared:60 fuse.sshfs\n"
                                         "7 8\n- - -\n")
                    .empty());
}

TEST(NetworkShares, GvfsFolderNamesBecomeLabelledShares)
{
    const QStringList names{"sftp:host=example.org,user=u",
                            "smb-share:server=fileserver,share=public%20docs",
                            "dav:host=cloud.example.com,ssl=true,prefix=%2Fdav%2Fann",
                            "ftp:host=ftp.example.net,port=2121",
                            "mtp:host=Android_1234",
                            "archive:host=file%253A%252F%252F%252Ftmp%252Fa.zip",
                            "sftp:user=nobody",
                            "notes"};
    const std::vector<Volume> shares =
        platform::NetworkSharesOfGvfs(QStringLiteral("/run/user/1000/gvfs"), names);
    QStringList labels;
    for (const Volume& v : shares) {
        EXPECT_EQ(v.kind, VolumeKind::Remote);
        EXPECT_TRUE(v.mountPath.startsWith("/run/user/1000/gvfs/" + v.device))
            << v.mountPath.toStdString();
        labels << platform::ShareLabel(v);
    }
    // Phones and archives are no network shares; a name without a server says nothing.
    EXPECT_EQ(labels, (QStringList{"example.org: sftp", "fileserver: public docs",
                                   "cloud.example.com: /dav/ann", "ftp.example.net: ftp"}));
}

TEST(NetworkShares, GvfsFolderNamesAreReadAsTheyAre)
{
    TempTree fixture;
    fixture.folder("gvfs/sftp:host=a,user=b");
    fixture.file("gvfs/smb-share:server=s,share=x", 1);
    QStringList names = platform::GvfsFolderNames(fixture.path("gvfs"));
    names.sort();
    EXPECT_EQ(names, (QStringList{"sftp:host=a,user=b", "smb-share:server=s,share=x"}));
    EXPECT_TRUE(platform::GvfsFolderNames(fixture.path("missing")).isEmpty());
}
