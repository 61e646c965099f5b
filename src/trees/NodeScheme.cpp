#include "trees/NodeScheme.h"

#include "browse/FileList.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "trees/TreeContext.h"

TreeContext TreeContext::live(const Settings& settings)
{
    return TreeContext{settings, QDateTime::currentDateTimeUtc(), &platform::ExtensionTypeName};
}

namespace nodescheme {
namespace {

/// Reads one field of an entry: from the directory read when it yielded the entry
/// (no copy), else from a fresh look-up; `fallback` when neither has it.
template <typename Field>
qint64 fieldOf(const FileList& state, const QString& entry, qsizetype likelyAt, Field field,
               qint64 fallback)
{
    if (const platform::FileDetails* known = state.entries().find(entry, likelyAt))
        return field(*known);
    const auto found = platform::statFile(state.setup().currentFolder + entry);
    return found ? field(*found) : fallback;
}

} // namespace

bool isBasket(const FileList& state)
{
    return state.listedNames().ListCount() > 0 && state.listedNames().list(0) == BasketHeader;
}

NodeTree::Id addRoot(NodeTree& tree, const FileList& state)
{
    return AddFileListRoot(tree, state.listedNames().ListCount() > 0 ? state.listedNames().list(0)
                                                                     : QString());
}

QString fileImage(const QString& entry, const Settings& settings)
{
    return QString::number(FileListIconIndex(ExtensionOf(entry), settings));
}

ImageCache::ImageCache(const Settings& settings)
    : settings_(settings), byExtensionAtAll_(FileListIconsByExtension(settings)),
      sameImage_(QString::number(FileListIconIndex(QString(), settings)))
{}

const QString& ImageCache::imageOf(const QString& entry)
{
    if (!byExtensionAtAll_)
        return sameImage_;
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

QString groupedEntry(const QString& entry, bool basket)
{
    if (basket || !entry.startsWith(QLatin1Char('/')))
        return entry;
    QString inner = entry;
    inner.replace(QLatin1Char('/'), QLatin1Char('|'));
    return inner;
}

qint64 entryLength(const FileList& state, const QString& entry, qsizetype likelyAt)
{
    return fieldOf(
        state, entry, likelyAt, [](const platform::FileDetails& e) { return e.size; }, 0);
}

qint64 entryTime(const FileList& state, const QString& entry, DateBasis basis, qsizetype likelyAt)
{
    return fieldOf(
        state, entry, likelyAt,
        [basis](const platform::FileDetails& e) {
            return basis == DateBasis::Created ? e.createdMs : e.modifiedMs;
        },
        0);
}

bool listUsable(const FileList& state)
{
    return !state.setup().showsPlaceholder && state.tree().count() >= 2;
}

} // namespace nodescheme
