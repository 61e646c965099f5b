#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

/// What a program run by RunTool left behind.
struct ToolRun {
    std::optional<int> exitCode; ///< nothing: it could not start, was killed or ran too long
    QByteArray output;           ///< its standard output

    [[nodiscard]] bool succeeded() const { return exitCode == 0; }
};

/// Runs `program` (looked up on PATH) with `arguments` in `folder` (the current folder
/// when empty), input from /dev/null and its errors thrown away, and waits for it at most
/// `timeoutMs`. Tests make their fixtures with other programs through this rather than
/// QProcess: QProcess starts children in a way the thread sanitizer cannot follow, after
/// which it no longer sees the locks of the test's own threads.
ToolRun RunTool(const QString& program, const QStringList& arguments, const QString& folder = {},
                int timeoutMs = 30000);
