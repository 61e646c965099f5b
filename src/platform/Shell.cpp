#include "platform/Shell.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/MimeIcon.h"
#include "platform/Process.h"

#include <QDesktopServices>
#include <QFile>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>
#include <unistd.h>

namespace platform {
namespace {

// The desktop files listed for `mime` under `section` of an ini-style file.
QStringList listedFor(const QString& file, const QString& section, const QString& mime)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream stream(&in);
    bool inSection = false;
    const QString key = mime + QLatin1Char('=');
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inSection = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inSection && line.startsWith(key))
            return line.mid(key.size()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    return {};
}

QStringList mimeappsFiles()
{
    QStringList files;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        files << dir + QStringLiteral("/mimeapps.list");
    return files;
}

std::optional<Application> firstInstalled(const QStringList& desktopIds)
{
    for (const QString& id : desktopIds) {
        const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
        if (file.isEmpty())
            continue;
        if (auto app = ReadDesktopEntry(file))
            return app;
    }
    return std::nullopt;
}

std::optional<Application> defaultFor(const QString& mime)
{
    for (const QString& file : mimeappsFiles()) {
        if (auto app =
                firstInstalled(listedFor(file, QStringLiteral("Default Applications"), mime)))
            return app;
    }
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QString cache = dir + QStringLiteral("/mimeinfo.cache");
        if (auto app = firstInstalled(listedFor(cache, QStringLiteral("MIME Cache"), mime)))
            return app;
    }
    return std::nullopt;
}

} // namespace

std::optional<Application> ReadDesktopEntry(const QString& desktopFile)
{
    QFile in(desktopFile);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream stream(&in);
    Application app;
    app.desktopFile = desktopFile;
    bool inEntry = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Name=")) && app.name.isEmpty())
            app.name = line.mid(5);
        else if (inEntry && line.startsWith(QLatin1String("Exec=")) && app.exec.isEmpty())
            app.exec = line.mid(5);
    }
    if (app.exec.isEmpty())
        return std::nullopt;
    return app;
}

std::optional<Application> DefaultApplication(const QString& path)
{
    const QMimeType type = MimeTypeOfFile(path);
    if (!type.isValid())
        return std::nullopt;
    QStringList names{type.name()};
    names << type.aliases() << type.allAncestors();
    for (const QString& name : names) {
        if (auto app = defaultFor(name))
            return app;
    }
    return std::nullopt;
}

bool IsExecutableFile(const QString& path)
{
    return isRegularFile(path) && ::access(encodeFileName(path).constData(), X_OK) == 0;
}

bool OpenWithDefaultApplication(const QString& path)
{
    // xdg-open takes the URL's percent-encoded bytes; Qt would hand over the same URL,
    // but only when a desktop is detected.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        return startDetached(opener, {QString::fromLatin1(fileUrl(path).toEncoded())});
    return QDesktopServices::openUrl(fileUrl(path));
}

bool OpenFile(const QString& path)
{
    if (!IsExecutableFile(path))
        return OpenWithDefaultApplication(path);
    const QString absolute = absoluteFilePath(path);
    return startDetached(absolute, {}, absolute.left(qMax(1, absolute.lastIndexOf(u'/'))));
}

} // namespace platform
