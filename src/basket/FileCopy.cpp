#include "basket/FileCopy.h"

#include "platform/FileAccess.h"

#include <QDateTime>
#include <QFile>

namespace {

constexpr qint64 ChunkBytes = 1 << 20;

} // namespace

bool CopyFileSafely(const QString& source, const QString& destination,
                    const std::function<void(qint64)>& bytesCopied)
{
    QFile in;
    if (!platform::openForReading(in, source))
        return false;
    platform::FileBeside beside(destination);
    if (!beside.isOpen())
        return false;
    QFile& out = beside.file();
    QByteArray buffer;
    while (!in.atEnd()) {
        buffer = in.read(ChunkBytes);
        if (buffer.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(buffer) != buffer.size())
            return false;
        if (bytesCopied)
            bytesCopied(buffer.size());
    }
    if (in.error() != QFileDevice::NoError || !out.flush())
        return false;
    out.setPermissions(in.permissions());
    out.setFileTime(in.fileTime(QFileDevice::FileModificationTime),
                    QFileDevice::FileModificationTime);
    return beside.commit();
}
