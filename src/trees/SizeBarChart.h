#pragma once

#include "browse/FileList.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <vector>

class Grid;

/// What decides the chart's texts: the tree type the table came from, the "Use names
/// for file extensions" setting, and whether the table lists files (three columns:
/// "#", "Name", "Size") rather than group statistics; and the column of each row's value.
struct SizeBarKind {
    TreeType treeType = TreeType::PlainList;
    bool extensionNames = false;
    bool fileTable = false;
    int valueColumn = 2; ///< the size tables' column 2; the basket's size column is 3
};

/// The chart of the basket grid (tag "BARB"): its rows are files, labelled by their
/// name (column 1) alone under " NAME" and valued by the grid's size column (3).
[[nodiscard]] SizeBarKind BasketSizeBarKind();

/// The default label column width in twips for the tree type.
[[nodiscard]] int DefaultLabelWidth(const SizeBarKind& kind);
/// The heading printed above the rows ("COUNT   EXT", " NAME", ...).
[[nodiscard]] QString SizeBarHeading(const SizeBarKind& kind);
/// A row's text: the count right-aligned in five characters, a TAB and the label
/// (trimmed, one space in front, the date tree's padded to 12); a file table's row is
/// the label alone.
[[nodiscard]] QString SizeBarRowText(const SizeBarKind& kind, const QString& count,
                                     const QString& label);

/// One row of the chart as drawn: its text and its bar, in page pixels.
struct SizeBarItem {
    QString text;
    QPoint textAt; ///< baseline start
    QRect bar;
};
/// The chart on pages of one size.
struct SizeBarLayout {
    struct Page {
        QString heading;
        QPoint headingAt;
        std::vector<SizeBarItem> items;
    };
    std::vector<Page> pages;
    int labelWidth = 0; ///< pixels
};

/// Lays the data rows of `grid` (rows from the first after the header; column 0 the
/// count, 1 the label, the kind's value column the value) out on pages of `page` pixels with rows
/// of `lineHeight` pixels. `labelWidthTwips` <= 0 takes the default for the kind. The largest
/// value's bar fills the page right of the label column.
[[nodiscard]] SizeBarLayout LayOutSizeBars(const Grid& grid, const SizeBarKind& kind,
                                           int labelWidthTwips, QSize page, int lineHeight,
                                           double twipsPerPixel = 15);

/// The colours and font of the chart.
struct SizeBarStyle {
    QFont font = defaultFont(); ///< a small fixed-pitch font, so the counts line up
    QColor bar = Qt::blue;      ///< the sixth colour setting
    QColor line = Qt::darkBlue; ///< the highlight colour
    QColor background = Qt::white;
    QColor text = Qt::black;

    [[nodiscard]] static QFont defaultFont();
};

/// The chart of `grid` drawn on pages of `page` pixels.
[[nodiscard]] QList<QImage> DrawSizeBarPages(const Grid& grid, const SizeBarKind& kind,
                                             int labelWidthTwips, QSize page,
                                             const SizeBarStyle& style, double twipsPerPixel = 15);

/// True when the grid holds something to chart: at least one data row.
[[nodiscard]] bool HasSizeBarData(const Grid& grid);
