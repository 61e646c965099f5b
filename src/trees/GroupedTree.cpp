#include "trees/GroupedTree.h"

#include "trees/NodeScheme.h"

int BuildGroupsFromList1(FileListState& state, const Settings& settings, bool walkBackwards,
                         const GroupTextFunction& groupText, const QString& groupImage)
{
    NodeTreeLock hold(state.File1t);
    const bool basket = nodescheme::isBasket(state);
    state.List1.SortAscending();
    state.List1.Additem(state.File1Backup.list(0), 0);
    state.treeFolderPath = basket ? QString() : state.currentFolder;

    const int last = state.List1.ListCount() - 1;
    const NodeTree::Id root = nodescheme::addRoot(state);
    state.File1t.reserve(last + 1); // the files and the root; groups are few
    QString previous;
    NodeTree::Id group = NodeTree::None;
    int count = 0;
    nodescheme::ImageCache images(settings);
    for (int step = 0; step < last; ++step) {
        const QString& line = state.List1.textAt(walkBackwards ? last - step : step + 1);
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        const QString entry = line.mid(tab + 1);
        const QStringView text = groupText(line, int(tab));
        const QString image = images.imageOf(entry);
        if (group == NodeTree::None || text != previous) {
            previous = text.toString();
            group = state.File1t.addPrefixed(root, state.treeFolderPath, previous,
                                             groupImage.isEmpty() ? image : groupImage);
            if (group == NodeTree::None) // a key taken by a file: keep filing under the root
                group = root;
            state.File1t.makeVisible(group);
        }
        state.File1t.addPrefixed(group, state.treeFolderPath, entry, image);
        ++count;
    }
    if (root != NodeTree::None)
        state.File1t.makeVisible(root);
    state.file1tTag.clear();
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
