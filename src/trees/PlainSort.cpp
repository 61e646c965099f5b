#include "trees/PlainSort.h"

#include "browse/FileList.h"
#include "shared/TextHelpers.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"

#include <algorithm>

namespace {

const QString ExtensionlessPrefix = QStringLiteral(". \t");
const QString Bar = QStringLiteral("|");

/// The width sizes are written in; every size below Widest has exactly that many digits.
constexpr int SizeDigits = 14;
constexpr qint64 Widest = 100'000'000'000'000;

QString sizeText(qint64 length)
{
    return QStringLiteral("%1").arg(length, SizeDigits, 10, QLatin1Char('0')) + Bar;
}

/// One file of the list as the plain sort orders it: the line "key|name" (". \tname"
/// for a file without extension) compared as the sorted item list compares its lines,
/// code unit by code unit with a TAB and the data 0 after the line. The line itself is
/// not built: the key stands aside, and sizes of the usual width compare as numbers.
struct SortItem {
    qint64 length = 0;
    quint32 name = 0;   ///< index into the collected names
    quint32 prefix = 0; ///< index into the interned key texts (extension sort)
};

/// `a` + TAB + "0" against `b` + TAB + "0", as the item list compares two lines.
int compareLineTails(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    if (const int c = a.first(common).compare(b.first(common)); c != 0)
        return c;
    if (a.size() == b.size())
        return 0;
    // The shorter line's TAB meets the longer one's next unit; only a unit at or below
    // TAB needs the rest of the line.
    const QStringView longer = a.size() > b.size() ? a : b;
    const int sign = a.size() > b.size() ? 1 : -1;
    const char16_t next = longer[common].unicode();
    if (next != u'\t')
        return next > u'\t' ? sign : -sign;
    const QString tailA = a.mid(common).toString() + QStringLiteral("\t0");
    const QString tailB = b.mid(common).toString() + QStringLiteral("\t0");
    return QStringView(tailA).compare(tailB);
}

/// The names a sort orders: listedNames's entries, or names collected from the tree.
class SortNames {
public:
    explicit SortNames(const ListBoy& listed)
        : listed_(&listed), count_(size_t(std::max(0, listed.ListCount() - 1)))
    {}
    explicit SortNames(std::vector<QString> collected)
        : collected_(std::move(collected)), count_(collected_.size())
    {}

    [[nodiscard]] size_t size() const { return count_; }
    [[nodiscard]] const QString& operator[](size_t i) const
    {
        return listed_ ? listed_->textAt(int(i) + 1) : collected_[i];
    }

private:
    const ListBoy* listed_ = nullptr;
    std::vector<QString> collected_;
    size_t count_ = 0;
};

/// Orders the names by the running plain-sort key.
class PlainOrder {
public:
    PlainOrder(const FileList& state, const SortNames& names)
        : state_(state), key_(state.setup().plainSortKey), names_(names)
    {
        items_.resize(names_.size());
        for (size_t i = 0; i < names_.size(); ++i) {
            SortItem& item = items_[i];
            item.name = quint32(i);
            if (key_ == SortKey::Size)
                item.length = nodescheme::entryLength(state_, names_[i], qsizetype(i));
            else if (key_ == SortKey::Extension)
                item.prefix = internPrefix(extensionPrefix(names_[i]));
        }
    }

    /// The positions of the names in sorted order, in `direction` (Unset is ascending).
    std::vector<int> order(SortDirection direction)
    {
        std::sort(items_.begin(), items_.end(),
                  [this](const SortItem& x, const SortItem& y) { return compare(x, y) < 0; });
        std::vector<int> out;
        out.reserve(items_.size());
        for (const SortItem& item : items_)
            out.push_back(int(item.name));
        if (direction == SortDirection::Descending)
            std::reverse(out.begin(), out.end());
        return out;
    }

private:
    static QString extensionPrefix(const QString& name)
    {
        const QString extension = ExtensionOf(name);
        // ". " sorts before every real extension, so extensionless files come first.
        return extension == QLatin1String(" ") ? ExtensionlessPrefix : extension + Bar;
    }

    quint32 internPrefix(const QString& prefix)
    {
        const auto known = prefixIndex_.constFind(prefix);
        if (known != prefixIndex_.constEnd())
            return *known;
        prefixes_.push_back(prefix);
        return prefixIndex_.insert(prefix, quint32(prefixes_.size() - 1)).value();
    }

    [[nodiscard]] QString prefixOf(const SortItem& item) const
    {
        switch (key_) {
        case SortKey::Size:
            return sizeText(item.length);
        case SortKey::Extension:
            return prefixes_[item.prefix];
        default:
            return Bar;
        }
    }

    [[nodiscard]] bool samePrefix(const SortItem& x, const SortItem& y) const
    {
        switch (key_) {
        case SortKey::Size:
            return x.length == y.length;
        case SortKey::Extension:
            return x.prefix == y.prefix;
        default:
            return true;
        }
    }

