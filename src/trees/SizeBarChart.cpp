#include "trees/SizeBarChart.h"

#include "controls/Grid.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 6; ///< pixels around the page
constexpr int BarGap = 2; ///< pixels left free above and below each bar
constexpr int DateLabelWidth = 12;

} // namespace

SizeBarKind BasketSizeBarKind()
{
    return SizeBarKind{TreeType::PlainList, false, true, 3};
}

int DefaultLabelWidth(const SizeBarKind& kind)
{
    if (kind.fileTable)
        return 1500;
    switch (kind.treeType) {
    case TreeType::Extension:
        return kind.extensionNames ? 1900 : 1200;
    case TreeType::Date:
        return 1750;
    default:
        return 1500;
    }
}

QString SizeBarHeading(const SizeBarKind& kind)
{
    if (kind.fileTable || kind.treeType == TreeType::PlainList)
        return QStringLiteral(" NAME");
    switch (kind.treeType) {
    case TreeType::Date:
        return QStringLiteral("COUNT        DATE");
    case TreeType::Extension:
        return kind.extensionNames ? QStringLiteral("COUNT  EXTNAME")
                                   : QStringLiteral("COUNT   EXT");
    default: // size and age groups are ranges
        return QStringLiteral("COUNT RANGE");
    }
}

QString SizeBarRowText(const SizeBarKind& kind, const QString& count, const QString& label)
{
    QString shown = QLatin1Char(' ') + label.trimmed();
    if (kind.treeType == TreeType::Date && !kind.fileTable)
        shown = shown.leftJustified(DateLabelWidth, QLatin1Char(' '));
    if (kind.fileTable)
        return shown;
    return count.trimmed().rightJustified(5, QLatin1Char(' ')) + QLatin1Char('\t') + shown;
}

QFont SizeBarStyle::defaultFont()
{
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(10);
    return font;
}

bool HasSizeBarData(const Grid& grid)
{
    return grid.rows() >= 2;
}

SizeBarLayout LayOutSizeBars(const Grid& grid, const SizeBarKind& kind, int labelWidthTwips,
                             QSize page, int lineHeight, double twipsPerPixel)
{
    SizeBarLayout layout;
    const int twips = labelWidthTwips > 0 ? labelWidthTwips : DefaultLabelWidth(kind);
    layout.labelWidth = static_cast<int>(std::lround(twips / twipsPerPixel));
    lineHeight = std::max(lineHeight, 4);
    const int first = std::max(1, grid.fixedRows());
    double largest = 0;
    for (int r = first; r < grid.rows(); ++r)
        largest = std::max(largest, grid.textMatrix(r, kind.valueColumn).trimmed().toDouble());
    const int barLeft = Margin + layout.labelWidth;
    const int barRoom = std::max(1, page.width() - barLeft - Margin);
    const double scale = largest > 0 ? barRoom / largest : 0;

    const auto newPage = [&] {
        SizeBarLayout::Page p;
        p.heading = SizeBarHeading(kind);
        p.headingAt = QPoint(Margin, Margin + lineHeight);
        layout.pages.push_back(std::move(p));
        return Margin + lineHeight; // the heading's row
    };
    int y = newPage();
    for (int r = first; r < grid.rows(); ++r) {
        if (y + 2 * lineHeight > page.height() - Margin && !layout.pages.back().items.empty())
            y = newPage();
        const int top = y;
        y += lineHeight;
        SizeBarItem item;
        item.text = SizeBarRowText(kind, grid.textMatrix(r, 0), grid.textMatrix(r, 1));
        item.textAt = QPoint(Margin, y);
        const double value =
            std::max(0.0, grid.textMatrix(r, kind.valueColumn).trimmed().toDouble());
        const int length = static_cast<int>(std::lround(value * scale));
        item.bar = QRect(barLeft, top + BarGap + lineHeight / 4, length,
                         std::max(1, lineHeight - 2 * BarGap));
        layout.pages.back().items.push_back(std::move(item));
    }
    return layout;
}

QList<QImage> DrawSizeBarPages(const Grid& grid, const SizeBarKind& kind, int labelWidthTwips,
                               QSize page, const SizeBarStyle& style, double twipsPerPixel)
{
    const QFontMetrics metrics(style.font);
    const SizeBarLayout layout =
        LayOutSizeBars(grid, kind, labelWidthTwips, page, metrics.height() + 2, twipsPerPixel);
    // The label follows the five-character count and one space.
    const int tabWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('W'))) * 6;
    QList<QImage> pages;
    for (const SizeBarLayout::Page& p : layout.pages) {
        QImage image(page, QImage::Format_RGB32);
        image.fill(style.background);
        {
            QPainter painter(&image);
            painter.setFont(style.font);
            painter.setPen(style.text);
            painter.drawText(p.headingAt, p.heading);
            const int barLeft = p.items.empty() ? 0 : p.items.front().bar.left();
            painter.drawText(QPoint(barLeft + 4, p.headingAt.y()), QStringLiteral("SIZE"));
            painter.setPen(style.line);
            painter.drawLine(barLeft - 2, p.headingAt.y() + 2, barLeft - 2, page.height());
            // Labels end before the bars start: a long name is cut short with "...".
            const auto drawLabel = [&](QPoint at, const QString& text) {
                const int room = barLeft - 4 - at.x();
                painter.drawText(at, metrics.elidedText(text, Qt::ElideRight, std::max(0, room)));
            };
            for (const SizeBarItem& item : p.items) {
                painter.setPen(style.text);
                const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
                if (tab < 0) {
                    drawLabel(item.textAt, item.text);
                } else {
                    drawLabel(item.textAt, item.text.left(tab));
                    drawLabel(item.textAt + QPoint(tabWidth, 0), item.text.mid(tab + 1));
                }
                painter.fillRect(item.bar, style.bar);
                if (item.bar.width() > 2) {
                    painter.setPen(style.line);
                    painter.drawRect(item.bar.adjusted(0, 0, -1, -1));
                }
            }
        }
        pages.append(image);
    }
    return pages;
}
