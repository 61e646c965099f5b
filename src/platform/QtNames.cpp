#include "platform/QtNames.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

#include <QFile>

namespace platform {

QString qtShownPath(const QString& path)
{
    return QFile::decodeName(encodeFileName(path));
}

QString pathFromQt(const QString& qtPath)
{
    if (qtPath.isEmpty() || pathExists(qtPath) || !qtPath.startsWith(u'/'))
        return qtPath;
    const QStringList parts = qtPath.split(u'/');
    QString real;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString folder = real.isEmpty() ? QStringLiteral("/") : real;
        QString matched = part;
        if (!part.isEmpty() && !pathExists(real + u'/' + part)) {
            QStringList names = listSubfolders(folder);
            for (const FileEntry& file : listFiles(folder, true))
                names << file.name;
            for (const QString& name : names) {
                // Qt's decoder and a URL's may give one U+FFFD for a run of bad bytes
                // or one for each: either form leads to the name.
                if (name != part && (qtShownPath(name) == part || readableFileName(name) == part)) {
                    matched = name;
                    break;
                }
            }
        }
        real += u'/' + matched;
    }
    return real;
}

QString reachableByQt(const QString& path)
{
    if (!holdsRawBytes(path))
        return path;
    qsizetype end = 0;
    while (end < path.size() && !isRawByteAt(path, end))
        ++end;
    const qsizetype slash = path.lastIndexOf(u'/', end);
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace platform
