#pragma once

#include <QThread>
#include <atomic>
#include <functional>

/// A QThread running one piece of work, whose end the thread sanitizer can see. A
/// QThread's own end (its `finished` signal, `wait()` on a thread already gone) goes
/// through locks inside Qt that it does not know, so everything the work wrote would
/// read as a race. The work's last act here is a release store; `join()` (and the
/// destructor) waits for the thread and then loads it, so the work's writes come before
/// whatever the caller reads next.
class WorkerThread : public QThread {
public:
    explicit WorkerThread(std::function<void()> work) : work_(std::move(work)) {}
    ~WorkerThread() override { join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    /// Waits for the work to end; what it wrote may be read after.
    void join()
    {
        wait();
        (void)done_.load(std::memory_order_acquire);
    }

protected:
    void run() override
    {
        work_();
        done_.store(true, std::memory_order_release);
    }

private:
    std::function<void()> work_;
    std::atomic<bool> done_{false};
};
