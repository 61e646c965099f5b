#include "platform/IsolatedRead.h"

#include "platform/TableSource.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdio_ext.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr char ListKind = 'L';
constexpr char FailKind = 'E';
constexpr char EndKind = 'Z';
// Bounds on what the helper claims, so a garbled stream cannot ask for all memory.
#if defined(__SANITIZE_ADDRESS__)
#define LUMARA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMARA_ADDRESS_SANITIZER 1
#endif
#endif

// A damaged file can make a library allocate without end: the helper then fails on its
// own rather than taking the machine's memory. The address sanitizer reserves terabytes
// of address space up front, so a checking build goes without the cap.
constexpr rlim_t HelperAddressSpace = rlim_t(4) << 30;

// What a table of a file's size can need: a small multiple of the size, with floors for
// the libraries' own needs and for small files.
constexpr qint64 MemoryPerFileByte = 8;
constexpr qint64 LeastMemory = qint64(256) << 20;
constexpr qint64 OutputPerFileByte = 8;
constexpr qint64 LeastOutput = qint64(64) << 20;

constexpr quint32 MostStrings = 1u << 24;
constexpr quint32 LongestString = 1u << 28;

void AppendNumber(QByteArray& out, quint32 n)
{
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
}

quint32 NumberAt(const QByteArray& bytes)
{
    quint32 n = 0;
    std::memcpy(&n, bytes.constData(), sizeof n);
    return n;
}

#ifndef LUMARA_ADDRESS_SANITIZER
/// The address space this process holds now; 0 when it cannot be told.
rlim_t CurrentAddressSpace()
{
    char text[128] = {};
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0)
        return 0;
    return rlim_t(std::strtoull(text, nullptr, 10)) * rlim_t(::sysconf(_SC_PAGESIZE));
}
#endif

/// In the helper, before its work: standard output and error go to `warnings` and stop
/// growing at the limit (writes past it fail instead of ending the helper), and the
/// address space may grow by the memory limit only.
void CapHelper(const HelperLimits& limits, int warnings)
{
    if (warnings >= 0) {
        // What the program had not yet written is its own, not the helper's.
        __fpurge(stdout);
        __fpurge(stderr);
        ::dup2(warnings, STDOUT_FILENO);
        ::dup2(warnings, STDERR_FILENO);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{rlim_t(limits.warnings), rlim_t(limits.warnings)};
        ::setrlimit(RLIMIT_FSIZE, &size);
    }
#ifndef LUMARA_ADDRESS_SANITIZER
    rlim_t space = HelperAddressSpace;
    if (const rlim_t now = CurrentAddressSpace(); limits.memory > 0 && now > 0)
        space = now + rlim_t(limits.memory);
    const rlimit cap{space, space};
    ::setrlimit(RLIMIT_AS, &cap);
#else
    (void)HelperAddressSpace;
#endif
}

} // namespace

HelperLimits HelperLimits::forFile(const QString& path)
{
    struct stat info {};
    const qint64 size =
        ::stat(QFile::encodeName(path).constData(), &info) == 0 ? qint64(info.st_size) : 0;
    HelperLimits limits;
    limits.memory = std::max(LeastMemory, MemoryPerFileByte * size);
    limits.output = std::max(LeastOutput, OutputPerFileByte * size);
    return limits;
}

void ListSink::put(char kind, const QStringList& list)
{
    QByteArray frame;
    frame.append(kind);
    AppendNumber(frame, quint32(list.size()));
    for (const QString& text : list) {
        const QByteArray bytes = text.toUtf8();
        AppendNumber(frame, quint32(bytes.size()));
        frame.append(bytes);
    }
    const char* at = frame.constData();
    qsizetype left = frame.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, at, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            _exit(1); // the reading side has gone
        at += written;
        left -= written;
    }
}

void ListSink::send(const QStringList& list)
{
    put(ListKind, list);
}

void ListSink::fail(const QString& message)
{
    put(FailKind, {message});
}

