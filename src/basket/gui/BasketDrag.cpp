#include "basket/gui/BasketDrag.h"

#include <QMimeData>

namespace basketdrag {

QMimeData* payload(const QString& source)
{
    auto* data = new QMimeData;
    data->setData(Format, source.toUtf8());
    return data;
}

QString sourceOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(Format))
        return {};
    return QString::fromUtf8(data->data(Format));
}

} // namespace basketdrag
