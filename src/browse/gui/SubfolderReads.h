#pragma once

#include "browse/FolderTree.h"

#include <QObject>
#include <QSet>
#include <memory>

/// Reads the folders of network shares for the folder tree, each on a thread of its own,
/// and hands every read back on the window's thread. A read that never ends (a dead
/// server) holds up nothing: the window may close while it runs.
class SubfolderReads : public QObject {
    Q_OBJECT
public:
    using Reader = std::function<SubfolderRead(const QString& key)>;

    explicit SubfolderReads(QObject* parent = nullptr);
    ~SubfolderReads() override;

    void setReader(Reader reader) { reader_ = std::move(reader); }
    /// Starts reading the folders under `key`, unless a read of it is running.
    void read(const QString& key);
    /// Whether a read of `key` is running.
    [[nodiscard]] bool reading(const QString& key) const { return running_.contains(key); }

Q_SIGNALS:
    void finished(const SubfolderRead& read);
    /// From a reading thread: a read waits in the channel.
    void readWaiting(QPrivateSignal);

private:
    struct Channel;
    void deliverNext();

    Reader reader_ = ReadSubfolders;
    std::shared_ptr<Channel> channel_;
    QSet<QString> running_;
};
