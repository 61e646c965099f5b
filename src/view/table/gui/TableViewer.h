#pragma once

#include "controls/NodeTree.h"
#include "view/ViewMode.h"
#include "view/ViewRequest.h"

#include <QObject>
#include <functional>
#include <memory>

class BusyPointer;
class CancelKey;
class GridLoad;
class Prompts;
class ViewerHost;
struct Settings;

/// Workbooks and databases in the view window: their sheets or tables as the tree
/// `dbs`, and a clicked sheet or table in the grid.
class TableViewer : public QObject {
    Q_OBJECT
public:
    /// Registers the spreadsheet and database views with `host`.
    TableViewer(ViewerHost& host, Settings& settings, Prompts& prompts, CancelKey& cancel);

    /// The workbook's sheets as the tree; false when it cannot be read.
    bool ViewSpreadsheet(const ViewRequest& request);
    /// Copies the database to "TempMdbs.mdb" in TempFolder and shows its tables with
    /// their fields; false when it cannot be read.
    bool ViewDatabase(const ViewRequest& request);
    ~TableViewer() override;

    /// Starts showing one sheet of the workbook now viewed; its rows arrive in batches
    /// from the event loop, then loaded. False on an error opening it (reported) and
    /// while another sheet or table is arriving.
    bool ShowSheet(const QString& sheet);
    /// The same for one table of the database now viewed.
    bool ShowTable(const QString& table);
    /// A click on a node of the tree.
    void nodeClicked(NodeTree::Id id);
    /// A sheet or table is arriving.
    [[nodiscard]] bool loading() const { return load_ != nullptr; }

Q_SIGNALS:
    /// The sheet or table started by ShowSheet or ShowTable has ended; false when a
    /// record could not be read (reported) or another view took the window meanwhile.
    void loaded(bool shown);

private:
    void showTree();
    void showGrid();
    void startLoad(std::unique_ptr<GridLoad> load, std::function<void()> shown);
    void loadStep();

    ViewerHost& host_;
    Settings& settings_;
    Prompts& prompts_;
    CancelKey& cancel_;
    std::unique_ptr<GridLoad> load_; ///< the sheet or table arriving; clicks wait for it
    std::unique_ptr<BusyPointer> busy_;
    std::function<void()> whenShown_;    ///< the status of the load's view once it is in
    ViewMode loadMode_ = ViewMode::None; ///< the view the load belongs to
};
