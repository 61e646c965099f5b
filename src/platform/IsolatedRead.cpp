#include "platform/IsolatedRead.h"

#include "platform/FileNames.h"
#include "platform/Logging.h"
#include "platform/ReplaceProcess.h"
#include "platform/TableSource.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

// What a table of a file's size can need: a small multiple of the size, with floors for
// the libraries' own needs and for small files.
constexpr qint64 MemoryPerFileByte = 8;
constexpr qint64 LeastMemory = qint64(256) << 20;
constexpr qint64 OutputPerFileByte = 8;
constexpr qint64 LeastOutput = qint64(64) << 20;

// Bounds on what the helper claims, so a garbled stream cannot ask for all memory.
constexpr quint32 MostStrings = 1u << 24;
constexpr quint32 LongestString = 1u << 28;

quint32 NumberAt(const QByteArray& bytes)
{
    quint32 n = 0;
    std::memcpy(&n, bytes.constData(), sizeof n);
    return n;
}

/// A copy of `fd` numbered above the standard streams and the helper's list descriptor,
/// so that handing them to the helper cannot overwrite one with another.
int HighDescriptor(int fd)
{
    const int high = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
    ::close(fd);
    return high;
}

/// The helper started with `arguments` (argv[0] first), its lists going to `listEnd` and
/// its standard output and error to `warnings` (when there is one); -1 with errno set
/// when it cannot start.
pid_t SpawnHelper(const QByteArray& program, const QList<QByteArray>& arguments, int listEnd,
                  int warnings)
{
    std::vector<char*> argv;
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (warnings >= 0) {
        posix_spawn_file_actions_adddup2(&files, warnings, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&files, warnings, STDERR_FILENO);
    }
    posix_spawn_file_actions_adddup2(&files, listEnd, HelperSide::ListDescriptor);
    // Nothing else of this process reaches the helper, whatever forgot close-on-exec.
    posix_spawn_file_actions_addclosefrom_np(&files, HelperSide::ListDescriptor + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, program.constData(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return pid;
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

QString TableHelperProgram()
{
    const QString chosen = qEnvironmentVariable("LUMARA_TABLE_HELPER");
    if (!chosen.isEmpty())
        return chosen;
    const QString here = ExecutableFolder();
    const QString beside = here + QStringLiteral("/lumara-table-helper");
    if (::access(QFile::encodeName(beside).constData(), X_OK) == 0)
        return beside;
    return here + QStringLiteral("/" LUMARA_TABLE_HELPER_FROM_BINDIR "/lumara-table-helper");
}

IsolatedRead::IsolatedRead(const QStringList& request, std::chrono::milliseconds silence,
                           HelperLimits limits, const QString& program)
    : silence_(silence), limits_(limits)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw TableSourceError("no pipe for the reader");
    ends[0] = HighDescriptor(ends[0]);
    ends[1] = HighDescriptor(ends[1]);
    const int memory = ::memfd_create("lumara-reader-warnings", MFD_CLOEXEC);
    warnings_ = memory >= 0 ? HighDescriptor(memory) : -1;

    QList<QByteArray> arguments{encodeFileName(program)};
    for (const QString& argument : HelperSide::limitArguments(limits_) + request)
        arguments << encodeFileName(argument);
    pid_ = ends[0] >= 0 && ends[1] >= 0
               ? SpawnHelper(arguments.front(), arguments, ends[1], warnings_)
               : -1;
    const int spawnError = errno;
    ::close(ends[1]);
    if (pid_ < 0) {
        if (ends[0] >= 0)
            ::close(ends[0]);
        if (warnings_ >= 0)
            ::close(warnings_);
        warnings_ = -1;
        throw TableSourceError("the reader cannot start: " + program.toStdString() + ": " +
                               std::strerror(spawnError));
    }
    fd_ = ends[0];
    qCDebug(lcPlatform) << "table helper" << pid_ << "reads" << request;
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
    qCDebug(lcPlatform) << "table helper" << pid_ << "abandoned:" << why;
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
    case ListSink::ListKind:
        return list;
    case ListSink::EndKind:
        stopHelper();
        ended_ = true;
        return std::nullopt;
    case ListSink::FailKind:
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
