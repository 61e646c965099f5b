#include "view/media/SoundPlayback.h"

#include "platform/Mci.h"

void SoundPlayback::PlaySoundFile(const QString& path)
{
    mp3_.MP3Stop();
    mp3_.MP3FileName = path;
    mp3_.MP3Play();
}

void SoundPlayback::Stop()
{
    mp3_.MP3Stop();
    mp3_.MP3FileName.clear();
}

qint64 SoundPlayback::remainingSeconds()
{
    return mp3_.MP3DurationInSec() - mp3_.MP3PositionInSec().toLongLong();
}

QString SoundPlayback::countdownText()
{
    const qint64 remaining = remainingSeconds();
    return remaining == 0 ? QString() : FormatHMS(remaining);
}

QString SoundPlayback::toolTipText()
{
    if (!loaded() || remainingSeconds() == 0)
        return {};
    return QStringLiteral("Playing: ") + mp3_.MP3FileName + QStringLiteral(", duration = ") +
           FormatHMS(mp3_.MP3DurationInSec());
}

void StopVideo(Mci& mci)
{
    mci.send(QStringLiteral("stop video"));
    mci.send(QStringLiteral("close video"));
}

void ViewVideo(Mci& mci, const QString& path)
{
    StopVideo(mci);
    mci.send(QStringLiteral("open ") + path + QStringLiteral(" Type avivideo Alias video"));
    mci.send(QStringLiteral("play video"));
}
