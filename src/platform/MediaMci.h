#pragma once

#include "platform/Mci.h"

#include <QString>
#include <map>
#include <memory>

class QMediaPlayer;

/// The Mci over Qt Multimedia: each opened device (a quoted path, or an alias) is one
/// player. Understands open (with "type" and "alias"), play (with "from"), stop, pause,
/// resume, seek ... to, close (a device or "all"), set ... time format
/// (milliseconds, ms, frames) and status ... mode, position and length.
///
/// "open" checks the file and returns at once; the player loads it in the background and
/// `loadEnded` follows (at the latest after `LoadLimitMs`, when the device counts as open
/// with what it knows by then). Until then the device holds "play", "stop", "pause",
/// "resume" and "seek" and runs them in order once loaded; their numbers are taken in
/// the time format of the moment they were sent. A device still loading answers length
/// and position 0 and mode "playing" once play was asked. A file that fails to load makes
/// the device go away. Works without a sound card: the players then run silently or
/// refuse the file.
class MediaMci : public Mci {
    Q_OBJECT
public:
    static constexpr int LoadLimitMs = 5000;

    MediaMci();
    ~MediaMci() override;

    QString send(const QString& command, int* error = nullptr) override;

protected:
    /// Where a video device shows its pictures: a window made for it, or null for none
    /// (the sound track still plays). The default makes none.
    virtual QObject* makeVideoOutput(const QString& title);

private:
    struct Device;
    QString open(const MciCommand& command, int& error);
    void watchLoad(Device& device);
    void settleLoad(Device& device, bool limitReached);
    void control(Device& device, const MciCommand& command, int& error);
    QString status(Device& device, const MciCommand& command, int& error) const;
    [[nodiscard]] Device* find(const QString& name);
    void close(const QString& name);

    std::map<QString, std::unique_ptr<Device>> devices_; ///< by lower-case name
    quint64 loads_ = 0; ///< loads begun, numbering each device's own
};
