#include "sound/Music.h"
#include "FakeBackend.h"

#include <gtest/gtest.h>

using sound::Result;
using Calls = std::vector<std::string>;

namespace {

/// Runs initMusic on audio with file (a stream the fake decodes unless given) and returns what
/// it printed.
std::string initOn(const std::shared_ptr<FakeAudio>& audio, const std::string& file = "") {
    const std::string path = file.empty() ? scratch().write("test1.fake", "") : file;
    return printed([&] { initMusic(std::make_unique<FakeBackend>(audio), path); });
}

/// Shuts the music down after every test, so no test sees another's system.
class Music : public testing::Test {
  protected:
    std::shared_ptr<FakeAudio> audio = std::make_shared<FakeAudio>();
    void TearDown() override {
        printed([] { shutdownMusic(); });
    }
};

} // namespace

TEST_F(Music, StartsLoopingOnTheFirstDriverSilentlyWithoutOneAndInStereoAtWorst) {
    EXPECT_EQ(initOn(audio), "");
    EXPECT_EQ(audio->calls, (Calls{"open 2", "play loop"}));

    // No driver at all: silent output, no errors, and the key still answers.
    audio = std::make_shared<FakeAudio>();
    audio->drivers.clear();
    EXPECT_EQ(initOn(audio), "");
    EXPECT_EQ(audio->calls, (Calls{"open silent", "play loop"}));
    EXPECT_FALSE(toggleMusic());
    EXPECT_TRUE(toggleMusic());

    // A device that refuses the speakers it reports plays in stereo, without an error line.
    audio = std::make_shared<FakeAudio>();
    audio->drivers = {{"Surround card", 8, false}};
    audio->refusedChannels = {8};
    EXPECT_EQ(initOn(audio), "");
    EXPECT_EQ(audio->calls, (Calls{"open 8", "open 2", "play loop"}));
}

TEST_F(Music, DeadOutputIsReportedAndTheGameGoesOn) {
    EXPECT_TRUE(reportsError(printed([] { fmodCheck(Result(-5)); }), Result(-5)));
    audio->openFails = true;
    EXPECT_TRUE(reportsError(initOn(audio), Result::OutputInit));
    EXPECT_EQ(audio->calls, Calls{"open 2"});
}

TEST_F(Music, MissingOrBrokenFileLeavesASilentGame) {
    EXPECT_TRUE(
        reportsError(initOn(audio, scratch().file("music/test1.mp3")), Result::FileNotFound));
    EXPECT_EQ(audio->calls, Calls{"open 2"});
    // The key still answers: the channel is gone, so it reports and shows the music off.
    bool playing = true;
    EXPECT_TRUE(reportsError(printed([&] { playing = toggleMusic(); }), Result::InvalidHandle));
    EXPECT_FALSE(playing);
    printed([] { shutdownMusic(); });
    EXPECT_EQ(audio->calls, (Calls{"open 2", "close"}));

    audio = std::make_shared<FakeAudio>();
    EXPECT_TRUE(reportsError(initOn(audio, scratch().write("broken.mp3", "ID3 but no frames")),
                             Result::Format));
    audio = std::make_shared<FakeAudio>();
    EXPECT_TRUE(reportsError(initOn(audio, scratch().path.string()), Result::FileBad)); // a folder
}

TEST_F(Music, ToggleRewindsWhenPausingAndResumesAndShutdownReleasesAll) {
    EXPECT_EQ(initOn(audio), "");
    bool playing = true;
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_FALSE(playing);
    EXPECT_FALSE(isMusicPlaying());
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_TRUE(playing);
    EXPECT_TRUE(isMusicPlaying());
    EXPECT_EQ(printed([] { shutdownMusic(); }), "");
    EXPECT_EQ(audio->calls,
              (Calls{"open 2", "play loop", "pause", "seek 0", "resume", "halt", "close"}));
    EXPECT_TRUE(audio->loaded.empty());
    // A second start-up replaces the first without a word.
    EXPECT_EQ(initOn(audio), "");
    auto second = std::make_shared<FakeAudio>();
    EXPECT_EQ(initOn(second), "");
    EXPECT_EQ(audio->calls.back(), "close");
    EXPECT_EQ(second->calls.back(), "play loop");
}

TEST_F(Music, VolumeIsClampedAndSilenceKeepsTheMusicPlayingInPlace) {
    EXPECT_EQ(initOn(audio), "");
    for (const int asked : {50, 0, 150, -3}) {
        EXPECT_EQ(printed([&] { setMusicVolume(asked); }), "") << asked;
    }
    EXPECT_TRUE(isMusicPlaying() && musicVolume() == 0);
    EXPECT_EQ(audio->calls, (Calls{"open 2", "play loop", "volume 50", "volume 0", "volume 100",
                                   "volume 0"}));               // no pause, rewind or restart
    EXPECT_TRUE(initOn(audio).empty() && musicVolume() == 100); // a fresh start: full volume
}
