#pragma once

#include <QSize>

/// The range of a picture scroll bar for one side: the overflow of the picture over
/// the frame, with small and large steps of a hundredth and a tenth of it. An overflow
/// of 0 or less leaves the bar unused.
struct ScrollRange {
    int maximum = 0;
    int smallStep = 0;
    int largeStep = 0;
    [[nodiscard]] bool used() const { return maximum > 0; }
};
[[nodiscard]] ScrollRange ScrollRangeFor(int pictureSide, int frameSide);

/// The left-click shrink: each side that overflows the frame gives its ratio (picture
/// over frame), a side that fits gives 1; the picture is divided by the smaller ratio.
/// A picture smaller than the frame keeps its size; when both sides overflow, the side
/// with the smaller ratio fits exactly and the other still overflows.
[[nodiscard]] QSize ShrunkToFrame(QSize picture, QSize frame);
