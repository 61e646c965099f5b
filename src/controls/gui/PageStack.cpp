#include "controls/gui/PageStack.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

PageStack::PageStack(QWidget* parent) : QWidget(parent), bar_(new QScrollBar(Qt::Vertical, this))
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    bar_->setObjectName(QStringLiteral("Scrollthumb"));
    bar_->setSingleStep(1);
    bar_->setPageStep(1);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!quiet_)
            Q_EMIT pageChosen(value);
    });
    setPageCount(1);
}

void PageStack::setPageCount(int count)
{
    quiet_ = true;
    bar_->setRange(0, std::max(0, count - 1));
    bar_->setValue(0);
    bar_->setEnabled(count > 1);
    quiet_ = false;
}

int PageStack::pageCount() const
{
    return bar_->maximum() + 1;
}

int PageStack::page() const
{
    return bar_->value();
}

void PageStack::setPage(int page)
{
    quiet_ = true;
    bar_->setValue(page);
    quiet_ = false;
}

void PageStack::showImage(const QImage& image)
{
    image_ = image;
    update();
}

QSize PageStack::pageArea() const
{
    return QSize(std::max(1, width() - bar_->sizeHint().width()), std::max(1, height()));
}

void PageStack::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!image_.isNull())
        painter.drawImage(0, 0, image_);
}

void PageStack::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int barWidth = bar_->sizeHint().width();
    bar_->setGeometry(width() - barWidth, 0, barWidth, height());
}

void PageStack::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT mouseMoved(event->position().toPoint(), event->buttons());
}

void PageStack::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT mousePressed(event->position().toPoint(), event->button());
}

void PageStack::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT mouseReleased(event->position().toPoint(), event->button());
}
