#pragma once

#include "platform/FileSystem.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

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
    ~SizeTableCommands() override;

    /// `Command1` "Trigger FileSizes": the size table of the last clicked node.
    void TriggerFileSizes();
    /// The folder tree's "Size" for `folder` (ending in "/"). The folder is read on a
    /// thread of its own (a network share may be slow) and the table shown when the read
    /// is back; Escape, answered Yes, ends the read keeping what was read (or, once read,
    /// the table's rows, keeping those made). A second request while one reads is ignored.
    void FolderSizeTable(const QString& folder);
    /// Whether a folder's files are being read for its table.
    [[nodiscard]] bool reading() const { return bool(job_); }

    /// How the folder's files are read (tests: a reader that waits for them).
    using FileReader = std::function<std::vector<platform::FileEntry>(
        const QString& folder, bool includeHiddenSystem, QString* error,
        platform::ReadWatch* watch)>;
    void setFileReader(FileReader reader) { reader_ = std::move(reader); }

    /// The sum of the lengths in the last table, for the size bars.
    [[nodiscard]] qint64 grandTotal() const { return grandTotal_; }

Q_SIGNALS:
    /// A table is shown; the size bars may be drawn from it.
    void tableShown(qint64 grandTotal);
    /// From the reading thread: the folder's rows are made.
    void folderReadEnded(QPrivateSignal);

private:
    struct FolderJob;
    void present(ViewWindow* view, const QString& message, qint64 total);
    void folderRead();
    void pollEscape();

    Settings& settings_;
    Prompts& prompts_;
    CancelKey& cancel_;
    FileListPanel& panel_;
    std::function<ViewWindow*()> viewWindow_;
    qint64 grandTotal_ = 0;
    FileReader reader_;
    std::shared_ptr<FolderJob> job_; ///< the folder read running, if any
    QTimer escapePoll_;
    bool asking_ = false;
};
