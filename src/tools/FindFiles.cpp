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

struct FindRun::Search {
    Search(const Settings& s, const FindRequest& r) : settings(s), request(r) {}
    struct Candidate {
        FoundNode node;
        QString key, text, image;
    };
    Settings settings; ///< a copy: the options may change while the search runs
    FindRequest request;
    bool byContent = false;
    std::vector<Candidate> candidates;
    std::vector<char> namePasses;
    std::unique_ptr<ContentReadAhead> ahead;
    size_t next = 0;
    /// The names kept, gathered here; they go to the list in one step at the end.
    ListBoy found;
    std::vector<size_t> keptEntries;
    QStringList unread;

    bool inZip(const FoundNode& node) const
    {
        return !node.archive.isEmpty() && request.examineZipped &&
               IsZipKind(node.archive, settings);
    }
    void keep(size_t i)
    {
        if (candidates[i].node.archive.isEmpty())
            found.Additem(candidates[i].node.entry);
        else
            keptEntries.push_back(i);
    }
};

FindRun::FindRun(const FileList& state, const Settings& settings, const FindRequest& request,
                 Prompts& prompts)
{
    const bool byName = request.namePattern != QLatin1String("*");
    const bool byContent = request.content.count() > 0;
    if (!byName && !byContent) {
        prompts.message(QStringLiteral("no criteria specified"), SearchTitle);
        return;
    }
    const std::vector<NodeTree::Id> nodes =
        state.setup().showsPlaceholder ? std::vector<NodeTree::Id>{} : FileNodes(state);
    if (nodes.empty()) {
        prompts.message(QStringLiteral("nothing to search"));
        outcome_.result = FindResult::NothingToSearch;
        return;
    }
    search_ = std::make_unique<Search>(settings, request);
    Search& s = *search_;
    s.byContent = byContent;
    s.found.Additem(state.listedNames().ListCount() > 0 ? state.listedNames().textAt(0)
                                                        : state.setup().currentFolder);
    s.candidates.reserve(nodes.size());
    for (const NodeTree::Id id : nodes) {
        const NodeTree::Node& n = state.tree().node(id);
        s.candidates.push_back(
            {ResolveFoundNode(state, id), state.tree().key(id), n.text, state.tree().image(id)});
    }
    // Which candidates pass the name test, and the files among them that are searched
    // on the worker threads (zip entries are unpacked here: they may ask for a password).
    const WildcardPattern name(request.namePattern);
    s.namePasses.resize(s.candidates.size());
    std::vector<QString> filesAhead(byContent ? s.candidates.size() : 0);
    for (size_t i = 0; i < s.candidates.size(); ++i) {
        const FoundNode& node = s.candidates[i].node;
        s.namePasses[i] = !byName || name.matches(node.name.toUpper());
        if (byContent && s.namePasses[i] && !s.inZip(node))
            filesAhead[i] = node.folder + node.name;
    }
    s.ahead = std::make_unique<ContentReadAhead>(request.content, std::move(filesAhead));
}

FindRun::~FindRun() = default;

bool FindRun::ended() const
{
    return !search_ || search_->next == search_->candidates.size();
}

void FindRun::step(Prompts& prompts, const FindProgress& progress)
{
    if (ended())
        return;
    Search& s = *search_;
    const size_t i = s.next++;
    const FoundNode& node = s.candidates[i].node;
    const int total = int(s.candidates.size());
    bool passes = s.namePasses[i] != 0;
    if (passes && s.byContent) {
        QString why;
        const auto waiting = [&] {
            if (progress)
                progress(int(i), total);
        };
        passes = (s.inZip(node) ? TestZipEntry(s.request.content, node, prompts, waiting, why)
                                : TestFile(s.request.content, *s.ahead, i, node.folder + node.name,
                                           waiting, why)) != 0;
        if (!why.isEmpty())
            s.unread.append(why);
    }
    if (passes) {
        ++outcome_.kept;
        s.keep(i);
    }
    if (progress)
        progress(int(i) + 1, total);
}

void FindRun::cancel()
{
    if (!search_)
        return;
    search_->ahead->stop();
    while (!ended()) // untested files stay
        search_->keep(search_->next++);
}

FindOutcome FindRun::finish(FileList& state, Prompts& prompts, const ListChanged& listChanged)
{
    if (!search_)
        return outcome_;
    Search& s = *search_;
    s.ahead->stop();
    outcome_.unread = int(s.unread.size());
    if (!s.unread.isEmpty())
        ReportUnread(s.unread, prompts);

    // An archive stays in the list while one of its entries matched.
    QSet<QString> listed;
    for (int i = 1; !s.keptEntries.empty() && i < s.found.ListCount(); ++i)
        listed.insert(s.found.textAt(i));
    for (const size_t kept : s.keptEntries) {
        const QString entry = EntryOfKey(state, s.candidates[kept].node.archive);
        if (!listed.contains(entry)) {
            listed.insert(entry);
            s.found.Additem(entry);
        }
    }
    const bool none = s.found.ListCount() <= 1;
    state.setListedNames(std::move(s.found));
    if (none) {
        state.showNoFiles();
        if (listChanged)
            listChanged();
        prompts.message(QStringLiteral("no match found"), SearchTitle);
        outcome_.result = FindResult::NoMatch;
        return outcome_;
    }
    RebuildCurrentTree(state, s.settings);
    if (!s.keptEntries.empty())
        state.rebuildTree([&s](NodeTree& tree) {
            // Kept archive entries go back under their archives' nodes.
            for (const size_t kept : s.keptEntries) {
                const Search::Candidate& c = s.candidates[kept];
                if (const NodeTree::Id archive = tree.find(c.node.archive);
                    archive != NodeTree::None)
                    tree.add(archive, c.key, c.text, c.image);
            }
        });
    state.setStatusCaption(NumText(outcome_.kept) + QStringLiteral(" files"));
    outcome_.result = FindResult::Found;
    if (listChanged)
        listChanged();
    prompts.message(NumText(outcome_.kept) + QStringLiteral(" matching files found"));
    return outcome_;
}

FindOutcome ApplyFind(FileList& state, const Settings& settings, const FindRequest& request,
                      CancelKey& cancel, Prompts& prompts, const FindProgress& progress,
                      const ListChanged& listChanged)
{
    FindRun run(state, settings, request, prompts);
    while (!run.ended()) {
        if (EscapeDelivered(cancel, prompts)) {
            run.cancel();
            break;
        }
        run.step(prompts, progress);
    }
    return run.finish(state, prompts, listChanged);
}
