#include "platform/PrivateFolder.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool isPrivateFolder(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 07777) == 0700;
}

bool makePrivateFolder(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(encoded.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & 0022) == 0 && (st.st_mode & 07777) != 0700)
        ::chmod(encoded.constData(), 0700);
    return isPrivateFolder(path);
}

QString makeFreshPrivateFolder(const QString& prefix)
{
    QByteArray name = QFile::encodeName(prefix) + "XXXXXX";
    if (!::mkdtemp(name.data()))
        return {};
    return QFile::decodeName(name);
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
