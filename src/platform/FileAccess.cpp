#include "platform/FileAccess.h"

#include "platform/FileNames.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
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

/// Makes a rename in `folder` last through a crash.
void syncFolder(const QString& folder)
{
    const QByteArray encoded = encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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

std::optional<unsigned> ownPermissionBits(const QString& path)
{
    struct stat st {};
    if (::lstat(encodeFileName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
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
    if (::mkdir(encodeFileName(path).constData(), 0777) == 0)
        return true;
    const int reason = errno; // kept for the caller's message
    if (isFolder(path))
        return true;
    errno = reason == EEXIST ? ENOTDIR : reason; // a file holds the name
    return false;
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

std::optional<QString> linkTarget(const QString& path)
{
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = ::readlink(encodeFileName(path).constData(), buffer.data(), buffer.size());
    if (n < 0 || n >= buffer.size())
        return std::nullopt;
    buffer.truncate(n);
    return decodeFileName(buffer);
}

bool removeFolder(const QString& path)
{
    return ::rmdir(encodeFileName(path).constData()) == 0;
}

bool makeLink(const QString& target, const QString& path)
{
    return ::symlink(encodeFileName(target).constData(), encodeFileName(path).constData()) == 0;
}

bool copyFile(const QString& source, const QString& target, QString* error)
{
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QFile in;
    if (!openForReading(in, source))
        return failed(fileReadProblem(source));
    FileBeside out(target);
    if (!out.isOpen())
        return failed(out.errorText());
    constexpr qint64 ChunkBytes = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkBytes);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return failed(in.errorString());
        if (!out.write(chunk.constData(), chunk.size()))
            return failed(out.errorText());
    }
    return out.commit() || failed(out.errorText());
}

namespace {

/// The process id a partial file's name ends in, or 0 when the name is not one.
pid_t partialOwner(const char* name)
{
    if (name[0] != '.')
        return 0;
    const char* marker = std::strstr(name + 1, PartialMarker);
    if (!marker)
        return 0;
    const char* digits = marker + sizeof PartialMarker - 1;
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || pid <= 0 || (*end != '\0' && *end != '-'))
        return 0;
    return pid_t(pid);
}

bool processIsGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

void removeDeadPartials(const QString& folder)
{
    static std::mutex lock;
    static std::set<QByteArray> seen;
    const QByteArray encoded = encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder);
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (!seen.insert(encoded).second)
            return;
    }
    const int dirFd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = partialOwner(entry->d_name);
        if (owner == 0 || owner == ::getpid() || !processIsGone(owner))
            continue;
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

FileBeside::FileBeside(const QString& target) : target_(target), file_(std::make_unique<QFile>())
{
    const QString folder = folderPart(target);
    removeDeadPartials(folder);
    // ".NAME.lumara-partial-PID", the name cut so that the whole stays within NAME_MAX.
    const QByteArray suffix = PartialMarker + QByteArray::number(qint64(::getpid()));
    const QByteArray name = encodeFileName(target.mid(folder.size()));
    const QByteArray stem = encodeFileName(folder) + '.' + name.left(NAME_MAX - 8 - suffix.size());
    // The umask gives the new file its permissions, whatever the target is or points to.
    int fd = -1;
    for (int attempt = 1; fd < 0 && attempt < 100; ++attempt) {
        QByteArray temp = stem + suffix;
        if (attempt > 1)
            temp += '-' + QByteArray::number(attempt);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            tempPath_ = decodeFileName(temp);
        else if (errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error_ = platform::errorText(errno);
        return;
    }
    file_->setFileName(tempPath_);
    if (!file_->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        error_ = file_->errorString();
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

bool FileBeside::write(const char* data, qint64 size)
{
    if (!isOpen())
        return false;
    while (size > 0) {
        const ssize_t written = ::write(file_->handle(), data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = platform::errorText(written < 0 ? errno : ENOSPC);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
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
    if (!file_->flush() || file_->error() != QFileDevice::NoError) {
        error_ = file_->errorString();
        return false;
    }
    // On the disk before the rename, or a power cut could leave an empty file in its place.
    if (::fsync(file_->handle()) != 0) {
        error_ = platform::errorText(errno);
        return false;
    }
    file_->close();
    if (::rename(encodeFileName(tempPath_).constData(), encodeFileName(target_).constData()) != 0) {
        error_ = platform::errorText(errno);
        return false;
    }
    committed_ = true;
    syncFolder(folderPart(target_));
    return true;
}

} // namespace platform
