// Opens a folder in Lumara's main window, as a click on it in the folder tree does (through
// its node when the folder is one in the tree as built: a volume or a network share), and
// prints how long the list took to be shown and how long the window went without
// answering meanwhile: a 10 ms timer measures the event loop's gaps, and a key press
// posted to the file list every 50 ms from another thread measures how long a key waits to be
// handled. Then, on the listed folder, it times the "Text" filter tab, the "ALL" tab, the
// extension tree, opening one of its groups and a sort by size the same way.
// usage: bench_window_listing FOLDER [SCREENSHOT_FOLDER] With a screenshot folder, the window
// is saved there as listing.png 3 s into the read, as listed.png when the list is shown and
// as tree.png once the extension tree is built and a group opened, and as sorted.png after
// the sort by size.

#include "app/gui/MainWindow.h"
#include "browse/FilterTabs.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterStrip.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/HeapPages.h"
#include "platform/Prompts.h"
#include "trees/gui/TreeButtons.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>
#include <thread>

namespace {

/// The thread's own processor time so far, in ns.
qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

/// The event loop's largest gap beyond its 10 ms tick, and the most processor time the
/// window's thread used between two ticks: a gap much longer than that was spent waiting
/// for a processor (other programs, the workers), not on the window's own work.
class GapProbe {
public:
    GapProbe()
    {
        tick_.setInterval(10);
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            const qint64 gap = sinceTick_.nsecsElapsed() - 10'000'000;
            const qint64 cpu = threadCpuNs();
            if (gap > worstNs_) {
                worstNs_ = gap;
                worstEndNs_ = clock_.nsecsElapsed();
            }
            worstOwnNs_ = std::max(worstOwnNs_, cpu - cpuAtTick_);
            cpuAtTick_ = cpu;
            sinceTick_.restart();
        });
    }
    void start()
    {
        worstNs_ = 0;
        worstOwnNs_ = 0;
        clock_.start();
        sinceTick_.start();
        cpuAtTick_ = threadCpuNs();
        tick_.start();
    }
    void stop() { tick_.stop(); }
    [[nodiscard]] double worstMs() const { return double(worstNs_) / 1e6; }
    [[nodiscard]] double worstEndS() const { return double(worstEndNs_) / 1e9; }
    [[nodiscard]] double worstOwnMs() const { return double(worstOwnNs_) / 1e6; }

private:
    QTimer tick_;
    QElapsedTimer clock_;
    QElapsedTimer sinceTick_;
    qint64 worstNs_ = 0;
    qint64 worstEndNs_ = 0;
    qint64 worstOwnNs_ = 0;
    qint64 cpuAtTick_ = 0;
};

/// Presses a key every 50 ms from a thread of its own, as the window system would, and
/// times each press from posting to handling: what a user waits for a key to be seen.
class KeyProbe : public QObject {
public:
    explicit KeyProbe(QWidget* target) : target_(target)
    {
        target_->installEventFilter(this);
        clock_.start();
    }
    ~KeyProbe() override { stop(); }

