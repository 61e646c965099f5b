#include "basket/FileCopy.h"

#include "platform/FileAccess.h"
#include "platform/FileSystem.h"

#include <QDateTime>
#include <QFile>

namespace {

constexpr qint64 ChunkBytes = 1 << 20;

} // namespace

bool CopyFileSafely(const QString& source, const QString& destination,
                    const std::function<void(qint64)>& bytesCopied, QString* error)
{
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QFile in;
    if (!platform::openForReading(in, source))
        return failed(platform::fileReadProblem(source));
    platform::FileBeside beside(destination);
    if (!beside.isOpen())
        return failed(beside.errorText());
    QByteArray buffer;
    while (!in.atEnd()) {
        buffer = in.read(ChunkBytes);
        if (buffer.isEmpty() && in.error() != QFileDevice::NoError)
            return failed(in.errorString());
        if (!beside.write(buffer.constData(), buffer.size()))
            return failed(beside.errorText());
        if (bytesCopied)
            bytesCopied(buffer.size());
    }
    if (in.error() != QFileDevice::NoError)
        return failed(in.errorString());
    // Only the new file's own bits: never anything a link at the destination points to.
    beside.setPermissionBits(platform::permissionBits(source).value_or(0644) & 0777);
    beside.file().setFileTime(in.fileTime(QFileDevice::FileModificationTime),
                              QFileDevice::FileModificationTime);
    return beside.commit() || failed(beside.errorText());
}
