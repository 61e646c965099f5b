#include "app/StartupTargets.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QDir>

StartupRequest ParseStartupArguments(const QStringList& args, const QString& workingFolder)
{
    StartupRequest request;
    bool optionsEnd = false;
    for (const QString& arg : args) {
        if (!optionsEnd && arg == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && arg == QLatin1String("--new-window")) {
            request.newWindow = true;
        } else if (!optionsEnd && arg.startsWith(QLatin1Char('-'))) {
            request.rejected << arg;
        } else if (const QString path = LocalPathOf(arg, workingFolder); !path.isEmpty()) {
            request.paths << path;
        } else {
            request.rejected << arg;
        }
    }
    return request;
}

QString LocalPathOf(const QString& pathOrUri, const QString& workingFolder)
{
    if (pathOrUri.isEmpty())
        return {};
    QString path = pathOrUri;
    if (pathOrUri.contains(QLatin1String("://"))) {
        const QByteArray uri = platform::encodeFileName(pathOrUri);
        QByteArray rest;
        if (uri.startsWith("file:///"))
            rest = uri.mid(7);
        else if (uri.startsWith("file://localhost/"))
            rest = uri.mid(16);
        else
            return {};
        // The escapes stand for the name's own bytes, UTF-8 or not.
        path = platform::decodeFileName(QByteArray::fromPercentEncoding(rest));
    }
    if (!path.startsWith(QLatin1Char('/')))
        path = workingFolder + QLatin1Char('/') + path;
    path = QDir::cleanPath(path);
    return path;
}

OpenTarget OpenTargetOf(const QString& path)
{
    if (path == QLatin1String("/"))
        return {path, {}};
    if (platform::isFolder(path))
        return {path + QLatin1Char('/'), {}};
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return {path.left(slash + 1), path.mid(slash + 1)};
}
