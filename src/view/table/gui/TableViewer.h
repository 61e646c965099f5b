#pragma once

#include "controls/NodeTree.h"
#include "view/ViewRequest.h"

#include <QObject>

class CancelKey;
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
    /// Shows one sheet of the workbook now viewed; false on an error (reported).
    bool ShowSheet(const QString& sheet);
    /// Shows one table of the database now viewed; false on an error (reported).
    bool ShowTable(const QString& table);
    /// A click on a node of the tree.
    void nodeClicked(NodeTree::Id id);

private:
    void showTree();
    void showGrid();

    ViewerHost& host_;
    Settings& settings_;
    Prompts& prompts_;
    CancelKey& cancel_;
    bool loading_ = false; ///< a sheet or table is arriving; clicks wait for it
};
