#include "platform/PrivateFolder.h"

#include "platform/FileNames.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool statLink(const QString& path, struct stat& st)
{
    return ::lstat(encodeFileName(path).constData(), &st) == 0;
}

} // namespace

bool isPrivateFolder(const QString& path)
{
    struct stat st {};
    if (!statLink(path, st))
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 07777) == 0700;
}

bool isSafeParentFolder(const QString& path)
{
    struct stat st {};
    if (!statLink(path, st) || !S_ISDIR(st.st_mode))
        return false;
    if (st.st_uid != ::geteuid() && st.st_uid != 0)
        return false;
    return (st.st_mode & 0022) == 0 || (st.st_mode & S_ISVTX) != 0;
}

bool makeMissingFolder(const QString& path)
{
    return ::mkdir(encodeFileName(path).constData(), 0700) == 0;
}

bool removeEmptyFolder(const QString& path)
{
    return ::rmdir(encodeFileName(path).constData()) == 0;
}

QString makeFreshPrivateFolder(const QString& prefix)
{
    QByteArray name = encodeFileName(prefix) + "XXXXXX";
    if (!::mkdtemp(name.data()))
        return {};
    return decodeFileName(name);
}

qint64 currentProcessId()
{
    return qint64(::getpid());
}

bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace platform
