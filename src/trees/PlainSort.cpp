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

/// Orders the collected names by the running plain-sort key, ascending.
class PlainOrder {
public:
    PlainOrder(const FileList& state, std::vector<QString> names)
        : state_(state), key_(state.setup().plainSortKey), names_(std::move(names))
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

    /// The names in ascending order.
    std::vector<QString> sorted()
    {
        std::sort(items_.begin(), items_.end(),
                  [this](const SortItem& x, const SortItem& y) { return compare(x, y) < 0; });
        std::vector<QString> out;
        out.reserve(items_.size());
        for (const SortItem& item : items_)
            out.push_back(std::move(names_[item.name]));
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
    std::vector<QString> names_;
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

} // namespace

int PlainSort(FileList& state, const TreeContext& context, SortDirection direction)
{
    if (state.tree().count() < 3)
        return 0;
    state.rebuildTreeAndNames([&state, &context, direction](NodeTree& tree, ListBoy& listed) {
        const NodeTree::Id oldRoot = tree.root();
        const QString header = tree.node(oldRoot).text;
        const bool basket = header == BasketHeader;
        std::vector<QString> names;
        names.reserve(size_t(tree.count()));
        collectNames(tree, oldRoot, names);
        names = PlainOrder(state, std::move(names)).sorted();

        const QString keyPrefix = basket ? QString() : state.setup().currentFolder;
        tree.clear();
        // The listed names take the sorted order, so a later plain rebuild keeps it.
        listed.Clear();
        listed.reserve(int(names.size()) + 1);
        listed.Additem(header);
        if (names.empty())
            return;
        tree.reserve(int(names.size()) + 1);
        const NodeTree::Id root =
            AddFileListRoot(tree, basket ? BasketHeader : state.setup().currentFolder);
        const bool descending = direction == SortDirection::Descending;
        nodescheme::ImageCache images(context.settings);
        // The names of one folder are unique; the basket's paths may repeat.
        const auto check = basket ? NodeTree::KeyCheck::Checked : NodeTree::KeyCheck::KnownUnique;
        const size_t n = names.size();
        for (size_t step = 0; step < n; ++step) {
            const QString& name = names[descending ? n - 1 - step : step];
            tree.addPrefixed(root, keyPrefix, name, images.imageOf(name), check);
            listed.Additem(name);
        }
        tree.makeVisible(root);
    });
    // A sort without a key is by name.
    const SortKey shown =
        state.setup().plainSortKey == SortKey::None ? SortKey::Name : state.setup().plainSortKey;
    state.setShownSort({SortKeyName(shown), direction == SortDirection::Descending});
    return state.tree().count() - 1;
}
