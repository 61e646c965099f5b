#pragma once

#include "basket/Basket.h"
#include "basket/OverwritePairs.h"
#include "basket/gui/BasketMenu.h"

#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <memory>

class BasketGridView;
class BasketIcon;
class BasketMenu;
class CancelKey;
class CopyOverwriteDialog;
class QMimeData;
class QWidget;
struct Settings;

/// The basket on screen: the grid and its icon (placed on the view window by the
/// application), the basket model over the grid, "BasketMenu" and its commands, the
/// copies, zips and saves with the "OverWrite Existing Files" dialog. What needs the
/// other windows leaves through the signals.
class BasketPanel : public QObject {
    Q_OBJECT
public:
    /// What the panel asks of the windows around it.
    struct Hooks {
        std::function<QString()> currentFolder;             ///< the listed folder, "/"-ended
        std::function<void(const QString&)> setViewPath;    ///< view window status panel 1
        std::function<void(const QString&)> setViewMessage; ///< status panel 2
        std::function<int()> availableWidth;                ///< the view area's width, pixels
        /// The pictures among full paths, in the order a thumbnail show takes them.
        std::function<QStringList(const QStringList&)> picturesAmong;
    };

    BasketPanel(Settings& settings, Prompts& prompts, CancelKey& cancelKey, QWidget* window);
    ~BasketPanel() override;

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    [[nodiscard]] Basket& basket() { return *basket_; }
    [[nodiscard]] BasketGridView* grid() const { return gridView_; }
    [[nodiscard]] BasketIcon* icon() const { return icon_; }
    [[nodiscard]] BasketMenu& menu() const { return *menu_; }
    [[nodiscard]] OverwritePairs& pairs() { return pairs_; }
    /// The conflict dialog; created on first use.
    [[nodiscard]] CopyOverwriteDialog* overwriteDialog();
    [[nodiscard]] bool gridShown() const;

    /// "Show/hide Radezazeda" and a click on the icon.
    void toggleShown();
    /// Makes the grid visible and brings it to the front.
    void showGrid();
    /// Opens "BasketMenu" for the whole basket (row < 1) or one row, and acts on it.
    void openMenu(int row, const QPoint& globalPos);
    /// Acts on a code of "BasketMenu" for the whole basket or the row it was opened for.
    void runCommand(BasketMenu::Code code);

    /// Starts copying or time-stamp-copying rows into `folder`, one file per turn of the
    /// event loop, with progress; at the end the conflict dialog or the summary, then
    /// copyFinished. Nothing while another copy runs.
    void copyRows(const QString& folder, int first, int last, bool stamp);
    /// A copy started by copyRows or copyFiles has not finished yet.
    [[nodiscard]] bool copying() const { return copy_ != nullptr || drop_ != nullptr; }
    /// Starts copying files (drops on the folder tree) one per turn of the event loop;
    /// at the end the dialog or the count, then copyFinished. Nothing while another copy
    /// runs.
    void copyFiles(const QStringList& sources, const QString& folder);
    /// A zip of the basket runs on its worker.
    [[nodiscard]] bool zipping() const { return zip_ != nullptr; }
    /// Shows the conflict dialog when the last copy found conflicts.
    void decideConflicts();
    /// How long a copy runs before its progress dialog appears.
    void setProgressDelay(std::chrono::milliseconds delay) { progressDelay_ = delay; }

Q_SIGNALS:
    /// The basket is empty now; a file list that shows it must be cleared.
    void emptied();
    /// The grid was hidden; the file history takes the focus.
    void hidden();
    /// Something other than a row of the grid was dropped on the grid or the icon; the
    /// basket's insertion row is set already. `onIcon` for drops on the icon.
    void dropReceived(const QMimeData* data, bool onIcon);
    /// "Properties" for one row.
    void propertiesWanted(const QString& path);
    /// "Picture thumbnails": the picture files of the basket (never empty).
    void thumbnailsWanted(const QStringList& pictures);
    /// The grid's place changed (shown, hidden, emptied): the view window lays out.
    void layoutWanted();
    /// A copy started by copyRows or copyFiles has ended (its boxes and dialog are done).
    void copyFinished();
    /// A zip of the basket has ended and was reported.
    void zipFinished();

private:
    class Host;
    struct RunningCopy;
    struct RunningDrop;
    struct RunningZip;

    void copyStep();
    void dropStep();
    void zipEscapeCheck();
    void zipEnded();

    [[nodiscard]] QString defaultFolder() const;
    [[nodiscard]] std::pair<int, int> selectedRows() const;
    void gridDrop(const QMimeData* data, int row);
    void copyCommand(bool stamp, bool selected);
    void zipCommand(bool selected);
    void saveCommand(bool selected);
    void deleteCommand();
    void clearCommand();
    void propertiesCommand();
    void thumbnailsCommand();

    Settings& settings_;
    Prompts& prompts_;
    CancelKey& cancelKey_;
    QWidget* window_;
    Hooks hooks_;
    std::unique_ptr<Host> host_;
    BasketGridView* gridView_ = nullptr;
    BasketIcon* icon_ = nullptr;
    BasketMenu* menu_ = nullptr;
    std::unique_ptr<Basket> basket_;
    OverwritePairs pairs_;
    QPointer<CopyOverwriteDialog> dialog_;
    std::chrono::milliseconds progressDelay_{400};
    std::unique_ptr<RunningCopy> copy_;
    std::unique_ptr<RunningDrop> drop_;
    std::unique_ptr<RunningZip> zip_;
};
