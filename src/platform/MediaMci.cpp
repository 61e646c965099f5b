#include "platform/MediaMci.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace {

// Error codes in the manner of the media command layer; callers only test for 0.
constexpr int UnknownCommand = 261;
constexpr int NoSuchDevice = 263;
constexpr int CannotOpen = 275;
constexpr int BadParameter = 274;

constexpr int LoadWaitMs = 5000;
constexpr int FramesPerSecond = 25;

} // namespace

struct MediaMci::Device {
    std::unique_ptr<QMediaPlayer> player;
    std::unique_ptr<QAudioOutput> audio;
    std::unique_ptr<QObject> videoOutput;
    QString timeFormat = QStringLiteral("milliseconds");

    [[nodiscard]] qint64 toUnits(qint64 ms) const
    {
        return timeFormat == QLatin1String("frames") ? ms * FramesPerSecond / 1000 : ms;
    }
    [[nodiscard]] qint64 fromUnits(qint64 value) const
    {
        return timeFormat == QLatin1String("frames") ? value * 1000 / FramesPerSecond : value;
    }
};

MediaMci::MediaMci() = default;

MediaMci::~MediaMci()
{
    close(QStringLiteral("all"));
}

QObject* MediaMci::makeVideoOutput(const QString&)
{
    return nullptr;
}

MediaMci::Device* MediaMci::find(const QString& name)
{
    const auto it = devices_.find(name.toLower());
    return it == devices_.end() ? nullptr : it->second.get();
}

void MediaMci::close(const QString& name)
{
    if (name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        for (auto& [key, device] : devices_)
            device->player->stop();
        devices_.clear();
        return;
    }
    if (const auto it = devices_.find(name.toLower()); it != devices_.end()) {
        it->second->player->stop();
        devices_.erase(it);
    }
}

QString MediaMci::send(const QString& text, int* error)
{
    int code = 0;
    QString reply;
    const MciCommand command = ParseMciCommand(text);
    if (command.verb == QLatin1String("open")) {
        reply = open(command, code);
    } else if (command.verb == QLatin1String("close")) {
        if (!find(command.device) &&
            command.device.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0)
            code = NoSuchDevice;
        close(command.device);
    } else if (Device* device = find(command.device)) {
        QMediaPlayer& player = *device->player;
        if (command.verb == QLatin1String("play") || command.verb == QLatin1String("resume")) {
            const QString from = command.valueAfter(QStringLiteral("from"));
            if (!from.isEmpty())
                player.setPosition(device->fromUnits(from.toLongLong()));
            player.play();
        } else if (command.verb == QLatin1String("stop") ||
                   command.verb == QLatin1String("pause")) {
            player.pause(); // the position stays, as a stopped device keeps it
        } else if (command.verb == QLatin1String("seek")) {
            player.pause();
            const QString to = command.valueAfter(QStringLiteral("to"));
            if (to.compare(QLatin1String("start"), Qt::CaseInsensitive) == 0)
                player.setPosition(0);
            else if (to.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0)
                player.setPosition(player.duration());
            else
                player.setPosition(device->fromUnits(to.toLongLong()));
        } else if (command.verb == QLatin1String("set")) {
            const qsizetype at = command.words.indexOf(QStringLiteral("format"));
            const QString format = at >= 0 && at + 1 < command.words.size()
                                       ? command.words[at + 1].toLower()
                                       : QString();
            if (format == QLatin1String("milliseconds") || format == QLatin1String("ms"))
                device->timeFormat = QStringLiteral("milliseconds");
            else if (format == QLatin1String("frames"))
                device->timeFormat = format;
            else
                code = BadParameter;
        } else if (command.verb == QLatin1String("status")) {
            reply = status(*device, command, code);
        } else {
            code = UnknownCommand;
        }
    } else {
        code = NoSuchDevice;
    }
    if (error)
        *error = code;
    return reply;
}

QString MediaMci::status(Device& device, const MciCommand& command, int& error) const
{
    const QString item = command.words.value(0).toLower();
    const QMediaPlayer& player = *device.player;
    if (item == QLatin1String("mode"))
        return player.playbackState() == QMediaPlayer::PlayingState ? QStringLiteral("playing")
                                                                    : QStringLiteral("stopped");
    if (item == QLatin1String("position"))
        return QString::number(device.toUnits(player.position()));
    if (item == QLatin1String("length"))
        return QString::number(device.toUnits(player.duration()));
    error = BadParameter;
    return {};
}

QString MediaMci::open(const MciCommand& command, int& error)
{
    const QString path = command.device;
    QString alias = command.valueAfter(QStringLiteral("alias"));
    const QString name = alias.isEmpty() ? path : alias;
    if (path.isEmpty() || find(name)) {
        error = CannotOpen;
        return {};
    }
    if (!platform::isRegularFile(path)) {
        error = CannotOpen;
        return {};
    }
    auto device = std::make_unique<Device>();
    device->player = std::make_unique<QMediaPlayer>();
    device->audio = std::make_unique<QAudioOutput>();
    device->player->setAudioOutput(device->audio.get());
    const bool video = command.valueAfter(QStringLiteral("type"))
                           .compare(QLatin1String("avivideo"), Qt::CaseInsensitive) == 0;
    if (video) {
        device->videoOutput.reset(makeVideoOutput(QFileInfo(path).fileName()));
        if (device->videoOutput)
            device->player->setVideoOutput(device->videoOutput.get());
    }

    // Loading runs in the background; the command returns once the length is known.
    QMediaPlayer& player = *device->player;
    QEventLoop wait;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
    const auto check = [&player, &wait] {
        const QMediaPlayer::MediaStatus s = player.mediaStatus();
        if (s == QMediaPlayer::InvalidMedia || player.error() != QMediaPlayer::NoError ||
            (s == QMediaPlayer::LoadedMedia && player.duration() > 0))
            wait.quit();
    };
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &wait, check);
    QObject::connect(&player, &QMediaPlayer::durationChanged, &wait, check);
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &wait, check);
    player.setSource(platform::fileUrl(path));
    timeout.start(LoadWaitMs);
    check();
    if (player.mediaStatus() != QMediaPlayer::LoadedMedia || player.duration() <= 0)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    if (player.mediaStatus() == QMediaPlayer::InvalidMedia ||
        player.error() != QMediaPlayer::NoError) {
        error = CannotOpen;
        return {};
    }
    devices_[name.toLower()] = std::move(device);
    return {};
}
