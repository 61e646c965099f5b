#include "view/report/SystemReport.h"

#include "shared/TextHelpers.h"

namespace {

using platform::VolumeKind;

/// The type name a drive line shows, and the key of the count node it goes under.
struct DriveType {
    QString name;
    QString countKey;
};

DriveType driveTypeOf(VolumeKind kind)
{
    switch (kind) {
    case VolumeKind::Removable:
        return {QStringLiteral("Removable drive"), QStringLiteral("R31")};
    case VolumeKind::Fixed:
        return {QStringLiteral("Fixed drive"), QStringLiteral("R32")};
    case VolumeKind::CdRom:
        return {QStringLiteral("CD-ROM drive"), QStringLiteral("R33")};
    case VolumeKind::Remote:
        return {QStringLiteral("Network drive"), QStringLiteral("R36")};
    case VolumeKind::RamDisk:
    case VolumeKind::Other:
        break;
    }
    return {QStringLiteral("RAM-disk"), QStringLiteral("R34")};
}

QString line(const char* label, const QString& value)
{
    return QString::fromUtf8(label) + QLatin1Char(' ') + value;
}

void addDrive(NodeTree& tree, const platform::VolumeFacts& facts, int n)
{
    const DriveType type = driveTypeOf(facts.volume.kind);
    const QString key = QStringLiteral("Rd") + QString::number(n);
    const NodeTree::Id drive =
        tree.add(tree.find(type.countKey), key, QStringLiteral("Disk ") + facts.volume.mountPath);
    const qint64 total = facts.space ? facts.space->total : 0;
    const bool medium = total > 0;
    const QString none = QStringLiteral("-");
    const QStringList lines{
        line("Drive Type           =", type.name),
        line("Total disk space     =",
             medium ? SizeText(double(total)) : QStringLiteral("No disk loaded")),
        line("Used disk space      =", medium ? SizeText(double(total - facts.space->free)) : none),
        line("Volumelabel          =", !medium                 ? none
                                       : facts.label.isEmpty() ? QStringLiteral("NoName")
                                                               : facts.label),
        line("Serial Number        =", medium ? facts.serial : none),
    };
    for (int i = 0; i < lines.size(); ++i)
        tree.add(drive, QString::number(i + 2) + key, lines[i]);
}

} // namespace

QString KeyboardTypeName(int code)
{
    static const char* const names[] = {
        "IBM® PC/XT® ( ) or compatible (83-keys)",
        "Olivetti® ICO (102-keys)",
        "IBM PC/AT® (84-keys) or similar",
        "IBM enhanced (101/102-keys)",
        "Nokia® 1050 and similar",
        "Nokia 9140 and similar",
        "Japanese",
    };
    if (code < 1 || code > 7)
        return QStringLiteral("Unknown keyboard type");
    return QString::fromUtf8(names[code - 1]);
}

QStringList SystemReportLines(const platform::MachineFacts& m)
{
    return {
        line("User Name            =", m.userName),
        line("Computer Name        =", m.hostName),
        line("Registered User      =", m.fullName),
        line("Registered Company   =", QString()),
        line("Operating System     =", m.osName),
        line("Version              =", m.osVersion),
        line("Minor Version No     =", m.kernelMinor),
        line("OS Build             =", m.kernelBuild),
        line("Processor Type       =", m.processor),
        line("Processors Installed =", QString::number(m.processors)),
        line("Keyboard Type        =", KeyboardTypeName(m.keyboardType)),
        line("No. of Function Keys =", QString::number(m.functionKeys)),
    };
}

void BuildSystemReport(NodeTree& tree, const platform::MachineFacts& machine,
                       const std::vector<platform::VolumeFacts>& volumes, QSize screen)
{
    NodeTreeLock lock(tree);
    tree.clear();
    const QString computer =
        machine.hostName.isEmpty() ? QStringLiteral("My Computer") : machine.hostName;
    const NodeTree::Id root = tree.add(NodeTree::None, QStringLiteral("R"), computer);
    const NodeTree::Id system =
        tree.add(root, QStringLiteral("R1"), QStringLiteral("System Sofware/Hardware"));
    const NodeTree::Id memory = tree.add(root, QStringLiteral("R2"), QStringLiteral("Memory"));
    const NodeTree::Id drives = tree.add(root, QStringLiteral("R3"), QStringLiteral("Drives"));
    tree.setExpanded(root, true);
    tree.setExpanded(system, true);

    const QStringList lines = SystemReportLines(machine);
    for (int i = 0; i < lines.size(); ++i)
        tree.add(system, QStringLiteral("R1") + QString::number(i), lines[i]);
    tree.add(system, QStringLiteral("R112"),
             QStringLiteral("Screen Resolution    =") + NumText(screen.width()) +
                 QStringLiteral(" x") + NumText(screen.height()));

    tree.add(memory, QStringLiteral("R21"),
             line("Total RAM            =", QString::number(machine.totalMemoryKb) + " Kb"));
    tree.add(memory, QStringLiteral("R22"),
             line("Free RAM             =", QString::number(machine.availableMemoryKb) + " Kb"));
    tree.add(memory, QStringLiteral("R23"),
             line("RAM used             =", QString::number(machine.memoryLoad) + " %"));

    int counts[7] = {};
    for (const platform::VolumeFacts& v : volumes)
        ++counts[driveTypeOf(v.volume.kind).countKey.back().digitValue()];
    const std::pair<const char*, int> countLines[] = {{"Removable drives     =", 1},
                                                      {"Fixed drives         =", 2},
                                                      {"CD-ROM drives        =", 3},
                                                      {"RAM drives           =", 4},
                                                      {"Network drives       =", 6}};
    for (const auto& [label, digit] : countLines)
        tree.add(drives, QStringLiteral("R3") + QString::number(digit),
                 line(label, QString::number(counts[digit])));

    // At most 100 drives, as the report has room for.
    int n = 0;
    for (const platform::VolumeFacts& v : volumes) {
        if (++n > 100)
            break;
        addDrive(tree, v, n);
    }
    tree.makeVisible(system);
}
