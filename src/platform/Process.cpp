#include "platform/Process.h"

#include "platform/FileNames.h"

#include <QByteArray>
#include <QList>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

/// Everything the child needs, made before the fork: after it, a child of a threaded
/// program may call only async-signal-safe functions.
struct Launch {
    Launch(const QString& program, const QStringList& arguments, const QString& folder)
        : folder(encodeFileName(folder))
    {
        bytes.append(encodeFileName(program));
        for (const QString& argument : arguments)
            bytes.append(encodeFileName(argument));
        for (QByteArray& b : bytes)
            argv.push_back(b.data());
        argv.push_back(nullptr);
    }

    /// In the child: enters the folder, sets the standard channels and runs the program.
    /// Writes errno to `report` and ends when that fails.
    [[noreturn]] void exec(int report, bool quiet) const
    {
        ::signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            if (quiet) {
                ::dup2(null, 1);
                ::dup2(null, 2);
            }
        }
        if (folder.isEmpty() || ::chdir(folder.constData()) == 0)
            ::execve(argv[0], argv.data(), environ);
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
        ::_exit(127);
    }

    QList<QByteArray> bytes;
    std::vector<char*> argv;
    QByteArray folder;
};

/// Reads the child's report: true when the pipe closed empty, i.e. the exec succeeded.
bool execSucceeded(int report)
{
    int error = 0;
    ssize_t got;
    do {
        got = ::read(report, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report);
    return got == 0;
}

pid_t waitFor(pid_t child, int* status, int flags)
{
    pid_t done;
    do {
        done = ::waitpid(child, status, flags);
    } while (done < 0 && errno == EINTR);
    return done;
}

} // namespace

bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder)
{
    const Launch launch(program, arguments, workingFolder);
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return false;
    // A middle child starts the program and ends at once, so the program is adopted by
    // init and never becomes a zombie of ours.
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(pipe[0]);
        ::setsid();
        const pid_t program = ::fork();
        if (program == 0)
            launch.exec(pipe[1], false);
        if (program < 0) {
            const int error = errno;
            [[maybe_unused]] const ssize_t written = ::write(pipe[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    if (middle < 0) {
        ::close(pipe[0]);
        return false;
    }
    const bool started = execSucceeded(pipe[0]);
    waitFor(middle, nullptr, 0);
    return started;
}

std::optional<int> runAndWait(const QString& program, const QStringList& arguments, int timeoutMs)
{
    const Launch launch(program, arguments, QString());
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0)
        launch.exec(pipe[1], true);
    ::close(pipe[1]);
    if (child < 0) {
        ::close(pipe[0]);
        return std::nullopt;
    }
    if (!execSucceeded(pipe[0])) {
        waitFor(child, nullptr, 0);
        return std::nullopt;
    }
    int status = 0;
    constexpr int StepMs = 10;
    for (int waited = 0;; waited += StepMs) {
        if (waitFor(child, &status, WNOHANG) == child)
            break;
        if (waited >= timeoutMs) {
            ::kill(child, SIGKILL);
            waitFor(child, nullptr, 0);
            return std::nullopt;
        }
        QThread::msleep(StepMs);
    }
    if (!WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

} // namespace platform
