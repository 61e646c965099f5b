#include "trees/GroupedTree.h"

#include "browse/SortChunks.h"
#include "trees/NodeScheme.h"

#include <QSet>
#include <algorithm>

int BuildGroupsFromList1(FileList& state, ListBoy& scratchLines, const Settings& settings,
                         bool walkBackwards, const GroupTextFunction& groupText,
                         const QString& groupImage)
{
    const bool basket = nodescheme::isBasket(state);
    scratchLines.SortAscending();
    scratchLines.Additem(state.listedNames().list(0), 0);
    state.setTreeFolderPath(basket ? QString() : state.setup().currentFolder);

    const int last = scratchLines.ListCount() - 1;
    const QString& folderPath = state.setup().treeFolderPath;
    int count = 0;
    state.rebuildTree([&](NodeTree& tree) {
        const NodeTree::Id root = nodescheme::addRoot(tree, state);
        tree.reserve(last + 1); // the files and the root; groups are few
        QString previous;
        NodeTree::Id group = NodeTree::None;
        nodescheme::ImageCache images(settings);
        for (int step = 0; step < last; ++step) {
            const QString& line = scratchLines.textAt(walkBackwards ? last - step : step + 1);
            const int tab = line.indexOf(QLatin1Char('\t'));
            if (tab < 0)
                continue;
            const QString entry = line.mid(tab + 1);
            const QStringView text = groupText(line, int(tab));
            const QString image = images.imageOf(entry);
            if (group == NodeTree::None || text != previous) {
                previous = text.toString();
                group = tree.addPrefixed(root, folderPath, previous,
                                         groupImage.isEmpty() ? image : groupImage);
                if (group == NodeTree::None) // a key taken by a file: keep filing under the root
                    group = root;
                tree.makeVisible(group);
            }
            tree.addPrefixed(group, folderPath, entry, image);
            ++count;
        }
        if (root != NodeTree::None)
            tree.makeVisible(root);
    });
    state.showFiles();
    return count;
}

QString ScratchLine(QStringView key, QStringView entry)
{
    QString line(key.size() + 1 + entry.size(), Qt::Uninitialized);
    QChar* out = line.data();
    std::copy(key.begin(), key.end(), out);
    out[key.size()] = QLatin1Char('\t');
    std::copy(entry.begin(), entry.end(), out + key.size() + 1);
    return line;
}

void GroupedFiles::reserve(size_t count)
{
    keyOf_.reserve(count);
    entries_.reserve(count);
    orders_.reserve(count);
}

void GroupedFiles::add(const QString& key, const QString& entry, quint64 order)
{
    // Neighbours often share a key: look at the last one before hashing.
    if (keyOf_.empty() || keys_[keyOf_.back()] != key) {
        auto at = keyIndex_.constFind(key);
        if (at == keyIndex_.constEnd()) {
            at = keyIndex_.insert(key, quint32(keys_.size()));
            keys_.push_back(key);
        }
        keyOf_.push_back(*at);
    } else {
        keyOf_.push_back(keyOf_.back());
    }
    entries_.push_back(entry);
    orders_.push_back(order);
}

