#pragma once

#include "controls/NodeTree.h"
#include "view/ViewDispatch.h"
#include "view/ViewMode.h"
#include "view/ViewRequest.h"
#include "view/ViewerHost.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class TextSlices;
class Grid;
class GridView;
class HistoryListBox;
class NodeTreeModel;
class NodeTreeView;
class PageStack;
class ClickLabel;
class Prompts;
class QAction;
class QIcon;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QWebEngineView;
class SearForm;
class WebFindBar;
struct Settings;

/// The view window `v`: shows one file at a time in the view its FileKind selects,
/// keeps the file history and the status bar `ViewName`. The viewers of pictures, sound,
/// tables, icons and fonts see it only as their ViewerHost.
class ViewWindow : public QMainWindow, public ViewerHost {
    Q_OBJECT
public:
    ViewWindow(Settings& settings, Prompts& prompts, QWidget* parent = nullptr);
    /// The settings the window shows and changes (not owned).
    [[nodiscard]] const Settings& settings() const override { return settings_; }
    ~ViewWindow() override;
    [[nodiscard]] QWidget& hostWidget() override { return *this; }

    /// Runs the dispatch: ends the current view, shows the requested file in the view of
    /// its kind, records it in the file history (unless it lies in TempFolder) and shows
    /// its path in the status bar.
    void TriggerView(const ViewRequest& request);
    /// Ends the current view: hides every view control, clears the status panels and
    /// ViewMode, and stops sound and video.
    void CloseView() override;
    /// Sets status panel 1 (the path) or 2 (messages) when the text differs.
    void SetViewPath(const QString& text) override;
    void SetViewMessage(const QString& text) override;
    /// Status panel 2 for the view being shown (a picture too large, a preview that
    /// cannot be made); the dispatch keeps it there once the view is up.
    void setViewNote(const QString& text) override;

    [[nodiscard]] ViewMode viewMode() const override { return viewMode_; }
    /// Set by each view as it takes the window; a workbook or a database names its file.
    void setViewMode(ViewMode mode, const QString& tableFile = QString()) override
    {
        viewMode_ = mode;
        tableFile_ = tableFile;
    }
    /// The workbook shown, or the working copy of the database shown.
    [[nodiscard]] const QString& tableFile() const override { return tableFile_; }
    [[nodiscard]] const QString& CurrentViewFile() const override { return currentViewFile_; }

    /// Puts `path` at the top of the file history (an older equal entry goes).
    void RecordFile(const QString& path);
    /// Refills the file history list from the settings (after a profile read or clear).
    void ReloadFileHistory();
    /// Shows a file chosen from the file history again.
    void OpenFileHistoryEntry(const QString& entry);

    // The simple views; each ends the current view first.
    void ViewText(const QString& path);
    /// True while a large text file is still arriving in slices.
    [[nodiscard]] bool textLoading() const;
    /// The most of a text file the text view reads (the rest is left unread).
    void setTextLimit(qint64 bytes) { textLimit_ = bytes; }
    static constexpr qint64 DefaultTextLimit = 16 << 20;
    static constexpr qint64 FirstTextSlice = 256 << 10;
    static constexpr qint64 TextSlice = 1 << 20;
    /// False when the file cannot be read.
    bool ViewDoc(const QString& path);
    void ViewWeb(const QString& path);
    /// The first page of an office document, or in its place why there is none and a
    /// "Run" button.
    void ViewOle(const QString& extension, const QString& path);
    /// "System Information": the report on the machine as a tree (ViewMode "INF").
    void ShowSystemInfo();
    /// "Find Text": the find bar of a web page, or the "Find" dialog for the text view
    /// or the grid; nothing for pictures or an empty window.
    void FindText();
    /// The "Find" dialog, created on first use.
    [[nodiscard]] SearForm* searForm();

    /// Registers the view of a later feature; kinds without one show nothing.
    void setKindView(ViewAction action, KindView view) override;
    void whenPageNeedsRedraw(QObject* context, std::function<void(ViewMode)> redraw) override;
    void whenViewEnds(QObject* context, std::function<void()> stop) override;

