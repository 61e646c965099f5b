#include "browse/gui/SubfolderReads.h"

#include <mutex>
#include <thread>

/// What a reading thread shares with its owner: the owner, until it goes.
struct SubfolderReads::Channel {
    std::mutex mutex;
    SubfolderReads* owner = nullptr;
};

SubfolderReads::SubfolderReads(QObject* parent)
    : QObject(parent), channel_(std::make_shared<Channel>())
{
    channel_->owner = this;
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
        if (SubfolderReads* owner = channel->owner)
            QMetaObject::invokeMethod(
                owner, [owner, result = std::move(result)] { owner->deliver(result); },
                Qt::QueuedConnection);
    }).detach();
}

void SubfolderReads::deliver(const SubfolderRead& read)
{
    running_.remove(read.key);
    Q_EMIT finished(read);
}
