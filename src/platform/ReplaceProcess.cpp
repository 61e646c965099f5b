#include "platform/ReplaceProcess.h"

#include "platform/FileNames.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

QString ExecutableFolder()
{
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return QString();
    const QString path = decodeFileName(QByteArrayView(buffer, length));
    return path.left(path.lastIndexOf(u'/'));
}

QString ReplaceProcess(const QString& program, char** argv)
{
    const QByteArray file = encodeFileName(program);
    ::execv(file.constData(), argv);
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace platform
