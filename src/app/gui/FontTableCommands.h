#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class FileListPanel;
class Prompts;
class QAction;
class ViewWindow;

/// The "View TTFonts" commands: the folder tree's (the .ttf files of a folder) and the
/// file list's (the .TTF files of the list or grouped tree), shown as the font table
/// in the view window.
class FontTableCommands : public QObject {
    Q_OBJECT
public:
    /// `viewWindow` gives the view window, creating it on first use; `folderOfMenu`
    /// the folder whose tree menu is open ("" when none).
    FontTableCommands(Prompts& prompts, FileListPanel& panel, QAction* folderCommand,
                      std::function<QString()> folderOfMenu,
                      std::function<ViewWindow*()> viewWindow, QObject* parent = nullptr);

    /// The font table of the .ttf files of `folder`.
    void FolderFonts(const QString& folder);
    /// The font table of the .TTF files listed in the file list.
    void ListFonts();

private:
    void show(const QStringList& paths);

    Prompts& prompts_;
    FileListPanel& panel_;
    std::function<ViewWindow*()> viewWindow_;
};
