#include "trees/GroupedTree.h"

#include "trees/NodeScheme.h"

int BuildGroupsFromList1(FileListState& state, const Settings& settings, bool walkBackwards,
                         const GroupTextFunction& groupText, const QString& groupImage)
{
    NodeTreeLock hold(state.fileTree);
    const bool basket = nodescheme::isBasket(state);
    state.sortLines.SortAscending();
    state.sortLines.Additem(state.listedNames.list(0), 0);
    state.treeFolderPath = basket ? QString() : state.currentFolder;

    const int last = state.sortLines.ListCount() - 1;
    const NodeTree::Id root = nodescheme::addRoot(state);
    state.fileTree.reserve(last + 1); // the files and the root; groups are few
    QString previous;
    NodeTree::Id group = NodeTree::None;
    int count = 0;
    nodescheme::ImageCache images(settings);
    for (int step = 0; step < last; ++step) {
        const QString& line = state.sortLines.textAt(walkBackwards ? last - step : step + 1);
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        const QString entry = line.mid(tab + 1);
        const QStringView text = groupText(line, int(tab));
        const QString image = images.imageOf(entry);
        if (group == NodeTree::None || text != previous) {
            previous = text.toString();
            group = state.fileTree.addPrefixed(root, state.treeFolderPath, previous,
                                               groupImage.isEmpty() ? image : groupImage);
            if (group == NodeTree::None) // a key taken by a file: keep filing under the root
                group = root;
            state.fileTree.makeVisible(group);
        }
        state.fileTree.addPrefixed(group, state.treeFolderPath, entry, image);
        ++count;
    }
    if (root != NodeTree::None)
        state.fileTree.makeVisible(root);
    state.showsPlaceholder = false;
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
