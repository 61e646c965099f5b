// libarchive's zip writer (deflate, optional traditional encryption) for ZipJob.
#include "archive/ZipWriter.h"

#include "archive/ZipJob.h"
#include "platform/ByteLocale.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <optional>

namespace {

QByteArray ConvertLineEnds(QByteArray data, bool toLf, bool toCrLf)
{
    if (data.contains('\0'))
        return data; // binary: left alone
    if (toLf)
        data.replace("\r\n", "\n");
    if (toCrLf) {
        data.replace("\r\n", "\n");
        data.replace("\n", "\r\n");
    }
    return data;
}

} // namespace

ZipWriter::ZipWriter(const ZipJob& zip, int fd) : zip_(zip), w_(archive_write_new()), fd_(fd) {}

ZipWriter::~ZipWriter()
{
    archive_write_free(w_);
}

bool ZipWriter::open()
{
    archive_write_set_format_zip(w_);
    archive_write_zip_set_compression_deflate(w_);
    if (zip_.Encrypt) {
        const std::optional<QString> password =
            zip_.PasswordRequest ? zip_.PasswordRequest() : std::nullopt;
        if (!password || password->isEmpty()) {
            error_ = QStringLiteral("no password given");
            return false;
        }
        if (archive_write_set_options(w_, "zip:encryption=traditional") != ARCHIVE_OK ||
            archive_write_set_passphrase(w_, password->toUtf8().constData()) != ARCHIVE_OK)
            return false;
    }
    return archive_write_open_fd(w_, fd_) == ARCHIVE_OK;
}

int ZipWriter::writeHeader(archive_entry* entry)
{
    const char* raw = archive_entry_pathname(entry);
    if (!raw || !platform::holdsRawBytes(platform::decodeFileName(raw)))
        return archive_write_header(w_, entry);
    // A name that is not UTF-8 must not be marked as UTF-8, or no reader gets it back.
    const platform::ByteLocale bytes;
    return archive_write_header(w_, entry);
}

bool ZipWriter::addFile(const NewFile& file)
{
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                        archive_entry_free);
    if (platform::holdsRawBytes(file.stored)) // stored as the name's own bytes, unflagged
        archive_entry_copy_pathname(entry.get(), platform::encodeFileName(file.stored).constData());
    else
        archive_entry_set_pathname_utf8(entry.get(), file.stored.toUtf8().constData());
    archive_entry_set_mtime(entry.get(), file.modified, 0);
    if (file.folder) {
        archive_entry_set_filetype(entry.get(), AE_IFDIR);
        archive_entry_set_perm(entry.get(), 0755);
        return writeHeader(entry.get()) >= ARCHIVE_WARN;
    }
    QFile in;
    if (!platform::openForReading(in, file.source)) {
        error_ = file.source + QStringLiteral(": ") + platform::fileReadProblem(file.source);
        return false;
    }
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    if (zip_.ConvertCRLFToLF || zip_.ConvertLFToCRLF) {
        const QByteArray data =
            ConvertLineEnds(in.readAll(), zip_.ConvertCRLFToLF, zip_.ConvertLFToCRLF);
        archive_entry_set_size(entry.get(), data.size());
        return writeHeader(entry.get()) >= ARCHIVE_WARN &&
               archive_write_data(w_, data.constData(), size_t(data.size())) == data.size();
    }
    archive_entry_set_size(entry.get(), in.size());
    if (writeHeader(entry.get()) < ARCHIVE_WARN)
        return false;
    return copy(in);
}

bool ZipWriter::addOld(archive* r, archive_entry* entry)
{
    if (writeHeader(entry) < ARCHIVE_WARN)
        return false;
    char buffer[65536];
    for (;;) {
        const la_ssize_t n = archive_read_data(r, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            error_ = QStringLiteral("the existing zip cannot be read: ") +
                     QString::fromUtf8(archive_error_string(r));
            return false;
        }
        if (archive_write_data(w_, buffer, size_t(n)) != n)
            return false;
    }
}

bool ZipWriter::close()
{
    return archive_write_close(w_) == ARCHIVE_OK;
}

QString ZipWriter::error() const
{
    if (!error_.isEmpty())
        return error_;
    if (archive_errno(w_) > 0)
        return platform::errorText(archive_errno(w_));
    const char* text = archive_error_string(w_);
    return text ? QString::fromUtf8(text) : QStringLiteral("the zip could not be written");
}

bool ZipWriter::copy(QFile& in)
{
    char buffer[65536];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            error_ = in.fileName() + QStringLiteral(": ") + in.errorString();
            return false;
        }
        if (archive_write_data(w_, buffer, size_t(n)) != n)
            return false;
    }
}
