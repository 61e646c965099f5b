#pragma once

#include "view/ViewMode.h"

#include <QObject>
#include <QStringList>
#include <memory>

class CancelKey;
class Mci;
class PictureView;
class Prompts;
class SoundView;
class ThumbnailView;
class ViewWindow;

/// The picture, thumbnail, sound and video views of a view window: registers them for
/// their kinds, enables and connects "Rotate left" and "Rotate right", stops media when
/// a view ends and draws the thumbnail page again after a resize. A child of the
/// window. Without an `mci` it makes the desktop's own.
class PictureSoundViews : public QObject {
    Q_OBJECT
public:
    PictureSoundViews(ViewWindow& window, Prompts& prompts, CancelKey& cancel, Mci* mci = nullptr);
    ~PictureSoundViews() override;

    /// The views installed on `window`, null when none are.
    [[nodiscard]] static PictureSoundViews* of(ViewWindow* window);

    /// Starts a thumbnail show of `paths` (`List1`, full paths).
    void ShowThumbnails(const QStringList& paths);

    [[nodiscard]] PictureView& pictureView() const { return *picture_; }
    [[nodiscard]] ThumbnailView& thumbnailView() const { return *thumbnails_; }
    [[nodiscard]] SoundView& soundView() const { return *sound_; }

private:
    void enableRotation(ViewWindow& window, ViewMenuItem rotation, void (PictureView::*turn)());

    std::unique_ptr<Mci> ownMci_;
    PictureView* picture_ = nullptr;
    ThumbnailView* thumbnails_ = nullptr;
    SoundView* sound_ = nullptr;
};
