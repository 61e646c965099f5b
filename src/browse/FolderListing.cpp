#include "browse/FolderListing.h"

#include "browse/FileTreeBuilder.h"
#include "browse/Wildcard.h"
#include "controls/TreeText.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <algorithm>

namespace {

const QString AllPattern = QStringLiteral("*.*");

/// A name's code unit folded for the order of a file list box; ASCII inline because
/// Qt's general folding costs over a thousand instructions a name.
char16_t foldedUnit(QChar c)
{
    const char16_t u = c.unicode();
    return u < 128 ? char16_t(u >= u'A' && u <= u'Z' ? u + 32 : u) : c.toCaseFolded().unicode();
}

/// One name of a sort: the first folded code units past the prefix all names share,
/// packed so that integer order is their order (units past the end count as 0), and
/// the name's position. Most comparisons are then settled without touching the names.
/// Names of ASCII alone fit twelve units, a byte each; others four, sixteen bits each.
struct Keyed {
    quint64 head = 0;
    quint32 tail = 0;
    quint32 index = 0;

    static constexpr qsizetype NarrowUnits = 12;
    static constexpr qsizetype WideUnits = 4;

    /// The narrow key of `name` from `at`; false when a unit there is past ASCII.
    bool setNarrow(QStringView name, qsizetype at)
    {
        quint64 units[NarrowUnits] = {};
        const qsizetype end = std::min(name.size(), at + NarrowUnits);
        for (qsizetype i = at; i < end; ++i) {
            const char16_t u = name[i].unicode();
            if (u >= 128)
                return false;
            units[i - at] = u >= u'A' && u <= u'Z' ? u + 32 : u;
        }
        head = 0;
        for (int i = 0; i < 8; ++i)
            head = (head << 8) | units[i];
        tail = quint32((units[8] << 24) | (units[9] << 16) | (units[10] << 8) | units[11]);
        return true;
    }

    void setWide(QStringView name, qsizetype at)
    {
        head = 0;
        tail = 0;
        for (qsizetype i = at; i < at + WideUnits; ++i)
            head = (head << 16) | (i < name.size() ? quint64(foldedUnit(name[i])) : 0);
    }

    [[nodiscard]] bool sameKey(const Keyed& other) const
    {
        return head == other.head && tail == other.tail;
    }
    [[nodiscard]] bool keyBefore(const Keyed& other) const
    {
        return head != other.head ? head < other.head : tail < other.tail;
    }
};
static_assert(sizeof(Keyed) == 16);

/// Compares the folded forms of `a` and `b` from `from` on, folding as it goes, so no
/// folded copy of a million names is kept.
int compareFolded(QStringView a, QStringView b, qsizetype from)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = from; i < common; ++i) {
        const char16_t x = foldedUnit(a[i]);
        const char16_t y = foldedUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

/// The length of the folded prefix every name shares.
qsizetype sharedFoldedPrefix(const std::vector<QString>& names)
{
    qsizetype common = names.front().size();
    for (size_t i = 1; i < names.size() && common > 0; ++i) {
        const QString& s = names[i];
        const qsizetype limit = std::min(common, s.size());
        qsizetype n = 0;
        while (n < limit && foldedUnit(s[n]) == foldedUnit(names.front()[n]))
            ++n;
        common = n;
    }
    return common;
}

/// Moves the items into the order given by `orderAt` (position k takes item
/// orderAt(k)) by following its cycles, so no second copy of the listing is made. The
/// order is used up: each position is marked once placed.
template <typename T, typename OrderAt> void applyOrder(std::vector<T>& items, OrderAt orderAt)
{
    constexpr quint32 Placed = ~quint32(0);
    for (size_t start = 0; start < items.size(); ++start) {
        if (orderAt(start) == Placed || orderAt(start) == start)
            continue;
        T held = std::move(items[start]);
        size_t at = start;
        for (;;) {
            const size_t from = orderAt(at);
            orderAt(at) = Placed;
            if (from == start) {
                items[at] = std::move(held);
                break;
            }
            items[at] = std::move(items[from]);
            at = from;
        }
    }
}

/// Sorts the names ignoring case, as a file list box shows them; names equal but for
/// case fall back to their codes so the order is stable between runs. Sorts an index
/// of keys, then moves the names once.
void sortByFoldedName(std::vector<QString>& names)
{
    if (names.size() < 2)
        return;
    const qsizetype shared = sharedFoldedPrefix(names);
    std::vector<Keyed> keyed(names.size());
    qsizetype covered = Keyed::NarrowUnits;
    for (size_t i = 0; i < names.size(); ++i) {
        keyed[i].index = quint32(i);
        if (!keyed[i].setNarrow(names[i], shared)) {
            covered = Keyed::WideUnits;
            break;
        }
    }
    if (covered == Keyed::WideUnits) {
        for (size_t i = 0; i < names.size(); ++i) {
            keyed[i].index = quint32(i);
            keyed[i].setWide(names[i], shared);
        }
    }
    // Equal keys mean equal folded units up to `covered` past the shared prefix.
    const qsizetype from = shared + covered;
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& x, const Keyed& y) {
        if (!x.sameKey(y))
            return x.keyBefore(y);
        const QString& a = names[x.index];
        const QString& b = names[y.index];
        if (const int c = compareFolded(a, b, from); c != 0)
            return c < 0;
        return a < b;
    });
    applyOrder(names, [&keyed](size_t at) -> quint32& { return keyed[at].index; });
}

