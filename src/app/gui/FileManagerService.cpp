#include "app/gui/FileManagerService.h"

#include "app/StartupTargets.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>

namespace {

const QString ObjectPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString Interface = QStringLiteral("org.freedesktop.FileManager1");
const QString OwnName = QStringLiteral("org.lumara.Lumara");

QStringList localPaths(const QStringList& uris)
{
    QStringList paths;
    for (const QString& uri : uris)
        if (const QString path = LocalPathOf(uri, QDir::rootPath()); !path.isEmpty())
            paths << path;
    return paths;
}

} // namespace

FileManagerService::FileManagerService(Window window, QObject* parent)
    : QObject(parent), window_(std::move(window))
{}

bool FileManagerService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() ||
        !bus.registerObject(ObjectPath, this, QDBusConnection::ExportAllSlots))
        return false;
    // Another file manager may hold the desktop's name; ours is enough for hand-overs.
    bus.registerService(Interface);
    return bus.registerService(OwnName);
}

// The file list holds files only, so an item that is a folder shows that folder.
void FileManagerService::ShowFolders(const QStringList& uris, const QString&)
{
    window_.show(localPaths(uris));
}

void FileManagerService::ShowItems(const QStringList& uris, const QString&)
{
    window_.show(localPaths(uris));
}

void FileManagerService::ShowItemProperties(const QStringList& uris, const QString&)
{
    window_.showProperties(localPaths(uris));
}

bool HandToRunningLumara(const QStringList& paths)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(OwnName))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(OwnName, ObjectPath, Interface,
                                                       QStringLiteral("ShowFolders"));
    call << paths << QString();
    return bus.call(call).type() == QDBusMessage::ReplyMessage;
}
