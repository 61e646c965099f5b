#include "platform/WorkerThread.h"

WorkerThread::WorkerThread(std::function<void()> work, QObject* parent)
    : QObject(parent), work_(std::move(work))
{}

WorkerThread::~WorkerThread()
{
    join();
}

void WorkerThread::start()
{
    thread_ = std::thread([this] {
        work_();
        Q_EMIT finished();
    });
}

void WorkerThread::join()
{
    if (thread_.joinable())
        thread_.join();
}
