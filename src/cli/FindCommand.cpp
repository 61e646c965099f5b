#include "cli/FindCommand.h"

#include "archive/ExamineArchive.h"
#include "browse/NodeClick.h"
#include "cli/ListCommand.h"
#include "cli/NameEscape.h"
#include "controls/TreeText.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/FindFiles.h"

#include <QTemporaryDir>

namespace cli {
namespace {

/// Nothing cancels a command-line search.
class NoCancel : public CancelKey {
public:
    bool pressed() override { return false; }
    void clear() override {}
};

struct FindOptions {
    QString name;
    std::array<QString, ContentBoxCount> boxes;
    std::array<QString, ContentBoxCount> connectors;
    int filled = 0;
    bool zip = false;
};

/// Takes the find options out of `args`; the rest are list options. False on an error.
bool takeFindOptions(QStringList& args, FindOptions& options, QTextStream& err)
{
    QStringList rest;
    QString pendingConnector;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--name" || arg == u"--content") {
            if (i + 1 >= args.size()) {
                err << "lumara-cli find: " << arg << " needs a value\n";
                return false;
            }
            const QString value = args[++i];
            if (arg == u"--name") {
                options.name = value;
                continue;
            }
            if (options.filled >= ContentBoxCount) {
                err << "lumara-cli find: at most " << ContentBoxCount << " --content criteria\n";
                return false;
            }
            options.boxes[size_t(options.filled)] = value;
            options.connectors[size_t(options.filled)] = pendingConnector;
            pendingConnector.clear();
            ++options.filled;
        } else if (arg == u"--and" || arg == u"--or") {
            pendingConnector = arg == u"--and" ? QStringLiteral("AND") : QStringLiteral("OR");
        } else if (arg == u"--zip") {
            options.zip = true;
        } else {
            rest << arg;
        }
    }
    args = rest;
    return true;
}

/// Adds the entries of every zip-kind archive in the list as children of its node.
void expandArchives(FileList& state, const Settings& settings, Prompts& prompts)
{
    state.rebuildTree([&](NodeTree& tree) {
        for (const NodeTree::Id id : tree.preorder()) {
            if (ClassifyFileNode(state, id) != FileNodeKind::File)
                continue;
            const QString path = tree.key(id);
            if (ClassifyFileKind(ExtensionOf(path), settings) != FileKind::Zip)
                continue;
            for (const QString& entry : ArchiveEntryNames(path, prompts))
                tree.add(id, path + QLatin1Char(':') + entry, entry);
        }
    });
}

} // namespace

int findFiles(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QStringList args = arguments;
    FindOptions options;
    if (!takeFindOptions(args, options, err))
        return 2;
    FileList state;
    Settings settings;
    if (const int status = listFromArgs(args, state, settings, err, QStringLiteral("find"));
        status >= 0)
        return status;

    FindRequest request;
    request.namePattern = FindNamePattern(options.name);
    request.content = BuildContentCriteria(options.boxes, options.connectors);
    request.examineZipped = options.zip;
    ScriptedPrompts prompts;
    QTemporaryDir temp;
    settings.tempFolder = settings.workFolder = WithSlash(temp.path());
    if (options.zip)
        expandArchives(state, settings, prompts);

    NoCancel cancel;
    const FindOutcome outcome = ApplyFind(state, settings, request, cancel, prompts);
    if (outcome.result == FindResult::NoCriteria) {
        err << "no criteria specified\n";
        return 1;
    }
    if (outcome.result != FindResult::NothingToSearch)
        WriteTreeText(state.tree(), out, u"\n", NodeTree::None, EscapeName);
    for (const ScriptedPrompts::Shown& shown : prompts.shown) {
        if (!shown.text.endsWith(QLatin1String(" matching files found")))
            err << EscapeMessage(shown.text) << "\n";
    }
    out.flush();
    return outcome.unread > 0 ? 1 : 0;
}

} // namespace cli
