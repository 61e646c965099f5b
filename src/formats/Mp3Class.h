#pragma once

#include <QString>

class Mci;

/// One sound file played through the media command layer. Every command addresses the
/// file by its quoted path (no alias); every public method except MP3Play first
/// rebuilds that device name from MP3FileName. Failures of the layer are ignored:
/// queries then give empty or zero replies.
class Mp3Class {
public:
    explicit Mp3Class(Mci& mci) : mci_(mci) {}

    /// The full path of the sound file.
    QString MP3FileName;

    /// Closes the previously played file, then opens and plays MP3FileName.
    void MP3Play();
    /// Closes the file.
    void MP3Stop();
    /// Stops where it is; MP3Resume continues from there.
    void MP3Pause();
    void MP3Resume();
    /// True while the device reports "playing".
    [[nodiscard]] bool MP3Playing();
    /// Plays (when playing) or seeks to `seconds` from the start.
    void MP3ChangePositionTo(qint64 seconds);

    /// The position reply in milliseconds, as text.
    [[nodiscard]] QString MP3PositionInMS();
    /// The position in whole seconds; up to 9 with a leading "0".
    [[nodiscard]] QString MP3PositionInSec();
    /// The position as "0:07" under a minute, else minutes and two-digit seconds.
    [[nodiscard]] QString MP3Position();
    /// The length in milliseconds (0 when unknown).
    [[nodiscard]] qint64 MP3DurationInMs();
    [[nodiscard]] qint64 MP3DurationInSec();
    /// The length as [hours:]mm:ss, e.g. "1:02:05" or "03:07".
    [[nodiscard]] QString MP3Duration();

    /// The text after the last backslash or slash; the whole text when there is none.
    [[nodiscard]] static QString GetLastBackSlash(const QString& path);

private:
    void rebuildDevice();
    QString send(const QString& command, int replyLength = 0);
    QString positionReply();

    Mci& mci_;
    QString device_; ///< the quoted path the commands address
};

/// Whole seconds of a millisecond count, halves rounded to even.
[[nodiscard]] qint64 RoundedSeconds(qint64 ms);
/// MP3Duration's text of a length in milliseconds: [hours ":"] mm ":" ss.
[[nodiscard]] QString DurationText(qint64 ms);
/// MP3Position's text of a position in milliseconds: "0:ss" under a minute, else m:ss.
[[nodiscard]] QString PositionText(qint64 ms);
/// Whole hours, minutes and seconds, each two digits, joined by ":" (3725 -> 01:02:05).
[[nodiscard]] QString FormatHMS(qint64 seconds);
/// Seconds as whole minutes ":" seconds of at least two digits (125 -> "2:05").
[[nodiscard]] QString SecondsToMinutes(qint64 seconds);
/// The text before the last `separator`; empty when it does not occur.
[[nodiscard]] QString TextBeforeLast(const QString& text, QChar separator);
