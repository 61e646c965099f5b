#include "view/fonts/gui/IconPageWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

IconPageWidget::IconPageWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ThumbPic"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    scrollThumb_ = new QScrollBar(Qt::Vertical, this);
    scrollThumb_->setObjectName(QStringLiteral("Scrollthumb"));
    scrollThumb_->setSingleStep(1);
    scrollThumb_->setPageStep(1);
}

QSize IconPageWidget::pageSize() const
{
    return {qMax(1, width() - scrollThumb_->sizeHint().width()), qMax(1, height())};
}

void IconPageWidget::setPage(const QImage& page)
{
    page_ = page;
    update();
}

void IconPageWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, page_);
}

void IconPageWidget::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT hovered(event->position().toPoint());
}

void IconPageWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        Q_EMIT rightReleased();
}

void IconPageWidget::resizeEvent(QResizeEvent*)
{
    const int bar = scrollThumb_->sizeHint().width();
    scrollThumb_->setGeometry(width() - bar, 0, bar, height());
}
