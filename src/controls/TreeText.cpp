#include "controls/TreeText.h"

#include <vector>

void WriteTreeText(const NodeTree& tree, QTextStream& out, QStringView lineEnd, NodeTree::Id from,
                   QString (*escape)(const QString& text))
{
    // One level per depth: the siblings being written and the next one's place, so a
    // folder of a million files costs no more than one of ten.
    struct Level {
        const NodeTree::Id* next;
        const NodeTree::Id* end;
    };
    const NodeTree::Id* single = &from;
    std::vector<Level> levels;
    if (from != NodeTree::None) {
        if (tree.contains(from))
            levels.push_back({single, single + 1});
    } else {
        const std::vector<NodeTree::Id>& roots = tree.roots();
        levels.push_back({roots.data(), roots.data() + roots.size()});
    }
    constexpr qsizetype BlockSize = 1 << 16;
    QString block;
    block.reserve(BlockSize + 1024);
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.end) {
            levels.pop_back();
            continue;
        }
        const NodeTree::Id id = *level.next++;
        const qsizetype depth = qsizetype(levels.size()) - 1;
        const QString& text = tree.node(id).text;
        block.resize(block.size() + 8 * depth, u' ');
        block.append(escape ? escape(text) : text);
        block.append(lineEnd);
        if (block.size() >= BlockSize) {
            out << block;
            block.resize(0);
        }
        const std::vector<NodeTree::Id>& children = tree.children(id);
        if (!children.empty())
            levels.push_back({children.data(), children.data() + children.size()});
    }
    out << block;
}

QString TreeText(const NodeTree& tree, NodeTree::Id from)
{
    QString text;
    QTextStream out(&text);
    WriteTreeText(tree, out, u"\r\n", from);
    out.flush();
    return text;
}
