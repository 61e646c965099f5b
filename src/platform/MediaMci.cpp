#include "platform/MediaMci.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Error codes in the manner of the media command layer; callers only test for 0.
constexpr int UnknownCommand = 261;
constexpr int NoSuchDevice = 263;
constexpr int CannotOpen = 275;
constexpr int BadParameter = 274;

constexpr int FramesPerSecond = 25;

} // namespace

struct MediaMci::Device {
    QString name;   ///< as the open command named it, for the announcement
    quint64 load{}; ///< tells this device's load apart from an earlier one of the same name
    std::unique_ptr<QMediaPlayer> player;
    std::unique_ptr<QAudioOutput> audio;
    std::unique_ptr<QObject> videoOutput;
    QString timeFormat = QStringLiteral("milliseconds");
    bool loading = true;
    bool playAsked = false; ///< what "status ... mode" answers while loading
    /// Commands that reach the player once it has loaded, in the order they came.
    std::vector<std::function<void(QMediaPlayer&)>> held;

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
        if (command.verb == QLatin1String("set")) {
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
            control(*device, command, code);
        }
    } else {
        code = NoSuchDevice;
    }
    if (error)
        *error = code;
    return reply;
}

void MediaMci::control(Device& device, const MciCommand& command, int& error)
{
    std::function<void(QMediaPlayer&)> action;
    const QString& verb = command.verb;
    if (verb == QLatin1String("play") || verb == QLatin1String("resume")) {
        const QString from = command.valueAfter(QStringLiteral("from"));
        std::optional<qint64> at;
        if (!from.isEmpty())
            at = device.fromUnits(from.toLongLong());
        action = [at](QMediaPlayer& player) {
            if (at)
                player.setPosition(*at);
            player.play();
        };
        device.playAsked = true;
    } else if (verb == QLatin1String("stop") || verb == QLatin1String("pause")) {
        // The position stays, as a stopped device keeps it.
        action = [](QMediaPlayer& player) { player.pause(); };
        device.playAsked = false;
    } else if (verb == QLatin1String("seek")) {
        const QString to = command.valueAfter(QStringLiteral("to"));
        std::optional<qint64> at; // none: the end, known only once loaded
        if (to.compare(QLatin1String("start"), Qt::CaseInsensitive) == 0)
            at = 0;
        else if (to.compare(QLatin1String("end"), Qt::CaseInsensitive) != 0)
            at = device.fromUnits(to.toLongLong());
        action = [at](QMediaPlayer& player) {
            player.pause();
            player.setPosition(at.value_or(player.duration()));
        };
        device.playAsked = false;
    } else {
        error = UnknownCommand;
        return;
    }
    // Qt does not promise to keep a play or a position given before the player has
    // loaded (a position given then is lost), so they wait for the load here.
    if (device.loading)
        device.held.push_back(std::move(action));
    else
        action(*device.player);
}

QString MediaMci::status(Device& device, const MciCommand& command, int& error) const
{
    const QString item = command.words.value(0).toLower();
    const QMediaPlayer& player = *device.player;
    const bool playing =
        device.loading ? device.playAsked : player.playbackState() == QMediaPlayer::PlayingState;
    if (item == QLatin1String("mode"))
        return playing ? QStringLiteral("playing") : QStringLiteral("stopped");
    if (item == QLatin1String("position"))
        return QString::number(device.loading ? 0 : device.toUnits(player.position()));
    if (item == QLatin1String("length"))
        return QString::number(device.loading ? 0 : device.toUnits(player.duration()));
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
    device->name = name;
    device->load = ++loads_;
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
    Device& opened = *device;
    devices_[name.toLower()] = std::move(device);
    watchLoad(opened);
    opened.player->setSource(platform::fileUrl(path));
    return {};
}

void MediaMci::watchLoad(Device& device)
{
    // The player's signals are taken queued: a failed load deletes the player, which must
    // not happen inside its own signal. The device is looked up again by its load, as it
    // may have been closed (or closed and opened again) meanwhile.
    const quint64 load = device.load;
    const auto settle = [this, load](bool limitReached) {
        for (auto& [key, candidate] : devices_) {
            if (candidate->load == load) {
                settleLoad(*candidate, limitReached);
                return;
            }
        }
    };
    const auto check = [settle] { settle(false); };
    QMediaPlayer* player = device.player.get();
    connect(player, &QMediaPlayer::mediaStatusChanged, this, check, Qt::QueuedConnection);
    connect(player, &QMediaPlayer::durationChanged, this, check, Qt::QueuedConnection);
    connect(player, &QMediaPlayer::errorOccurred, this, check, Qt::QueuedConnection);
    QTimer::singleShot(LoadLimitMs, this, [settle] { settle(true); });
}

void MediaMci::settleLoad(Device& device, bool limitReached)
{
    if (!device.loading)
        return;
    const QMediaPlayer& player = *device.player;
    const bool failed = player.mediaStatus() == QMediaPlayer::InvalidMedia ||
                        player.error() != QMediaPlayer::NoError;
    const bool loaded = player.mediaStatus() == QMediaPlayer::LoadedMedia && player.duration() > 0;
    if (!failed && !loaded && !limitReached)
        return;
    const QString name = device.name;
    if (failed) {
        devices_.erase(name.toLower());
        Q_EMIT loadEnded(name, false);
        return;
    }
    // A player that is still quiet at the limit counts as open with what it knows.
    device.loading = false;
    const auto held = std::exchange(device.held, {});
    for (const auto& action : held)
        action(*device.player);
    Q_EMIT loadEnded(name, true);
}
