#include "common/RunTool.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <utility>
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

/// Starts `command` with its output into a pipe; the child and the pipe's reading end,
/// or -1 for the child when it could not start.
std::pair<pid_t, int> Start(const Command& command)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return {-1, -1};
    const pid_t child = ::fork();
    if (child == 0)
        command.exec(pipe[1]);
    ::close(pipe[1]);
    if (child < 0) {
        ::close(pipe[0]);
        return {-1, -1};
    }
    return {child, pipe[0]};
}

// How often a waiting RunTool calls back.
constexpr int CallbackStepMs = 20;

} // namespace

ToolRun RunTool(const QString& program, const QStringList& arguments, const QString& folder,
                int timeoutMs, const std::function<void()>& whileWaiting)
{
    ToolRun run;
    const auto [child, output] = Start(Command(program, arguments, folder));
    if (child < 0)
        return run;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool timedOut = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        long long waitMs = std::max<long long>(0, left.count());
        if (whileWaiting)
            waitMs = std::min<long long>(waitMs, CallbackStepMs);
        pollfd readable{output, POLLIN, 0};
        const int ready = ::poll(&readable, 1, int(waitMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0 && whileWaiting && left.count() > 0) {
            whileWaiting();
            continue;
        }
        if (ready <= 0) {
            timedOut = true;
            break;
        }
        char buffer[65536];
        const ssize_t got = ::read(output, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        run.output.append(buffer, got);
    }
    ::close(output);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!timedOut && WIFEXITED(status) && WEXITSTATUS(status) != 127)
        run.exitCode = WEXITSTATUS(status);
    return run;
}

BackgroundTool::BackgroundTool(const QString& program, const QStringList& arguments)
{
    std::tie(child_, output_) = Start(Command(program, arguments, {}));
}

BackgroundTool::~BackgroundTool()
{
    if (child_ < 0)
        return;
    ::close(output_);
    ::kill(child_, SIGKILL);
    while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

QByteArray BackgroundTool::firstLine(int timeoutMs)
{
    QByteArray line;
    char c = 0;
    while (child_ >= 0) {
        pollfd readable{output_, POLLIN, 0};
        if (::poll(&readable, 1, timeoutMs) <= 0 || ::read(output_, &c, 1) != 1 || c == '\n')
            break;
        line.append(c);
    }
    return line;
}
