#include "app/FolderHistory.h"

#include "shared/TextHelpers.h"

namespace {

int iconOf(platform::VolumeKind kind)
{
    switch (kind) {
    case platform::VolumeKind::Removable:
        return 4;
    case platform::VolumeKind::Fixed:
        return 5;
    case platform::VolumeKind::CdRom:
        return 6;
    case platform::VolumeKind::Remote:
    case platform::VolumeKind::RamDisk:
        return 7;
    case platform::VolumeKind::Other:
        break;
    }
    return 5;
}

} // namespace

void FolderHistory::setFolders(const QStringList& folders)
{
    std::erase_if(entries_, [](const Entry& e) { return e.itemData == 0; });
    std::vector<Entry> loaded;
    for (const QString& f : folders)
        loaded.push_back({f, 3, 0, f});
    entries_.insert(entries_.begin(), loaded.begin(), loaded.end());
}

QStringList FolderHistory::folders() const
{
    QStringList result;
    for (const Entry& e : entries_) {
        if (e.itemData != 0)
            break;
        result << e.text;
    }
    return result;
}

void FolderHistory::RecordFolder(const QString& path)
{
    entries_.insert(entries_.begin(), Entry{path, 3, 0, path});
    for (auto it = entries_.begin() + 1; it != entries_.end() && it->itemData == 0; ++it) {
        if (it->text == path) {
            entries_.erase(it);
            break;
        }
    }
}

void FolderHistory::appendVolumes(const std::vector<platform::Volume>& volumes)
{
    for (const platform::Volume& v : volumes)
        entries_.push_back({v.mountPath + VolumeKindSeparator + platform::KindWord(v.kind),
                            iconOf(v.kind), -1, v.mountPath});
}
