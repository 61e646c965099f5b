#include "view/fonts/IconPage.h"

#include "formats/IconResources.h"
#include "shared/TextHelpers.h"

#include <QPainter>

IconPageLayout::IconPageLayout(int count, QSize pageSize)
    : count_(qMax(0, count)), columns_(qMax(1, pageSize.width() / Step)),
      rows_(qMax(1, pageSize.height() / Step))
{}

int IconPageLayout::pages() const
{
    return (count_ + perPage() - 1) / perPage();
}

int IconPageLayout::indexAt(int page, QPoint pixel) const
{
    if (pixel.x() < 0 || pixel.y() < 0)
        return -1;
    const int column = pixel.x() / Step;
    const int row = pixel.y() / Step;
    if (column >= columns_ || row >= rows_)
        return -1;
    const int index = page * perPage() + row * columns_ + column;
    return index <= count_ - 1 ? index : -1;
}

QPoint IconPageLayout::cellOrigin(int index) const
{
    const int onPage = index % perPage();
    return {(onPage % columns_) * Step, (onPage / columns_) * Step};
}

IconHover IconHoverText(int index, int count)
{
    if (index < 0 || index > count - 1)
        return {};
    return {QStringLiteral("icon") + NumText(index + 1) + QStringLiteral(" of") + NumText(count),
            NumText(index + 1)};
}

QString IconPageToolTip(const QString& statusPanelText)
{
    return statusPanelText.startsWith(QLatin1String("icon"))
               ? QStringLiteral("right click on icon to save")
               : QString();
}

IconPageDrawing::IconPageDrawing(QList<QByteArray> icons, const IconPageLayout& layout, int page,
                                 QSize pageSize, QColor background)
    : icons_(std::move(icons)), layout_(layout), page_(page), next_(page * layout.perPage()),
      end_(qMin(int(icons_.size()), next_ + layout.perPage())),
      canvas_(pageSize.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied)
{
    canvas_.fill(background);
}

bool IconPageDrawing::drawNext(int count)
{
    QPainter painter(&canvas_);
    for (int drawn = 0; drawn < count && next_ < end_; ++drawn, ++next_) {
        const QImage icon = IconImageForCell(icons_[next_], IconPageLayout::Cell);
        if (!icon.isNull())
            painter.drawImage(layout_.cellOrigin(next_), icon);
    }
    return next_ < end_;
}

QImage DrawIconPage(const QList<QByteArray>& icons, const IconPageLayout& layout, int page,
                    QSize pageSize, QColor background, const std::function<bool()>& cancelled)
{
    IconPageDrawing drawing(icons, layout, page, pageSize, background);
    bool more = true;
    while (more && !(cancelled && cancelled()))
        more = drawing.drawNext(1);
    return drawing.canvas();
}
