#include "platform/FileNames.h"
#include "platform/IsolatedRead.h"
#include "platform/TableSource.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMARA_SANITIZER_RESERVES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LUMARA_SANITIZER_RESERVES 1
#endif
#endif

// A damaged file can make a library allocate without end: the helper then fails on its
// own rather than taking the machine's memory. The address and thread sanitizers reserve
// terabytes of address space up front, so a checking build goes without the cap.
constexpr rlim_t HelperAddressSpace = rlim_t(4) << 30;

const QString MemoryOption = QStringLiteral("--memory=");
const QString WarningsOption = QStringLiteral("--warnings=");

void AppendNumber(QByteArray& out, quint32 n)
{
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
}

#ifndef LUMARA_SANITIZER_RESERVES
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

/// Writes past the warnings limit fail instead of ending the helper; the address space
/// may grow by the memory limit only.
void CapHelper(qint64 memory, qint64 warnings)
{
    if (warnings > 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{rlim_t(warnings), rlim_t(warnings)};
        ::setrlimit(RLIMIT_FSIZE, &size);
    }
#ifndef LUMARA_SANITIZER_RESERVES
    rlim_t space = HelperAddressSpace;
    if (const rlim_t now = CurrentAddressSpace(); memory > 0 && now > 0)
        space = now + rlim_t(memory);
    const rlimit cap{space, space};
    ::setrlimit(RLIMIT_AS, &cap);
#else
    (void)memory;
    (void)HelperAddressSpace;
#endif
}

/// The number after `option` at the front of `arguments`, taken off; nothing when absent.
std::optional<qint64> TakeNumber(QStringList& arguments, const QString& option)
{
    if (arguments.isEmpty() || !arguments.front().startsWith(option))
        return std::nullopt;
    bool ok = false;
    const qint64 n = arguments.front().mid(option.size()).toLongLong(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    arguments.removeFirst();
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

QStringList HelperSide::limitArguments(const HelperLimits& limits)
{
    return {MemoryOption + QString::number(limits.memory),
            WarningsOption + QString::number(limits.warnings)};
}

bool HelperSide::applyLimits(QStringList& arguments)
{
    const std::optional<qint64> memory = TakeNumber(arguments, MemoryOption);
    const std::optional<qint64> warnings = TakeNumber(arguments, WarningsOption);
    if (!memory || !warnings)
        return false;
    CapHelper(*memory, *warnings);
    return true;
}

int RunHelper(int argc, char** argv, const std::function<void(ListSink&, const QStringList&)>& work)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << decodeFileName(argv[i]); // the reading side encodes them as names
    if (::fcntl(HelperSide::ListDescriptor, F_GETFD) < 0 || !HelperSide::applyLimits(arguments)) {
        std::fputs("this program is started by Lumara to read tables\n", stderr);
        return 2;
    }
    ListSink sink(HelperSide::ListDescriptor);
    try {
        work(sink, arguments);
        sink.finish();
    } catch (const TableSourceError& e) {
        sink.fail(QString::fromUtf8(e.what()));
    } catch (...) {
        sink.fail(QStringLiteral("reader failed"));
    }
    // Out without exit handlers: the libraries' teardown is no business of the reader's.
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(0);
}

} // namespace platform