    /// Shows the view font and the view colours of the settings in the text view now.
    void applyOptions();
    /// The font of the text view: the view font of the settings when installed, else the
    /// interface's font, at no less than its own size while the size is the default.
    [[nodiscard]] QFont textViewFont() const;

    /// The "Copy" command: copies what the current view shows and says so.
    void Copy();
    void Normal();
    void Maximise();
    /// "Cancel" in the "View" menu: stops the browser and all media.
    void CancelView();
    /// The `Goback` label: stops video and goes back one page in the HTML view.
    void GoBack();
    /// Places the top strip and gives every view control the view area.
    void LayoutView();
    /// The area below the top strip that the views fill.
    [[nodiscard]] QRect viewArea() const { return viewArea_; }

    /// Puts the basket's grid (in place of the empty one) in the view area and its icon
    /// in the top strip; the application owns both and hands them in once.
    void placeBasket(GridView* grid, QWidget* icon);

    /// Brings the grid to the front with its contents (a size table): the picture area
    /// hidden, the window shown.
    void ShowGrid() override;

    // The size tables and their chart.
    /// Ends the current view and hands over the grid's table to be filled; the grid stays
    /// hidden until showTable.
    [[nodiscard]] Grid& beginTable();
    /// Shows the grid's table with `message` in status panel 2, allows "Show size bar" and
    /// brings the window up (restored when minimised) and in front.
    void showTable(const QString& message);
    /// The table a size bar chart shows: the basket's grid while it is on screen, else the
    /// grid; no table while that one is hidden.
    struct ChartTable {
        const Grid* table = nullptr;
        bool basket = false;
    };
    [[nodiscard]] ChartTable chartTable();
    /// Shows the size bar chart in front of the grid: `draw` makes its pages for the page
    /// area, and the page shown stays while it still exists. Checks "Show size bar" and
    /// sets `mode`.
    void showSizeBars(const std::function<QList<QImage>(QSize area)>& draw, ViewMode mode);
    /// Takes the chart away: its pages hidden, "Show size bar" unchecked, a chart's mode
    /// ended.
    void hideSizeBars();
    /// "Show size bar" may be used: a table or the basket is on screen.
    void allowSizeBars();

    /// The keyboard goes to the file history.
    void focusFileHistory();
    /// The file history draws its rows' pictures with `picture` (by image number).
    void setHistoryPictures(std::function<QIcon(int image)> picture);

    /// The picture now shown and its name, for "Copy" in the picture view.
    void setShownPicture(const QImage& picture, const QString& name) override;

    // The surfaces lent to every view.
    [[nodiscard]] QTextEdit& textBox() override { return *textBox_; }
    [[nodiscard]] GridView& grid() override { return *grid_; }
    [[nodiscard]] NodeTree& tree() override { return tree_; }
    [[nodiscard]] NodeTreeView& treeView() override { return *treeView_; }
    [[nodiscard]] QWidget& pageCanvas() override { return *pageCanvas_; }
    [[nodiscard]] QWidget& statusArea() override;

    // The window's own controls, for the application's wiring and for tests.
    /// The browser; created on the first HTML view, null before.
    [[nodiscard]] QWebEngineView* browser() const { return browser_; }
    /// The first page of an office document (`OLE1`), its "Run" button and the line
    /// above it (`ppt`).
    [[nodiscard]] ClickLabel* documentPreview() const { return documentPreview_; }
    [[nodiscard]] QPushButton* runDocumentButton() const { return runDocument_; }
    [[nodiscard]] QLabel* firstChartNote() const { return firstChartNote_; }
    /// The "<< back" label (`Goback`).
    [[nodiscard]] ClickLabel* backLabel() const { return backLabel_; }
    /// The file history list (drop-down); settings().fileHistory follows its rows.
    [[nodiscard]] HistoryListBox* fileHistoryList() const { return fileHistory_; }
    [[nodiscard]] QString statusPath() const;
    [[nodiscard]] QString statusMessage() const override;
    [[nodiscard]] QAction* menuItem(ViewMenuItem item) const override
    {
        return menuItems_.at(item);
    }

