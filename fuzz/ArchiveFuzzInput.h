#pragma once

#include "archive/ExamineArchive.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>

/// Writes the input to a fixed file with the given extension (the readers read files),
/// lists it as an archive node would and builds every entry's details; every question
/// is answered Retry so that the readers' retry paths run too.
inline void FuzzArchiveReader(const uint8_t* data, size_t size, const char* ext)
{
    const QString path = QDir::tempPath() + QStringLiteral("/lumara-fuzz-%1.%2")
                                                .arg(QCoreApplication::applicationPid())
                                                .arg(QLatin1String(ext));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ScriptedPrompts prompts;
    for (int i = 0; i < 64; ++i)
        prompts.answers.append(Prompts::Answer::Retry);
    ArchiveSession session;
    ExamineArchive(path, session, prompts);
    ForEachArchiveEntry(path, prompts,
                        [&](const ArchiveEntry& entry) { (void)EntryDetailValues(entry, path); });
    session.request = ArchiveRequest::Count;
    ExamineArchive(path, session, prompts);
}
