// Opens a folder in Lumara's main window, as a click on it in the folder tree does, and
// prints how long the list took to be shown and how long the window went without
// answering meanwhile: a 10 ms timer measures the event loop's gaps, and a key press
// posted to the file list every 50 ms from another thread measures how long a key waits to be
// handled. usage: bench_window_listing FOLDER [SCREENSHOT_FOLDER] With a screenshot folder, the
// window is saved there as listing.png 3 s into the read, and as listed.png when the list is shown.

#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/HeapPages.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

namespace {

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
    window.start();
    window.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    FileListPanel* panel = window.fileListPanel();

    // The event loop's largest gap beyond its 10 ms tick.
    QElapsedTimer sinceTick;
    qint64 worstGapNs = 0;
    qint64 worstGapEndNs = 0;
    QElapsedTimer clock;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 gap = sinceTick.nsecsElapsed() - 10'000'000;
        if (gap > worstGapNs) {
            worstGapNs = gap;
            worstGapEndNs = clock.nsecsElapsed();
        }
        sinceTick.restart();
    });
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
    QObject::connect(panel, &FileListPanel::listed, [&] { listedAt = now(); });
    clock.start();
    sinceTick.start();
    tick.start();
    keys.start();
    const int count = panel->openFolder(folder);
    const double returned = now();
    // Shown means painted: let the reset list paint once.
    window.repaint();
    QCoreApplication::processEvents();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    tick.stop();
    keys.stop();
    QCoreApplication::processEvents();
    if (!shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/listed.png"));
    std::printf("files listed:        %d\n", count);
    std::printf("time to full list:   %.2f s\n", seconds);
    std::printf("hand-over:           reset %.2f-%.2f s, listed %.2f s, returned %.2f s\n",
                resetStart, resetEnd, listedAt, returned);
    std::printf("event loop max gap:  %.0f ms (ending %.2f s in)\n", double(worstGapNs) / 1e6,
                double(worstGapEndNs) / 1e9);
    std::printf("key press max wait:  %.0f ms (%d keys answered)\n", keys.worstMs(),
                keys.answered());
    std::fflush(stdout);
    return 0;
}
