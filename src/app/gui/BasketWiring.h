#pragma once

#include "basket/FolderDrops.h"
#include "browse/FileDrag.h"
#include "browse/NodeClick.h"
#include "controls/NodeTree.h"

#include <QObject>
#include <QString>
#include <QStringList>

class BasketPanel;
class BasketWindow;
class QMimeData;
class ViewWindow;

/// Joins the basket to the windows: its grid and icon on the view window, the drags
/// of the file list and the folder tree (files as a uri-list for every program), drops
/// on the basket and on the folder tree, the basket items of the file list's and folder
/// tree's menus, the single-file copy and zip, and the opening of basket files. The
/// rules themselves live in the basket and browse logic.
class BasketWiring : public QObject, private DropCopier {
    Q_OBJECT
public:
    /// `window` must outlive the wiring.
    BasketWiring(BasketWindow& window, QObject* parent = nullptr);

    [[nodiscard]] BasketPanel& panel() const { return *panel_; }
    /// Puts the grid and icon on the view window, once it exists.
    void placeOn(ViewWindow* view);
    /// The file list's commands the basket answers: "AB", "C"+folder, "Z". True when
    /// the code was handled.
    bool handleFileCommand(NodeActionKind kind, const QString& folder, const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectMenus();
    void connectPanel();
    [[nodiscard]] QMimeData* fileListDrag(NodeTree::Id id) const;
    [[nodiscard]] QMimeData* folderTreeDrag(NodeTree::Id id) const;
    /// What a drop brings, read against this window's two lists; while the drag only
    /// moves, its uri-list is not read.
    enum class Peek { No, Only };
    [[nodiscard]] DropItems readDrop(const QMimeData* data, Peek peek = Peek::No) const;
    void dropOnBasket(const QMimeData* data);
    /// Adds the file a node of the list resolves to (an archive's entry extracted first).
    void addResolvedNode(NodeTree::Id id);
    bool dropOnFolderTree(const QMimeData* data, const QPoint& pos);
    void copyBasketRows(const QString& folder, int first, int last) override;
    void copyFiles(const QStringList& sources, const QString& folder) override;
    void showBasketIfListed();
    /// "Picture thumbnails" of the basket: its pictures as thumbnail pages.
    void showThumbnails(const QStringList& pictures);
    /// Takes the basket's size bar chart away once the grid is hidden or emptied.
    void closeBasketChart();
    void openBasketFile(const QString& path);
    void removeBasketFileEntry();
    [[nodiscard]] QString zipTarget();

    BasketWindow& window_;
    BasketPanel* panel_ = nullptr;
    QString pendingCopyFolder_; ///< the target chosen in "Copy one file to:"
    QString pendingZipFile_;    ///< "Selected File" of "Zip one file to:"
    QString zipDefault_;        ///< the "Default" of "Zip one file to:": the last zip written
    bool zipCancelled_ = false; ///< that dialog was cancelled: the "Z" does nothing
};
