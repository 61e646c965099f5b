#include "browse/gui/SubfolderReads.h"

#include <deque>
#include <mutex>
#include <thread>

/// What a reading thread shares with its owner: the owner, until it goes, and the reads
/// ended but not yet delivered. The reads pass under the lock, not inside the signal,
/// so that the thread sanitizer sees the hand-over.
struct SubfolderReads::Channel {
    std::mutex mutex;
    SubfolderReads* owner = nullptr;
    std::deque<SubfolderRead> ended;
};

SubfolderReads::SubfolderReads(QObject* parent)
    : QObject(parent), channel_(std::make_shared<Channel>())
{
    channel_->owner = this;
    connect(this, &SubfolderReads::readWaiting, this, &SubfolderReads::deliverNext,
            Qt::QueuedConnection);
}

SubfolderReads::~SubfolderReads()
{
    // Reads still running finish into nothing.
    std::lock_guard lock(channel_->mutex);
    channel_->owner = nullptr;
}

void SubfolderReads::read(const QString& key)
{
    if (running_.contains(key) || !reader_)
        return;
    running_.insert(key);
    // Detached: a thread waiting on a dead server must not keep the window from closing.
    std::thread([channel = channel_, reader = reader_, key] {
        SubfolderRead result = reader(key);
        result.key = key;
        std::lock_guard lock(channel->mutex);
        if (SubfolderReads* owner = channel->owner) {
            channel->ended.push_back(std::move(result));
            Q_EMIT owner->readWaiting(QPrivateSignal());
        }
    }).detach();
}

void SubfolderReads::deliverNext()
{
    // One read a signal: a receiver may end this object before the next.
    SubfolderRead read;
    {
        std::lock_guard lock(channel_->mutex);
        if (channel_->ended.empty())
            return;
        read = std::move(channel_->ended.front());
        channel_->ended.pop_front();
    }
    running_.remove(read.key);
    Q_EMIT finished(read);
}
