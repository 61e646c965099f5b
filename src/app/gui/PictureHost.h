#pragma once

#include <QStringList>

class FileList;
class Prompts;
struct Settings;

/// What the thumbnail commands use of the main window: the listed files, the folder the
/// folder tree's menu was opened on, and the view window's thumbnail pages. The main
/// window implements it.
class PictureHost {
public:
    virtual ~PictureHost() = default;
    [[nodiscard]] virtual Settings& settings() = 0;
    [[nodiscard]] virtual Prompts& prompts() = 0;
    /// The key of the folder node the folder tree's menu was opened on; "" for none.
    [[nodiscard]] virtual QString menuFolderKey() const = 0;
    /// What the file list shows.
    [[nodiscard]] virtual const FileList& listedFiles() const = 0;
    /// Shows `pictures` as thumbnail pages in the view window, brought to the front.
    virtual void showThumbnails(const QStringList& pictures) = 0;
    /// Ends what the view window shows, when it exists.
    virtual void closeView() = 0;
};
