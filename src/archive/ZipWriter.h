#pragma once

#include "archive/ZipSources.h"

#include <QString>

struct archive;
struct archive_entry;
class ZipJob;
class QFile;

/// Writes a new zip archive into an open file descriptor, entry by entry.
class ZipWriter {
public:
    ZipWriter(const ZipJob& zip, int fd);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    /// Sets the format (deflate, and encryption when the ZipJob asks for it) and opens;
    /// false without a password for an encrypted zip.
    [[nodiscard]] bool open();
    /// Adds a file or folder from disk; false when it cannot be read or written.
    [[nodiscard]] bool addFile(const NewFile& file);
    /// Copies the entry that reader `r` stands on, data included.
    [[nodiscard]] bool addOld(archive* r, archive_entry* entry);
    /// Finishes the central directory; false when anything failed.
    [[nodiscard]] bool close();
    /// Why the last step failed: the system's reason when there is one.
    [[nodiscard]] QString error() const;

private:
    bool copy(QFile& in);
    /// archive_write_header, keeping a name that is not UTF-8 unmarked.
    int writeHeader(archive_entry* entry);

    const ZipJob& zip_;
    QString error_;
    archive* w_;
    int fd_;
};