void ListSink::finish()
{
    put(EndKind, {});
}

IsolatedRead::IsolatedRead(const Work& work, std::chrono::milliseconds silence, HelperLimits limits)
    : silence_(silence), limits_(limits)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw TableSourceError("no pipe for the reader");
    warnings_ = ::memfd_create("lumara-reader-warnings", MFD_CLOEXEC);
    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        if (warnings_ >= 0)
            ::close(warnings_);
        throw TableSourceError("no process for the reader");
    }
    if (pid_ == 0) {
        // The helper: only its own work, then out without the parent's exit handlers.
        ::close(ends[0]);
        CapHelper(limits_, warnings_);
        ListSink sink(ends[1]);
        try {
            work(sink);
            sink.finish();
        } catch (const TableSourceError& e) {
            sink.fail(QString::fromUtf8(e.what()));
        } catch (...) {
            sink.fail(QStringLiteral("reader failed"));
        }
        _exit(0);
    }
    ::close(ends[1]);
    fd_ = ends[0];
}

IsolatedRead::~IsolatedRead()
{
    stopHelper();
}

void IsolatedRead::stopHelper()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    pid_ = -1;
    passOnWarnings();
}

void IsolatedRead::passOnWarnings()
{
    if (warnings_ < 0)
        return;
    char chunk[65536];
    off_t at = 0;
    while (at < limits_.warnings) {
        const size_t want = size_t(std::min<qint64>(qint64(sizeof chunk), limits_.warnings - at));
        const ssize_t got = ::pread(warnings_, chunk, want, at);
        if (got <= 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t written = ::write(STDERR_FILENO, chunk + done, size_t(got - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                done = got;
                at = limits_.warnings; // standard error is gone: stop
                break;
            }
            done += written;
        }
        at += got;
    }
    ::close(warnings_);
    warnings_ = -1;
}

void IsolatedRead::spend(qint64 bytes)
{
    outputTaken_ += bytes;
    if (limits_.output > 0 && outputTaken_ > limits_.output)
        abandon("the reader's output is larger than the file can hold");
}

void IsolatedRead::abandon(const char* why)
{
    stopHelper();
    ended_ = true;
    throw TableSourceError(why);
}

QByteArray IsolatedRead::take(qsizetype count)
{
    while (buffer_.size() - taken_ < count) {
        pollfd wait{fd_, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(silence_.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            abandon("the reader did not answer");
        if (taken_ > 0) {
            buffer_.remove(0, taken_);
            taken_ = 0;
        }
        char chunk[65536];
        const ssize_t got = ::read(fd_, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            abandon("the reader stopped");
        buffer_.append(chunk, got);
    }
    QByteArray bytes = buffer_.mid(taken_, count);
    taken_ += count;
    return bytes;
}

std::optional<QStringList> IsolatedRead::next()
{
    if (ended_)
        return std::nullopt;
    const char kind = take(1).at(0);
    const quint32 count = NumberAt(take(4));
    if (count > MostStrings)
        abandon("garbled reader output");
    spend(qint64(sizeof(QStringList)) + qint64(count) * qint64(sizeof(QString)));
    QStringList list;
    list.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint32 length = NumberAt(take(4));
        if (length > LongestString)
            abandon("garbled reader output");
        spend(2 * qint64(length)); // at most one UTF-16 unit for each byte
        list << QString::fromUtf8(take(length));
    }
    switch (kind) {
    case ListKind:
        return list;
    case EndKind:
        stopHelper();
        ended_ = true;
        return std::nullopt;
    case FailKind:
        stopHelper();
        ended_ = true;
        throw TableSourceError(list.value(0).toStdString());
    default:
        abandon("garbled reader output");
    }
}

QStringList IsolatedRead::nextList()
{
    std::optional<QStringList> list = next();
    if (!list)
        throw TableSourceError("the reader ended early");
    return *list;
}

} // namespace platform
