#pragma once

#include "platform/Mci.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

/// The Mci over Qt Multimedia: each opened device (a quoted path, or an alias) is one
/// player. Understands open (with "type" and "alias"), play (with "from"), stop, pause,
/// resume, seek ... to, close (a device or "all"), set ... time format
/// (milliseconds, ms, frames) and status ... mode, position and length. "open" waits
/// until the file is loaded (at most a few seconds), so a length query may follow it.
/// Works without a sound card: the players then run silently or refuse the file.
class MediaMci : public Mci {
public:
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
    QString status(Device& device, const MciCommand& command, int& error) const;
    [[nodiscard]] Device* find(const QString& name);
    void close(const QString& name);

    std::map<QString, std::unique_ptr<Device>> devices_; ///< by lower-case name
};
