// Opens a folder in Lumara's main window, as a click on it in the folder tree does, and
// prints how long the list took to be shown and how long the window went without
// answering meanwhile: a 10 ms timer measures the event loop's gaps, and a key press
// posted to the file list every 50 ms measures how long a key waits to be handled.
// usage: bench_window_listing FOLDER [SCREENSHOT_FOLDER]
// With a screenshot folder, the window is saved there as listing.png once a third of
// the files are read, and as listed.png when the list is shown.

#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/HeapPages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <deque>

namespace {

/// Times posted key presses from posting to handling.
class KeyProbe : public QObject {
public:
    explicit KeyProbe(QWidget* target) : target_(target) { target_->installEventFilter(this); }

    void post()
    {
        posted_.push_back(clock_.nsecsElapsed());
        QCoreApplication::postEvent(target_,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
    }
    [[nodiscard]] double worstMs() const { return double(worstNs_) / 1e6; }
    [[nodiscard]] int answered() const { return answered_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target_ && event->type() == QEvent::KeyPress && !posted_.empty() &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Shift) {
            worstNs_ = std::max(worstNs_, clock_.nsecsElapsed() - posted_.front());
            posted_.pop_front();
            ++answered_;
        }
        return false;
    }

private:
    QWidget* target_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    std::deque<qint64> posted_;
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

    MainWindow window;
    window.start();
    window.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    FileListPanel* panel = window.fileListPanel();

    // The event loop's largest gap beyond its 10 ms tick.
    QElapsedTimer sinceTick;
    qint64 worstGapNs = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        worstGapNs = std::max(worstGapNs, sinceTick.nsecsElapsed() - 10'000'000);
        sinceTick.restart();
    });
    KeyProbe keys(panel->fileList());
    QTimer keyTimer;
    keyTimer.setInterval(50);
    QObject::connect(&keyTimer, &QTimer::timeout, [&] { keys.post(); });

    const qint64 total = qint64(QDir(folder).count());
    bool shotTaken = false;
    QObject::connect(panel, &FileListPanel::loading, [&](qint64 read) {
        if (!shots.isEmpty() && !shotTaken && read * 3 > total) {
            shotTaken = true;
            window.grab().save(shots + QStringLiteral("/listing.png"));
        }
    });

    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    tick.start();
    keyTimer.start();
    const int count = panel->openFolder(folder);
    // Shown means painted: let the reset list paint once.
    window.repaint();
    QCoreApplication::processEvents();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    tick.stop();
    keyTimer.stop();
    if (!shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/listed.png"));
    std::printf("files listed:        %d\n", count);
    std::printf("time to full list:   %.2f s\n", seconds);
    std::printf("event loop max gap:  %.0f ms\n", double(worstGapNs) / 1e6);
    std::printf("key press max wait:  %.0f ms (%d keys answered)\n", keys.worstMs(),
                keys.answered());
    std::fflush(stdout);
    return 0;
}
