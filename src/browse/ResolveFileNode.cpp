#include "browse/ResolveFileNode.h"

#include "shared/FileKind.h"
#include "shared/TextHelpers.h"

namespace {

struct ArchiveLine {
    QString archive;
    QString entry;
};

std::optional<ArchiveLine> splitArchiveLine(const QString& text)
{
    const qsizetype last = text.lastIndexOf(u'|');
    if (last < 0)
        return std::nullopt;
    const qsizetype before = last > 0 ? text.lastIndexOf(u'|', last - 1) : -1;
    return ArchiveLine{text.mid(before + 1, last - before - 1), text.mid(last + 1)};
}

ResolvedFileNode archiveEntry(bool overBasket, const ArchiveLine& line, const QString& tempFolder)
{
    return {tempFolder + line.archive, line.entry, NodeSource::ArchiveEntry, overBasket,
            QStringLiteral("|") + line.archive + QStringLiteral("|") + line.entry};
}

ResolvedFileNode basketEntry(const QString& text)
{
    const qsizetype slash = text.lastIndexOf(u'/');
    return {text.left(slash + 1), text.mid(slash + 1), NodeSource::File, true, QString()};
}

} // namespace

bool HasBasketKind(const QString& text, const Settings& settings)
{
    return ClassifyFileKind(ExtensionOf(text), settings) == FileKind::Basket;
}

ResolvedFileNode ResolveFileNode(const FileList& state, NodeTree::Id id,
                                 const QString& currentFolder, const QString& tempFolder,
                                 const Settings& settings)
{
    const NodeTree& tree = state.tree();
    if (!tree.contains(id))
        return {};
    const NodeTree::Id root = tree.root();
    const QString rootText = root == NodeTree::None ? QString() : tree.node(root).text;
    const NodeTree::Node& node = tree.node(id);
    const NodeTree::Id parent = node.parent;
    const QString parentText = parent == NodeTree::None ? QString() : tree.node(parent).text;
    const bool isRoot = parent == NodeTree::None;
    const bool grouped = state.setup().treeType != TreeType::PlainList;
    const std::optional<ArchiveLine> line = splitArchiveLine(node.text);

    if (!isRoot && parent != root && HasBasketKind(parentText, settings))
        return basketEntry(node.text);
    if (rootText == BasketHeader && !grouped) {
        if (line)
            return archiveEntry(true, *line, tempFolder);
        if (parent == root)
            return basketEntry(node.text);
        return {parentText, node.text, NodeSource::ArchiveEntry, true, QString()};
    }
    if (rootText == BasketHeader) {
        if (line)
            return archiveEntry(true, *line, tempFolder);
        return {QString(), node.text, NodeSource::BasketGroup, true, parentText};
    }
    if (parent == root && !node.text.startsWith(u'|') && !line)
        return {currentFolder, node.text, NodeSource::File, false, QString()};
    if (line)
        return archiveEntry(false, *line, tempFolder);
    if (isRoot)
        return {currentFolder, node.text, NodeSource::File, false, QString()};
    // An entry below an archive node.
    const QString folder = parentText.contains(u'/') ? parentText : tempFolder + parentText;
    return {folder, node.text, NodeSource::ArchiveEntry, false,
            QStringLiteral("|") + parentText + QStringLiteral("|") + node.text};
}
