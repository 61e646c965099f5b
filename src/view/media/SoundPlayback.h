#pragma once

#include "formats/Mp3Class.h"

#include <QString>

class Mci;

/// The view window's sound: one Mp3Class for the life of the window, the count-down
/// of the remaining time and the commands of the "SoundMenu".
class SoundPlayback {
public:
    explicit SoundPlayback(Mci& mci) : mp3_(mci) {}

    /// Closes the previous sound, then opens and plays `path`.
    void PlaySoundFile(const QString& path);
    /// "Stop" (and the end of a view): closes the sound and forgets its name.
    void Stop();
    void Pause() { mp3_.MP3Pause(); }
    void Resume() { mp3_.MP3Resume(); }
    /// Plays the sound again from its start.
    void Replay() { mp3_.MP3Play(); }

    /// True while a sound file is named (it may have finished playing).
    [[nodiscard]] bool loaded() const { return !mp3_.MP3FileName.isEmpty(); }
    /// True when `device`, as the media layer names it in an announcement, is this sound.
    [[nodiscard]] bool isDevice(const QString& device) const
    {
        return loaded() && device == mp3_.MP3FileName.trimmed();
    }
    /// Length less position, in whole seconds.
    [[nodiscard]] qint64 remainingSeconds();
    /// Status panel 2 at a tick: hh:mm:ss remaining, "" when nothing remains.
    [[nodiscard]] QString countdownText();
    /// The status bar's tool tip while a sound plays: "Playing: PATH, duration = hh:mm:ss";
    /// "" when nothing remains.
    [[nodiscard]] QString toolTipText();

    [[nodiscard]] Mp3Class& mp3() { return mp3_; }

private:
    Mp3Class mp3_;
};

/// Plays an AVI file on the "video" alias in a window of the device's own, after
/// stopping and closing the previous video. The path is sent as it is, unquoted.
void ViewVideo(Mci& mci, const QString& path);
/// Stops and closes the video ("stop video", "close video").
void StopVideo(Mci& mci);
