#include "tools/FindFiles.h"

#include "archive/ZipEntryStream.h"
#include "browse/FileList.h"
#include "browse/NodeClick.h"
#include "browse/Wildcard.h"
#include "platform/CancelKey.h"
#include "platform/FileAccess.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/ContentReadAhead.h"
#include "trees/TreeRebuild.h"

#include <QFile>
#include <QSet>

namespace {

const QString SearchTitle = QStringLiteral("SearchFiles");

QString EntryOfKey(const FileList& state, const QString& key)
{
    return state.setup().currentFolder.isEmpty() || !key.startsWith(state.setup().currentFolder)
               ? key
               : key.mid(state.setup().currentFolder.size());
}

std::vector<NodeTree::Id> FileNodes(const FileList& state)
{
    std::vector<NodeTree::Id> nodes;
    for (const NodeTree::Id id : state.tree().preorder()) {
        if (ClassifyFileNode(state, id) == FileNodeKind::File)
            nodes.push_back(id);
    }
    return nodes;
}

bool IsZipKind(const QString& path, const Settings& settings)
{
    return ClassifyFileKind(ExtensionOf(path), settings) == FileKind::Zip;
}

/// The content criteria over a zip entry as it is unpacked (nothing of it is written).
/// `why` gets the reason when it cannot be read.
int TestZipEntry(const ContentCriteria& criteria, const FoundNode& node, Prompts& prompts,
                 const std::function<void()>& betweenReads, QString& why)
{
    bool readable = true;
    ZipEntryStream entry(node.archive, node.name, prompts);
    const int result = EvaluateCriteriaOnStream(
        criteria, [&entry](char* into, qint64 most) { return entry.read(into, most); },
        betweenReads, &readable);
    if (!readable)
        why = node.archive + u':' + node.name + QStringLiteral(": ") + entry.error();
    return result;
}

/// The content criteria over file `i`, searched ahead; `why` as above.
int TestFile(const ContentCriteria& criteria, ContentReadAhead& ahead, size_t i,
             const QString& path, const std::function<void()>& waiting, QString& why)
{
    const std::optional<std::vector<bool>> found = ahead.take(i, waiting);
    if (!found)
        why = path + QStringLiteral(": ") + platform::fileReadProblem(path);
    return EvaluateCriteria(criteria, found);
}

/// "n files could not be read:" and the first of them with their reasons.
void ReportUnread(const QStringList& unread, Prompts& prompts)
{
    constexpr int Shown = 20;
    QString text = NumText(unread.size()) + QStringLiteral(" files could not be read:");
    for (const QString& line : unread.mid(0, Shown))
        text += LineBreak + line;
    if (unread.size() > Shown)
        text += LineBreak + QStringLiteral("...");
    prompts.message(text, SearchTitle);
}

} // namespace

FoundNode ResolveFoundNode(const FileList& state, NodeTree::Id id)
{
    FoundNode found;
    const NodeTree& tree = state.tree();
    const NodeTree::Id parent = tree.node(id).parent;
    if (parent != NodeTree::None && ClassifyFileNode(state, parent) == FileNodeKind::File) {
        found.archive = tree.key(parent);
        found.name = tree.node(id).text;
        const qsizetype slash = found.archive.lastIndexOf(QLatin1Char('/'));
        found.folder = found.archive.left(slash + 1);
        found.entry = tree.node(id).text;
        return found;
    }
    const QString key = tree.key(id);
    const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
    found.folder = key.left(slash + 1);
    found.name = key.mid(slash + 1);
    found.entry = EntryOfKey(state, key);
    return found;
}

