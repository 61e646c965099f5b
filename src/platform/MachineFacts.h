#pragma once

#include "platform/Volumes.h"

#include <QString>
#include <optional>
#include <vector>

namespace platform {

/// What the system report says about the machine, gathered from Linux's own sources:
/// the password database, os-release, uname, /proc/cpuinfo and /proc/meminfo.
struct MachineFacts {
    QString userName;
    QString hostName;
    QString fullName;    ///< the user's full name (the account's comment field)
    QString osName;      ///< the distribution's name ("Debian GNU/Linux")
    QString osVersion;   ///< its version ("12")
    QString kernelMinor; ///< the kernel's second version number
    QString kernelBuild; ///< the kernel's third version number
    QString processor;   ///< the processor's model name, else the machine type
    int processors = 0;
    int keyboardType = 4; ///< enhanced 101/102 keys: Linux has no keyboard type query
    int functionKeys = 12;
    qint64 totalMemoryKb = 0;
    qint64 availableMemoryKb = 0;
    int memoryLoad = 0; ///< percent of the memory in use
};

/// One volume as the report shows it.
struct VolumeFacts {
    Volume volume;
    std::optional<VolumeSpace> space; ///< nothing when the volume cannot be read
    QString label;
    QString serial; ///< "XXXX-XXXX"; "0000-0000" when unknown
};

/// The machine's facts now.
[[nodiscard]] MachineFacts GatherMachineFacts();
/// Every mounted volume with its space, label and serial number, in mount order.
[[nodiscard]] std::vector<VolumeFacts> GatherVolumeFacts();

/// The memory the machine can still hand out now, in bytes (0 when unknown).
[[nodiscard]] qint64 AvailableMemoryBytes();

/// The figures of /proc/meminfo's text: total, available and the load in percent.
void ParseMemInfo(const QString& text, MachineFacts& facts);
/// The NAME and VERSION_ID values of an os-release text, quotes removed.
void ParseOsRelease(const QString& text, MachineFacts& facts);
/// A volume serial in the 4-4 form from a file system's UUID or FAT serial: the first
/// eight hexadecimal digits, upper-cased ("0000-0000" when there are fewer).
[[nodiscard]] QString SerialFromUuid(const QString& uuid);

} // namespace platform
