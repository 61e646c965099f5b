#include "browse/FileDrag.h"

#include "platform/FileNames.h"

#include <QMimeData>

namespace {

// The origin travels as one line of numbers, then the listed folder as a URL so that its
// raw bytes survive.
QByteArray originBytes(const DragOrigin& origin)
{
    QByteArray line = QByteArray::number(origin.process) + ' ' + QByteArray::number(origin.list) +
                      ' ' + QByteArray::number(origin.generation) + ' ' +
                      QByteArray::number(int(origin.source)) + ' ' +
                      QByteArray::number(origin.node) + ' ' + QByteArray::number(int(origin.set));
    line += '\n';
    if (!origin.listedFolder.isEmpty())
        line += platform::fileUrl(origin.listedFolder).toEncoded();
    return line;
}

bool inRange(int value, int last)
{
    return value >= 0 && value <= last;
}

} // namespace

QByteArray UriListOf(const QStringList& paths)
{
    QByteArray list;
    for (const QString& path : paths)
        list += platform::fileUrl(path).toEncoded() + "\r\n";
    return list;
}

QStringList PathsOfUriList(const QByteArray& list)
{
    QStringList paths;
    for (const QByteArray& raw : list.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QString path = platform::localPathOfUrl(line);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

QMimeData* MakeFileDrag(const QStringList& paths, const DragOrigin& origin)
{
    auto* data = new QMimeData;
    if (!paths.isEmpty())
        data->setData(UriListFormat, UriListOf(paths));
    data->setData(DragOriginFormat, originBytes(origin));
    return data;
}

std::optional<DragOrigin> DragOriginOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(DragOriginFormat))
        return std::nullopt;
    const QByteArray bytes = data->data(DragOriginFormat);
    const qsizetype newline = bytes.indexOf('\n');
    const QList<QByteArray> fields = bytes.left(newline).split(' ');
    if (newline < 0 || fields.size() != 6)
        return std::nullopt;
    bool ok[6] = {};
    DragOrigin origin;
    origin.process = fields[0].toLongLong(&ok[0]);
    origin.list = fields[1].toULongLong(&ok[1]);
    origin.generation = fields[2].toULongLong(&ok[2]);
    const int source = fields[3].toInt(&ok[3]);
    origin.node = fields[4].toInt(&ok[4]);
    const int set = fields[5].toInt(&ok[5]);
    for (const bool field : ok)
        if (!field)
            return std::nullopt;
    if (!inRange(source, int(DragList::FolderTree)) || !inRange(set, int(DraggedSet::Folder)))
        return std::nullopt;
    origin.source = DragList(source);
    origin.set = DraggedSet(set);
    const QByteArray folder = bytes.mid(newline + 1).trimmed();
    // The URL drops the folder's closing "/".
    if (!folder.isEmpty())
        origin.listedFolder = platform::localPathOfUrl(folder);
    if (!origin.listedFolder.isEmpty() && !origin.listedFolder.endsWith(u'/'))
        origin.listedFolder += u'/';
    return origin;
}

namespace {

DropItems readDrop(const QMimeData* data, qint64 process, const std::vector<OwnList>& ownLists,
                   bool readPaths)
{
    DropItems items;
    if (!data)
        return items;
    const std::optional<DragOrigin> origin = DragOriginOf(data);
    if (origin && origin->process == process) {
        for (const OwnList& own : ownLists) {
            if (own.source != origin->source || own.list != origin->list)
                continue;
            items.kind = own.generation == origin->generation ? DropItems::Kind::OwnNode
                                                              : DropItems::Kind::Stale;
            items.source = origin->source;
            items.node = origin->node;
            items.set = origin->set;
            items.listedFolder = origin->listedFolder;
            return items;
        }
    }
    if (!data->hasFormat(UriListFormat))
        return items;
    if (readPaths) {
        items.paths = PathsOfUriList(data->data(UriListFormat));
        if (items.paths.isEmpty())
            return items;
    }
    items.kind = DropItems::Kind::Paths;
    if (origin) {
        items.set = origin->set;
        items.listedFolder = origin->listedFolder;
    }
    return items;
}

} // namespace

DropItems ReadDrop(const QMimeData* data, qint64 process, const std::vector<OwnList>& ownLists)
{
    return readDrop(data, process, ownLists, true);
}

DropItems PeekDrop(const QMimeData* data, qint64 process, const std::vector<OwnList>& ownLists)
{
    return readDrop(data, process, ownLists, false);
}

bool MayCarryFiles(const QMimeData* data)
{
    return data && (data->hasFormat(UriListFormat) || data->hasFormat(DragOriginFormat));
}
