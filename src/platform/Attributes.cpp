#include "platform/Attributes.h"

#include "platform/FileNames.h"

#include <sys/stat.h>

namespace platform {

bool setOwnerWritable(const QString& path, bool writable)
{
    const QByteArray encoded = encodeFileName(path);
    struct stat st {};
    if (::stat(encoded.constData(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    mode = writable ? (mode | S_IWUSR) : (mode & ~mode_t(S_IWUSR));
    return ::chmod(encoded.constData(), mode) == 0;
}

} // namespace platform
