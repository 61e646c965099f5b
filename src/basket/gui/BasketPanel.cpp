#include "basket/gui/BasketPanel.h"

#include "basket/BasketCopy.h"
#include "basket/BasketFile.h"
#include "basket/BasketZip.h"
#include "basket/gui/BasketDrag.h"
#include "basket/gui/BasketGridView.h"
#include "basket/gui/BasketIcon.h"
#include "basket/gui/BasketMenu.h"
#include "basket/gui/CopyOverwriteDialog.h"
#include "basket/gui/CopyProgressDialog.h"
#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "platform/WorkerThread.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QAction>
#include <QMimeData>
#include <QTimer>
#include <condition_variable>
#include <mutex>

namespace {
// How often a running zip looks at the Escape key.
constexpr int ZipEscapeCheckMs = 50;
} // namespace

/// The basket's view of the windows: the panel's hooks and its grid widget.
class BasketPanel::Host : public BasketHost {
public:
    explicit Host(BasketPanel& panel) : panel_(panel) {}
    [[nodiscard]] QString currentFolderPath() const override
    {
        return panel_.hooks_.currentFolder ? panel_.hooks_.currentFolder() : QString();
    }
    [[nodiscard]] bool gridVisible() const override { return panel_.gridShown(); }
    void setViewPath(const QString& text) override
    {
        if (panel_.hooks_.setViewPath)
            panel_.hooks_.setViewPath(text);
    }
    void setViewMessage(const QString& text) override
    {
        if (panel_.hooks_.setViewMessage)
            panel_.hooks_.setViewMessage(text);
    }
    void gridChanged() override
    {
        if (panel_.gridView_)
            panel_.gridView_->refreshRows();
    }
    void focusGrid() override
    {
        if (panel_.gridView_ && panel_.gridShown() && !panel_.gridView_->hasFocus())
            panel_.gridView_->setFocus();
    }
    void showGrid() override { panel_.showGrid(); }

private:
    BasketPanel& panel_;
};

BasketPanel::BasketPanel(Settings& settings, Prompts& prompts, CancelKey& cancelKey,
                         QWidget* window)
    : QObject(window), settings_(settings), prompts_(prompts), cancelKey_(cancelKey),
      window_(window), host_(std::make_unique<Host>(*this))
{
    gridView_ = new BasketGridView(window);
    gridView_->hide();
    gridView_->setPrompts(&prompts_);
    icon_ = new BasketIcon(window);
    icon_->hide();
    menu_ = new BasketMenu(window);
    basket_ = std::make_unique<Basket>(gridView_->grid(), prompts_, *host_);
    icon_->setEntryCount([this] { return basket_->entries(); });
    icon_->setEntryPaths([this] {
        QStringList paths;
        for (int row = 1; row <= basket_->entries(); ++row)
            paths << basket_->path(row);
        return paths;
    });

    connect(gridView_, &BasketGridView::hovered, this, [this](const QString& text) {
        if (hooks_.setViewPath)
            hooks_.setViewPath(text);
    });
    connect(gridView_, &BasketGridView::menuRequested, this, &BasketPanel::openMenu);
    connect(gridView_, &BasketGridView::headerClicked, this,
            [this](int col) { basket_->sortByHeader(col); });
    connect(gridView_, &BasketGridView::dropped, this, &BasketPanel::gridDrop);
    connect(icon_, &BasketIcon::clicked, this, &BasketPanel::toggleShown);
    connect(icon_, &BasketIcon::menuRequested, this, [this](const QPoint& at) { openMenu(0, at); });
    connect(icon_, &BasketIcon::dropped, this, [this](const QMimeData* data) {
        basket_->insertionRow = -1;
        Q_EMIT dropReceived(data, true);
    });
}

/// A zip under way on its worker: the rows' files read before it started, the answer
/// to "cancel?" that the worker reads between files, and its result.
struct BasketPanel::RunningZip {
    explicit RunningZip(CancelKey& key) : key(key) {}
    ~RunningZip()
    {
        answer(true);
        if (worker)
            worker->join();
    }

    /// The worker's check between files: a press the window has not asked about yet
    /// holds the zip until the answer, as the zip on the window's thread stood still
    /// while the question was on the screen.
    bool cancelledOnWorker()
    {
        std::unique_lock lock(mutex);
        answered.wait(lock, [this] { return cancelled || (!asking && !key.pressed()); });
        return cancelled;
    }
    void startAsking()
    {
        const std::lock_guard lock(mutex);
        asking = true;
    }
    void answer(bool cancel)
    {
        {
            const std::lock_guard lock(mutex);
            asking = false;
            cancelled = cancelled || cancel;
        }
        answered.notify_all();
    }

