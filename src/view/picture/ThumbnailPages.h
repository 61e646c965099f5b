#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <chrono>
#include <functional>

class ThumbnailCache;

/// Pictures on one thumbnail page.
inline constexpr int PicturesPerPage = 25;

/// The last page (0-based) of a set of `count` pictures.
[[nodiscard]] int LastThumbnailPage(int count);
/// The message that starts a thumbnail show: " 26 pictures", a line break, " 2 pages".
[[nodiscard]] QString ThumbnailShowMessage(int count);
/// Status panel 2 over a thumbnail: "picture 3 of 30" for index 2 (0-based).
[[nodiscard]] QString ThumbnailHoverText(int index, int count);

/// Where the thumbnails of a page go, for a page area of `area` pixels: five columns and
/// five rows of cells a fifth of the area less 60 twips, 50 twips apart.
class ThumbnailGeometry {
public:
    explicit ThumbnailGeometry(QSize area, double twipsPerPixel = 15);

    /// The size every thumbnail is stretched to, in pixels.
    [[nodiscard]] QSize thumbnailSize() const;
    /// The cell of position k (1 to 25) on a page, in pixels.
    [[nodiscard]] QRect cell(int k) const;
    /// The 0-based index into the whole set of the picture under `point` on `page`;
    /// the caller checks it against the set's size.
    [[nodiscard]] int indexAt(QPoint point, int page) const;

private:
    double twipsPerPixel_;
    int width_;  ///< thumbnail width in twips
    int height_; ///< thumbnail height in twips
};

/// Draws page `page` (0-based) of `paths` onto an image of `area` pixels: each picture
/// stretched into its cell with a black frame; a picture that cannot be read leaves
/// its cell empty. The pictures decode in parallel off the calling thread at the
/// thumbnail size; they are painted in order. Before each picture `carryOn` is asked
/// (false ends the page, keeping what is drawn); while a picture is still decoding
/// `waiting` runs (to let the window paint), and every so often `carryOn` is asked again,
/// so that a picture that never comes (a dead network share) cannot hold the page.
/// Either may be empty. With a `cache` (not kept), thumbnails come from the desktop's
/// shared cache and new ones go into it. `load` replaces the decoding (tests).
[[nodiscard]] QImage
DrawThumbnailPage(const QStringList& paths, int page, QSize area,
                  const std::function<bool()>& carryOn = {},
                  const std::function<void()>& waiting = {}, const ThumbnailCache* cache = nullptr,
                  double twipsPerPixel = 15,
                  const std::function<QImage(const QString& path, QSize size)>& load = {});

/// Waits at most `most` for the decoding threads that pages ended early left behind
/// (a program waits so before it ends); true when none is left.
bool WaitForThumbnailDecoders(std::chrono::milliseconds most);
