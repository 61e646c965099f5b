#include "view/window/gui/PictureSoundViews.h"

#include "platform/gui/WindowedMci.h"
#include "view/media/gui/SoundView.h"
#include "view/picture/gui/PictureView.h"
#include "view/picture/gui/ThumbnailView.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QGridLayout>

PictureSoundViews::PictureSoundViews(ViewWindow& window, Prompts& prompts, CancelKey& cancel,
                                     Mci* mci)
    : QObject(&window)
{
    setObjectName(QStringLiteral("PictureSoundViews"));
    if (!mci) {
        ownMci_ = std::make_unique<WindowedMci>();
        mci = ownMci_.get();
    }
    QWidget* canvas = &window.pageCanvas();
    // Both views fill the canvas, one above the other; each decides when it shows. Views
    // made again for the same window join the canvas's layout instead of orphaning one.
    auto* layout = qobject_cast<QGridLayout*>(canvas->layout());
    if (!layout) {
        layout = new QGridLayout(canvas);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    picture_ = new PictureView(window, canvas);
    thumbnails_ = new ThumbnailView(window, *picture_, prompts, cancel, canvas);
    layout->addWidget(thumbnails_, 0, 0);
    layout->addWidget(picture_, 0, 0);
    picture_->hide();
    thumbnails_->hide();
    sound_ = new SoundView(window, *mci);

    window.setKindView(ViewAction::Picture, [this](const ViewRequest& request) {
        return picture_->ViewPicture(request.fullPath(), true);
    });
    window.setKindView(ViewAction::Sound, [this](const ViewRequest& request) {
        sound_->PlaySoundFile(request.fullPath());
        return true;
    });
    window.setKindView(ViewAction::Video, [this](const ViewRequest& request) {
        sound_->PlayVideo(request.fullPath());
        return true;
    });
    connect(&window, &ViewWindow::stopMediaRequested, sound_, &SoundView::StopMedia);
    connect(window.menuItem(ViewMenuItem::Cancel), &QAction::triggered, sound_,
            &SoundView::CancelMedia);
    connect(&window, &ViewWindow::pageNeedsRedraw, this, [this](ViewMode mode) {
        if (mode == ViewMode::Thumbnails)
            thumbnails_->TriggerThumbnail(ThumbnailView::Trigger::Sizing);
    });
    enableRotation(window, ViewMenuItem::RotateLeft, &PictureView::RotateLeft);
    enableRotation(window, ViewMenuItem::RotateRight, &PictureView::RotateRight);
}

void PictureSoundViews::enableRotation(ViewWindow& window, ViewMenuItem rotation,
                                       void (PictureView::*turn)())
{
    QAction* item = window.menuItem(rotation);
    item->setEnabled(true);
    // Pointers by value: the slot runs long after the constructor's references are gone.
    ViewWindow* owner = &window;
    PictureView* picture = picture_;
    connect(item, &QAction::triggered, this, [owner, picture, turn] {
        if (owner->viewMode() == ViewMode::Picture)
            (picture->*turn)();
    });
}

PictureSoundViews::~PictureSoundViews() = default;

PictureSoundViews* PictureSoundViews::of(ViewWindow* window)
{
    return window ? window->findChild<PictureSoundViews*>(QStringLiteral("PictureSoundViews"),
                                                          Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void PictureSoundViews::ShowThumbnails(const QStringList& paths)
{
    thumbnails_->setPictures(paths);
    thumbnails_->TriggerThumbnail(ThumbnailView::Trigger::View);
}
