#pragma once

#include "archive/ArchiveEntry.h"

#include <QString>
#include <functional>
#include <optional>

class Prompts;

/// Reads the directory of one archive and raises `FileFound` for each entry, in
/// reading order. One object per examination: set the members, then call GetInfo.
/// Its error texts name it cArchive.
class ArchiveReader {
public:
    explicit ArchiveReader(Prompts& prompts) : prompts_(prompts) {}

    QString ArchiveName; ///< full path of the archive file
    QString ArchiveExt;  ///< "zip", "cab", "rar" or "ace"; selects the reader
    qint64 FileCount = 0;
    /// When set, the ZIP reader stops after counting and raises no events.
    bool CountOnly = false;
    /// Set by the ZIP reader when it found the end record and stopped after counting.
    bool Counted = false;
    /// When set, the ZIP reader hands the whole name of each file entry to it instead of
    /// raising events: collecting names needs nothing else from a record.
    std::function<void(const QString&)> NameFound;
    /// The FileFound event; called synchronously for each entry.
    std::function<void(const ArchiveEntry&)> FileFound;

    /// Runs the reader for ArchiveExt; any other extension does nothing. A damaged
    /// archive yields fewer or meaningless entries and a bounded number of boxes.
    void GetInfo();

    [[nodiscard]] Prompts& prompts() const { return prompts_; }
    /// Fills the fields common to every event (Total, ArchiveExt) and raises it.
    void raise(ArchiveEntry& entry) const;

private:
    Prompts& prompts_;
};

/// The readers behind GetInfo, one per format.
void GetZip(ArchiveReader& archive);
void GetCab(ArchiveReader& archive);
void GetRar(ArchiveReader& archive);
void GetAce(ArchiveReader& archive);

/// Where the local header of the zip entry that the directory reader lists as
/// `entryName` starts, with the offset of any bytes in front of the zip applied.
[[nodiscard]] std::optional<quint64> ZipLocalHeaderOffset(const QString& zipPath,
                                                          const QString& entryName);

/// Most error boxes one reader shows before it says the archive is damaged and stops.
inline constexpr int MaxReaderErrorBoxes = 3;
/// The box that ends a listing of a damaged archive.
[[nodiscard]] QString DamagedArchiveText(const QString& archiveName);