    CancelKey& key;
    BusyPointer busy;
    BasketZipRequest request;
    BasketZipResult result; ///< written by the worker before it finishes
    std::unique_ptr<WorkerThread> worker;
    QTimer escapeCheck;
    bool questionShown = false; ///< "cancel?" is on the screen
    bool ended = false;         ///< the worker finished while it was

private:
    std::mutex mutex;
    std::condition_variable answered;
    bool asking = false;
    bool cancelled = false;
};

/// A copy of dropped files under way.
struct BasketPanel::RunningDrop {
    RunningDrop(BasketPanel& panel, const QStringList& sources, const QString& folder)
        : context{panel.prompts_, panel.pairs_, &panel.cancelKey_, nullptr},
          copy(sources, folder, panel.settings_.nextVersionOnOverwrite, context)
    {}

    BusyPointer busy;
    CopyContext context;
    DroppedFilesCopy copy;
};

BasketPanel::~BasketPanel() = default;

bool BasketPanel::gridShown() const
{
    return gridView_ && !gridView_->isHidden();
}

CopyOverwriteDialog* BasketPanel::overwriteDialog()
{
    if (!dialog_)
        dialog_ = new CopyOverwriteDialog(pairs_, prompts_, window_);
    return dialog_;
}

QString BasketPanel::defaultFolder() const
{
    const QString folder = hooks_.currentFolder ? hooks_.currentFolder() : QString();
    return folder.isEmpty() ? settings_.tempFolder : folder;
}

void BasketPanel::toggleShown()
{
    if (basket_->empty()) {
        prompts_.message(QStringLiteral("RadeZazeda is empty"));
        return;
    }
    if (gridShown()) {
        gridView_->hide();
        host_->setViewPath(QString());
        host_->setViewMessage(QString());
        Q_EMIT hidden();
        return;
    }
    Grid& grid = basket_->grid();
    grid.setColWidth(Basket::PathColumn, 0);
    grid.setColWidth(Basket::NameColumn, 0);
    const int width = hooks_.availableWidth ? hooks_.availableWidth() : 0;
    const int shown = grid.colWidth(Basket::ShownColumn) + grid.colWidth(Basket::SizeColumn);
    if (width > 0 && shown > 0) {
        // Pixels to twips, so the two columns fill the view area.
        const double twips = double(width) * 1440.0 / double(gridView_->logicalDpiX());
        const double f = 0.975 * twips / double(shown);
        if (f > 0.01) {
            grid.setColWidth(Basket::ShownColumn, int(grid.colWidth(Basket::ShownColumn) * f));
            grid.setColWidth(Basket::SizeColumn, int(grid.colWidth(Basket::SizeColumn) * f));
        }
    }
    showGrid();
    basket_->showCount();
}

void BasketPanel::showGrid()
{
    Q_EMIT layoutWanted(); // the grid finds its place on the view window first
    gridView_->refreshRows();
    gridView_->show();
    gridView_->raise();
    Q_EMIT layoutWanted();
}

void BasketPanel::openMenu(int row, const QPoint& globalPos)
{
    if (basket_->empty()) {
        prompts_.message(QStringLiteral("RadeZazeda is empty"));
        return;
    }
    const bool whole = row < 1;
    menu_->wholeBasket = whole;
    if (!whole)
        basket_->grid().setSelection(row, Basket::ShownColumn, row, Basket::ShownColumn);
    menu_->prepare(whole, defaultFolder());
    runCommand(menu_->exec(globalPos));
}

std::pair<int, int> BasketPanel::selectedRows() const
{
    if (menu_->wholeBasket)
        return {1, basket_->entries()};
    const int row = basket_->grid().row();
    return {row, row};
}

