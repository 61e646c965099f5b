#pragma once

#include <QObject>
#include <functional>
#include <thread>

/// One piece of work on a thread of its own, whose end the thread sanitizer can see:
/// a QThread's end (its `finished` signal, `wait()` on a thread already gone, its own
/// wait condition) goes through locks inside Qt that the sanitizer does not know, so
/// everything the work wrote would read as a race. Here the thread is joined, and
/// `finished` is only the call to come and join it.
class WorkerThread : public QObject {
    Q_OBJECT
public:
    explicit WorkerThread(std::function<void()> work, QObject* parent = nullptr);
    /// Waits for the work, if it is still running.
    ~WorkerThread() override;

    void start();
    /// Waits for the work to end; what it wrote may be read after.
    void join();

Q_SIGNALS:
    /// Sent from the thread once the work is done: receivers get it queued.
    void finished();

private:
    std::function<void()> work_;
    std::thread thread_;
};
