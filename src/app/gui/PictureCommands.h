#pragma once

#include <QObject>
#include <QStringList>

class PictureHost;
class QAction;

/// The main window's thumbnail commands: the folder tree's "Picture thumbnails" (the
/// pictures of the folder the menu was opened on) and the file list's "Picture
/// Thumbnails" (the pictures of the listed folder, as the grouped tree holds them),
/// shown in the view window.
class PictureCommands : public QObject {
    Q_OBJECT
public:
    /// Enables and answers the two menu items; `host` must outlive the commands.
    PictureCommands(PictureHost& host, QAction& folderItem, QAction& listItem,
                    QObject* parent = nullptr);

    /// Thumbnails of the pictures directly in `folder`.
    void FolderThumbnails(const QString& folder);
    /// Thumbnails of the pictures the file list shows.
    void FileTreeThumbnails();

private:
    void show(const QStringList& pictures);

    PictureHost& host_;
};