void BasketPanel::runCommand(BasketMenu::Code code)
{
    using Code = BasketMenu::Code;
    switch (code) {
    case Code::ShowHide:
        toggleShown();
        break;
    case Code::Clear:
        clearCommand();
        break;
    case Code::Delete:
        deleteCommand();
        break;
    case Code::CopyDefault:
    case Code::CopySelected:
        copyCommand(false, code == Code::CopySelected);
        break;
    case Code::StampDefault:
    case Code::StampSelected:
        copyCommand(true, code == Code::StampSelected);
        break;
    case Code::ZipDefault:
    case Code::ZipSelected:
        zipCommand(code == Code::ZipSelected);
        break;
    case Code::SaveDefault:
    case Code::SaveSelected:
        saveCommand(code == Code::SaveSelected);
        break;
    case Code::Properties:
        propertiesCommand();
        break;
    case Code::Thumbnails:
        thumbnailsCommand();
        break;
    case Code::None:
        break;
    }
}

void BasketPanel::gridDrop(const QMimeData* data, int row)
{
    basket_->insertionRow = row;
    if (basketdrag::sourceOf(data) == basketdrag::FromGrid) {
        basket_->moveRow(basket_->grid().row(), row);
        return;
    }
    Q_EMIT dropReceived(data, false);
}

void BasketPanel::copyCommand(bool stamp, bool selected)
{
    if (basket_->empty()) {
        prompts_.message(QStringLiteral("nothing to copy"));
        return;
    }
    const auto [first, last] = selectedRows();
    QString folder;
    if (selected) {
        folder = prompts_.chooseFolder(QStringLiteral("Select folder"), defaultFolder());
        if (folder.isEmpty())
            return;
        folder = WithSlash(folder);
        menu_->copyDefault->setText(folder);
        menu_->stampDefault->setText(folder);
    } else {
        folder = (stamp ? menu_->stampDefault : menu_->copyDefault)->text();
        QString question = QStringLiteral("copy") + NumText(last - first + 1) +
                           QStringLiteral(" files in RadeZazeda to:") + LineBreak + folder;
        if (stamp)
            question += LineBreak + QStringLiteral("(destination filename will be the creation "
                                                   "date-time of the source file)");
        if (!prompts_.askYesNo(question))
            return;
    }
    copyRows(folder, first, last, stamp);
}

/// A copy under way: its progress dialog, its context and the rows still to copy.
struct BasketPanel::RunningCopy {
    RunningCopy(BasketPanel& panel, const QString& folder, int first, int last, bool stamp)
        : progress(panel.window_, panel.prompts_, panel.progressDelay_),
          // Every box of the copy goes through the progress dialog, which steps aside.
          context{progress.prompts(), panel.pairs_, &panel.cancelKey_, &progress},
          copy(*panel.basket_, folder, first, last,
               stamp ? BasketRowCopy::Naming::Stamp : BasketRowCopy::Naming::Own, context)
    {}

    BusyPointer busy;
    CopyProgressDialog progress;
    CopyContext context;
    BasketRowCopy copy;
};

void BasketPanel::copyRows(const QString& folder, int first, int last, bool stamp)
{
    if (copying())
        return;
    cancelKey_.clear();
    copy_ = std::make_unique<RunningCopy>(*this, folder, first, last, stamp);
    QTimer::singleShot(0, this, &BasketPanel::copyStep);
}

void BasketPanel::copyStep()
{
    if (copy_->copy.step()) {
        QTimer::singleShot(0, this, &BasketPanel::copyStep);
        return;
    }
    copy_.reset();
    decideConflicts();
    Q_EMIT copyFinished();
}

void BasketPanel::copyFiles(const QStringList& sources, const QString& folder)
{
    if (copying())
        return; // the running copy's conflicts are still to be decided
    cancelKey_.clear();
    drop_ = std::make_unique<RunningDrop>(*this, sources, folder);
    QTimer::singleShot(0, this, &BasketPanel::dropStep);
}

void BasketPanel::dropStep()
{
    if (drop_->copy.step()) {
        QTimer::singleShot(0, this, &BasketPanel::dropStep);
        return;
    }
    const int copied = drop_->copy.copied();
    drop_.reset();
    if (pairs_.hasPairs())
        decideConflicts();
    else
        prompts_.message(NumText(copied) + QStringLiteral(" files copied"));
    Q_EMIT copyFinished();
}

void BasketPanel::decideConflicts()
{
    if (!pairs_.hasPairs())
        return;
    CopyOverwriteDialog* dialog = overwriteDialog();
    dialog->refresh();
    dialog->exec();
}

