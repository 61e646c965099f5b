#pragma once

#include "controls/NodeTree.h"
#include "platform/MachineFacts.h"

#include <QSize>
#include <QStringList>
#include <vector>

/// The keyboard's name for a keyboard type code (1..7); "Unknown keyboard type" else.
[[nodiscard]] QString KeyboardTypeName(int code);

/// The twelve report lines: user, computer, registered user and company, operating
/// system, version, minor version, build, processor, processors, keyboard type and
/// function keys, each "label = value" with the labels padded to one column.
[[nodiscard]] QStringList SystemReportLines(const platform::MachineFacts& machine);

/// The report tree (cleared first): "R" the computer name; "R1" the system lines and
/// the screen resolution; "R2" the memory; "R3" the drive counts with each drive and
/// its five lines below the count of its type. The root and its first child expanded.
void BuildSystemReport(NodeTree& tree, const platform::MachineFacts& machine,
                       const std::vector<platform::VolumeFacts>& volumes, QSize screen);
