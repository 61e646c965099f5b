#include "view/picture/Rotation.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace {
constexpr double RadiansPerDegree = 0.01745329251322222;
}

int RotatedRight(int angle)
{
    const int turned = angle + 90;
    return turned >= 271 ? 0 : turned;
}

int RotatedLeft(int angle)
{
    const int turned = angle - 90;
    return turned < -270 ? 0 : turned;
}

std::array<QPoint, 3> RotatedCorners(int width, int height, int angle)
{
    const int cx = width / 2;
    const int cy = height / 2;
    const int left = -(width / 2);
    const int top = -(height / 2);
    const std::array<QPoint, 3> corners{QPoint(left, top), QPoint(left + width, top),
                                        QPoint(left, top + height)};
    const double a = angle * RadiansPerDegree;
    const double c = std::cos(a);
    const double s = std::sin(a);
    std::array<QPoint, 3> turned;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const double x = corners[i].x();
        const double y = corners[i].y();
        turned[i] = QPoint(static_cast<int>(std::lround(x * c - y * s + cx)),
                           static_cast<int>(std::lround(y * c + x * s + cy)));
    }
    return turned;
}

QTransform RotationTransform(int width, int height, int angle)
{
    if (width <= 0 || height <= 0)
        return {};
    const std::array<QPoint, 3> p = RotatedCorners(width, height, angle);
    return QTransform(double(p[1].x() - p[0].x()) / width, double(p[1].y() - p[0].y()) / width,
                      double(p[2].x() - p[0].x()) / height, double(p[2].y() - p[0].y()) / height,
                      p[0].x(), p[0].y());
}

QImage RotatePicture(const QImage& source, int angle, const QColor& background)
{
    QImage destination(source.size(), QImage::Format_ARGB32_Premultiplied);
    destination.fill(background);
    const int w = source.width();
    const int h = source.height();
    if (w == 0 || h == 0)
        return destination;
    QPainter painter(&destination);
    painter.setTransform(RotationTransform(w, h, angle));
    painter.drawImage(0, 0, source);
    return destination;
}

QImage TurnedPicture(const QImage& picture, int angle)
{
    if (angle % 360 == 0 || picture.isNull())
        return picture;
    const int side = std::max(picture.width(), picture.height());
    QImage framed(side, side, QImage::Format_ARGB32_Premultiplied);
    framed.fill(Qt::white);
    {
        QPainter painter(&framed);
        painter.drawImage(0, 0, picture);
    }
    const QImage turned = RotatePicture(framed, angle);
    const QRect covered = RotationTransform(side, side, angle)
                              .mapRect(QRect(QPoint(0, 0), picture.size()))
                              .intersected(turned.rect());
    return turned.copy(covered);
}
