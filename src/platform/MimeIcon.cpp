#include "platform/MimeTypeName.h"

#include <QMimeDatabase>

namespace platform {

QString MimeTypeName(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (!type.isValid() || type.isDefault() || type.comment().isEmpty())
        return QStringLiteral("unknown");
    return type.comment();
}

QString MimeIconName(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    return type.isValid() && !type.isDefault() ? type.iconName() : QString();
}

} // namespace platform
