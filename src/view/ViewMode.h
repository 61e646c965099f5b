#pragma once

/// What the view window shows now; each view sets it when it takes the window.
enum class ViewMode {
    None,
    Text,
    Document,
    Web,
    Ole,
    SystemInfo,
    Picture,
    Thumbnails,
    Icons,
    Font,
    FolderSizeBars, ///< the size bar chart of the folder listed
    BasketSizeBars, ///< the size bar chart of the basket
    Workbook,       ///< a spreadsheet; its file is the window's table file
    Database,       ///< a database; its working copy is the window's table file
};

/// Whether the page of `mode` is drawn by its feature after each new layout.
[[nodiscard]] constexpr bool isRedrawnPage(ViewMode mode)
{
    return mode == ViewMode::FolderSizeBars || mode == ViewMode::BasketSizeBars ||
           mode == ViewMode::Icons || mode == ViewMode::Thumbnails;
}

[[nodiscard]] constexpr bool isSizeBars(ViewMode mode)
{
    return mode == ViewMode::FolderSizeBars || mode == ViewMode::BasketSizeBars;
}

/// What the first thumbnail cell shows: the icons of a file or a page of pictures.
enum class ThumbPage { None, Icons, Pictures };

/// View menu items that other features enable or connect to.
enum class ViewMenuItem { RotateLeft, RotateRight, ShowSizeBar, Options, Copy, Cancel };
