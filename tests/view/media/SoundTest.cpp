#include "formats/Mp3Class.h"
#include "platform/Mci.h"
#include "view/media/SoundPlayback.h"

#include <gtest/gtest.h>

namespace {
const QString Song = QStringLiteral("/music/my songs/long song.mp3");
const QString Device = QStringLiteral("\"/music/my songs/long song.mp3\"");
} // namespace

TEST(SoundTexts, LengthsAndPositionsFormatAsTheSoundViewShowsThem)
{
    EXPECT_EQ(DurationText(3725000), QStringLiteral("1:02:05"));
    EXPECT_EQ(DurationText(187000), QStringLiteral("03:07"));
    EXPECT_EQ(DurationText(0), QStringLiteral("00:00"));
    EXPECT_EQ(DurationText(3600000), QStringLiteral("1:00:00"));
    EXPECT_EQ(FormatHMS(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(FormatHMS(59), QStringLiteral("00:00:59"));
    EXPECT_EQ(PositionText(7400), QStringLiteral("0:07"));
    EXPECT_EQ(PositionText(125000), QStringLiteral("2:05"));
    // Halves go to the even neighbour.
    EXPECT_EQ(RoundedSeconds(2500), 2);
    EXPECT_EQ(RoundedSeconds(3500), 4);
    EXPECT_EQ(RoundedSeconds(1499), 1);
    EXPECT_EQ(SecondsToMinutes(605), QStringLiteral("10:05"));
    EXPECT_EQ(TextBeforeLast(QStringLiteral("a/b/c"), QLatin1Char('/')), QStringLiteral("a/b"));
    EXPECT_EQ(TextBeforeLast(QStringLiteral("abc"), QLatin1Char('/')), QString());
    EXPECT_EQ(Mp3Class::GetLastBackSlash(QStringLiteral("C:\\a\\b.mp3")), QStringLiteral("b.mp3"));
    EXPECT_EQ(Mp3Class::GetLastBackSlash(Song), QStringLiteral("long song.mp3"));
    EXPECT_EQ(Mp3Class::GetLastBackSlash(QStringLiteral("plain")), QStringLiteral("plain"));
}

TEST(Mp3Class, AddressesTheFileByItsQuotedPath)
{
    RecordingMci mci;
    Mp3Class mp3(mci);
    mp3.MP3FileName = QStringLiteral("  ") + Song + QStringLiteral(" ");
    mp3.MP3Stop();
    mp3.MP3Pause();
    mp3.MP3Resume();
    EXPECT_EQ(mci.sent,
              (QStringList{QStringLiteral("close ") + Device, QStringLiteral("Stop ") + Device,
                           QStringLiteral("play ") + Device}));
}

TEST(Mp3Class, PlayClosesThePreviousFileBeforeOpeningTheNewOne)
{
    RecordingMci mci;
    Mp3Class mp3(mci);
    mp3.MP3FileName = QStringLiteral("/a.wav");
    mp3.MP3Play();
    mp3.MP3FileName = Song;
    mp3.MP3Play();
    EXPECT_EQ(mci.sent,
              (QStringList{QStringLiteral("close "), QStringLiteral("open \"/a.wav\""),
                           QStringLiteral("play \"/a.wav\""), QStringLiteral("close \"/a.wav\""),
                           QStringLiteral("open ") + Device, QStringLiteral("play ") + Device}));
}

TEST(Mp3Class, QueriesSetTheirTimeFormatAndReadTheReply)
{
    RecordingMci mci;
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" length")] =
        QStringLiteral("3725000");
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" position")] =
        QStringLiteral("7400");
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" mode")] =
        QStringLiteral("playing");
    Mp3Class mp3(mci);
    mp3.MP3FileName = Song;
    EXPECT_EQ(mp3.MP3Duration(), QStringLiteral("1:02:05"));
    EXPECT_EQ(
        mci.sent,
        (QStringList{QStringLiteral("set ") + Device + QStringLiteral(" time format ms"),
                     QStringLiteral("status ") + Device + QStringLiteral(" length"),
                     QStringLiteral("set ") + Device + QStringLiteral(" time format frames")}));
    EXPECT_EQ(mp3.MP3DurationInSec(), 3725);
    EXPECT_EQ(mp3.MP3PositionInSec(), QStringLiteral("07"));
    EXPECT_EQ(mp3.MP3Position(), QStringLiteral("0:07"));
    EXPECT_EQ(mp3.MP3PositionInMS(), QStringLiteral("7400"));
    EXPECT_TRUE(mp3.MP3Playing());

    mci.sent.clear();
    mp3.MP3ChangePositionTo(12);
    EXPECT_EQ(mci.sent.last(), QStringLiteral("play ") + Device + QStringLiteral(" from 12000"));
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" mode")] =
        QStringLiteral("stopped");
    mp3.MP3ChangePositionTo(3);
    EXPECT_EQ(mci.sent.last(), QStringLiteral("seek ") + Device + QStringLiteral(" to 3000"));
    EXPECT_FALSE(mp3.MP3Playing());
}

