#include "view/report/SystemReport.h"

#include <gtest/gtest.h>

namespace {

platform::MachineFacts sampleMachine()
{
    platform::MachineFacts m;
    m.userName = "ada";
    m.hostName = "box";
    m.osName = "Debian GNU/Linux";
    m.osVersion = "12";
    m.processors = 2;
    m.totalMemoryKb = 2048;
    m.availableMemoryKb = 512;
    m.memoryLoad = 75;
    return m;
}

platform::VolumeFacts volume(const char* path, platform::VolumeKind kind, qint64 total, qint64 free,
                             const char* label)
{
    platform::VolumeFacts v;
    v.volume.mountPath = path;
    v.volume.kind = kind;
    if (total >= 0)
        v.space = platform::VolumeSpace{free, total};
    v.label = label;
    v.serial = "1A2B-3C4D";
    return v;
}

QString textOf(const NodeTree& tree, const QString& key)
{
    const NodeTree::Id id = tree.find(key);
    return id == NodeTree::None ? QStringLiteral("<missing>") : tree.node(id).text;
}

} // namespace

TEST(SystemReport, KeysLinesAndDrivesUnderTheCountOfTheirType)
{
    NodeTree tree;
    const std::vector<platform::VolumeFacts> volumes{
        volume("/", platform::VolumeKind::Fixed, 2048, 1024, ""),
        volume("/media/card", platform::VolumeKind::Removable, 0, 0, "CARD"),
        volume("/net", platform::VolumeKind::Remote, -1, 0, "")};
    BuildSystemReport(tree, sampleMachine(), volumes, QSize(1280, 800));

    EXPECT_EQ(textOf(tree, "R"), "box");
    EXPECT_EQ(textOf(tree, "R1"), "System Sofware/Hardware");
    const NodeTree::Id system = tree.find("R1");
    QStringList keys;
    for (const NodeTree::Id id : tree.children(system))
        keys << tree.key(id);
    EXPECT_EQ(keys, (QStringList{"R10", "R11", "R12", "R13", "R14", "R15", "R16", "R17", "R18",
                                 "R19", "R110", "R111", "R112"}));
    EXPECT_EQ(textOf(tree, "R10"), "User Name            = ada");
    EXPECT_EQ(textOf(tree, "R110"), "Keyboard Type        = IBM enhanced (101/102-keys)");
    EXPECT_EQ(textOf(tree, "R112"), "Screen Resolution    = 1280 x 800");
    EXPECT_EQ(textOf(tree, "R21"), "Total RAM            = 2048 Kb");
    EXPECT_EQ(textOf(tree, "R23"), "RAM used             = 75 %");
    EXPECT_EQ(textOf(tree, "R32"), "Fixed drives         = 1");
    EXPECT_EQ(textOf(tree, "R36"), "Network drives       = 1");

    // Each drive sits under the count of its type, with its five lines.
    EXPECT_EQ(tree.node(tree.find("Rd1")).parent, tree.find("R32"));
    EXPECT_EQ(textOf(tree, "Rd1"), "Disk /");
    EXPECT_EQ(textOf(tree, "4Rd1"), "Used disk space      = 1 Kb");
    EXPECT_EQ(textOf(tree, "5Rd1"), "Volumelabel          = NoName");
    EXPECT_EQ(textOf(tree, "6Rd1"), "Serial Number        = 1A2B-3C4D");
    // A card reader without a card, and a volume that cannot be read.
    EXPECT_EQ(tree.node(tree.find("Rd2")).parent, tree.find("R31"));
    EXPECT_EQ(textOf(tree, "3Rd2"), "Total disk space     = No disk loaded");
    EXPECT_EQ(textOf(tree, "5Rd2"), "Volumelabel          = -");
    EXPECT_EQ(textOf(tree, "4Rd3"), "Used disk space      = -");
}

TEST(SystemReport, LinuxSourcesParse)
{
    platform::MachineFacts m;
    platform::ParseMemInfo("MemTotal:       1000 kB\nMemFree:  100 kB\nMemAvailable:    250 kB\n",
                           m);
    EXPECT_EQ(m.totalMemoryKb, 1000);
    EXPECT_EQ(m.availableMemoryKb, 250);
    EXPECT_EQ(m.memoryLoad, 75);
    platform::ParseMemInfo("garbage", m);
    EXPECT_EQ(m.totalMemoryKb, 0);
    EXPECT_EQ(m.memoryLoad, 0);

    platform::ParseOsRelease("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                             "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n",
                             m);
    EXPECT_EQ(m.osName, "Debian GNU/Linux");
    EXPECT_EQ(m.osVersion, "12");

    EXPECT_EQ(platform::SerialFromUuid("3c2a9f1e-77b0-4d9b-a1f3-0b1c2d3e4f50"), "3C2A-9F1E");
    EXPECT_EQ(platform::SerialFromUuid("ABCD-1234"), "ABCD-1234"); // a FAT serial as it is
    EXPECT_EQ(platform::SerialFromUuid(""), "0000-0000");

    EXPECT_EQ(KeyboardTypeName(7), "Japanese");
    EXPECT_EQ(KeyboardTypeName(0), "Unknown keyboard type");
}
