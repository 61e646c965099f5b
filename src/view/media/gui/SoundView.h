#pragma once

#include "view/media/SoundPlayback.h"

#include <QObject>
#include <QTimer>

class Mci;
class MenuCommand;
class QMenu;
class ViewerHost;

/// Sound in the view window: plays the file, counts the remaining time down in status
/// panel 2 once a second (`Timer1`), offers the "SoundMenu" on a right click on the
/// status bar while a sound is loaded and explains the sound in the status bar's tool
/// tip. Also starts AVI video on the "video" alias.
class SoundView : public QObject {
    Q_OBJECT
public:
    SoundView(ViewerHost& host, Mci& mci);

    /// The sound view of the dispatch: plays `path` and starts the count-down.
    void PlaySoundFile(const QString& path);
    /// The video view of the dispatch.
    void PlayVideo(const QString& path);
    /// Ending a view: the sound closes and is forgotten, the video stops and closes.
    void StopMedia();
    /// "Cancel" in the "View" menu: "stop mp3" and "close all".
    void CancelMedia();

    // The "SoundMenu" items.
    void Stop();
    void Pause();
    void Resume();
    void Replay();

    /// One tick of `Timer1`.
    void Tick();
    /// The media layer has loaded `device` (or failed to): when it is the sound playing,
    /// the count-down shows its length at once (nothing, when the file did not open).
    void LoadEnded(const QString& device);
    /// The status bar's tool tip for the panel under the mouse.
    void UpdateToolTip(int panel);

    [[nodiscard]] SoundPlayback& playback() { return playback_; }
    [[nodiscard]] QMenu* soundMenu() const { return soundMenu_; }
    /// `Timer1`: runs while a sound plays.
    [[nodiscard]] const QTimer& countdownTimer() const { return countdown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ViewerHost& host_;
    Mci& mci_;
    SoundPlayback playback_;
    QTimer countdown_;
    MenuCommand* menus_ = nullptr;
    QMenu* soundMenu_ = nullptr;
    QWidget* statusBar_ = nullptr; ///< `ViewName`, watched for the menu and tool tip
    int panelUnderMouse_ = -1;
};
