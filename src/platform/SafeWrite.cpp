#include "platform/SafeWrite.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <sys/stat.h>

namespace platform {

bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString* error)
{
    FileBeside out(path);
    if (out.isOpen()) {
        // A file replaced keeps its permissions; a link replaced does not pass on its
        // target's: the new file then has what any new file gets.
        struct stat old {};
        if (::lstat(encodeFileName(path).constData(), &old) == 0 && S_ISREG(old.st_mode))
            out.setPermissionBits(old.st_mode & 07777);
        if (out.write(bytes.constData(), bytes.size()) && out.commit())
            return true;
    }
    if (error)
        *error = out.errorText();
    return false;
}

} // namespace platform
