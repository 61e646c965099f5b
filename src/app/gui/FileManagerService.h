#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

/// The desktop's org.freedesktop.FileManager1 interface ("Show in folder" in browsers and
/// editors) on the session bus, under that name when no other file manager holds it and
/// always under Lumara's own, through which a second `lumara FOLDER` hands its folders to
/// the running window. Items are file:// URIs or paths.
class FileManagerService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    /// What the window does with the local paths of the items asked for: show them (a
    /// folder itself, a file in its folder), or show them with their properties.
    struct Window {
        std::function<void(const QStringList& paths)> show;
        std::function<void(const QStringList& paths)> showProperties;
    };
    explicit FileManagerService(Window window, QObject* parent = nullptr);

    /// Exports the interface and asks for the bus names; false without a session bus.
    bool registerOnSessionBus();

public Q_SLOTS:
    void ShowFolders(const QStringList& uris, const QString& startupId);
    void ShowItems(const QStringList& uris, const QString& startupId);
    void ShowItemProperties(const QStringList& uris, const QString& startupId);

private:
    Window window_;
};

/// Hands `paths` to a Lumara window already running on the session bus: true when one
/// took them, false when none runs (or there is no session bus).
bool HandToRunningLumara(const QStringList& paths);
