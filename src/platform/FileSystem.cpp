#include "platform/FileSystem.h"

#include "platform/DirectoryNames.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {
namespace {

qint64 toMs(const statx_timestamp& t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool isSpecial(mode_t type)
{
    return type == S_IFCHR || type == S_IFBLK || type == S_IFSOCK || type == S_IFIFO;
}

/// Fills `details` from a statx result; returns false for folders and other non-files
/// that a file listing does not show.
bool fillDetails(const struct statx& st, bool hidden, FileDetails& details, bool allowSpecial)
{
    const mode_t type = st.stx_mode & S_IFMT;
    const bool special = isSpecial(type);
    details.size = qint64(st.stx_size);
    details.modifiedMs = toMs(st.stx_mtime);
    details.accessedMs = toMs(st.stx_atime);
    details.birthKnown = (st.stx_mask & STATX_BTIME) && st.stx_btime.tv_sec != 0;
    details.createdMs = details.birthKnown ? toMs(st.stx_btime) : toMs(st.stx_ctime);
    FileAttributes attrs;
    if (!(st.stx_mode & S_IWUSR))
        attrs |= FileAttribute::ReadOnly;
    if (hidden)
        attrs |= FileAttribute::Hidden;
    if (special)
        attrs |= FileAttribute::System;
    if (st.stx_attributes & STATX_ATTR_COMPRESSED)
        attrs |= FileAttribute::Compressed;
    if (type == S_IFDIR)
        attrs |= FileAttribute::Directory;
    details.attributes = attrs;
    return type != S_IFDIR && (!special || allowSpecial);
}

bool fillEntry(const struct statx& st, FileEntry& entry, bool allowSpecial)
{
    return fillDetails(st, entry.name.startsWith(QLatin1Char('.')), entry, allowSpecial);
}

QString decodeFileName(const char* name)
{
    return platform::decodeFileName(QByteArrayView(name, qsizetype(std::strlen(name))));
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

/// Calls `take` with the name of each subfolder of `folder` (links to folders
/// included) until it returns false.
template <typename Take> void readSubfolders(const QString& folder, Take take)
{
    const QByteArray encoded = encodeFileName(folder);
    DIR* dir = ::opendir(encoded.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* d = ::readdir(dir)) {
        if (isDotOrDotDot(d->d_name))
            continue;
        bool isDir = d->d_type == DT_DIR;
        if (d->d_type == DT_UNKNOWN || d->d_type == DT_LNK) {
            struct stat st {};
            isDir = ::fstatat(dirFd, d->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isDir && !take(d->d_name))
            break;
    }
    ::closedir(dir);
}

constexpr unsigned StatxMask =
    STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME | STATX_ATIME | STATX_CTIME | STATX_BTIME;

} // namespace

QString errorText(int errorNumber)
{
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which need not be in the buffer.
    return QString::fromLocal8Bit(::strerror_r(errorNumber, buffer, sizeof buffer));
}

std::vector<FileEntry> listFiles(const QString& folder, bool includeHiddenSystem, QString* error,
                                 ReadWatch* watch)
{
    std::vector<FileEntry> result;
    if (error)
        error->clear();
    const auto fail = [error](int errorNumber) {
        if (error)
            *error = errorText(errorNumber);
    };
    const QByteArray encoded = encodeFileName(folder);
    const int dirFd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        fail(errno);
        return result;
    }
    const std::atomic<bool>* stop = watch ? &watch->stop : nullptr;
    // The names first, in a few large reads; then the statx calls, which are most of
    // the time, spread over the cores. A folder's own size grows with its entries (a
    // few dozen bytes each on most file systems), which sizes the name list.
    DirectoryNames names;
    struct stat folderStat {};
    if (::fstat(dirFd, &folderStat) == 0)
        names.reserve(std::min(size_t(folderStat.st_size) / 24, size_t(1) << 20));
    const int readError = readDirectoryNames(
        dirFd, names,
        [includeHiddenSystem](const char* name, unsigned char type) {
            return type != DT_DIR && (name[0] != '.' || includeHiddenSystem);
        },
        stop);
    if (readError != 0)
        fail(readError);

    result.resize(names.size());
    std::vector<unsigned char> shown(names.size(), 0);
    std::atomic<qint64> statted{0};
    const size_t done = forEachBlock(
        names.size(),
        [&](size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i) {
                struct statx st {};
                if (::statx(dirFd, names.name(i), AT_STATX_SYNC_AS_STAT, StatxMask, &st) != 0)
                    continue; // gone since the names were read
                FileEntry& entry = result[i];
                entry.name = platform::decodeFileName(
                    QByteArrayView(names.name(i), qsizetype(names.length(i))));
                shown[i] = fillEntry(st, entry, includeHiddenSystem) ? 1 : 0;
            }
            const qint64 total = statted.fetch_add(qint64(end - begin)) + qint64(end - begin);
            if (watch)
                watch->filesRead.store(total, std::memory_order_relaxed);
        },
        stop);
    ::close(dirFd);

    // Close the gaps left by what is not shown, keeping the directory order.
    size_t kept = 0;
    for (size_t i = 0; i < done; ++i) {
        if (!shown[i])
            continue;
        if (kept != i)
            result[kept] = std::move(result[i]);
        ++kept;
    }
    result.resize(kept);
    if (watch)
        watch->filesRead.store(qint64(result.size()), std::memory_order_relaxed);
    return result;
}

namespace {

/// Whether a name of directory kind `type` is listed without looking at the file:
/// Listed, Dropped, or Unsure for links and entries the directory does not type.
enum class NameKind { Listed, Dropped, Unsure };

NameKind nameKind(unsigned char type, bool includeHiddenSystem)
{
    switch (type) {
    case DT_REG:
        return NameKind::Listed;
    case DT_DIR:
        return NameKind::Dropped;
    case DT_LNK:
    case DT_UNKNOWN:
        return NameKind::Unsure;
    default: // devices, sockets and pipes are system files
        return includeHiddenSystem ? NameKind::Listed : NameKind::Dropped;
    }
}

/// Whether the entry `name` of the folder open at `dirFd`, looked at through links, is
/// one a file listing shows.
bool listedAfterLook(int dirFd, const char* name, bool includeHiddenSystem)
{
    struct statx st {};
    if (::statx(dirFd, name, AT_STATX_SYNC_AS_STAT, STATX_TYPE, &st) != 0)
        return false; // gone, or a link that leads nowhere
    const mode_t type = st.stx_mode & S_IFMT;
    return type != S_IFDIR && (!isSpecial(type) || includeHiddenSystem);
}

/// Whether the entries of the folder open at `dirFd` can be looked at: a folder that
/// may be read but not entered yields names whose files cannot be reached.
bool entriesReachable(int dirFd, const std::string& someName)
{
    struct statx st {};
    return ::statx(dirFd, someName.c_str(), AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, 0, &st) ==
               0 ||
           errno != EACCES;
}

/// The bytes of `name` as the file system holds them, NUL-terminated: a name of ASCII
/// alone is copied into `buffer` (NAME_MAX + 1 bytes) without an allocation, others are
/// encoded into `other`.
const char* nameBytes(const QString& name, char* buffer, QByteArray& other)
{
    if (name.size() <= NAME_MAX) {
        qsizetype i = 0;
        for (; i < name.size(); ++i) {
            const char16_t c = name[i].unicode();
            if (c >= 0x80)
                break;
            buffer[i] = char(c);
        }
        if (i == name.size()) {
            buffer[i] = 0;
            return buffer;
        }
    }
    other = encodeFileName(name);
    return other.constData();
}

} // namespace

std::vector<QString> listFileNames(const QString& folder, bool includeHiddenSystem, QString* error,
                                   ReadWatch* watch)
{
    std::vector<QString> names;
    if (error)
        error->clear();
    const int dirFd =
        ::open(encodeFileName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        if (error)
            *error = errorText(errno);
        return names;
    }
    struct stat folderStat {};
    if (::fstat(dirFd, &folderStat) == 0)
        names.reserve(std::min(size_t(folderStat.st_size) / 24, size_t(1) << 20));
    // Links and untyped entries keep an empty place in `names`, filled once looked at.
    DirectoryNames unsure;
    std::vector<size_t> unsureAt;
    std::string firstListed;
    const int readError = forEachDirectoryName(
        dirFd,
        [&](const char* name, size_t length, unsigned char type) {
            if (name[0] == '.' && !includeHiddenSystem)
                return;
            switch (nameKind(type, includeHiddenSystem)) {
            case NameKind::Dropped:
                return;
            case NameKind::Unsure:
                unsureAt.push_back(names.size());
                unsure.add(name, length, type);
                names.emplace_back();
                return;
            case NameKind::Listed:
                if (firstListed.empty())
                    firstListed.assign(name, length);
                names.push_back(platform::decodeFileName(QByteArrayView(name, qsizetype(length))));
                if (watch && names.size() % 256 == 0)
                    watch->filesRead.store(qint64(names.size()), std::memory_order_relaxed);
            }
        },
        watch ? &watch->stop : nullptr);
    if (readError != 0 && error)
        *error = errorText(readError);

    const size_t looked = forEachBlock(
        unsure.size(),
        [&](size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i) {
                if (listedAfterLook(dirFd, unsure.name(i), includeHiddenSystem))
                    names[unsureAt[i]] = platform::decodeFileName(
                        QByteArrayView(unsure.name(i), qsizetype(unsure.length(i))));
            }
        },
        watch ? &watch->stop : nullptr);
    if (!firstListed.empty() && !entriesReachable(dirFd, firstListed))
        names.clear();
    ::close(dirFd);
    if (!unsure.empty()) {
        // A stopped look keeps the names before the first entry not looked at.
        if (looked < unsure.size())
            names.resize(unsureAt[looked]);
        std::erase_if(names, [](const QString& name) { return name.isEmpty(); });
    }
    if (watch)
        watch->filesRead.store(qint64(names.size()), std::memory_order_relaxed);
    return names;
}