/// Names a caller has read already (to see that a folder is not empty), used instead
/// of a second directory read.
using PreRead = std::optional<std::vector<QString>>;

/// One directory read by names alone (or the pre-read names), sorted by name ignoring
/// case, without the names the pattern does not take. A failed read leaves its reason
/// in `error`.
std::vector<QString> readFolder(const Settings& settings, const QString& folder,
                                const NamePatternList& patterns, PreRead& preRead, QString& error,
                                platform::ReadWatch* watch)
{
    std::vector<QString> names =
        preRead ? std::move(*preRead)
                : platform::listFileNames(folder, settings.showSystemHidden, &error, watch);
    preRead.reset();
    if (!patterns.takesAll())
        std::erase_if(names, [&](const QString& name) { return !patterns.matches(name); });
    sortByFoldedName(names);
    return names;
}

void startFolder(FileList& state, const QString& folder)
{
    FileList::Edit edit(state);
    edit.setup().currentFolder = WithSlash(folder);
    edit.setup().readError.clear();
    edit.contents().entries.clear();
}

int listFolderFiltered(FileList& state, const Settings& settings, const QString& folder,
                       PreRead& preRead, platform::ReadWatch* watch);

int listFolder(FileList& state, const Settings& settings, const QString& folder,
               const QString& pattern, PreRead& preRead, platform::ReadWatch* watch)
{
    FileList::Edit edit(state);
    if (pattern != AllPattern && edit.setup().otherFilterActive) {
        const int found = listFolderFiltered(state, settings, folder, preRead, watch);
        if (found == 0)
            edit.listedNames().Clear();
        return found;
    }
    startFolder(state, folder);
    std::vector<QString> names =
        readFolder(settings, state.setup().currentFolder, NamePatternList(pattern), preRead,
                   edit.setup().readError, watch);
    edit.contents().readNames.Clear();
    edit.contents().readNames.reserve(int(names.size()) + 1);
    edit.contents().readNames.Additem(RootText(state.setup().currentFolder));
    for (const QString& name : names)
        edit.contents().readNames.Additem(name);
    const int count = int(names.size());
    // Sizes and times are read when a sort, tree or filter first asks for them.
    edit.contents().entries.assignNames(std::move(names), state.setup().currentFolder);
    if (count == 0) {
        edit.listedNames().Clear();
        state.showNoFiles();
    }
    return count;
}