    void start()
    {
        presser_ = std::thread([this] {
            while (!stopping_) {
                {
                    std::lock_guard lock(mutex_);
                    posted_.push_back(clock_.nsecsElapsed());
                }
                QCoreApplication::postEvent(
                    target_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    void stop()
    {
        stopping_ = true;
        if (presser_.joinable())
            presser_.join();
    }
    [[nodiscard]] double worstMs() const { return double(worstNs_) / 1e6; }
    /// Starts a new measure; keys still waiting count in it.
    void restart()
    {
        std::lock_guard lock(mutex_);
        worstNs_ = 0;
        answered_ = 0;
    }
    [[nodiscard]] int answered() const { return answered_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Shift) {
            std::lock_guard lock(mutex_);
            if (!posted_.empty()) {
                worstNs_ = std::max(worstNs_, clock_.nsecsElapsed() - posted_.front());
                posted_.pop_front();
                ++answered_;
            }
        }
        return false;
    }

private:
    QWidget* target_;
    QElapsedTimer clock_;
    std::mutex mutex_;
    std::deque<qint64> posted_;
    std::atomic<bool> stopping_{false};
    std::thread presser_;
    qint64 worstNs_ = 0;
    int answered_ = 0;
};

} // namespace

/// The process's peak resident memory so far, in MB (VmHWM).
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    }
    return 0;
}

/// Runs events until the panel's listings and the inputs kept for after them have ended.
void waitForList(FileListPanel& panel)
{
    while (panel.listing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

/// Runs one step on the listed folder while the probes watch, waits for its list, paints,
/// and prints its time, the count `shown` reads, the longest gap and the longest key wait.
template <typename Step, typename Shown>
void timeStep(const char* name, QWidget& window, FileListPanel& panel, GapProbe& gaps,
              KeyProbe& keys, Step step, Shown shown)
{
    QElapsedTimer clock;
    keys.restart();
    gaps.start();
    clock.start();
    step();
    waitForList(panel);
    window.repaint();
    QCoreApplication::processEvents();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    gaps.stop();
    std::printf("%-20s %.2f s, %d files, max gap %.0f ms (own work %.0f ms), key max wait %.0f "
                "ms, peak %.0f MB\n",
                name, seconds, shown(), gaps.worstMs(), gaps.worstOwnMs(), keys.worstMs(),
                peakMegabytes());
    std::fflush(stdout);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [SCREENSHOT_FOLDER]\n", argv[0]);
        return 2;
    }
    platform::preferLargeHeapPages(platform::HeapUse::LongRun);
    std::setlocale(LC_ALL, "C.UTF-8");
    QApplication app(argc, argv);
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString shots = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    // Boxes (a missing profile, say) are answered at once rather than waiting for a user.
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QElapsedTimer startClock;
    startClock.start();
    window.start();
    std::printf("start-up:            %.2f s\n", double(startClock.nsecsElapsed()) / 1e9);
    window.show();
    // The first paint (theme icons, fonts) belongs to start-up, not to the listing: the
    // window is given half a second to come up before the clock starts.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    FileListPanel* panel = window.fileListPanel();

    GapProbe gaps;
    QElapsedTimer clock;
    KeyProbe keys(panel->fileList());

    bool shotTaken = false;
    QObject::connect(panel, &FileListPanel::loading, [&](qint64 read) {
        if (!shots.isEmpty() && !shotTaken && read > 0 && clock.elapsed() > 3000) {
            shotTaken = true;
            window.grab().save(shots + QStringLiteral("/listing.png"));
        }
    });

    // When the hand-over's steps happen, to see which of them holds the window.
    double resetStart = 0, resetEnd = 0, listedAt = 0;
    const auto now = [&clock] { return double(clock.nsecsElapsed()) / 1e9; };
    QObject::connect(panel->fileListModel(), &QAbstractItemModel::modelAboutToBeReset,
                     [&] { resetStart = now(); });
    QObject::connect(panel->fileListModel(), &QAbstractItemModel::modelReset,
                     [&] { resetEnd = now(); });
    int listedCount = 0;
    QObject::connect(panel, &FileListPanel::listed, [&](int n) {
        listedAt = now();
        listedCount = n;
    });
    const NodeTree::Id node = window.folderTree().find(folder);
    clock.start();
    gaps.start();
    keys.start();
    if (node != NodeTree::None)
        window.openFolderNode(node);
    else
        panel->openFolder(folder);
    const double returned = now();
    waitForList(*panel);
    const int count = listedCount;
    // Shown means painted: let the reset list paint once.
    window.repaint();
    QCoreApplication::processEvents();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    gaps.stop();
    if (!shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/listed.png"));
    std::printf("files listed:        %d\n", count);
    std::printf("time to full list:   %.2f s\n", seconds);
    std::printf("peak memory listed:  %.0f MB\n", peakMegabytes());
    std::printf("hand-over:           reset %.2f-%.2f s, listed %.2f s, returned %.2f s\n",
                resetStart, resetEnd, listedAt, returned);
    std::printf("event loop max gap:  %.0f ms (ending %.2f s in)\n", gaps.worstMs(),
                gaps.worstEndS());
    std::printf("own work max:        %.0f ms between two ticks\n", gaps.worstOwnMs());
    std::printf("key press max wait:  %.0f ms (%d keys answered)\n", keys.worstMs(),
                keys.answered());
    std::fflush(stdout);

    FilterTabs& filters = window.filterStrip()->filters();
    TreeButtons& trees = *window.treeButtons();
    const NodeTree& list = panel->state().tree();
    const auto files = [panel] { return panel->state().listedNames().ListCount() - 1; };
    const auto nodes = [&list] { return list.count(); };
    timeStep(
        "\"Text\" tab:", window, *panel, gaps, keys, [&] { filters.SelectCategory(0); }, files);
    timeStep(
        "\"ALL\" tab:", window, *panel, gaps, keys,
        [&] { filters.SelectCategory(filters.allTab()); }, files);
    timeStep(
        "extension tree:", window, *panel, gaps, keys,
        [&] { trees.chooseTree(TreeType::Extension); }, nodes);
    NodeTree::Id group = NodeTree::None;
    timeStep(
        "open a group:", window, *panel, gaps, keys,
        [&] {
            group = list.children(list.root()).back();
            panel->fileList()->expand(panel->fileListModel()->indexOf(group));
        },
        [&] { return int(list.children(group).size()); });
    if (!shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/tree.png"));
    timeStep(
        "name list:", window, *panel, gaps, keys, [&] { trees.chooseTree(TreeType::PlainList); },
        nodes);
    timeStep(
        "sort by size:", window, *panel, gaps, keys,
        [&] {
            trees.prepareSortMenu();
            trees.chooseSort(SortChoice::BySize);
        },
        nodes);
    if (!shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/sorted.png"));
    keys.stop();
    std::printf("peak memory, whole run: %.0f MB\n", peakMegabytes());
    return 0;
}