std::vector<FileDetails> readFileDetails(const QString& folder, const std::vector<QString>& names)
{
    std::vector<FileDetails> details(names.size());
    const int dirFd =
        ::open(encodeFileName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    forEachBlock(names.size(), [&](size_t begin, size_t end) {
        char buffer[NAME_MAX + 1];
        QByteArray other;
        for (size_t i = begin; i < end; ++i) {
            const bool hidden = names[i].startsWith(QLatin1Char('.'));
            struct statx st {};
            if (dirFd >= 0 && ::statx(dirFd, nameBytes(names[i], buffer, other),
                                      AT_STATX_SYNC_AS_STAT, StatxMask, &st) == 0)
                fillDetails(st, hidden, details[i], true);
            else if (hidden)
                details[i].attributes = FileAttribute::Hidden;
        }
    });
    if (dirFd >= 0)
        ::close(dirFd);
    return details;
}

QStringList listSubfolders(const QString& folder)
{
    QStringList names;
    readSubfolders(folder, [&names](const char* name) {
        names << decodeFileName(name);
        return true;
    });
    return names;
}

QString firstSubfolder(const QString& folder)
{
    // A folder's link count is 2 + its subfolders on the usual Linux file systems (1
    // where a file system does not count them). Exactly 2 means no subfolder, and a
    // folder of a million files is then not read just to learn that.
    struct stat st {};
    if (::stat(encodeFileName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_nlink == 2)
        return {};
    QString found;
    readSubfolders(folder, [&found](const char* name) {
        found = decodeFileName(name);
        return false;
    });
    return found;
}

QString fileReadProblem(const QString& path)
{
    const QByteArray encoded = encodeFileName(path);
    struct stat st {};
    if (::stat(encoded.constData(), &st) != 0)
        return errorText(errno);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("not a regular file");
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errorText(errno);
    ::close(fd);
    return {};
}

std::optional<FileEntry> statFile(const QString& path)
{
    struct statx st {};
    const QByteArray encoded = encodeFileName(path);
    if (::statx(AT_FDCWD, encoded.constData(), AT_STATX_SYNC_AS_STAT, StatxMask, &st) != 0)
        return std::nullopt;
    FileEntry entry;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    entry.name = slash < 0 ? path : path.mid(slash + 1);
    fillEntry(st, entry, true);
    return entry;
}

} // namespace platform

namespace platform {

std::optional<qint64> freeSpace(const QString& folder)
{
    struct statvfs fs {};
    if (::statvfs(encodeFileName(folder).constData(), &fs) != 0)
        return std::nullopt;
    return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

} // namespace platform
