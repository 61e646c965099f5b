#pragma once

#include <QString>
#include <memory>

struct ZipPasswordState;

class Prompts;
struct archive;

/// One entry of a zip archive, unpacked as it is read, so that it can be searched without
/// being written anywhere. An encrypted entry asks once for its password.
class ZipEntryStream {
public:
    ZipEntryStream(const QString& zipPath, const QString& entryName, Prompts& prompts);
    ~ZipEntryStream();
    ZipEntryStream(const ZipEntryStream&) = delete;
    ZipEntryStream& operator=(const ZipEntryStream&) = delete;

    /// False when the archive cannot be read or holds no such entry (see error()).
    [[nodiscard]] bool isOpen() const { return open_; }
    /// Up to `most` bytes of the entry: the count, 0 at its end, -1 on damaged data.
    qint64 read(char* into, qint64 most);
    /// Why the entry cannot be opened or read.
    [[nodiscard]] const QString& error() const { return error_; }

private:
    std::unique_ptr<ZipPasswordState> password_;
    archive* a_ = nullptr;
    bool open_ = false;
    QString error_;
};

/// What walking the headers of the archive at `path` with the library that extracts
/// found: its entries, and why it stopped early ("" when it read to the end). Says why a
/// listing that found nothing found nothing.
struct ArchiveWalk {
    qint64 entries = 0;
    QString problem;
};
[[nodiscard]] ArchiveWalk WalkArchive(const QString& path);