    [[nodiscard]] ThumbPage thumbPage() const override { return thumbPage_; }
    void setThumbPage(ThumbPage page) override { thumbPage_ = page; }
    [[nodiscard]] const QString& pointedItem() const override { return pointedItem_; }
    void setPointedItem(const QString& item) override { pointedItem_ = item; }

Q_SIGNALS:
    /// "Show size bar" was checked (`shown`) or unchecked by the user.
    void sizeBarsWanted(bool shown);
    /// After a new layout, when the page shown is drawn by its feature: a size bar
    /// chart, the icon page or a thumbnail page.
    void pageNeedsRedraw(ViewMode viewMode);
    /// Media must stop: CloseView, "Cancel" and `Goback` (the sound and video features
    /// stop and close what they play).
    void stopMediaRequested();
    /// "Options" in the "View" menu: the application opens its options dialog.
    void optionsWanted();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    QString takeTextSlice(TextSlices& slices, qint64 bytes);
    void continueTextLoad(int run);
    /// Ends a text load still running; says so in the status bar.
    void stopTextLoad();
    void buildMenus();
    bool runKindView(const ViewRequest& request);
    void selectHistoryEntry(const QString& path);
    /// The settings' file history after the list's own menu cleared or sorted it.
    void takeFileHistoryRows();
    [[nodiscard]] bool inTempFolder(const QString& folder) const;
    [[nodiscard]] QWebEngineView* ensureBrowser();
    void showStatusFor(const ViewRequest& request);
    void stopMedia();
    void openOleFile();
    /// Puts the first page of an office document in the OLE view; why not, when it cannot.
    QString renderOlePreview(const QString& path);
    [[nodiscard]] PageStack& sizeBarPages();

    Settings& settings_;
    Prompts& prompts_;

    ViewMode viewMode_ = ViewMode::None;
    QString tableFile_;
    QString currentViewFile_;
    QRect viewArea_;
    QImage shownPicture_;
    QString shownPictureName_;

    ThumbPage thumbPage_ = ThumbPage::None;
    QString pointedItem_;

    QTextEdit* textBox_ = nullptr;
    QWebEngineView* browser_ = nullptr;
    SearForm* searForm_ = nullptr;
    WebFindBar* webFind_ = nullptr;
    ClickLabel* documentPreview_ = nullptr;
    QString oleFile_;
    QPushButton* runDocument_ = nullptr; ///< "Run" where an office document has no preview
    QLabel* firstChartNote_ = nullptr;
    ClickLabel* backLabel_ = nullptr;
    HistoryListBox* fileHistory_ = nullptr;
    GridView* grid_ = nullptr;
    GridView* basketGrid_ = nullptr;
    QWidget* basketIcon_ = nullptr;
    NodeTree tree_;
    NodeTreeModel* treeModel_ = nullptr;
    NodeTreeView* treeView_ = nullptr;
    QWidget* pageCanvas_ = nullptr;
    QWidget* sizeBarTab_ = nullptr; ///< `Sizebartab`, the chart's page area
    PageStack* sizeBarPages_ = nullptr;
    QLabel* statusPath_ = nullptr;
    QLabel* statusMessage_ = nullptr;
    QString viewNote_;                       ///< what the view shown wants said in status panel 2
    std::unique_ptr<TextSlices> textSlices_; ///< the text file still arriving, if any
    QString pendingText_;                    ///< a CR held back until the next slice shows its LF
    int textLoadRun_ = 0; ///< bumped to end a load: queued slices of an older run stop
    qint64 textLimit_ = DefaultTextLimit;
    std::map<ViewMenuItem, QAction*> menuItems_;

    std::map<ViewAction, KindView> kindViews_;
};
