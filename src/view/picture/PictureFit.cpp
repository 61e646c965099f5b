#include "view/picture/PictureFit.h"

#include <algorithm>

ScrollRange ScrollRangeFor(int pictureSide, int frameSide)
{
    const int overflow = pictureSide - frameSide;
    if (overflow <= 0)
        return {};
    return {overflow, overflow / 100, overflow / 10};
}

QSize ShrunkToFrame(QSize picture, QSize frame)
{
    if (frame.width() <= 0 || frame.height() <= 0)
        return picture;
    const double rx =
        picture.width() > frame.width() ? double(picture.width()) / frame.width() : 1.0;
    const double ry =
        picture.height() > frame.height() ? double(picture.height()) / frame.height() : 1.0;
    const double r = std::min(rx, ry);
    return QSize(static_cast<int>(picture.width() / r), static_cast<int>(picture.height() / r));
}
