#pragma once

#include <QObject>
#include <functional>

class CancelKey;
class FileListPanel;
class Prompts;
class ViewWindow;
struct Settings;

/// The size tables on screen: "Show Size Table" of the "Files" menu (and the hidden
/// "Trigger FileSizes" button) and the folder tree's "Size", shown in the view
/// window's grid.
class SizeTableCommands : public QObject {
    Q_OBJECT
public:
    /// `viewWindow` gives the view window, creating it on first use.
    SizeTableCommands(Settings& settings, Prompts& prompts, CancelKey& cancel, FileListPanel& panel,
                      std::function<ViewWindow*()> viewWindow, QObject* parent = nullptr);

    /// `Command1` "Trigger FileSizes": the size table of the last clicked node.
    void TriggerFileSizes();
    /// The folder tree's "Size" for `folder` (ending in "/").
    void FolderSizeTable(const QString& folder);

    /// The sum of the lengths in the last table, for the size bars.
    [[nodiscard]] qint64 grandTotal() const { return grandTotal_; }

Q_SIGNALS:
    /// A table is shown; the size bars may be drawn from it.
    void tableShown(qint64 grandTotal);

private:
    void present(ViewWindow* view, const QString& message, qint64 total);

    Settings& settings_;
    Prompts& prompts_;
    CancelKey& cancel_;
    FileListPanel& panel_;
    std::function<ViewWindow*()> viewWindow_;
    qint64 grandTotal_ = 0;
};
