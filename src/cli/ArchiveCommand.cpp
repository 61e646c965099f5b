#include "cli/ArchiveCommand.h"

#include "archive/ExamineArchive.h"
#include "archive/ExtractZipEntry.h"
#include "archive/ZipEntryStream.h"
#include "archive/ZipJob.h"
#include "cli/NameEscape.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

#include <QStringEncoder>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace cli {
namespace {

/// The boxes a command would have shown, for the user to read on stderr.
void PrintShown(const ScriptedPrompts& prompts, QTextStream& err)
{
    for (const ScriptedPrompts::Shown& s : prompts.shown)
        err << s.title << ": " << EscapeMessage(s.text) << "\n";
}

/// Takes "--name VALUE" out of `args`; "" when absent.
QString TakeOption(QStringList& args, const QString& name)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size())
        return QString();
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

void PrintDetails(const QString& path, ScriptedPrompts& prompts, QTextStream& out)
{
    const QStringList& captions = ArchiveEntryCaptions();
    bool first = true;
    ForEachArchiveEntry(path, prompts, [&](const ArchiveEntry& entry) {
        if (entry.FileName.isEmpty())
            return;
        if (!first)
            out << "\n";
        first = false;
        const QStringList values = EntryDetailValues(entry, path);
        for (qsizetype i = 0; i < values.size(); ++i)
            out << captions.at(i).trimmed() << ": " << values.at(i) << "\n";
    });
}

/// Writes lines to standard output in UTF-8 through one reused buffer, so that a listing
/// of many thousand names is never held in memory.
class Utf8Lines {
public:
    Utf8Lines() : buffer_(std::size_t(1) << 16), at_(buffer_.data()) {}
    ~Utf8Lines() { flush(); }
    Utf8Lines(const Utf8Lines&) = delete;
    Utf8Lines& operator=(const Utf8Lines&) = delete;

    void add(const QString& line)
    {
        const auto need = std::size_t(utf8_.requiredSpace(line.size())) + 1;
        if (std::size_t(buffer_.data() + buffer_.size() - at_) < need) {
            flush();
            buffer_.resize(std::max(buffer_.size(), need));
            at_ = buffer_.data();
        }
        at_ = utf8_.appendToBuffer(at_, line);
        *at_++ = '\n';
    }

private:
    void flush()
    {
        std::fwrite(buffer_.data(), 1, std::size_t(at_ - buffer_.data()), stdout);
        at_ = buffer_.data();
    }

    QStringEncoder utf8_{QStringEncoder::Utf8};
    std::vector<char> buffer_;
    char* at_;
};

} // namespace

int archiveListing(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const bool count = args.size() == 2 && args.first() == QLatin1String("--count");
    const bool details = args.size() == 2 && args.first() == QLatin1String("--details");
    if (!(args.size() == 1 || count || details) || args.last().startsWith(u'-')) {
        err << "lumara-cli archive: give [--count|--details] FILE\n";
        return 2;
    }
    const QString path = platform::absoluteFilePath(args.last());
    if (!platform::pathExists(path)) {
        err << "lumara-cli archive: no such file: " << args.last() << "\n";
        return 1;
    }
    ScriptedPrompts prompts;
    qint64 listed = 0;
    if (details) {
        PrintDetails(path, prompts, out);
    } else if (count) {
        ArchiveSession session;
        session.request = ArchiveRequest::Count;
        ExamineArchive(path, session, prompts);
        out << ArchiveCountText(session) << "\n";
    } else {
        out.flush();
        Utf8Lines lines;
        ForEachArchiveName(path, prompts, [&lines, &listed](const QString& name) {
            lines.add(EscapeName(name));
            ++listed;
        });
    }
    out.flush();
    std::fflush(stdout);
    PrintShown(prompts, err);
    if (!prompts.shown.isEmpty())
        return 1; // the reader reported damage
    if (listed == 0 && !count && !details) {
        // Nothing listed: an empty archive, or one the reader could not make out.
        const ArchiveWalk walk = WalkArchive(path);
        if (!walk.problem.isEmpty() || walk.entries > 0) {
            err << "lumara-cli archive: " << EscapeName(args.last()) << ": nothing listed: "
                << (walk.problem.isEmpty()
                        ? QStringLiteral("its directory is missing or damaged, though ") +
                              QString::number(walk.entries) +
                              QStringLiteral(" entries can be read one by one")
                        : walk.problem)
                << "\n";
            return 1;
        }
    }
    return 0;
}

