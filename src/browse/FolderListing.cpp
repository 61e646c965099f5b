#include "browse/FolderListing.h"

#include "app/Settings.h"
#include "browse/TextHelpers.h"
#include "browse/Wildcard.h"
#include "trees/TreeRebuild.h"

#include <algorithm>
#include <string>

namespace {

const QString AllPattern = QStringLiteral("*.*");

/// Every name case-folded into one buffer (one allocation, not one per name); ASCII is
/// folded inline because Qt's general folding costs over a thousand instructions a name.
class FoldedNames {
public:
    explicit FoldedNames(const std::vector<platform::FileEntry>& files)
    {
        size_t total = 0;
        for (const platform::FileEntry& f : files)
            total += size_t(f.name.size());
        pool_.resize(total);
        spans_.reserve(files.size());
        size_t at = 0;
        for (const platform::FileEntry& f : files) {
            const QChar* in = f.name.constData();
            for (qsizetype i = 0; i < f.name.size(); ++i) {
                const char16_t c = in[i].unicode();
                pool_[at + size_t(i)] = c < 128 ? char16_t(c >= u'A' && c <= u'Z' ? c + 32 : c)
                                                : in[i].toCaseFolded().unicode();
            }
            spans_.emplace_back(at, size_t(f.name.size()));
            at += size_t(f.name.size());
        }
    }

    [[nodiscard]] QStringView at(size_t i) const
    {
        return QStringView(pool_.data() + spans_[i].first, qsizetype(spans_[i].second));
    }

private:
    std::u16string pool_;
    std::vector<std::pair<size_t, size_t>> spans_;
};

/// One directory read, sorted by name ignoring case as a file list box shows them;
/// names equal but for case fall back to their codes so the order is stable between
/// runs. Leaves out names the pattern does not take. Sorting an index keeps the
/// entries themselves in place.
std::vector<platform::FileEntry> readFolder(const Settings& settings, const QString& folder,
                                            const NamePatternList& patterns)
{
    std::vector<platform::FileEntry> files =
        platform::listFiles(folder, settings.showSystemHidden == 1);
    if (!patterns.takesAll()) {
        std::erase_if(files,
                      [&](const platform::FileEntry& e) { return !patterns.matches(e.name); });
    }
    const FoldedNames folded(files);
    std::vector<quint32> order(files.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(i);
    std::sort(order.begin(), order.end(), [&](quint32 x, quint32 y) {
        if (const int c = folded.at(x).compare(folded.at(y)); c != 0)
            return c < 0;
        return files[x].name < files[y].name;
    });
    std::vector<platform::FileEntry> sorted;
    sorted.reserve(files.size());
    for (const quint32 i : order)
        sorted.push_back(std::move(files[i]));
    return sorted;
}

void startFolder(FileListState& state, const QString& folder)
{
    state.currentFolder = WithSlash(folder);
    state.entries.clear();
}

} // namespace

QString FolderHeader(const QString& folder)
{
    return RootText(folder);
}

int ListFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern)
{
    if (pattern != AllPattern && state.CategoryFilterActive != -1) {
        const int found = ListFolderFiltered(state, settings, folder);
        if (found == 0)
            state.File1Backup.Clear();
        return found;
    }
    startFolder(state, folder);
    std::vector<platform::FileEntry> files =
        readFolder(settings, state.currentFolder, NamePatternList(pattern));
    state.File1x.clear();
    state.File1x.reserve(qsizetype(files.size()));
    state.entries.reserve(qsizetype(files.size()));
    for (platform::FileEntry& e : files) {
        state.File1x.append(e.name);
        QString key = e.name;
        state.entries.emplace(std::move(key), std::move(e));
    }
    const int count = int(state.File1x.size());
    if (count == 0) {
        state.File1Backup.Clear();
        ShowNoFiles(state);
    }
    return count;
}

