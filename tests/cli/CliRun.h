#pragma once

#include "common/FileBytes.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

/// What one run of the real lumara-cli gave.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

/// Runs lumara-cli with `args` and waits for it to end.
inline CliRun RunCli(const QStringList& args, int timeoutMs = 60000)
{
    QProcess p;
    p.start(QStringLiteral(LUMARA_CLI), args);
    EXPECT_TRUE(p.waitForFinished(timeoutMs));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
