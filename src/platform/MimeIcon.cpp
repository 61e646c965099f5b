#include "platform/MimeIcon.h"

#include <QMimeDatabase>

namespace platform {

QString MimeIconName(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    return type.isValid() && !type.isDefault() ? type.iconName() : QString();
}

} // namespace platform
