#pragma once

#include <QObject>
#include <QStringList>

class MainWindow;

/// The main window's thumbnail commands: the folder tree's "Picture thumbnails" (the
/// pictures of the folder the menu was opened on) and the file list's "Picture
/// Thumbnails" (the pictures of the listed folder, as the grouped tree holds them),
/// shown in the view window.
class PictureCommands : public QObject {
    Q_OBJECT
public:
    explicit PictureCommands(MainWindow& window);

    /// Thumbnails of the pictures directly in `folder`.
    void FolderThumbnails(const QString& folder);
    /// Thumbnails of the pictures the file list shows.
    void FileTreeThumbnails();

private:
    void show(const QStringList& pictures);

    MainWindow& window_;
};
