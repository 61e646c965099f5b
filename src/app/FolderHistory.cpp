#include "app/FolderHistory.h"

#include "controls/HistoryList.h"

#include <QDir>

namespace {

constexpr int FolderIcon = 3;

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

void SetHistoryFolders(HistoryList& rows, const QStringList& folders)
{
    for (int i = rows.ListCount() - 1; i >= 0; --i) {
        if (rows.GetItemData(i) == 0)
            rows.RemoveItem(i);
    }
    for (qsizetype i = 0; i < folders.size(); ++i)
        rows.Additem(folders[i], int(i), FolderIcon, 0, HistoryList::RowKind::Path);
}

QStringList HistoryFolders(const HistoryList& rows)
{
    QStringList result;
    for (int i = 0; i < rows.ListCount() && rows.GetItemData(i) == 0; ++i)
        result << rows.list(i);
    return result;
}

void RecordFolder(HistoryList& rows, const QString& path)
{
    rows.Additem(path, 0, FolderIcon, 0, HistoryList::RowKind::Path);
    for (int i = 1; i < rows.ListCount() && rows.GetItemData(i) == 0; ++i) {
        if (rows.list(i) == path) {
            rows.RemoveItem(i);
            break;
        }
    }
}

void AppendVolumeRows(HistoryList& rows, const std::vector<platform::Volume>& volumes)
{
    for (const platform::Volume& v : volumes)
        rows.Additem(v.mountPath + VolumeKindSeparator + platform::KindWord(v.kind), -1,
                     iconOf(v.kind), -1);
}

QString HistoryRowFolder(const HistoryList& rows, int index)
{
    // A folder's own name may hold a TAB; only volume rows carry a second column.
    return rows.firstColumn(index);
}

QString TypedFolderPath(const QString& typed, const QString& currentFolder, const QString& home)
{
    QString path = typed;
    if (path == u"~" || path.startsWith(u"~/"))
        path = home + path.mid(1);
    if (path.isEmpty())
        return {};
    if (!path.startsWith(u'/')) {
        if (currentFolder.isEmpty())
            return {};
        path = currentFolder + u'/' + path;
    }
    // Text alone: the folder need not exist, and its name may hold raw bytes.
    return QDir::cleanPath(path);
}
