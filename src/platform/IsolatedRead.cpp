#include "platform/IsolatedRead.h"

#include "platform/TableSource.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
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

} // namespace

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

IsolatedRead::IsolatedRead(const Work& work, std::chrono::milliseconds silence) : silence_(silence)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw TableSourceError("no pipe for the reader");
    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        throw TableSourceError("no process for the reader");
    }
    if (pid_ == 0) {
        // The helper: only its own work, then out without the parent's exit handlers.
        ::close(ends[0]);
#ifndef LUMARA_ADDRESS_SANITIZER
        const rlimit cap{HelperAddressSpace, HelperAddressSpace};
        ::setrlimit(RLIMIT_AS, &cap);
#endif
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
    QStringList list;
    list.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint32 length = NumberAt(take(4));
        if (length > LongestString)
            abandon("garbled reader output");
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
