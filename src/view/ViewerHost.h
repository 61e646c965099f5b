#pragma once

#include "view/ViewDispatch.h"
#include "view/ViewMode.h"
#include "view/ViewRequest.h"

#include <QString>
#include <functional>

class GridView;
class NodeTree;
class NodeTreeView;
class QAction;
class QImage;
class QObject;
class QTextEdit;
class QWidget;
struct Settings;

/// What a viewer of one kind (pictures, sound, tables, icons and fonts) may ask of the
/// window that shows it: the status bar, the view mode, the surfaces the window lends
/// to every view, and its own registration. The view window implements it; a viewer
/// sees nothing else of the window.
class ViewerHost {
public:
    /// A viewer's answer to a file of its kind: true when the file was shown.
    using KindView = std::function<bool(const ViewRequest& request)>;

    virtual ~ViewerHost();

    /// The window itself: parent of the viewers, their menus and their dialogs.
    [[nodiscard]] virtual QWidget& hostWidget() = 0;
    /// The settings the window shows (not owned).
    [[nodiscard]] virtual const Settings& settings() const = 0;

    /// Registers the viewer of a kind of file with the dispatch.
    virtual void setKindView(ViewAction action, KindView view) = 0;
    /// A "View" menu item that a viewer enables or follows.
    [[nodiscard]] virtual QAction* menuItem(ViewMenuItem item) const = 0;
    /// Runs `redraw` (while `context` lives) after a new layout when the page shown is
    /// drawn by its viewer.
    virtual void whenPageNeedsRedraw(QObject* context, std::function<void(ViewMode)> redraw) = 0;
    /// Runs `stop` (while `context` lives) whenever the view shown ends or media must stop.
    virtual void whenViewEnds(QObject* context, std::function<void()> stop) = 0;

    /// Ends the current view: hides every view, clears the status panels and the mode.
    virtual void CloseView() = 0;
    [[nodiscard]] virtual ViewMode viewMode() const = 0;
    /// Set by each viewer as it takes the window; a workbook or a database names its file.
    virtual void setViewMode(ViewMode mode, const QString& tableFile = QString()) = 0;
    /// The workbook shown, or the working copy of the database shown.
    [[nodiscard]] virtual const QString& tableFile() const = 0;
    /// The file the dispatch shows now.
    [[nodiscard]] virtual const QString& CurrentViewFile() const = 0;

    /// Status panel 1 (the path) and panel 2 (messages).
    virtual void SetViewPath(const QString& text) = 0;
    virtual void SetViewMessage(const QString& text) = 0;
    [[nodiscard]] virtual QString statusMessage() const = 0;
    /// Panel 2 for the view being shown; the dispatch keeps it there once the view is up.
    virtual void setViewNote(const QString& text) = 0;
    /// The status bar: its tool tip, and the mouse over it for the sound menu.
    [[nodiscard]] virtual QWidget& statusArea() = 0;

    /// What the first thumbnail cell shows, and the item under the enlarged thumbnail
    /// (`ThumbImage`: an icon's number or a picture's path).
    [[nodiscard]] virtual ThumbPage thumbPage() const = 0;
    virtual void setThumbPage(ThumbPage page) = 0;
    [[nodiscard]] virtual const QString& pointedItem() const = 0;
    virtual void setPointedItem(const QString& item) = 0;
    /// The picture now shown and its name, for "Copy".
    virtual void setShownPicture(const QImage& picture, const QString& name) = 0;

    // The surfaces every view shares, each filling the view area.
    /// The text box (`rtb`).
    [[nodiscard]] virtual QTextEdit& textBox() = 0;
    /// The grid (`vgrid`) of sheets, tables and size tables.
    [[nodiscard]] virtual GridView& grid() = 0;
    /// Brings the grid to the front with its contents, the window shown.
    virtual void ShowGrid() = 0;
    /// The tree (`dbs`) of sheets, tables and the system report, and its widget.
    [[nodiscard]] virtual NodeTree& tree() = 0;
    [[nodiscard]] virtual NodeTreeView& treeView() = 0;
    /// The page canvas of pictures, thumbnails and icons (`FullPicture1`, `ThumbPic`).
    [[nodiscard]] virtual QWidget& pageCanvas() = 0;
};