void BasketPanel::zipCommand(bool selected)
{
    if (basket_->empty()) {
        prompts_.message(QStringLiteral("nothing to zip"));
        return;
    }
    if (zip_)
        return; // one zip at a time: the rows are read when it starts
    QString path = menu_->zipTarget();
    if (selected) {
        path = prompts_.chooseSaveFile(QStringLiteral("Select destination file "), defaultFolder(),
                                       QStringLiteral("Zip Files (*.zip)"),
                                       Prompts::Overwrite::DialogAsks);
        if (path.isEmpty())
            return;
        menu_->setZipTarget(path);
    }
    const auto [first, last] = selectedRows();
    cancelKey_.clear();
    host_->setViewPath(QStringLiteral("Zipping files..."));
    zip_ = std::make_unique<RunningZip>(cancelKey_);
    RunningZip* zip = zip_.get();
    zip->request = BasketZipFiles(*basket_, path, first, last);
    zip->worker = std::make_unique<WorkerThread>([zip] {
        zip->result = ZipBasketFiles(zip->request, [zip] { return zip->cancelledOnWorker(); });
    });
    connect(zip->worker.get(), &WorkerThread::finished, this, [this, zip] {
        if (zip_.get() == zip) // not a zip already given up
            zipEnded();
    });
    connect(&zip->escapeCheck, &QTimer::timeout, this, &BasketPanel::zipEscapeCheck);
    zip->escapeCheck.start(ZipEscapeCheckMs);
    zip->worker->start();
}

void BasketPanel::zipEscapeCheck()
{
    zip_->escapeCheck.stop();
    zip_->questionShown = true;
    zip_->startAsking();
    zip_->answer(EscapeDelivered(cancelKey_, prompts_));
    zip_->questionShown = false;
    if (zip_->ended)
        zipEnded();
    else
        zip_->escapeCheck.start(ZipEscapeCheckMs);
}

void BasketPanel::zipEnded()
{
    if (zip_->questionShown) {
        zip_->ended = true; // reported once the question is answered
        return;
    }
    const std::unique_ptr<RunningZip> zip = std::move(zip_);
    zip->worker->join(); // its result is ours from here
    host_->setViewPath(QString());
    ReportBasketZip(zip->request, zip->result, prompts_);
    Q_EMIT zipFinished();
}

void BasketPanel::saveCommand(bool selected)
{
    QString path = menu_->saveTarget();
    if (selected) {
        if (basket_->empty()) {
            prompts_.message(QStringLiteral("nothing to save"));
            return;
        }
        path = prompts_.chooseSaveFile(QStringLiteral("Select file to save RadeZazeda"),
                                       hooks_.currentFolder ? hooks_.currentFolder() : QString(),
                                       QStringLiteral("Basket Files (*.bsk)"),
                                       // SaveBasketFile asks before replacing a file.
                                       Prompts::Overwrite::CallerAsks);
        if (path.isEmpty())
            return;
        // A name typed without an extension is still a basket file.
        if (ExtensionOf(NameAfterLastBackslash(path)).trimmed().isEmpty())
            path += QStringLiteral(".bsk");
    }
    if (SaveBasketFile(*basket_, path, prompts_))
        menu_->setSaveTarget(path);
}

void BasketPanel::deleteCommand()
{
    const int row = basket_->grid().row();
    if (basket_->empty() || row < 1)
        return;
    const bool last = basket_->entries() == 1;
    basket_->deleteRow(row);
    if (last) {
        Q_EMIT emptied();
        Q_EMIT layoutWanted();
    }
}

void BasketPanel::clearCommand()
{
    if (!basket_->clearAsked())
        return;
    gridView_->hide();
    Q_EMIT emptied();
    gridView_->setFocus();
}

void BasketPanel::propertiesCommand()
{
    if (menu_->wholeBasket) {
        prompts_.message(basket_->summaryText(), Basket::Title);
        return;
    }
    const int row = basket_->grid().row();
    if (row >= 1)
        Q_EMIT propertiesWanted(basket_->path(row));
}

void BasketPanel::thumbnailsCommand()
{
    if (basket_->empty()) {
        prompts_.message(QStringLiteral("RadeZazeda is empty"));
        return;
    }
    QStringList paths;
    for (int row = 1; row < basket_->grid().rows(); ++row)
        paths << basket_->path(row);
    const QStringList pictures = hooks_.picturesAmong ? hooks_.picturesAmong(paths) : QStringList();
    if (pictures.isEmpty())
        prompts_.message(QStringLiteral("RadeZazeda has no picture files"));
    else
        Q_EMIT thumbnailsWanted(pictures);
}
