#include "browse/FileList.h"

#include "controls/TreeText.h"
#include "shared/TextHelpers.h"

void FileList::showNoFiles()
{
    NodeTreeLock lock(fileTree);
    const NodeTree::Id root =
        AddFileListRoot(fileTree, currentFolder.isEmpty() ? BasketHeader : currentFolder);
    // A folder that could not be read must not look empty.
    const QString text = !readError.isEmpty() && !currentFolder.isEmpty()
                             ? QStringLiteral("cannot read: ") + readError
                         : filterTag == u"ALL"
                             ? QStringLiteral("no files")
                             : QStringLiteral("no [") + filterTag + QStringLiteral("] files");
    const NodeTree::Id child = fileTree.add(root, QString(), text);
    fileTree.makeVisible(child);
    showsPlaceholder = true;
    showFileCount(0);
}

QString FileListRootText(const QString& header)
{
    return header == BasketHeader ? header : RootText(header);
}

NodeTree::Id AddFileListRoot(NodeTree& tree, const QString& header)
{
    tree.clear();
    const bool basket = header == BasketHeader;
    const NodeTree::Id root =
        tree.add(NodeTree::None, QStringLiteral("R"), FileListRootText(header),
                 basket ? QStringLiteral("27") : QStringLiteral("1"));
    tree.setExpanded(root, true);
    return root;
}

QString FileCountCaption(const QString& tag, int n)
{
    const QString middle =
        tag.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" [") + tag + QStringLiteral("] ");
    return (n < 1 ? QStringLiteral(" no") : QString::number(n)) + middle + QStringLiteral("files");
}

void FileList::showFileCount(int n)
{
    statusCaption = FileCountCaption(filterTag, n);
}

QString PatternMessage(const QString& currentPattern)
{
    return QStringLiteral("File extensions: ") +
           (currentPattern == u"*.*" ? QStringLiteral("ALL") : currentPattern);
}

QString CopyListText(const NodeTree& tree)
{
    return TreeText(tree);
}
