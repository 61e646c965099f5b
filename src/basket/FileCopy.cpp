#include "basket/FileCopy.h"

#include "archive/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

constexpr qint64 ChunkBytes = 1 << 20;

} // namespace

bool CopyFileSafely(const QString& source, const QString& destination,
                    const std::function<void(qint64)>& bytesCopied)
{
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    const QFileInfo target(destination);
    QTemporaryFile out(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                       QStringLiteral(".XXXXXX"));
    if (!out.open())
        return false;
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
    return ReplaceFileWith(out, destination);
}
