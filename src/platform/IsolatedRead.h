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

    static constexpr char ListKind = 'L';
    static constexpr char FailKind = 'E';
    static constexpr char EndKind = 'Z';

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

/// The helper program's side: its standard output and error stop growing at the warnings
/// limit, its address space may grow by the memory limit only, and its lists go to the
/// descriptor the reading side gave it.
class HelperSide {
public:
    /// What the reading side passes ahead of the request on the helper's command line.
    [[nodiscard]] static QStringList limitArguments(const HelperLimits& limits);
    /// Takes the limits off `arguments` (as limitArguments() put them) and applies them to
    /// this process; what is left is the request. False when the arguments are garbled.
    [[nodiscard]] static bool applyLimits(QStringList& arguments);
    /// The descriptor the helper's lists go to.
    static constexpr int ListDescriptor = 3;
};

/// For a helper program's main(): applies the limits its command line carries, runs
/// `work` on the request and ends the stream. A TableSourceError that `work` throws
/// reaches the reading side with its message. Returns the helper's exit status.
int RunHelper(int argc, char** argv,
              const std::function<void(ListSink&, const QStringList&)>& work);

/// The table reader program: beside the running program in a build, in the library
/// folder of an installation; LUMARA_TABLE_HELPER names another.
[[nodiscard]] QString TableHelperProgram();

/// Runs a reader of outside files in a helper program of its own, so that a crash or an
/// endless loop inside a library ends the helper and not the program. The helper's lists
/// are read one by one as they are needed; the helper is killed when this is destroyed.
class IsolatedRead {
public:
    static constexpr std::chrono::milliseconds DefaultSilence{10000};

    /// Starts `program` (the table helper unless named) with `request` as its arguments.
    /// `silence` is how long the helper may send nothing before it counts as hung.
    /// Throws TableSourceError when the helper cannot start.
    explicit IsolatedRead(const QStringList& request,
                          std::chrono::milliseconds silence = DefaultSilence,
                          HelperLimits limits = {}, const QString& program = TableHelperProgram());
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