int ListFolderFiltered(FileListState& state, const Settings& settings, const QString& folder)
{
    NodeTreeLock lock(state.File1t);
    startFolder(state, folder);
    const QString header = FolderHeader(state.currentFolder);
    state.File1Backup.Clear();
    state.File1Backup.Additem(header);
    state.File1t.clear();
    state.file1tTag.clear();
    state.File1t.add(NodeTree::None, QStringLiteral("R"), header, QStringLiteral("1"));

    std::vector<platform::FileEntry> files =
        readFolder(settings, state.currentFolder, NamePatternList(AllPattern));
    int count = 0;
    for (platform::FileEntry& e : files) {
        if (state.fileMatchesFilter && !state.fileMatchesFilter(state.currentFolder + e.name, e))
            continue;
        state.File1Backup.Additem(e.name);
        QString key = e.name;
        state.entries.emplace(std::move(key), std::move(e));
        ++count;
    }
    if (count == 0) {
        state.File1Backup.Clear();
        ShowNoFiles(state);
    }
    return count;
}

void RefreshFileList(FileListState& state, const Settings& settings)
{
    const QString header = FolderHeader(state.currentFolder);
    if (state.File1x.isEmpty() && state.CategoryFilterActive == -1) {
        state.File1Backup.Clear();
        ShowNoFiles(state);
        return;
    }
    NodeTreeLock lock(state.File1t);
    if (state.CategoryFilterActive == -1) {
        state.File1Backup.Clear();
        state.File1t.clear();
        state.File1t.add(NodeTree::None, QStringLiteral("R"), header, QStringLiteral("1"));
        state.File1Backup.reserve(int(state.File1x.size()) + 1);
        state.File1Backup.Additem(header);
        for (const QString& name : std::as_const(state.File1x))
            state.File1Backup.Additem(name);
        state.file1tTag.clear();
        // The trees only read File1Backup, so its copy can be taken now and share the
        // name strings of the reader instead of copying 100,000 of them again.
        state.FullListing = state.File1x;
        state.FullListing.prepend(header);
    }
    if (state.File1Backup.ListCount() < 2) {
        // A filtered read that kept nothing: keep the placeholder.
        state.File1Backup.Clear();
        ShowNoFiles(state);
        return;
    }
    RebuildCurrentTree(state, settings);
    if (state.CategoryFilterActive != -1)
        state.FullListing = state.File1Backup.texts();
    if (state.File1t.root() != NodeTree::None)
        state.File1t.makeVisible(state.File1t.root());
    state.sortButtonTip = QStringLiteral("Not sorted");
}

void ShowNoFiles(FileListState& state)
{
    NodeTreeLock lock(state.File1t);
    state.File1t.clear();
    const QString rootText = state.currentFolder.isEmpty() ? QStringLiteral("RadeZazeda")
                                                           : FolderHeader(state.currentFolder);
    const NodeTree::Id root =
        state.File1t.add(NodeTree::None, QStringLiteral("R"), rootText, QStringLiteral("1"));
    const QString text = state.filterTag == u"ALL"
                             ? QStringLiteral("no files")
                             : QStringLiteral("no [") + state.filterTag + QStringLiteral("] files");
    const NodeTree::Id child = state.File1t.add(root, QString(), text);
    state.File1t.makeVisible(child);
    state.file1tTag = QStringLiteral("X");
    ShowFileCount(state, 0);
}

QString FileCountCaption(const QString& tag, int n)
{
    const QString middle =
        tag.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" [") + tag + QStringLiteral("] ");
    return (n < 1 ? QStringLiteral(" no") : QString::number(n)) + middle + QStringLiteral("files");
}

void ShowFileCount(FileListState& state, int n)
{
    if (state.updateFilterDescription)
        state.updateFilterDescription();
    state.statusCaption = FileCountCaption(state.filterTag, n);
}

QString PatternMessage(const QString& currentPattern)
{
    return QStringLiteral("File extensions: ") +
           (currentPattern == AllPattern ? QStringLiteral("ALL") : currentPattern);
}

void WriteListText(const NodeTree& tree, QTextStream& out, QStringView lineEnd)
{
    QString indent;
    for (const NodeTree::Id id : tree.preorder()) {
        const qsizetype width = 8 * qsizetype(tree.depth(id));
        if (indent.size() != width)
            indent.fill(u' ', width);
        out << indent << tree.node(id).text << lineEnd;
    }
}

QString CopyListText(const NodeTree& tree)
{
    QString text;
    QTextStream out(&text);
    WriteListText(tree, out, LineBreak);
    out.flush();
    return text;
}
