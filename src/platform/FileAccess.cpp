#include "platform/FileAccess.h"

#include "platform/FileNames.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool statPath(const QString& path, struct stat& st)
{
    return ::stat(encodeFileName(path).constData(), &st) == 0;
}

/// The folder part of `path` with its slash ("" for a bare name).
QString folderPart(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

} // namespace

bool openForReading(QFile& file, const QString& path, QIODevice::OpenMode extra)
{
    // Non-blocking, so a pipe without writer is refused instead of waited for.
    const int fd =
        ::open(encodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    file.close();
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly | extra, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool isRegularFile(const QString& path)
{
    struct stat st {};
    return statPath(path, st) && S_ISREG(st.st_mode);
}

bool isFolder(const QString& path)
{
    struct stat st {};
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

bool pathExists(const QString& path)
{
    struct stat st {};
    return ::lstat(encodeFileName(path).constData(), &st) == 0;
}

bool isLink(const QString& path)
{
    struct stat st {};
    return ::lstat(encodeFileName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::optional<unsigned> permissionBits(const QString& path)
{
    struct stat st {};
    if (!statPath(path, st))
        return std::nullopt;
    return unsigned(st.st_mode & 07777);
}

bool removeFile(const QString& path)
{
    return ::unlink(encodeFileName(path).constData()) == 0;
}

bool renameReplacing(const QString& from, const QString& to)
{
    return ::rename(encodeFileName(from).constData(), encodeFileName(to).constData()) == 0;
}

bool makeFolder(const QString& path)
{
    return ::mkdir(encodeFileName(path).constData(), 0777) == 0 || isFolder(path);
}

bool makeFolders(const QString& path)
{
    if (path.isEmpty() || isFolder(path))
        return !path.isEmpty();
    const qsizetype slash = path.lastIndexOf(u'/', path.endsWith(u'/') ? -2 : -1);
    if (slash > 0 && !makeFolders(path.left(slash)))
        return false;
    return makeFolder(path);
}

bool makeLink(const QString& target, const QString& path)
{
    return ::symlink(encodeFileName(target).constData(), encodeFileName(path).constData()) == 0;
}

bool copyFile(const QString& source, const QString& target)
{
    QFile in;
    if (!openForReading(in, source))
        return false;
    FileBeside out(target);
    if (!out.isOpen())
        return false;
    constexpr qint64 ChunkBytes = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkBytes);
        if ((chunk.isEmpty() && in.error() != QFileDevice::NoError) ||
            out.file().write(chunk) != chunk.size())
            return false;
    }
    return out.commit();
}

FileBeside::FileBeside(const QString& target) : target_(target), file_(std::make_unique<QFile>())
{
    // A short name of our own: the target's name may already use all 255 bytes.
    QByteArray temp = encodeFileName(folderPart(target)) + ".lumara-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    tempPath_ = decodeFileName(temp);
    file_->setFileName(tempPath_);
    if (!file_->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        removeFile(tempPath_);
        tempPath_.clear();
    }
}

FileBeside::~FileBeside()
{
    if (!tempPath_.isEmpty() && !committed_) {
        file_->close();
        removeFile(tempPath_);
    }
}

void FileBeside::setPermissionBits(unsigned bits)
{
    if (isOpen())
        ::fchmod(file_->handle(), mode_t(bits & 07777));
}

bool FileBeside::isOpen() const
{
    return !tempPath_.isEmpty();
}

bool FileBeside::commit()
{
    if (!isOpen() || committed_)
        return false;
    const bool flushed = file_->flush() && file_->error() == QFileDevice::NoError;
    file_->close();
    committed_ = flushed && renameReplacing(tempPath_, target_);
    return committed_;
}

} // namespace platform
