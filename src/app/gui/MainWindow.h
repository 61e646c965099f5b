#pragma once

#include "app/Profile.h"
#include "app/gui/BasketWindow.h"
#include "app/gui/PictureHost.h"
#include "browse/FolderTree.h"
#include "browse/NodeClick.h"
#include "controls/NodeTree.h"
#include "platform/Volumes.h"
#include "platform/gui/EscapeWatch.h"
#include "platform/gui/QtPrompts.h"
#include "shared/Settings.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class BasketWiring;
class FileListPanel;
class FilterStrip;
class FrameMenus;
class HistoryListBox;
class OptionsForm;
class NodeTreeModel;
class NodeTreeView;
class SizeBarCommands;
class SizeTableCommands;
class SubfolderReads;
class TreeButtons;
class QLabel;
class QSplitter;
class ViewWindow;
struct ViewRequest;

/// The main window `f`: the folder history and folder tree beside (or above) the file
/// list, the "File" and "Window" menus and the pop-up menus.
class MainWindow : public QMainWindow, private BasketWindow, private PictureHost {
    Q_OBJECT
public:
    /// `prompts` replaces the Qt message boxes (tests pass a ScriptedPrompts).
    explicit MainWindow(QWidget* parent = nullptr, Prompts* prompts = nullptr);
    ~MainWindow() override;

    /// Runs the start-up sequence (tree, profile, layout, working folder, volumes in the
    /// folder history) and shows the window. `appFolder` "" means the program's folder.
    void start(const QString& appFolder = {});
    /// What start() builds the folder tree from, instead of the machine's volumes and
    /// folders (tests: fake volumes and a recording folder reader). Call before start().
    void useFolderTreeSources(FolderTreeSources sources);

    [[nodiscard]] Settings& settings() override { return settings_; }
    [[nodiscard]] Prompts& prompts() override { return prompts_; }
    [[nodiscard]] CancelKey& cancelKey() override { return escape_; }
    /// "File", "Window" and the folder tree's "tvwview" menu.
    [[nodiscard]] FrameMenus& menus() { return *menus_; }
    [[nodiscard]] TreeButtons* treeButtons() const { return treeButtons_; }
    [[nodiscard]] FilterStrip* filterStrip() const { return filterStrip_.get(); }
    [[nodiscard]] FileListPanel* fileListPanel() const { return fileList_; }
    /// The basket and its wiring.
    [[nodiscard]] BasketWiring& basket() const { return *basket_; }
    [[nodiscard]] NodeTree& folderTree() { return folderTree_; }
    [[nodiscard]] NodeTreeView* folderTreeView() const { return folderTreeView_; }
    [[nodiscard]] FolderTreeState& folderTreeState() { return treeState_; }
    /// The folder history list (drop-down); its rows are what the profile saves.
    [[nodiscard]] HistoryListBox* folderHistoryBox() const { return folderHistoryBox_; }
    /// The view window, created on the first call.
    ViewWindow* viewWindow();
    /// Shows a file in the view window.
    void TriggerView(const ViewRequest& request);

    /// The folder the file list shows, ending in "/" ("" for the basket).
    [[nodiscard]] QString CurrentFolderPath() const override;
    /// Opens a folder node: loads its subfolders, lists its files, records it.
    void openFolderNode(NodeTree::Id id);
    /// Puts a folder at the top of the folder history.
    void RecordFolder(const QString& path);
    /// What showItems does with each item.
    enum class ItemAction { Show, Properties };
    /// Opens the window at `paths` (absolute): a folder shows itself, a file its folder
    /// with the file selected; with several, the last is shown and the others go into
    /// the folder history. Properties also shows each item's properties. Raises the window.
    void showItems(const QStringList& paths, ItemAction action);
    /// Opens the folder `path` in the folder tree and starts its listing into the file
    /// list; `then` follows once the list is shown. Says so in the status bar when it is
    /// not a folder, and returns false (no listing, no `then`).
    bool openFolderPath(const QString& path, std::function<void()> then = {});
    /// The "Execute" command for a file.
    void runFile(const QString& displayName, const QString& fullPath);
    /// "File" > "Help": the help page in the view window, or "help file not found".
    void showHelp();
    /// Lays tree and list out again for TileHorizontal (side by side or stacked).
    void applyTiling();
    /// "Options": marks the settings changed and shows the options dialog (made on
    /// first use).
    void openOptions();
    /// The options dialog; null before it was first opened.
    [[nodiscard]] OptionsForm* optionsForm() const { return optionsForm_; }
    /// Shows the fonts and colours of the settings in both windows now.
    void applyOptions();
    /// The fonts and sizes of the windows now, for the profile.
    [[nodiscard]] WindowState windowState() const;

Q_SIGNALS:
    /// Folder actions of the "tvwview" menu: "P" (and F1) with the folder path ending
    /// in "/", "S" with the folder key + "/". The window's own handlers are connected.
    void folderPropertiesWanted(const QString& folder);
    void folderSizeTableWanted(const QString& folder);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the basket's wiring and the thumbnail commands see of the window.
    [[nodiscard]] QWidget& hostWidget() override { return *this; }
    [[nodiscard]] FileListPanel& listPanel() override { return *fileList_; }
    [[nodiscard]] NodeTreeView& folderView() override { return *folderTreeView_; }
    [[nodiscard]] QString menuFolderKey() const override;
    [[nodiscard]] QAction& folderBasketItem() override;
    [[nodiscard]] FilterTabs* filterTabs() override;
    [[nodiscard]] ViewWindow& view() override { return *viewWindow(); }
    [[nodiscard]] const FileList& listedFiles() const override;
    void showThumbnails(const QStringList& pictures) override;
    void closeView() override;

