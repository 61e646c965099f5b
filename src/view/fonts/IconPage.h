#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>

/// The layout of icon pages: cells of 64 x 64 pixels drawn 64 + 10 pixels apart,
/// as many columns and rows as the page area holds whole.
class IconPageLayout {
public:
    static constexpr int Cell = 64;
    static constexpr int Step = Cell + 10;

    IconPageLayout() = default;
    /// The layout of `count` icons on pages of `pageSize` pixels (at least one cell).
    IconPageLayout(int count, QSize pageSize);

    [[nodiscard]] int count() const { return count_; }
    [[nodiscard]] int columns() const { return columns_; }
    [[nodiscard]] int rows() const { return rows_; }
    [[nodiscard]] int perPage() const { return columns_ * rows_; }
    /// The number of pages (0 without icons).
    [[nodiscard]] int pages() const;
    /// The 0-based icon index under `pixel` on page `page`; -1 past the last icon.
    [[nodiscard]] int indexAt(int page, QPoint pixel) const;
    /// The top-left corner of the cell of 0-based icon `index` on its page.
    [[nodiscard]] QPoint cellOrigin(int index) const;

private:
    int count_ = 0;
    int columns_ = 1;
    int rows_ = 1;
};

/// The status texts of the icon under the mouse: panel 2 "icon 3 of 70" and the tag of
/// `ThumbImage` " 3"; both empty past the last icon.
struct IconHover {
    QString message;
    QString tag;
};
[[nodiscard]] IconHover IconHoverText(int index, int count);

/// The status bar's tool tip while panel 2 names an icon.
[[nodiscard]] QString IconPageToolTip(const QString& statusPanelText);

/// A page of icons drawn a few icons at a time, so that a window can draw it from its
/// event loop. The icons are its own copy: a later change of the shown file does not
/// reach it.
class IconPageDrawing {
public:
    /// Page `page` of `icons` (.ico bytes each) on a canvas of `pageSize` pixels filled
    /// with `background`.
    IconPageDrawing(QList<QByteArray> icons, const IconPageLayout& layout, int page, QSize pageSize,
                    QColor background);
    /// Draws up to `count` more icons, each at natural size at its cell's origin; false
    /// once the page is whole.
    bool drawNext(int count);
    [[nodiscard]] int page() const { return page_; }
    /// The page as drawn so far.
    [[nodiscard]] const QImage& canvas() const { return canvas_; }

private:
    QList<QByteArray> icons_;
    IconPageLayout layout_;
    int page_;
    int next_;
    int end_;
    QImage canvas_;
};

/// Draws page `page` of `icons` (.ico bytes each) on a canvas of the layout's page
/// size filled with `background`; each icon at natural size at its cell's origin.
/// `cancelled` runs before each icon; true ends the page, keeping what is drawn.
[[nodiscard]] QImage DrawIconPage(const QList<QByteArray>& icons, const IconPageLayout& layout,
                                  int page, QSize pageSize, QColor background,
                                  const std::function<bool()>& cancelled);