TEST(Mp3Class, RepliesEndAtTheirFirstNul)
{
    RecordingMci mci;
    mci.replies[QStringLiteral("status \"/a.mp3\" position")] =
        QStringLiteral("65000") + QChar(0) + QStringLiteral("999");
    Mp3Class mp3(mci);
    mp3.MP3FileName = QStringLiteral("/a.mp3");
    EXPECT_EQ(mp3.MP3Position(), QStringLiteral("1:05"));
}

TEST(SoundPlayback, CountsDownTheRemainingTime)
{
    RecordingMci mci;
    SoundPlayback sound(mci);
    sound.PlaySoundFile(Song);
    EXPECT_TRUE(sound.loaded());
    EXPECT_EQ(sound.countdownText(), QString()) << "nothing known: nothing remains";
    EXPECT_EQ(sound.toolTipText(), QString());
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" length")] =
        QStringLiteral("3725000");
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" position")] =
        QStringLiteral("0");
    EXPECT_EQ(sound.countdownText(), QStringLiteral("01:02:05"));
    EXPECT_EQ(sound.toolTipText(),
              QStringLiteral("Playing: ") + Song + QStringLiteral(", duration = 01:02:05"));
    mci.replies[QStringLiteral("status ") + Device + QStringLiteral(" position")] =
        QStringLiteral("3725000");
    EXPECT_EQ(sound.countdownText(), QString());
    sound.Stop();
    EXPECT_FALSE(sound.loaded());
    EXPECT_EQ(mci.sent.last(), QStringLiteral("close ") + Device);
}

TEST(SoundPlayback, VideoPathsAreSentBare)
{
    RecordingMci mci;
    ViewVideo(mci, QStringLiteral("/films/my film.avi"));
    EXPECT_EQ(mci.sent,
              (QStringList{QStringLiteral("stop video"), QStringLiteral("close video"),
                           QStringLiteral("open /films/my film.avi Type avivideo Alias video"),
                           QStringLiteral("play video")}));
}

TEST(MciCommand, TakesQuotedAndBarePathsApart)
{
    const MciCommand sound = ParseMciCommand(QStringLiteral("status \"/a b/c.mp3\" mode"));
    EXPECT_EQ(sound.verb, QStringLiteral("status"));
    EXPECT_EQ(sound.device, QStringLiteral("/a b/c.mp3"));
    EXPECT_EQ(sound.words, QStringList{QStringLiteral("mode")});
    const MciCommand video =
        ParseMciCommand(QStringLiteral("open /films/my film.avi Type avivideo Alias video"));
    EXPECT_EQ(video.device, QStringLiteral("/films/my film.avi"));
    EXPECT_EQ(video.valueAfter(QStringLiteral("alias")), QStringLiteral("video"));
    EXPECT_EQ(video.valueAfter(QStringLiteral("type")), QStringLiteral("avivideo"));
    const MciCommand stop = ParseMciCommand(QStringLiteral("Stop video"));
    EXPECT_EQ(stop.verb, QStringLiteral("stop"));
    EXPECT_EQ(stop.device, QStringLiteral("video"));
    const MciCommand seek = ParseMciCommand(QStringLiteral("seek \"/x.wav\" to 3000"));
    EXPECT_EQ(seek.valueAfter(QStringLiteral("to")), QStringLiteral("3000"));
    EXPECT_EQ(ParseMciCommand(QStringLiteral("close ")).device, QString());
}
