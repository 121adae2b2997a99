// The sound layer on the real SDL2_mixer backend and the game's own music file, on SDL's dummy
// audio driver so no sound device is needed.

#include "FakeBackend.h"
#include "sound/Music.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace sound;

namespace {

const std::string GAME_MUSIC = std::string(BEAMWORKS_GAME_DIR) + "/" + MUSIC_FILE;

class SdlSound : public testing::Test {
  protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override {
        printed([] { shutdownMusic(); });
    }
};

} // namespace

TEST_F(SdlSound, StreamPausesRewindsAndResumes) {
    System system;
    ASSERT_EQ(System::create(system), Result::Ok);
    ASSERT_EQ(system.init(100, INIT_NORMAL), Result::Ok);
    // The game handles the termination signals itself.
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
    Sound sound;
    ASSERT_EQ(system.createStream(GAME_MUSIC, MODE_2D | MODE_SOFTWARE, sound), Result::Ok);
    Channel channel;
    ASSERT_EQ(system.playSound(sound, true, channel), Result::Ok);
    EXPECT_EQ(Mix_PlayingMusic(), 0); // held back while paused
    ASSERT_EQ(channel.setMode(MODE_LOOP_NORMAL), Result::Ok);
    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_NE(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_PausedMusic(), 0);

    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    ASSERT_EQ(channel.setPosition(1500), Result::Ok);
    EXPECT_EQ(channel.setPosition(600000), Result::InvalidParam); // past the end
    ASSERT_EQ(channel.setPosition(0), Result::Ok);
    EXPECT_NE(Mix_PausedMusic(), 0); // rewinding does not unpause
    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    ASSERT_EQ(sound.release(), Result::Ok);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SdlSound, GameMusicPlaysAndAFileTheMixerCannotDecodeIsReported) {
    EXPECT_EQ(printed([&] { initMusic(nullptr, GAME_MUSIC); }), "");
    EXPECT_NE(Mix_PlayingMusic(), 0);
    setMusicVolume(50);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME / 2);
    setMusicVolume(0); // silent, yet playing
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    EXPECT_TRUE(Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0);
    EXPECT_EQ(printed([] { shutdownMusic(); }), "");
    const std::string junk = scratch().write("junk.mp3", std::string(4000, 'x'));
    EXPECT_TRUE(reportsError(printed([&] { initMusic(nullptr, junk); }), Result::Format));
}
