#include "app/gui/FontTableCommands.h"

#include "browse/NodeClick.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/WindowGuards.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/TextHelpers.h"
#include "view/fonts/gui/IconFontViews.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>

FontTableCommands::FontTableCommands(Prompts& prompts, FileListPanel& panel, QAction* folderCommand,
                                     std::function<QString()> folderOfMenu,
                                     std::function<ViewWindow*()> viewWindow, QObject* parent)
    : QObject(parent), prompts_(prompts), panel_(panel), viewWindow_(std::move(viewWindow))
{
    QAction* listCommand = panel.menus().files.viewFonts;
    listCommand->setEnabled(true);
    connect(listCommand, &QAction::triggered, this, &FontTableCommands::ListFonts);
    folderCommand->setEnabled(true);
    connect(folderCommand, &QAction::triggered, this,
            [this, folderOfMenu = std::move(folderOfMenu)] {
                const QString folder = folderOfMenu();
                if (!folder.isEmpty())
                    FolderFonts(folder);
            });
}

void FontTableCommands::FolderFonts(const QString& folder)
{
    QStringList paths;
    const QString prefix = WithSlash(platform::absoluteFilePath(folder));
    for (const platform::FileEntry& file : platform::listFiles(folder, true)) {
        if (ExtensionOf(file.name) == QLatin1String(".TTF") &&
            !(file.attributes & platform::FileAttribute::System))
            paths.append(prefix + file.name);
    }
    paths.sort();
    show(paths);
}

void FontTableCommands::ListFonts()
{
    QStringList paths;
    const FileList& state = panel_.state();
    const NodeTree& tree = state.tree();
    for (const NodeTree::Id id : tree.preorder()) {
        if (ClassifyFileNode(state, id) != FileNodeKind::File)
            continue;
        const QString path = tree.key(id); // the folder followed by the entry
        if (ExtensionOf(path) == QLatin1String(".TTF") && platform::isRegularFile(path))
            paths.append(path);
    }
    paths.sort();
    show(paths);
}

void FontTableCommands::show(const QStringList& paths)
{
    if (paths.isEmpty()) {
        prompts_.message(QStringLiteral("There are no TTF files"));
        return;
    }
    BusyPointer busy;
    ViewWindow* view = viewWindow_();
    if (auto* fonts = view->findChild<IconFontViews*>())
        fonts->ShowFontTable(paths);
}
