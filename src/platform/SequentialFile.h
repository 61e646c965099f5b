#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {

/// A regular file read once from start to end, straight from the system with no buffer
/// of its own: for searches that read thousands of files, where every call counts.
/// Pipes, sockets, devices and folders are refused without blocking, as openForReading
/// refuses them.
class SequentialFile {
public:
    explicit SequentialFile(const QString& path);
    ~SequentialFile();
    SequentialFile(const SequentialFile&) = delete;
    SequentialFile& operator=(const SequentialFile&) = delete;

    /// False when the path names no regular file that can be opened for reading.
    [[nodiscard]] bool isOpen() const { return fd_ >= 0; }
    /// The length when it was opened: a file that grows meanwhile is read that far only.
    [[nodiscard]] qint64 size() const { return size_; }
    /// Reads up to `most` bytes: the count, 0 at the end, -1 on an error.
    [[nodiscard]] qint64 read(char* into, qint64 most);

private:
    int fd_ = -1;
    qint64 size_ = 0;
    qint64 left_ = 0;
};

} // namespace platform
