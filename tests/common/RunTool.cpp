#include "common/RunTool.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

/// Everything the child needs, made before the fork: after it only exec-safe calls run.
struct Command {
    std::vector<QByteArray> words;
    std::vector<char*> argv;
    QByteArray folder;

    Command(const QString& program, const QStringList& arguments, const QString& where)
        : folder(where.toLocal8Bit())
    {
        words.push_back(program.toLocal8Bit());
        for (const QString& argument : arguments)
            words.push_back(argument.toLocal8Bit());
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
    }

    [[noreturn]] void exec(int output) const
    {
        const int nothing = ::open("/dev/null", O_RDWR);
        if (nothing < 0 || ::dup2(nothing, STDIN_FILENO) < 0 || ::dup2(output, STDOUT_FILENO) < 0 ||
            ::dup2(nothing, STDERR_FILENO) < 0 ||
            (!folder.isEmpty() && ::chdir(folder.constData()) != 0))
            ::_exit(127);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
};

} // namespace

ToolRun RunTool(const QString& program, const QStringList& arguments, const QString& folder,
                int timeoutMs)
{
    const Command command(program, arguments, folder);
    ToolRun run;
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return run;
    const pid_t child = ::fork();
    if (child == 0)
        command.exec(pipe[1]);
    ::close(pipe[1]);
    if (child < 0) {
        ::close(pipe[0]);
        return run;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool timedOut = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd readable{pipe[0], POLLIN, 0};
        const int ready = ::poll(&readable, 1, int(std::max<long long>(0, left.count())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            timedOut = true;
            break;
        }
        char buffer[65536];
        const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        run.output.append(buffer, got);
    }
    ::close(pipe[0]);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!timedOut && WIFEXITED(status) && WEXITSTATUS(status) != 127)
        run.exitCode = WEXITSTATUS(status);
    return run;
}