FindOutcome ApplyFind(FileList& state, const Settings& settings, const FindRequest& request,
                      CancelKey& cancel, Prompts& prompts, const FindProgress& progress,
                      const ListChanged& listChanged)
{
    FindOutcome outcome;
    const bool byName = request.namePattern != QLatin1String("*");
    const bool byContent = request.content.count() > 0;
    if (!byName && !byContent) {
        prompts.message(QStringLiteral("no criteria specified"), SearchTitle);
        return outcome;
    }
    const std::vector<NodeTree::Id> nodes =
        state.setup().showsPlaceholder ? std::vector<NodeTree::Id>{} : FileNodes(state);
    if (nodes.empty()) {
        prompts.message(QStringLiteral("nothing to search"));
        outcome.result = FindResult::NothingToSearch;
        return outcome;
    }

    const QString header = state.listedNames().ListCount() > 0 ? state.listedNames().textAt(0)
                                                               : state.setup().currentFolder;
    // The names kept are gathered here and go to the list in one step at the end.
    ListBoy found;
    found.Additem(header);
    const WildcardPattern name(request.namePattern);
    // Everything the loop needs is taken first: the cancel check lets the window run,
    // and the list may change under it.
    struct Candidate {
        FoundNode node;
        QString key, text, image;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(nodes.size());
    for (const NodeTree::Id id : nodes) {
        const NodeTree::Node& n = state.tree().node(id);
        candidates.push_back(
            {ResolveFoundNode(state, id), state.tree().key(id), n.text, state.tree().image(id)});
    }
    std::vector<const Candidate*> keptEntries;
    const auto keep = [&](const Candidate& c) {
        if (c.node.archive.isEmpty())
            found.Additem(c.node.entry);
        else
            keptEntries.push_back(&c);
    };

    // Which candidates pass the name test, and the files among them that are searched
    // on the worker threads (zip entries are unpacked here: they may ask for a password).
    std::vector<char> namePasses(candidates.size());
    std::vector<QString> filesAhead(byContent ? candidates.size() : 0);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const FoundNode& node = candidates[i].node;
        namePasses[i] = !byName || name.matches(node.name.toUpper());
        const bool inZip =
            !node.archive.isEmpty() && request.examineZipped && IsZipKind(node.archive, settings);
        if (byContent && namePasses[i] && !inZip)
            filesAhead[i] = node.folder + node.name;
    }
    ContentReadAhead ahead(request.content, std::move(filesAhead));

    QStringList unread;
    const int total = int(candidates.size());
    for (int i = 0; i < total; ++i) {
        const Candidate& candidate = candidates[size_t(i)];
        const FoundNode& node = candidate.node;
        if (EscapePressed(cancel, prompts)) {
            ahead.stop();
            for (int rest = i; rest < total; ++rest) // untested files stay
                keep(candidates[size_t(rest)]);
            break;
        }
        const bool inZip =
            !node.archive.isEmpty() && request.examineZipped && IsZipKind(node.archive, settings);
        bool passes = true;
        if (!namePasses[size_t(i)]) {
            passes = false;
        } else if (byContent) {
            QString why;
            const auto waiting = [&] {
                if (progress)
                    progress(i, total);
            };
            passes = (inZip ? TestZipEntry(request.content, node, prompts, waiting, why)
                            : TestFile(request.content, ahead, size_t(i), node.folder + node.name,
                                       waiting, why)) != 0;
            if (!why.isEmpty())
                unread.append(why);
        }
        if (passes) {
            ++outcome.kept;
            keep(candidate);
        }
        if (progress)
            progress(i + 1, total);
    }

    outcome.unread = int(unread.size());
    if (!unread.isEmpty())
        ReportUnread(unread, prompts);

    // An archive stays in the list while one of its entries matched.
    QSet<QString> listed;
    for (int i = 1; !keptEntries.empty() && i < found.ListCount(); ++i)
        listed.insert(found.textAt(i));
    for (const Candidate* kept : keptEntries) {
        const QString entry = EntryOfKey(state, kept->node.archive);
        if (!listed.contains(entry)) {
            listed.insert(entry);
            found.Additem(entry);
        }
    }
    const bool none = found.ListCount() <= 1;
    FileList::Edit(state).listedNames() = std::move(found);
    if (none) {
        state.showNoFiles();
        if (listChanged)
            listChanged();
        prompts.message(QStringLiteral("no match found"), SearchTitle);
        outcome.result = FindResult::NoMatch;
        return outcome;
    }
    {
        FileList::Edit edit(state);
        RebuildCurrentTree(state, settings);
        for (const Candidate* kept : keptEntries) {
            if (const NodeTree::Id archive = edit.tree().find(kept->node.archive);
                archive != NodeTree::None)
                edit.tree().add(archive, kept->key, kept->text, kept->image);
        }
    }
    state.setStatusCaption(NumText(outcome.kept) + QStringLiteral(" files"));
    outcome.result = FindResult::Found;
    if (listChanged)
        listChanged();
    prompts.message(NumText(outcome.kept) + QStringLiteral(" matching files found"));
    return outcome;
}
