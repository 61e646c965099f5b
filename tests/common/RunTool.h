#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <sys/types.h>

/// What a program run by RunTool left behind.
struct ToolRun {
    std::optional<int> exitCode; ///< nothing: it could not start, was killed or ran too long
    QByteArray output;           ///< its standard output

    [[nodiscard]] bool succeeded() const { return exitCode == 0; }
};

/// Runs `program` (looked up on PATH) with `arguments` in `folder` (the current folder
/// when empty), input from /dev/null and its errors thrown away, and waits for it at most
/// `timeoutMs`, running `whileWaiting` (when given) every 20 ms meanwhile, e.g. to serve
/// the test's own event loop. Tests make their fixtures with other programs through this rather
/// than QProcess: QProcess starts children in a way the thread sanitizer cannot follow, after which
/// it no longer sees the locks of the test's own threads.
ToolRun RunTool(const QString& program, const QStringList& arguments, const QString& folder = {},
                int timeoutMs = 30000, const std::function<void()>& whileWaiting = {});

/// A program left running while the test needs it (a daemon), started as RunTool starts
/// one; killed when this goes.
class BackgroundTool {
public:
    BackgroundTool(const QString& program, const QStringList& arguments);
    ~BackgroundTool();
    BackgroundTool(const BackgroundTool&) = delete;
    BackgroundTool& operator=(const BackgroundTool&) = delete;

    /// The first line it writes, without its line break; empty when none came in time.
    QByteArray firstLine(int timeoutMs);

private:
    pid_t child_ = -1;
    int output_ = -1;
};
