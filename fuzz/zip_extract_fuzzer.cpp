// Extracting every entry of a zip made of arbitrary bytes: whatever its names, links
// and sizes say, nothing may land outside the destination folder.
#include "archive/ExamineArchive.h"
#include "archive/ExtractZipEntry.h"
#include "platform/FolderWalk.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Enough names to reach links and nested folders; a zip of thousands would only repeat.
constexpr int MostEntries = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString base =
        QDir::tempPath() +
        QStringLiteral("/lumara-fuzz-extract-%1").arg(QCoreApplication::applicationPid());
    const QString zip = base + QStringLiteral("/input.zip");
    const QString into = base + QStringLiteral("/into");
    platform::removeFolderTree(base);
    if (!QDir().mkpath(into))
        return 0;
    {
        QFile file(zip);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ScriptedPrompts prompts;
    QStringList names;
    ForEachArchiveName(zip, prompts, [&names](const QString& name) {
        if (names.size() < MostEntries)
            names.append(name);
    });
    for (const QString& name : names) {
        // Replace what an earlier entry of the same name left; passwords stay unknown.
        prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::Yes};
        ExtractZipEntry(zip, into, name, prompts);
    }
    // Only the input and the destination may be beside each other.
    int beside = 0;
    platform::walkFolder(base, {.recurse = false, .includeHidden = true, .followLinks = false},
                         [&beside](const platform::WalkedEntry&) { ++beside; });
    const QStringList links =
        QDir(base).entryList(QDir::System | QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (beside != 2 || links.size() != 2)
        std::abort();
    return 0;
}
