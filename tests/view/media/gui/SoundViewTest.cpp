#include "view/media/gui/SoundView.h"

#include "platform/Mci.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "view/window/gui/ViewWindow.h"

#include <QStatusBar>
#include <gtest/gtest.h>

TEST(SoundView, ShowsTheLengthWhenItsLoadIsAnnouncedAndNothingWhenTheLoadFailed)
{
    Settings settings;
    ScriptedPrompts prompts;
    RecordingMci mci; // outlives the window and its sound view
    ViewWindow window(settings, prompts);
    auto* sound = new SoundView(window, mci); // a child of the window

    const QString song = "/music/long song.mp3";
    const QString device = '"' + song + '"';
    sound->PlaySoundFile(song);
    mci.replies["status " + device + " length"] = "3725000";
    mci.replies["status " + device + " position"] = "0";
    Q_EMIT mci.loadEnded("video", true);
    EXPECT_EQ(window.statusMessage(), QString()) << "another device's load";
    Q_EMIT mci.loadEnded(song, true);
    EXPECT_EQ(window.statusMessage(), "01:02:05") << "shown at once, not at the next tick";

    // A file the layer could not load has no length: the count-down and its tip clear.
    window.statusBar()->setToolTip("Playing: " + song);
    const QString junk = "/music/junk.mp3";
    sound->PlaySoundFile(junk);
    Q_EMIT mci.loadEnded(junk, false);
    EXPECT_EQ(window.statusMessage(), QString());
    EXPECT_EQ(window.statusBar()->toolTip(), QString());
    EXPECT_TRUE(sound->playback().loaded()) << "it stays named, as a failed open left it";
}
