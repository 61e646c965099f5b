#include "controls/TreeText.h"

#include <utility>
#include <vector>

void WriteTreeText(const NodeTree& tree, QTextStream& out, QStringView lineEnd, NodeTree::Id from,
                   QString (*escape)(const QString& text))
{
    // (node, depth) pairs, children pushed in reverse so they come out in order.
    std::vector<std::pair<NodeTree::Id, int>> stack;
    if (from != NodeTree::None) {
        if (tree.contains(from))
            stack.emplace_back(from, 0);
    } else {
        const std::vector<NodeTree::Id>& roots = tree.roots();
        for (auto it = roots.rbegin(); it != roots.rend(); ++it)
            stack.emplace_back(*it, 0);
    }
    constexpr qsizetype BlockSize = 1 << 16;
    QString block;
    block.reserve(BlockSize + 1024);
    while (!stack.empty()) {
        const auto [id, depth] = stack.back();
        stack.pop_back();
        const NodeTree::Node& node = tree.node(id);
        block.resize(block.size() + 8 * qsizetype(depth), u' ');
        block.append(escape ? escape(node.text) : node.text);
        block.append(lineEnd);
        if (block.size() >= BlockSize) {
            out << block;
            block.resize(0);
        }
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
            stack.emplace_back(*it, depth + 1);
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
