#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace platform {

/// The helper's end of the pipe: lists of strings, each sent as a count and then every
/// string as a length and its UTF-8 bytes.
class ListSink {
public:
    explicit ListSink(int fd) : fd_(fd) {}
    void send(const QStringList& list);
    /// Ends the stream with a failure; the reading side throws TableSourceError(message).
    void fail(const QString& message);
    void finish();

private:
    void put(char kind, const QStringList& list);
    int fd_;
};

/// What a helper may take. A damaged file can make a library allocate, produce records
/// or write warnings without end; the helper then fails instead.
struct HelperLimits {
    /// Address space the helper may take beyond what it starts with; 0 keeps a fixed
    /// cap of a few gigabytes.
    qint64 memory = 0;
    /// What the helper's lists may take in this process (each string's text and its
    /// own overhead); 0 for no bound.
    qint64 output = 0;
    /// The helper's standard output and error kept (and passed on to this process's
    /// standard error when it ends); the rest is dropped.
    qint64 warnings = qint64(1) << 20;

    /// The limits for a reader of the file at `path`: what a table of that size can need,
    /// a small multiple of the file's size with a floor.
    [[nodiscard]] static HelperLimits forFile(const QString& path);
};

/// Runs a reader of outside files in a forked helper process, so that a crash or an
/// endless loop inside a library ends the helper and not the program. The helper's lists
/// are read one by one as they are needed; the helper is killed when this is destroyed.
class IsolatedRead {
public:
    using Work = std::function<void(ListSink&)>;
    static constexpr std::chrono::milliseconds DefaultSilence{10000};

    /// `work` runs in the helper; a TableSourceError it throws reaches next() with its
    /// message. `silence` is how long the helper may send nothing before it counts as hung.
    explicit IsolatedRead(const Work& work, std::chrono::milliseconds silence = DefaultSilence,
                          HelperLimits limits = {});
    ~IsolatedRead();
    IsolatedRead(const IsolatedRead&) = delete;
    IsolatedRead& operator=(const IsolatedRead&) = delete;

    /// The next list the helper sent; nothing after its last. Throws TableSourceError when
    /// the helper failed, died, or stayed silent too long.
    [[nodiscard]] std::optional<QStringList> next();
    /// Like next(), but the end of the stream is a failure too.
    [[nodiscard]] QStringList nextList();

private:
    [[nodiscard]] QByteArray take(qsizetype count);
    [[noreturn]] void abandon(const char* why);
    void stopHelper();
    void passOnWarnings();
    /// Counts what a list takes here; abandons the read past the output limit.
    void spend(qint64 bytes);

    pid_t pid_ = -1;
    int fd_ = -1;
    int warnings_ = -1; // the helper's standard output and error
    std::chrono::milliseconds silence_;
    HelperLimits limits_;
    qint64 outputTaken_ = 0; // what the lists handed out take here
    QByteArray buffer_;
    qsizetype taken_ = 0; // bytes of buffer_ already handed out
    bool ended_ = false;
};

} // namespace platform
