#include "archive/ZipEntryStream.h"

#include "archive/ZipEntryLookup.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

#include <archive.h>
#include <archive_entry.h>
#include <optional>

ZipEntryStream::ZipEntryStream(const QString& zipPath, const QString& entryName, Prompts& prompts)
    : password_(std::make_unique<ZipPasswordState>()), a_(archive_read_new())
{
    password_->prompts = &prompts;
    archive_read_support_format_zip(a_);
    archive_read_set_passphrase_callback(a_, password_.get(), &AskZipPassword);
    // A pipe in the archive's place would block the read.
    if (const QString problem = platform::fileReadProblem(zipPath); !problem.isEmpty()) {
        error_ = problem;
        return;
    }
    if (archive_read_open_filename(a_, platform::encodeFileName(zipPath).constData(), 65536) !=
        ARCHIVE_OK) {
        error_ = QString::fromUtf8(archive_error_string(a_));
        return;
    }
    const QString wanted = QString(entryName).replace(u'\\', u'/');
    archive_entry* entry = nullptr;
    int r;
    while ((r = archive_read_next_header(a_, &entry)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
        if (EntryIsNamed(entry, entryName) || EntryIsNamed(entry, wanted)) {
            open_ = archive_entry_filetype(entry) == AE_IFREG;
            if (!open_)
                error_ = QStringLiteral("it is not a plain file");
            return;
        }
    }
    error_ = r == ARCHIVE_EOF ? QStringLiteral("no such entry")
                              : QString::fromUtf8(archive_error_string(a_));
}

ZipEntryStream::~ZipEntryStream()
{
    archive_read_free(a_);
}

qint64 ZipEntryStream::read(char* into, qint64 most)
{
    if (!open_)
        return -1;
    const la_ssize_t n = archive_read_data(a_, into, size_t(most));
    if (n < 0) {
        error_ = QString::fromUtf8(archive_error_string(a_));
        return -1;
    }
    return n;
}

ArchiveWalk WalkArchive(const QString& path)
{
    ArchiveWalk walk;
    walk.problem = platform::fileReadProblem(path);
    if (!walk.problem.isEmpty())
        return walk;
    archive* a = archive_read_new();
    archive_read_support_format_all(a);
    if (archive_read_open_filename(a, platform::encodeFileName(path).constData(), 65536) !=
        ARCHIVE_OK) {
        walk.problem = QString::fromUtf8(archive_error_string(a));
    } else {
        archive_entry* entry = nullptr;
        int r;
        while ((r = archive_read_next_header(a, &entry)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
            ++walk.entries;
            archive_read_data_skip(a);
        }
        if (r != ARCHIVE_EOF)
            walk.problem = QString::fromUtf8(archive_error_string(a));
    }
    archive_read_free(a);
    return walk;
}
