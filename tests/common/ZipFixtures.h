#pragma once

#include "common/RunTool.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Zips made by other programs than ours: Debian's zip, and python3's zipfile for names
// that zip never stores (backslashes inside a name).

/// Runs `zip -q -r <zipPath> <names...>` in `folder`; false when zip is missing or fails.
inline bool ZipWithTool(const QString& folder, const QString& zipPath, const QStringList& names)
{
    QDir().mkpath(QFileInfo(QDir(folder).absoluteFilePath(zipPath)).path());
    return RunTool(QStringLiteral("zip"),
                   QStringList{QStringLiteral("-q"), QStringLiteral("-r"),
                               QDir(folder).absoluteFilePath(zipPath)} +
                       names,
                   folder)
        .succeeded();
}

/// Writes `zipPath` with python3's zipfile, each entry stored under exactly its name
/// (a "\" stays in the name, as zips made on Windows hold it). False when it fails.
inline bool ZipWithPython(const QString& zipPath,
                          const std::vector<std::pair<QString, QByteArray>>& entries)
{
    const QString script = QStringLiteral(R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    args = sys.argv[2:]
    for name, text in zip(args[0::2], args[1::2]):
        z.writestr(zipfile.ZipInfo(name, (2020, 1, 2, 3, 4, 6)), text)
)");
    QStringList args{QStringLiteral("-c"), script, zipPath};
    for (const auto& [name, content] : entries)
        args << name << QString::fromUtf8(content);
    return RunTool(QStringLiteral("/usr/bin/python3"), args).succeeded() &&
           QFileInfo::exists(zipPath);
}

/// Builds `<folder>/nested.zip` holding `inner.zip`, which holds `a.txt` ("alpha from the
/// inner zip") and `b.txt`, with Debian's zip. False when zip is missing or fails.
inline bool MakeNestedZip(const QString& folder, const QString& scratch)
{
    QDir().mkpath(scratch);
    QDir().mkpath(folder);
    const auto write = [&scratch](const QString& name, const QByteArray& bytes) {
        QFile f(scratch + QLatin1Char('/') + name);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    return write(QStringLiteral("a.txt"), "alpha from the inner zip") &&
           write(QStringLiteral("b.txt"), "beta") &&
           ZipWithTool(scratch, QStringLiteral("inner.zip"),
                       {QStringLiteral("a.txt"), QStringLiteral("b.txt")}) &&
           ZipWithTool(scratch, folder + QStringLiteral("/nested.zip"),
                       {QStringLiteral("inner.zip")});
}
