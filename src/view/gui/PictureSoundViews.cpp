#include "view/gui/PictureSoundViews.h"

#include "platform/gui/WindowedMci.h"
#include "view/gui/PictureView.h"
#include "view/gui/SoundView.h"
#include "view/gui/ThumbnailView.h"
#include "view/gui/ViewWindow.h"

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
    QWidget* canvas = window.pictureCanvas();
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
    if (QAction* cancelItem = window.menuAction(QStringLiteral("Cancel")))
        connect(cancelItem, &QAction::triggered, sound_, &SoundView::CancelMedia);
    connect(&window, &ViewWindow::pageNeedsRedraw, this, [this](const QString& mode) {
        if (mode == QLatin1String("THUMB"))
            thumbnails_->TriggerThumbnail(QStringLiteral("SIZING"));
    });
    enableRotation(window, QStringLiteral("Rotate left"), &PictureView::RotateLeft);
    enableRotation(window, QStringLiteral("Rotate right"), &PictureView::RotateRight);
}

void PictureSoundViews::enableRotation(ViewWindow& window, const QString& caption,
                                       void (PictureView::*turn)())
{
    QAction* item = window.menuAction(caption);
    if (!item)
        return;
    item->setEnabled(true);
    // Pointers by value: the slot runs long after the constructor's references are gone.
    ViewWindow* owner = &window;
    PictureView* picture = picture_;
    connect(item, &QAction::triggered, this, [owner, picture, turn] {
        if (owner->ViewMode() == QLatin1String("PIC"))
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
    thumbnails_->TriggerThumbnail(QStringLiteral("VIEW"));
}
