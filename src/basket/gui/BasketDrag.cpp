#include "basket/gui/BasketDrag.h"

#include "browse/FileDrag.h"

#include <QCoreApplication>
#include <QMimeData>

namespace basketdrag {

QMimeData* payload(const QString& source, const QStringList& paths)
{
    auto* data = new QMimeData;
    data->setData(Format,
                  source.toUtf8() + '\n' + QByteArray::number(QCoreApplication::applicationPid()));
    if (!paths.isEmpty())
        data->setData(UriListFormat, UriListOf(paths));
    return data;
}

QString sourceOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(Format))
        return {};
    const QByteArray bytes = data->data(Format);
    const qsizetype newline = bytes.indexOf('\n');
    bool ok = false;
    if (newline < 0 ||
        bytes.mid(newline + 1).toLongLong(&ok) != QCoreApplication::applicationPid() || !ok)
        return {};
    return QString::fromUtf8(bytes.left(newline));
}

} // namespace basketdrag