int unzipEntry(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList args = arguments;
    const bool overwrite = args.removeAll(QStringLiteral("--overwrite")) > 0;
    ExtractLimits limits;
    limits.huge = args.removeAll(QStringLiteral("--allow-huge")) > 0 ? ExtractLimits::Huge::Allow
                                                                     : ExtractLimits::Huge::Refuse;
    ScriptedPrompts prompts;
    const QString password = TakeOption(args, QStringLiteral("--password"));
    if (!password.isEmpty())
        prompts.texts.append(password);
    if (args.size() != 3) {
        err << "lumara-cli unzip: give [--overwrite] [--allow-huge] [--password P] ZIP ENTRY "
               "DIR\n";
        return 2;
    }
    // Without --overwrite an existing file is kept, as a No to "Overwrite ...?" keeps it.
    prompts.answers.append(overwrite ? Prompts::Answer::Yes : Prompts::Answer::No);
    const QString folder = platform::absoluteFilePath(args.at(2));
    const ExtractOutcome outcome = ExtractZipEntry(platform::absoluteFilePath(args.at(0)), folder,
                                                   args.at(1), prompts, ExistingFile::Ask, limits);
    for (const ScriptedPrompts::Shown& s : prompts.shown) {
        if (s.kind != QLatin1String("yesnocancel"))
            err << s.title << ": " << EscapeMessage(s.text) << "\n";
    }
    const QString result =
        platform::absoluteFilePath(folder + u'/' + QString(args.at(1)).replace(u'\\', u'/'));
    switch (outcome) {
    case ExtractOutcome::Extracted:
        out << EscapeName(result) << "\n";
        return 0;
    case ExtractOutcome::Skipped:
        out << "kept (it exists; --overwrite replaces it): " << EscapeName(result) << "\n";
        return 0;
    case ExtractOutcome::NotFound:
        err << "lumara-cli unzip: " << EscapeName(args.at(0)) << " holds no entry "
            << EscapeName(args.at(1)) << "\n";
        return 1;
    default:
        err << "lumara-cli unzip: " << EscapeName(args.at(1)) << " was not extracted\n";
        return 1;
    }
}

int zipFiles(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList args = arguments;
    const QString password = TakeOption(args, QStringLiteral("--password"));
    if (args.size() < 2) {
        err << "lumara-cli zip: give [--password P] OUT.zip FILE...\n";
        return 2;
    }
    // As the basket zips: no folder names, no recursion.
    ZipJob zip;
    zip.ZipFile = platform::absoluteFilePath(args.first());
    zip.StoreFolderNames = false;
    zip.RecurseSubDirs = false;
    zip.ClearFileSpecs();
    bool readable = true;
    for (const QString& file : args.mid(1)) {
        const QString path = platform::absoluteFilePath(file);
        const QString problem = platform::fileReadProblem(path);
        if (!problem.isEmpty()) {
            err << "lumara-cli zip: " << EscapeName(file) << ": " << problem << "\n";
            readable = false;
        }
        zip.AddFileSpec(path);
    }
    if (!readable) {
        err << "lumara-cli zip: " << EscapeName(zip.ZipFile) << " was not written\n";
        return 1;
    }
    if (!password.isEmpty()) {
        zip.Encrypt = true;
        zip.PasswordRequest = [password] { return std::optional<QString>(password); };
    }
    if (!zip.Zip()) {
        err << "lumara-cli zip: " << EscapeName(zip.ZipFile)
            << " was not created: " << zip.LastError << "\n";
        return 1;
    }
    out << EscapeName(zip.ZipFile) << "\n";
    return 0;
}

} // namespace cli