    [[nodiscard]] int compare(const SortItem& x, const SortItem& y) const
    {
        const QString& a = names_[x.name];
        const QString& b = names_[y.name];
        if (samePrefix(x, y))
            return compareLineTails(a, b);
        if (key_ == SortKey::Size && x.length >= 0 && y.length >= 0 && x.length < Widest &&
            y.length < Widest)
            return x.length < y.length ? -1 : 1;
        const QString keyA = prefixOf(x);
        const QString keyB = prefixOf(y);
        const qsizetype common = std::min(keyA.size(), keyB.size());
        if (const int c = QStringView(keyA).first(common).compare(QStringView(keyB).first(common));
            c != 0)
            return c;
        // One key runs on into the other's name: compare the whole lines.
        return compareLineTails(QString(keyA + a), QString(keyB + b));
    }

    const FileList& state_;
    const SortKey key_;
    const SortNames& names_;
    std::vector<SortItem> items_;
    std::vector<QString> prefixes_;
    QHash<QString, quint32> prefixIndex_;
};

/// The texts of `node`, its following siblings and, below the root and collapsed nodes,
/// their children, in tree order; the root itself is left out.
void collectNames(const NodeTree& tree, NodeTree::Id node, std::vector<QString>& names)
{
    const NodeTree::Id root = tree.root();
    for (NodeTree::Id n = node; n != NodeTree::None; n = tree.nextSibling(n)) {
        const NodeTree::Node& item = tree.node(n);
        if (n != root)
            names.push_back(item.text);
        const std::vector<NodeTree::Id>& children = tree.children(n);
        if ((!item.expanded || n == root) && !children.empty())
            collectNames(tree, children.front(), names);
    }
}

/// The entries `names` in `order` under `header`, as listedNames.
ListBoy reorderedNames(const SortNames& names, const std::vector<int>& order, const QString& header)
{
    ListBoy sorted;
    sorted.reserve(int(order.size()) + 1);
    sorted.Additem(header);
    for (const int from : order)
        sorted.Additem(names[size_t(from)]);
    return sorted;
}

/// The sort button's face after a sort: a sort without a key is by name.
void showSort(FileList& state, SortDirection direction)
{
    const SortKey shown =
        state.setup().plainSortKey == SortKey::None ? SortKey::Name : state.setup().plainSortKey;
    state.setShownSort({SortKeyName(shown), direction == SortDirection::Descending});
}

/// Builds the tree anew: the root, then `names` in `order`.
void rebuildFlat(NodeTree& tree, const ListSetup& setup, const TreeContext& context,
                 const SortNames& names, const std::vector<int>& order, bool basket)
{
    const QString keyPrefix = basket ? QString() : setup.currentFolder;
    tree.clear();
    if (order.empty())
        return;
    tree.reserve(int(order.size()) + 1);
    const NodeTree::Id root = AddFileListRoot(tree, basket ? BasketHeader : setup.currentFolder);
    nodescheme::ImageCache images(context.settings);
    // The names of one folder are unique; the basket's paths may repeat.
    const auto check = basket ? NodeTree::KeyCheck::Checked : NodeTree::KeyCheck::KnownUnique;
    for (const int from : order) {
        const QString& name = names[size_t(from)];
        tree.addPrefixed(root, keyPrefix, name, images.imageOf(name), check);
    }
    tree.makeVisible(root);
}

} // namespace

bool IsFlatNameList(const FileList& state)
{
    const NodeTree& tree = state.tree();
    // The basket's rows carry images of their own (a missing file's), which a sort resets.
    return !state.listsBasket() && tree.count() >= 3 &&
           tree.count() == state.listedNames().ListCount() && tree.roots().size() == 1 &&
           int(tree.children(tree.root()).size()) == tree.count() - 1 && !tree.carriesExtras();
}

int PlainSort(FileList& state, const TreeContext& context, SortDirection direction)
{
    if (state.tree().count() < 3)
        return 0;
    const bool flat = IsFlatNameList(state);
    state.rebuildTreeAndNames([&](NodeTree& tree, ListBoy& listed) {
        const NodeTree::Id root = tree.root();
        const QString header = tree.node(root).text;
        if (flat) {
            // The rows are listedNames's entries: they change places, and nothing is rebuilt.
            const SortNames names(listed);
            const std::vector<int> order = PlainOrder(state, names).order(direction);
            ListBoy sorted = reorderedNames(names, order, header);
            listed = std::move(sorted);
            ReorderFileListRows(tree, order);
            return;
        }
        std::vector<QString> collected;
        collected.reserve(size_t(tree.count()));
        collectNames(tree, root, collected);
        const SortNames names(std::move(collected));
        const std::vector<int> order = PlainOrder(state, names).order(direction);
        // listedNames takes the sorted order, so a later plain rebuild keeps it.
        listed = reorderedNames(names, order, header);
        rebuildFlat(tree, state.setup(), context, names, order, header == BasketHeader);
    });
    showSort(state, direction);
    return state.tree().count() - 1;
}

int PlainSortForShownTree(FileList& state, SortDirection direction, const QString& rootText)
{
    if (state.listedNames().ListCount() < 3)
        return 0;
    const SortNames names(state.listedNames());
    std::vector<int> order = PlainOrder(state, names).order(direction);
    ListBoy sorted = reorderedNames(names, order, rootText);
    state.setListedNames(std::move(sorted));
    state.setShownRowOrder(std::move(order));
    showSort(state, direction);
    return state.listedNames().ListCount() - 1;
}