    /// Takes the window's geometry as the settings' baseline for the check at exit.
    void takeGeometryBaseline();
    void buildLayout();
    void connectMenus();
    void connectFolderTree();
    void connectFileList();
    void connectFindForm(FilterStrip& filterStrip);
    /// The "List" menu of the menu bar: the "Allview" actions and the "Filter" menu.
    void fillListMenu();
    void applyLoadedSettings(bool profileRead);
    void applyColours();
    void applyFonts();
    void clearHistories();
    void fillFolderHistory(const std::vector<platform::Volume>& volumes);
    /// OpenFolderHistoryEntry: opens the folder of the chosen row (-1: nothing).
    void openFolderHistoryEntry(int index);
    /// Enter in the folder field: lists the folder typed there, as a click on it in the
    /// tree would, or says that there is no such folder.
    void openTypedFolder(const QString& typed);
    /// After a listing ended by Escape, the status bar says so.
    void reportCancelledListing(const QString& path);
    void folderTreeMouse(QMouseEvent* event);
    void handleFileCommand(NodeActionKind kind, const QString& folder, const QString& name);
    void showArchiveEntry(const QString& archivePath, const QString& entryName);
    void windowDefault();
    void toggleTiling();
    void exitCommand();
    void unloadWindow();
    /// Says the profile could not be written and keeps the design store as it was.
    void profileNotSaved();
    /// Starts the listing of `path`; `done` follows once the list is shown, never when a
    /// newer listing took its place.
    void listFolder(const QString& path, std::function<void(int count)> done);
    /// Lists the existing folder `path` as a tree click does, recording it in the folder
    /// history when it holds files; `then` follows once the list is shown.
    void listFolderPath(const QString& path, std::function<void()> then = {});
    /// Makes the file `name` of the listed folder the list's current row.
    void selectListedFile(const QString& name);
    /// Loads the folders under the tree node `key`: here for local folders, off this
    /// thread for network shares (the tree grows when the read is back).
    void loadTreeFolders(const QString& key);

    Settings settings_;
    QtPrompts qtPrompts_;
    QtPrompts viewQtPrompts_; ///< parented to the view window once it exists
    Prompts& prompts_;
    EscapeWatch escape_;
    FrameMenus* menus_ = nullptr;
    NodeClick treeClick_ = NodeClick::None; ///< Ignore after keys or moves over the folder tree

    NodeTree folderTree_;
    std::unique_ptr<NodeTreeModel> folderModel_;
    NodeTreeView* folderTreeView_ = nullptr; ///< tvwDirTree
    FolderTreeState treeState_;
    std::optional<FolderTreeSources> treeSources_; ///< set by useFolderTreeSources
    SubfolderReads* subfolderReads_ = nullptr;     ///< a child of the window
    HistoryListBox* folderHistoryBox_ = nullptr;
    QLabel* lblPath_ = nullptr;
    QWidget* treePane_ = nullptr;
    QWidget* listPane_ = nullptr;
    FileListPanel* fileList_ = nullptr;
    QString messageBeforeLoading_; ///< the status text a folder read's "Loading ..." covers
    bool showingLoading_ = false;
    TreeButtons* treeButtons_ = nullptr;
    BasketWiring* basket_ = nullptr;
    // The filter strip and the size tables borrow the file list panel's state. The window
    // owns them as members, so they go before its child widgets (the panel among them),
    // whatever order the widgets were made in.
    std::unique_ptr<FilterStrip> filterStrip_;
    std::unique_ptr<SizeTableCommands> sizeTables_;
    SizeBarCommands* sizeBars_ = nullptr; ///< a child of the window
    QSplitter* splitter_ = nullptr;
    QPointer<ViewWindow> viewWindow_;
    OptionsForm* optionsForm_ = nullptr; // a child, made on first use
    bool unloaded_ = false;
    bool splitOnRestore_ = false; ///< "Default" from a maximised window: split once restored
};
