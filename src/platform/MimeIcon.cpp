#include "platform/MimeIcon.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QFile>
#include <QMimeDatabase>

namespace platform {

QMimeType MimeTypeOfFile(const QString& path)
{
    const QMimeDatabase database;
    if (!holdsRawBytes(path))
        return database.mimeTypeForFile(path);
    // Qt would look for the file under a name with '?' for the raw bytes.
    QFile file;
    if (openForReading(file, path))
        return database.mimeTypeForFileNameAndData(path, &file);
    return database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
}

QString MimeIconName(const QString& path)
{
    const QMimeType type = MimeTypeOfFile(path);
    return type.isValid() && !type.isDefault() ? type.iconName() : QString();
}

} // namespace platform
