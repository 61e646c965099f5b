#include "view/picture/gui/PictureView.h"

#include "platform/FileAccess.h"
#include "view/ViewerHost.h"
#include "view/picture/PictureFile.h"
#include "view/picture/PictureFit.h"
#include "view/picture/Rotation.h"

#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QScrollBar>
#include <memory>

PictureView::PictureView(ViewerHost& host, QWidget* parent)
    : QWidget(parent), host_(host), hscroll_(new QScrollBar(Qt::Horizontal, this)),
      vscroll_(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("FullPicture1"));
    hscroll_->setObjectName(QStringLiteral("HscrollPic"));
    vscroll_->setObjectName(QStringLiteral("VScrollPic"));
    connect(hscroll_, &QScrollBar::valueChanged, this, [this](int value) {
        offset_.setX(-value);
        update();
    });
    connect(vscroll_, &QScrollBar::valueChanged, this, [this](int value) {
        offset_.setY(-value);
        update();
    });
    hscroll_->hide();
    vscroll_->hide();
}

PictureView::~PictureView() = default;

QSize PictureView::frameSize() const
{
    return QSize(std::max(0, width() - vscroll_->sizeHint().width()),
                 std::max(0, height() - hscroll_->sizeHint().height()));
}

bool PictureView::load(const QString& path)
{
    if (movie_)
        movie_->deleteLater();
    movie_ = nullptr;
    PictureRead read = ReadPicture(path, PictureMemoryBudget());
    picture_ = std::move(read.image);
    problem_ = read.problem;
    path_ = path;
    if (picture_.isNull())
        return false;
    // Read from a file the platform opened: Qt cannot open a name that is not UTF-8.
    auto file = std::make_unique<QFile>();
    if (!platform::openForReading(*file, path))
        return true;
    auto* movie = new QMovie(file.get(), ForcedPictureFormat(path), this);
    file.release()->setParent(movie);
    if (movie->isValid() && movie->frameCount() > 1) {
        movie_ = movie;
        connect(movie, &QMovie::frameChanged, this, [this] {
            if (movie_)
                picture_ = movie_->currentImage();
            update();
        });
        movie->start();
    } else {
        delete movie;
    }
    shownSize_ = picture_.size();
    host_.setShownPicture(picture_, QFileInfo(path).fileName());
    return true;
}

bool PictureView::ViewPicture(const QString& path, bool reload)
{
    host_.CloseView();
    rotationAngle_ = 0;
    rotated_ = QImage();
    enlarged_ = QImage();
    offset_ = QPoint(0, 0);
    bool ok = true;
    if (reload)
        ok = load(path);
    else
        shownSize_ = picture_.size();
    host_.setViewNote(problem_);
    if (QWidget* canvas = parentWidget()) {
        // Only the picture shows on the canvas now (no thumbnail or icon page).
        for (QWidget* other : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != this)
                other->hide();
        }
        canvas->show();
        canvas->raise();
    }
    show();
    raise();
    layOut();
    setScrollRanges();
    host_.setViewMode(ViewMode::Picture);
    update();
    return ok;
}

void PictureView::layOut()
{
    const int barHeight = hscroll_->sizeHint().height();
    const int barWidth = vscroll_->sizeHint().width();
    hscroll_->setGeometry(0, height() - barHeight, std::max(0, width() - barWidth), barHeight);
    vscroll_->setGeometry(width() - barWidth, 0, barWidth, std::max(0, height() - barHeight));
}

void PictureView::setScrollRanges()
{
    const QSize frame = frameSize();
    const auto apply = [](QScrollBar* bar, const ScrollRange& range) {
        bar->setVisible(range.used());
        if (!range.used())
            return;
        bar->setRange(0, range.maximum);
        bar->setSingleStep(std::max(1, range.smallStep));
        bar->setPageStep(std::max(1, range.largeStep));
        bar->setValue(0);
    };
    apply(vscroll_, ScrollRangeFor(picture_.height(), frame.height()));
    apply(hscroll_, ScrollRangeFor(picture_.width(), frame.width()));
}

void PictureView::RotateRight()
{
    rotationAngle_ = RotatedRight(rotationAngle_);
    ApplyRotation();
}

void PictureView::RotateLeft()
{
    rotationAngle_ = RotatedLeft(rotationAngle_);
    ApplyRotation();
}

void PictureView::ApplyRotation()
{
    if (path_.isEmpty())
        return;
    if (rotationAngle_ == 0) {
        ViewPicture(path_, true);
        return;
    }
    // Always from the unrotated picture, so the angle is the total turn. The picture
    // turns within its own square rather than the whole area, so that no part of it
    // leaves the area.
    rotated_ = TurnedPicture(picture_, rotationAngle_);
    hscroll_->hide();
    vscroll_->hide();
    update();
}

void PictureView::showEnlarged(const QImage& picture)
{
    enlarged_ = picture.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (QWidget* canvas = parentWidget()) {
        canvas->show();
        canvas->raise();
    }
    hscroll_->hide();
    vscroll_->hide();
    show();
    raise();
    update();
}

void PictureView::hideEnlarged()
{
    enlarged_ = QImage();
    offset_ = QPoint(0, 0);
    hscroll_->setValue(0);
    vscroll_->setValue(0);
    hide();
}

void PictureView::rightDragged(QPoint at)
{
    offset_ += at - dragStart_;
    dragStart_ = at;
    update();
}

void PictureView::leftPressed()
{
    shownSize_ = ShrunkToFrame(shownSize_, frameSize());
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!enlarged_.isNull()) {
        painter.drawImage(0, 0, enlarged_);
        return;
    }
    if (!rotated_.isNull()) {
        painter.drawImage(0, 0, rotated_);
        return;
    }
    painter.setClipRect(QRect(QPoint(0, 0), frameSize()));
    if (!picture_.isNull())
        painter.drawImage(QRect(offset_, shownSize_), picture_);
}

void PictureView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    if (host_.viewMode() != ViewMode::Picture)
        return QWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        rightPressed(event->position().toPoint());
    else if (event->button() == Qt::LeftButton)
        leftPressed();
}

void PictureView::mouseMoveEvent(QMouseEvent* event)
{
    if (host_.viewMode() == ViewMode::Picture && (event->buttons() & Qt::RightButton))
        rightDragged(event->position().toPoint());
}
