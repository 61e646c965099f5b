#include "trees/TreeRebuild.h"

#include "browse/FileList.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "trees/TreeCommands.h"
#include "trees/TreeContext.h"

#include <QHash>
#include <utility>
#include <vector>

namespace {

/// The image of each file by its extension. A folder holds few extensions: they are
/// looked up as written in the name, without building a string per file, and only a new
/// one is classified.
class ExtensionImages {
public:
    explicit ExtensionImages(const Settings& settings) : settings_(settings) {}

    const QString& imageOf(const QString& entry)
    {
        const qsizetype dot = entry.lastIndexOf(QLatin1Char('.'));
        const QStringView written = dot < 0 ? QStringView() : QStringView(entry).sliced(dot);
        for (const auto& [extension, image] : recent_) {
            if (extension == written)
                return image;
        }
        const QString extension = ExtensionOf(entry);
        auto image = byExtension_.constFind(extension);
        if (image == byExtension_.constEnd())
            image = byExtension_.insert(extension,
                                        QString::number(FileListIconIndex(extension, settings_)));
        if (recent_.size() < RecentCount)
            recent_.emplace_back(written.toString(), *image);
        return *image;
    }

private:
    static constexpr size_t RecentCount = 32;
    const Settings& settings_;
    std::vector<std::pair<QString, QString>> recent_;
    QHash<QString, QString> byExtension_;
};

} // namespace

void BuildNameList(FileList& state, const Settings& settings)
{
    FileList::Edit edit(state);
    NodeTreeLock lock(edit.tree());
    const NodeTree::Id root = AddFileListRoot(edit.tree(), edit.listedNames().list(0));

    // Classifying an extension walks the category lists; under most settings every file
    // has the same image anyway.
    const bool byExtension = FileListIconsByExtension(settings);
    const QString sameImage = QString::number(FileListIconIndex(QString(), settings));
    ExtensionImages images(settings);
    const QString& folder = state.setup().currentFolder;
    const int count = edit.listedNames().ListCount();
    edit.tree().reserve(count);
    // The names of one folder are unique; the basket's paths may repeat.
    const auto unique =
        folder.isEmpty() ? NodeTree::KeyCheck::Checked : NodeTree::KeyCheck::KnownUnique;
    for (int i = 1; i < count; ++i) {
        const QString& entry = edit.listedNames().textAt(i);
        edit.tree().addPrefixed(root, folder, entry,
                                byExtension ? images.imageOf(entry) : sameImage, unique);
    }
    edit.tree().makeVisible(root);
    state.showFileCount(edit.tree().count() - 1);
    state.setShownSort({});
}

void RebuildCurrentTree(FileList& state, const Settings& settings)
{
    switch (state.setup().treeType) {
    case TreeType::Extension:
    case TreeType::Date:
    case TreeType::Size:
    case TreeType::Age:
        state.showFileCount(qMax(0, BuildGroupedTree(state, TreeContext::live(settings))));
        break;
    case TreeType::PlainList:
    default:
        BuildNameList(state, settings);
        break;
    }
}

const FileTreeBuilder& GroupedTrees()
{
    static const GroupedTreeBuilder builder;
    return builder;
}
