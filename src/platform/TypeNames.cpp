// The type names sit apart from the rest of the shell calls, which open URLs through the
// drawing library: listing and searching link these alone and start without it.
#include "platform/MimeIcon.h"
#include "platform/Shell.h"

#include <QMimeDatabase>

namespace platform {

QString MimeTypeName(const QString& path)
{
    const QMimeType type = MimeTypeOfFile(path);
    const QString comment = type.isValid() ? type.comment() : QString();
    return comment.isEmpty() ? QStringLiteral("unknown") : comment;
}

QString ExtensionTypeName(const QString& fileName)
{
    // The name alone: the file's first bytes would give an empty file of any kind the
    // same name.
    const QList<QMimeType> types =
        QMimeDatabase().mimeTypesForFileName(fileName.section(QLatin1Char('/'), -1));
    const QString comment = types.isEmpty() ? QString() : types.constFirst().comment();
    return comment.isEmpty() ? QStringLiteral("unknown") : comment;
}

} // namespace platform
