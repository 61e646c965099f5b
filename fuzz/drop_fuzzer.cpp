// What another program drops on Lumara: a text/uri-list and, claiming to be Lumara, an
// origin. Every path read back must be absolute and survive a trip through its URL, and
// no origin, however damaged, may make a drop from elsewhere a node of this window.
#include "FuzzInput.h"
#include "browse/FileDrag.h"
#include "platform/FileNames.h"

#include <QMimeData>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    for (const QString& path : PathsOfUriList(input)) {
        if (!path.startsWith(u'/'))
            __builtin_trap();
        const QString once = platform::localPathOfUrl(platform::fileUrl(path).toEncoded());
        const QString twice = platform::localPathOfUrl(platform::fileUrl(once).toEncoded());
        if (platform::encodeFileName(once) != platform::encodeFileName(twice))
            __builtin_trap();
    }

    QMimeData mime;
    mime.setData(DragOriginFormat, input);
    mime.setData(UriListFormat, input);
    const std::optional<DragOrigin> origin = DragOriginOf(&mime);
    const DropItems items = ReadDrop(&mime, 1, {{DragList::FileList, 2, 3}});
    const bool ours =
        origin && origin->process == 1 && origin->list == 2 && origin->source == DragList::FileList;
    if (items.kind == DropItems::Kind::OwnNode && !(ours && origin->generation == 3))
        __builtin_trap();
    if (items.kind == DropItems::Kind::Stale && !ours)
        __builtin_trap();
    return 0;
}