int openFolder(FileList& state, const Settings& settings, const QString& folder,
               const QString& pattern, const FileTreeBuilder& trees, PreRead& preRead,
               platform::ReadWatch* watch)
{
    const int count = listFolder(state, settings, folder, pattern, preRead, watch);
    if (count > 0 || state.setup().otherFilterActive)
        RefreshFileList(state, settings, trees);
    return count;
}

int listFolderFiltered(FileList& state, const Settings& settings, const QString& folder,
                       PreRead& preRead, platform::ReadWatch* watch)
{
    FileList::Edit edit(state);
    NodeTreeLock lock(edit.tree());
    startFolder(state, folder);
    const QString header = RootText(edit.setup().currentFolder);
    edit.listedNames().Clear();
    edit.listedNames().Additem(header);
    AddFileListRoot(edit.tree(), header);
    edit.setup().showsPlaceholder = false;

    std::vector<QString> names =
        readFolder(settings, state.setup().currentFolder, NamePatternList(AllPattern), preRead,
                   edit.setup().readError, watch);
    edit.contents().entries.assignNames(std::move(names), state.setup().currentFolder);
    if (state.otherFilter().active()) {
        edit.contents().entries.keepOnly(
            [&state](const QString& name, const platform::FileDetails& details) {
                return FileMatchesFilter(state.otherFilter(), state.setup().currentFolder + name,
                                         details);
            });
    }
    const int count = int(state.entries().size());
    edit.listedNames().reserve(count + 1);
    for (const QString& name : state.entries().names())
        edit.listedNames().Additem(name);
    if (count == 0) {
        edit.listedNames().Clear();
        state.showNoFiles();
    }
    return count;
}

} // namespace

int ListFolder(FileList& state, const Settings& settings, const QString& folder,
               const QString& pattern, platform::ReadWatch* watch)
{
    PreRead none;
    return listFolder(state, settings, folder, pattern, none, watch);
}

int OpenFolder(FileList& state, const Settings& settings, const QString& folder,
               const QString& pattern, const FileTreeBuilder& trees, platform::ReadWatch* watch)
{
    PreRead none;
    return openFolder(state, settings, folder, pattern, trees, none, watch);
}

std::optional<int> OpenFolderWithFiles(FileList& state, const Settings& settings,
                                       const QString& folder, const QString& pattern,
                                       const FileTreeBuilder& trees, platform::ReadWatch* watch)
{
    PreRead names =
        platform::listFileNames(WithSlash(folder), settings.showSystemHidden, nullptr, watch);
    if (names->empty())
        return std::nullopt;
    return openFolder(state, settings, folder, pattern, trees, names, watch);
}

int ListFolderFiltered(FileList& state, const Settings& settings, const QString& folder,
                       platform::ReadWatch* watch)
{
    PreRead none;
    return listFolderFiltered(state, settings, folder, none, watch);
}

void RefreshFileList(FileList& state, const Settings& settings, const FileTreeBuilder& trees)
{
    FileList::Edit edit(state);
    const QString header = RootText(edit.setup().currentFolder);
    if (edit.contents().readNames.ListCount() < 2 && !edit.setup().otherFilterActive) {
        edit.listedNames().Clear();
        state.showNoFiles();
        return;
    }
    NodeTreeLock lock(edit.tree());
    if (!edit.setup().otherFilterActive) {
        edit.listedNames().Clear();
        AddFileListRoot(edit.tree(), header);
        // Shared, not copied: a million names are kept once until a tree changes them.
        edit.listedNames() = edit.contents().readNames;
        if (edit.listedNames().textAt(0) != header)
            edit.listedNames().UpdateText(0, header);
        edit.setup().showsPlaceholder = false;
    }
    if (edit.listedNames().ListCount() < 2) {
        // A filtered read that kept nothing: keep the placeholder.
        edit.listedNames().Clear();
        state.showNoFiles();
        return;
    }
    trees.RebuildCurrentTree(state, settings);
    if (edit.setup().otherFilterActive)
        edit.contents().readNames = edit.listedNames();
    if (edit.tree().root() != NodeTree::None)
        edit.tree().makeVisible(edit.tree().root());
    edit.setup().shownSort.clear();
}
