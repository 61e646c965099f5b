#include "browse/FolderListing.h"

#include "app/Settings.h"
#include "browse/TextHelpers.h"
#include "browse/Wildcard.h"
#include "trees/TreeRebuild.h"

#include <algorithm>

namespace {

const QString AllPattern = QStringLiteral("*.*");

/// The name with every code unit case-folded; ASCII is folded inline because Qt's
/// general folding costs over a thousand instructions a name.
QString foldedName(const QString& name)
{
    QString folded(name.size(), Qt::Uninitialized);
    const QChar* in = name.constData();
    QChar* out = folded.data();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = in[i].unicode();
        if (c < 128)
            out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
        else
            out[i] = in[i].toCaseFolded();
    }
    return folded;
}

/// Name order ignoring case, as a file list box shows them; names equal but for case
/// fall back to their codes so the order is stable between runs. The folded keys are
/// computed once per name: the sort compares about 1.7 million pairs for 100,000 names.
bool nameLess(const QString& foldedA, const QString& a, const QString& foldedB, const QString& b)
{
    if (const int c = QStringView(foldedA).compare(foldedB); c != 0)
        return c < 0;
    return a < b;
}

/// One directory read, sorted by name; leaves out names the pattern does not take.
/// Sorting an index keeps the entries themselves in place.
std::vector<platform::FileEntry> readFolder(const Settings& settings, const QString& folder,
                                            const NamePatternList& patterns)
{
    std::vector<platform::FileEntry> files =
        platform::listFiles(folder, settings.showSystemHidden == 1);
    if (!patterns.takesAll()) {
        std::erase_if(files,
                      [&](const platform::FileEntry& e) { return !patterns.matches(e.name); });
    }
    std::vector<quint32> order(files.size());
    std::vector<QString> folded(files.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = quint32(i);
        folded[i] = foldedName(files[i].name);
    }
    std::sort(order.begin(), order.end(), [&](quint32 x, quint32 y) {
        return nameLess(folded[x], files[x].name, folded[y], files[y].name);
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
