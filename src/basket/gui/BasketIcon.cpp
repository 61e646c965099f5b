#include "basket/gui/BasketIcon.h"

#include "basket/gui/BasketDrag.h"
#include "browse/FileDrag.h"
#include "shared/TextHelpers.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>

BasketIcon::BasketIcon(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("RadeZazedactrl"));
    const QIcon icon = QIcon::fromTheme(QStringLiteral("folder-documents"),
                                        style()->standardIcon(QStyle::SP_DirOpenIcon));
    setPixmap(icon.pixmap(20, 20));
    setAlignment(Qt::AlignCenter);
    setFixedSize(28, 24);
    setAcceptDrops(true);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("RadeZazeda is empty"));
}

void BasketIcon::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    dragged_ = false;
    pressPos_ = event->position().toPoint();
}

void BasketIcon::mouseMoveEvent(QMouseEvent* event)
{
    const int entries = count_ ? count_() : 0;
    if (!(event->buttons() & Qt::LeftButton)) {
        setToolTip(entries > 0 ? NumText(entries) + QStringLiteral(" files in RadeZazeda")
                               : QStringLiteral("RadeZazeda is empty"));
        return;
    }
    if (pressed_ && entries > 0 &&
        (event->position().toPoint() - pressPos_).manhattanLength() >=
            QApplication::startDragDistance()) {
        pressed_ = false;
        dragged_ = true;
        auto* drag = new QDrag(this);
        drag->setMimeData(
            basketdrag::payload(basketdrag::FromIcon, paths_ ? paths_() : QStringList()));
        drag->setPixmap(pixmap());
        drag->exec(Qt::CopyAction);
    }
}

void BasketIcon::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && !dragged_;
    pressed_ = false;
    if (event->button() == Qt::RightButton)
        Q_EMIT menuRequested(event->globalPosition().toPoint());
    else if (event->button() == Qt::LeftButton && click)
        Q_EMIT clicked();
}

void BasketIcon::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!basketdrag::sourceOf(data).isEmpty() || MayCarryFiles(data))
        event->acceptProposedAction();
}

void BasketIcon::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    // Dropping the icon on itself is a click on it.
    if (basketdrag::sourceOf(event->mimeData()) == basketdrag::FromIcon) {
        Q_EMIT clicked();
        return;
    }
    Q_EMIT dropped(event->mimeData());
}
