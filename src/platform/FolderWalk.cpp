#include "platform/FolderWalk.h"

#include "platform/DirectoryNames.h"
#include "platform/FileNames.h"

#include <QByteArray>
#include <QList>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Found {
    QByteArray name;
    bool folder = false;
    bool link = false;
    FolderId id{};
};

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

/// The files and folders of one folder, read whole so that no handle stays open while
/// the walk goes deeper; the names in large reads, the stat calls on every core.
QList<Found> readFolder(const QByteArray& folder, bool includeHidden)
{
    QList<Found> found;
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return found;
    DirectoryNames names;
    (void)readDirectoryNames(dirFd, names, [includeHidden](const char* name, unsigned char) {
        return name[0] != '.' || includeHidden;
    });
    std::vector<Found> all(names.size());
    std::vector<unsigned char> kept(names.size(), 0);
    forEachBlock(names.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            struct stat linkStat {};
            struct stat st {};
            if (::fstatat(dirFd, names.name(i), &linkStat, AT_SYMLINK_NOFOLLOW) != 0 ||
                ::fstatat(dirFd, names.name(i), &st, 0) != 0)
                continue; // gone, or a dangling link
            if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))
                continue;
            all[i] = {QByteArray(names.name(i), qsizetype(names.length(i))),
                      S_ISDIR(st.st_mode),
                      S_ISLNK(linkStat.st_mode),
                      {st.st_dev, st.st_ino}};
            kept[i] = 1;
        }
    });
    ::close(dirFd);
    found.reserve(qsizetype(names.size()));
    for (size_t i = 0; i < all.size(); ++i) {
        if (kept[i])
            found.append(std::move(all[i]));
    }
    return found;
}

class Walker {
public:
    Walker(const WalkOptions& options, const std::function<void(const WalkedEntry&)>& visit)
        : options_(options), visit_(visit)
    {}

    void walk(const QByteArray& folder, const QString& shown)
    {
        struct stat st {};
        if (::stat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return;
        entered_.insert({st.st_dev, st.st_ino});
        walkInside(folder, shown);
    }

private:
    void walkInside(const QByteArray& folder, const QString& shown)
    {
        const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
        const QString shownPrefix = shown.endsWith(u'/') ? shown : shown + u'/';
        for (const Found& f : readFolder(folder, options_.includeHidden)) {
            const QString path = shownPrefix + decodeFileName(f.name);
            if (!f.folder) {
                visit_({path, false});
                continue;
            }
            if (f.link && !options_.followLinks)
                continue;
            visit_({path, true});
            // The set holds the folders being walked or walked before: a link back up
            // the tree, or a second way into a walked folder, is not entered again.
            if (options_.recurse && entered_.insert(f.id).second)
                walkInside(prefix + f.name, path);
        }
    }

    const WalkOptions& options_;
    const std::function<void(const WalkedEntry&)>& visit_;
    std::set<FolderId> entered_;
};

/// Empties the folder open at `dirFd` (taken over and closed), working through handles
/// so that no path grows past the system's limit and no link is followed.
bool emptyFolder(int dirFd)
{
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return false;
    }
    QList<std::pair<QByteArray, bool>> names;
    while (const dirent* d = ::readdir(dir)) {
        if (isDotOrDotDot(d->d_name))
            continue;
        struct stat st {};
        const bool folder = ::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                            S_ISDIR(st.st_mode);
        names.append({QByteArray(d->d_name), folder});
    }
    bool removed = true;
    const int fd = ::dirfd(dir);
    for (const auto& [name, folder] : names) {
        if (folder) {
            const int child =
                ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            removed = child >= 0 && emptyFolder(child) && removed;
        }
        removed = ::unlinkat(fd, name.constData(), folder ? AT_REMOVEDIR : 0) == 0 && removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace

bool removeFolderTree(const QString& folder)
{
    const QByteArray path = encodeFileName(folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    emptyFolder(fd);
    return ::rmdir(path.constData()) == 0;
}

void walkFolder(const QString& folder, const WalkOptions& options,
                const std::function<void(const WalkedEntry&)>& visit)
{
    Walker(options, visit).walk(encodeFileName(folder), folder);
}

} // namespace platform
