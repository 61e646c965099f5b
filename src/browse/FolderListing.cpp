#include "browse/FolderListing.h"

#include "browse/FileTreeBuilder.h"
#include "browse/SortChunks.h"
#include "browse/Wildcard.h"
#include "controls/TreeText.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

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
            spans_.emplace_back(quint32(at), quint32(f.name.size()));
            at += size_t(f.name.size());
        }
    }

    [[nodiscard]] QStringView at(size_t i) const
    {
        return QStringView(pool_.data() + spans_[i].first, qsizetype(spans_[i].second));
    }

private:
    std::u16string pool_;
    std::vector<std::pair<quint32, quint32>> spans_;
};

/// Moves the items into the order given by `order` (position k takes item order[k]) by
/// following its cycles, so no second copy of the listing is made.
template <typename T> void applyOrder(std::vector<T>& items, std::vector<quint32>& order)
{
    constexpr quint32 Placed = ~quint32(0);
    for (size_t start = 0; start < items.size(); ++start) {
        if (order[start] == Placed || order[start] == start)
            continue;
        T held = std::move(items[start]);
        size_t at = start;
        for (;;) {
            const size_t from = order[at];
            order[at] = Placed;
            if (from == start) {
                items[at] = std::move(held);
                break;
            }
            items[at] = std::move(items[from]);
            at = from;
        }
    }
}

/// Sorts the files by name ignoring case, as a file list box shows them; names equal
/// but for case fall back to their codes so the order is stable between runs.
void sortByFoldedName(std::vector<platform::FileEntry>& files)
{
    if (files.size() < 2)
        return;
    const FoldedNames folded(files);
    const qsizetype shared = sortchunks::commonPrefix(
        qsizetype(files.size()), folded.at(0), [&folded](qsizetype i) { return folded.at(i); });
    struct Keyed {
        quint64 key;
        quint32 index;
    };
    std::vector<Keyed> keyed(files.size());
    for (size_t i = 0; i < files.size(); ++i)
        keyed[i] = {sortchunks::pack(folded.at(i), shared), quint32(i)};
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& x, const Keyed& y) {
        if (x.key != y.key)
            return x.key < y.key;
        if (const int c = folded.at(x.index).mid(shared).compare(folded.at(y.index).mid(shared));
            c != 0)
            return c < 0;
        return files[x.index].name < files[y.index].name;
    });
    std::vector<quint32> order(files.size());
    for (size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].index;
    keyed = {};
    applyOrder(files, order);
}

/// Files a caller has read already (to see that a folder is not empty), used instead of
/// a second directory read.
using PreRead = std::optional<std::vector<platform::FileEntry>>;

/// One directory read (or the pre-read files), sorted by name ignoring case, without
/// the names the pattern does not take. A failed read leaves its reason in `error`.
std::vector<platform::FileEntry> readFolder(const Settings& settings, const QString& folder,
                                            const NamePatternList& patterns, PreRead& preRead,
                                            QString& error, platform::ReadWatch* watch)
{
    std::vector<platform::FileEntry> files =
        preRead ? std::move(*preRead)
                : platform::listFiles(folder, settings.showSystemHidden, &error, watch);
    preRead.reset();
    if (!patterns.takesAll()) {
        std::erase_if(files,
                      [&](const platform::FileEntry& e) { return !patterns.matches(e.name); });
    }
    sortByFoldedName(files);
    return files;
}

void startFolder(FileListState& state, const QString& folder)
{
    state.currentFolder = WithSlash(folder);
    state.readError.clear();
    state.entries.clear();
}

int listFolderFiltered(FileListState& state, const Settings& settings, const QString& folder,
                       PreRead& preRead, platform::ReadWatch* watch);

int listFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern, PreRead& preRead, platform::ReadWatch* watch)
{
    if (pattern != AllPattern && state.otherFilterActive) {
        const int found = listFolderFiltered(state, settings, folder, preRead, watch);
        if (found == 0)
            state.listedNames.Clear();
        return found;
    }
    startFolder(state, folder);
    std::vector<platform::FileEntry> files = readFolder(
        settings, state.currentFolder, NamePatternList(pattern), preRead, state.readError, watch);
    state.readNames.Clear();
    state.readNames.reserve(int(files.size()) + 1);
    state.readNames.Additem(RootText(state.currentFolder));
    for (const platform::FileEntry& e : files)
        state.readNames.Additem(e.name);
    const int count = int(files.size());
    state.entries.assign(std::move(files));
    if (count == 0) {
        state.listedNames.Clear();
        state.showNoFiles();
    }
    return count;
}

int openFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern, const FileTreeBuilder& trees, PreRead& preRead,
               platform::ReadWatch* watch)
{
    const int count = listFolder(state, settings, folder, pattern, preRead, watch);
    if (count > 0 || state.otherFilterActive)
        RefreshFileList(state, settings, trees);
    return count;
}

int listFolderFiltered(FileListState& state, const Settings& settings, const QString& folder,
                       PreRead& preRead, platform::ReadWatch* watch)
{
    NodeTreeLock lock(state.fileTree);
    startFolder(state, folder);
    const QString header = RootText(state.currentFolder);
    state.listedNames.Clear();
    state.listedNames.Additem(header);
    AddFileListRoot(state.fileTree, header);
    state.showsPlaceholder = false;

    std::vector<platform::FileEntry> files =
        readFolder(settings, state.currentFolder, NamePatternList(AllPattern), preRead,
                   state.readError, watch);
    if (state.otherFilter.active()) {
        std::erase_if(files, [&state](const platform::FileEntry& e) {
            return !FileMatchesFilter(state.otherFilter, state.currentFolder + e.name, e);
        });
    }
    state.listedNames.reserve(int(files.size()) + 1);
    for (const platform::FileEntry& e : files)
        state.listedNames.Additem(e.name);
    const int count = int(files.size());
    state.entries.assign(std::move(files));
    if (count == 0) {
        state.listedNames.Clear();
        state.showNoFiles();
    }
    return count;
}

} // namespace

int ListFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern, platform::ReadWatch* watch)
{
    PreRead none;
    return listFolder(state, settings, folder, pattern, none, watch);
}

int OpenFolder(FileListState& state, const Settings& settings, const QString& folder,
               const QString& pattern, const FileTreeBuilder& trees, platform::ReadWatch* watch)
{
    PreRead none;
    return openFolder(state, settings, folder, pattern, trees, none, watch);
}

std::optional<int> OpenFolderWithFiles(FileListState& state, const Settings& settings,
                                       const QString& folder, const QString& pattern,
                                       const FileTreeBuilder& trees, platform::ReadWatch* watch)
{
    PreRead files =
        platform::listFiles(WithSlash(folder), settings.showSystemHidden, nullptr, watch);
    if (files->empty())
        return std::nullopt;
    return openFolder(state, settings, folder, pattern, trees, files, watch);
}

int ListFolderFiltered(FileListState& state, const Settings& settings, const QString& folder,
                       platform::ReadWatch* watch)
{
    PreRead none;
    return listFolderFiltered(state, settings, folder, none, watch);
}

void RefreshFileList(FileListState& state, const Settings& settings, const FileTreeBuilder& trees)
{
    const QString header = RootText(state.currentFolder);
    if (state.readNames.ListCount() < 2 && !state.otherFilterActive) {
        state.listedNames.Clear();
        state.showNoFiles();
        return;
    }
    NodeTreeLock lock(state.fileTree);
    if (!state.otherFilterActive) {
        state.listedNames.Clear();
        AddFileListRoot(state.fileTree, header);
        // Shared, not copied: a million names are kept once until a tree changes them.
        state.listedNames = state.readNames;
        if (state.listedNames.textAt(0) != header)
            state.listedNames.UpdateText(0, header);
        state.showsPlaceholder = false;
    }
    if (state.listedNames.ListCount() < 2) {
        // A filtered read that kept nothing: keep the placeholder.
        state.listedNames.Clear();
        state.showNoFiles();
        return;
    }
    trees.RebuildCurrentTree(state, settings);
    if (state.otherFilterActive)
        state.readNames = state.listedNames;
    if (state.fileTree.root() != NodeTree::None)
        state.fileTree.makeVisible(state.fileTree.root());
    state.shownSort.clear();
}
