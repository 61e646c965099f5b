#include "formats/Mp3Class.h"

#include "platform/Mci.h"
#include "shared/TextHelpers.h"

#include <cmath>

namespace {

constexpr int StatusReplyLength = 30;
constexpr int LengthReplyLength = 128;

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

qint64 RoundedSeconds(qint64 ms)
{
    return static_cast<qint64>(std::nearbyint(double(ms) / 1000.0));
}

QString DurationText(qint64 ms)
{
    qint64 s = RoundedSeconds(ms);
    const qint64 hours = s / 3600;
    s %= 3600;
    const qint64 minutes = s / 60;
    s %= 60;
    return (hours >= 1 ? QString::number(hours) + QLatin1Char(':') : QString()) +
           twoDigits(minutes) + QLatin1Char(':') + twoDigits(s);
}

QString PositionText(qint64 ms)
{
    const qint64 s = RoundedSeconds(ms);
    if (s < 60)
        return QStringLiteral("0:") + twoDigits(s);
    return SecondsToMinutes(s);
}

QString FormatHMS(qint64 seconds)
{
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits((seconds % 3600) / 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

QString SecondsToMinutes(qint64 seconds)
{
    return QString::number(seconds / 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

QString TextBeforeLast(const QString& text, QChar separator)
{
    const qsizetype at = text.lastIndexOf(separator);
    return at < 0 ? QString() : text.left(at);
}

QString Mp3Class::GetLastBackSlash(const QString& path)
{
    const qsizetype at =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return at < 0 ? path : path.mid(at + 1);
}

void Mp3Class::rebuildDevice()
{
    device_ = QLatin1Char('"') + MP3FileName.trimmed() + QLatin1Char('"');
}

QString Mp3Class::send(const QString& command, int replyLength)
{
    const QString reply = mci_.send(command);
    // Replies come through fixed buffers and end at the first NUL.
    return CutAtNul(replyLength > 0 ? reply.left(replyLength - 1) : reply);
}

void Mp3Class::MP3Play()
{
    send(QStringLiteral("close ") + device_);
    rebuildDevice();
    send(QStringLiteral("open ") + device_);
    send(QStringLiteral("play ") + device_);
}

void Mp3Class::MP3Stop()
{
    rebuildDevice();
    send(QStringLiteral("close ") + device_);
}

void Mp3Class::MP3Pause()
{
    rebuildDevice();
    send(QStringLiteral("Stop ") + device_);
}

void Mp3Class::MP3Resume()
{
    rebuildDevice();
    send(QStringLiteral("play ") + device_);
}

bool Mp3Class::MP3Playing()
{
    rebuildDevice();
    return send(QStringLiteral("status ") + device_ + QStringLiteral(" mode"), StatusReplyLength)
               .left(7) == QLatin1String("playing");
}

void Mp3Class::MP3ChangePositionTo(qint64 seconds)
{
    rebuildDevice();
    send(QStringLiteral("set ") + device_ + QStringLiteral(" time format milliseconds"));
    const QString ms = QString::number(seconds * 1000);
    if (MP3Playing())
        send(QStringLiteral("play ") + device_ + QStringLiteral(" from ") + ms);
    else
        send(QStringLiteral("seek ") + device_ + QStringLiteral(" to ") + ms);
}

QString Mp3Class::positionReply()
{
    rebuildDevice();
    send(QStringLiteral("set ") + device_ + QStringLiteral(" time format milliseconds"));
    return send(QStringLiteral("status ") + device_ + QStringLiteral(" position"),
                StatusReplyLength);
}

QString Mp3Class::MP3PositionInMS()
{
    return positionReply();
}

QString Mp3Class::MP3PositionInSec()
{
    const qint64 s = RoundedSeconds(positionReply().toLongLong());
    return s <= 9 ? QLatin1Char('0') + QString::number(s) : QString::number(s);
}

QString Mp3Class::MP3Position()
{
    return PositionText(positionReply().toLongLong());
}

qint64 Mp3Class::MP3DurationInMs()
{
    rebuildDevice();
    send(QStringLiteral("set ") + device_ + QStringLiteral(" time format ms"));
    const QString length =
        send(QStringLiteral("status ") + device_ + QStringLiteral(" length"), LengthReplyLength);
    send(QStringLiteral("set ") + device_ + QStringLiteral(" time format frames"));
    return length.trimmed().toLongLong();
}

qint64 Mp3Class::MP3DurationInSec()
{
    return RoundedSeconds(MP3DurationInMs());
}

QString Mp3Class::MP3Duration()
{
    return DurationText(MP3DurationInMs());
}