namespace {

const QString LineEnd = QStringLiteral("\t0");

/// Code units [at, at + 4) of `entry` followed by the line's end, packed so that integer
/// order is code order (past the end: 0).
quint64 filedChunk(QStringView entry, qsizetype at)
{
    quint64 chunk = 0;
    for (qsizetype i = at; i < at + 4; ++i) {
        char16_t c = 0;
        if (i < entry.size())
            c = entry[i].unicode();
        else if (i < entry.size() + LineEnd.size())
            c = LineEnd[i - entry.size()].unicode();
        chunk = (chunk << 16) | c;
    }
    return chunk;
}

/// Rank of each key in the order of the scratch lines; none of the keys holds a TAB, so
/// a key's line sorts by the key and the TAB after it alone.
std::vector<quint32> keyRanks(const std::vector<QString>& keys)
{
    std::vector<quint32> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(i);
    std::sort(order.begin(), order.end(), [&keys](quint32 x, quint32 y) {
        const QStringView a = keys[x];
        const QStringView b = keys[y];
        const qsizetype common = std::min(a.size(), b.size());
        if (const int c = a.left(common).compare(b.left(common)); c != 0)
            return c < 0;
        // One key begins the other: its TAB meets the other's next character.
        const char16_t nextA = a.size() > common ? a[common].unicode() : u'\t';
        const char16_t nextB = b.size() > common ? b[common].unicode() : u'\t';
        return nextA < nextB;
    });
    std::vector<quint32> rank(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        rank[order[i]] = quint32(i);
    return rank;
}

/// The files in the order their sorted scratch lines would take.
std::vector<quint32> sortedFiles(const GroupedFiles& files)
{
    const std::vector<quint32> rank = keyRanks(files.keys());
    const qsizetype shared =
        sortchunks::commonPrefix(qsizetype(files.size()), files.entryOf(0), [&files](qsizetype i) {
            return QStringView(files.entryOf(size_t(i)));
        });
    struct Keyed {
        quint64 order;
        quint64 chunk;
        quint32 rank;
        quint32 file;
    };
    std::vector<Keyed> keyed(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        keyed[i] = {files.orderOf(i), filedChunk(files.entryOf(i), shared),
                    rank[files.keyIndexOf(i)], quint32(i)};
    }
    std::sort(keyed.begin(), keyed.end(), [&files, shared](const Keyed& x, const Keyed& y) {
        if (x.order != y.order)
            return x.order < y.order;
        if (x.rank != y.rank)
            return x.rank < y.rank;
        if (x.chunk != y.chunk)
            return x.chunk < y.chunk;
        return CompareFiledEntries(QStringView(files.entryOf(x.file)).mid(shared),
                                   QStringView(files.entryOf(y.file)).mid(shared)) < 0;
    });
    std::vector<quint32> order(keyed.size());
    for (size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].file;
    return order;
}

/// Whether no node of the tree can take another's key, so adding them needs no checks and
/// builds no key index: the files of one folder are unique, no file is named as a group,
/// and no file begins with "|", which an inner entry's path turns its slashes into.
bool keysStayUnique(const FileList& state, const GroupedFiles& files,
                    const GroupTextFunction& groupText)
{
    if (nodescheme::isBasket(state))
        return false;
    QSet<QString> groups;
    for (const QString& key : files.keys())
        groups.insert(groupText(key, int(key.size())).toString());
    for (size_t i = 0; i < files.size(); ++i) {
        const QString& entry = files.entryOf(i);
        if (entry.startsWith(QLatin1Char('|')) || groups.contains(entry))
            return false;
    }
    return true;
}

bool anyKeyHoldsTab(const std::vector<QString>& keys)
{
    return std::any_of(keys.begin(), keys.end(),
                       [](const QString& key) { return key.contains(QLatin1Char('\t')); });
}

} // namespace

int CompareFiledEntries(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    if (const int c = a.left(common).compare(b.left(common)); c != 0)
        return c;
    if (a.size() == b.size())
        return 0;
    // One entry begins the other: the shorter one's line end meets the other's rest.
    const bool aShorter = a.size() < b.size();
    const QStringView rest = (aShorter ? b : a).mid(common);
    const int c = QStringView(LineEnd).compare(rest);
    const int sign = c != 0 ? c : -1; // "\t0" itself begins the rest: the shorter line first
    return aShorter ? sign : -sign;
}

int BuildGroupsFromFiles(FileList& state, const Settings& settings, bool walkBackwards,
                         const GroupTextFunction& groupText, const QString& groupImage,
                         const GroupedFiles& files)
{
    if (anyKeyHoldsTab(files.keys())) {
        // A key's own TAB would move the line's split: keep the lines themselves.
        ListBoy lines;
        lines.reserve(int(files.size()));
        for (size_t i = 0; i < files.size(); ++i)
            lines.Additem(ScratchLine(files.keyOf(i), files.entryOf(i)));
        return BuildGroupsFromList1(state, lines, settings, walkBackwards, groupText, groupImage);
    }
    const std::vector<quint32> order =
        files.size() > 0 ? sortedFiles(files) : std::vector<quint32>();
    const bool basket = nodescheme::isBasket(state);
    state.setTreeFolderPath(basket ? QString() : state.setup().currentFolder);

    const QString& folderPath = state.setup().treeFolderPath;
    const auto fileCheck = keysStayUnique(state, files, groupText) ? NodeTree::KeyCheck::KnownUnique
                                                                   : NodeTree::KeyCheck::Checked;
    int count = 0;
    state.rebuildTree([&](NodeTree& tree) {
        const NodeTree::Id root = nodescheme::addRoot(tree, state);
        // The files, the root and at most one group a key: growing past a reserve would
        // double the nodes' storage.
        tree.reserve(int(order.size() + files.keys().size()) + 1);
        QSet<QString> groupsAdded; // a group text met again is checked like any other key
        quint32 previousKey = ~quint32(0);
        QString previous;
        NodeTree::Id group = NodeTree::None;
        nodescheme::ImageCache images(settings);
        const size_t last = order.size();
        for (size_t step = 0; step < last; ++step) {
            const size_t file = order[walkBackwards ? last - 1 - step : step];
            const QString& entry = files.entryOf(file);
            const QString image = images.imageOf(entry);
            if (group == NodeTree::None || files.keyIndexOf(file) != previousKey) {
                const QString& key = files.keyOf(file);
                const QStringView text = groupText(key, int(key.size()));
                // Keys that differ may still give one group text (an age's day after "@").
                if (group == NodeTree::None || text != previous) {
                    previous = text.toString();
                    const bool firstTime = !groupsAdded.contains(previous);
                    groupsAdded.insert(previous);
                    group = tree.addPrefixed(root, folderPath, previous,
                                             groupImage.isEmpty() ? image : groupImage,
                                             firstTime ? fileCheck : NodeTree::KeyCheck::Checked);
                    if (group ==
                        NodeTree::None) // a key taken by a file: keep filing under the root
                        group = root;
                    tree.makeVisible(group);
                }
                previousKey = files.keyIndexOf(file);
            }
            tree.addPrefixed(group, folderPath, entry, image, fileCheck);
            ++count;
        }
        if (root != NodeTree::None)
            tree.makeVisible(root);
    });
    state.showFiles();
    return count;
}
