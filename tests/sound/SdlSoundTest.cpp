// The sound layer on the real SDL2_mixer backend, on SDL's dummy audio driver so no sound
// device is needed.

#include "SoundFiles.h"
#include "sound/Music.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace sound;

namespace {

const SoundScratch& scratch() {
    static const SoundScratch dir("sdl");
    return dir;
}

template <typename F> std::string printed(F&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

class SdlSound : public testing::Test {
  protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override {
        printed([] { shutdownMusic(); });
    }
};

} // namespace

TEST_F(SdlSound, ReportsTheDummyDriverAndTheLinkedMixer) {
    System system;
    ASSERT_EQ(System::create(system), Result::Ok);
    unsigned version = 0;
    ASSERT_EQ(system.getVersion(version), Result::Ok);
    const SDL_version* linked = Mix_Linked_Version();
    EXPECT_EQ(version, makeVersion(linked->major, linked->minor, linked->patch));
    EXPECT_GE(version, builtVersion());
    int drivers = 0;
    ASSERT_EQ(system.getNumDrivers(drivers), Result::Ok);
    ASSERT_EQ(drivers, 1);
    Caps caps = CAPS_NONE;
    SpeakerMode mode = SpeakerMode::Mono;
    ASSERT_EQ(system.getDriverCaps(0, caps, mode), Result::Ok);
    EXPECT_NE(caps & CAPS_HARDWARE_EMULATED, 0u); // the dummy driver is no hardware
    EXPECT_EQ(mode, SpeakerMode::Stereo);
    std::string name;
    ASSERT_EQ(system.getDriverInfo(0, name), Result::Ok);
    EXPECT_FALSE(name.empty());
}

TEST_F(SdlSound, LeavesTheTerminationSignalsToTheGame) {
    System system;
    ASSERT_EQ(System::create(system), Result::Ok);
    ASSERT_EQ(system.init(100, INIT_NORMAL), Result::Ok);
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(SdlSound, StreamPausesRewindsAndResumes) {
    System system;
    ASSERT_EQ(System::create(system), Result::Ok);
    ASSERT_EQ(system.init(100, INIT_NORMAL), Result::Ok);
    Sound sound;
    ASSERT_EQ(
        system.createStream(scratch().wavTone("tone.wav", 2.0), MODE_2D | MODE_SOFTWARE, sound),
        Result::Ok);
    unsigned length = 0;
    ASSERT_EQ(sound.getLength(length), Result::Ok);
    EXPECT_NEAR(length, 2000, 5);

    Channel channel;
    ASSERT_EQ(system.playSound(sound, true, channel), Result::Ok);
    EXPECT_EQ(Mix_PlayingMusic(), 0); // held back while paused
    ASSERT_EQ(channel.setMode(MODE_LOOP_NORMAL), Result::Ok);
    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_NE(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_PausedMusic(), 0);

    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    EXPECT_NE(Mix_PausedMusic(), 0);
    // The mixer reports WAV positions in whole seconds (MP3 ones exactly): seek to one.
    ASSERT_EQ(channel.setPosition(1000), Result::Ok);
    unsigned at = 0;
    ASSERT_EQ(channel.getPosition(at), Result::Ok);
    EXPECT_NEAR(at, 1000, 30);
    ASSERT_EQ(channel.setPosition(0), Result::Ok);
    ASSERT_EQ(channel.getPosition(at), Result::Ok);
    EXPECT_LT(at, 30u);
    bool paused = false;
    ASSERT_EQ(channel.getPaused(paused), Result::Ok);
    EXPECT_TRUE(paused);
    EXPECT_NE(Mix_PausedMusic(), 0); // rewinding does not unpause
    EXPECT_NE(Mix_PlayingMusic(), 0);
    EXPECT_EQ(channel.setPosition(2500), Result::InvalidParam);

    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    ASSERT_EQ(sound.release(), Result::Ok);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(channel.getPaused(paused), Result::InvalidHandle);
}

TEST_F(SdlSound, GameMusicRunsAndTogglesWithoutErrors) {
    const std::string file = scratch().wavTone("loop.wav", 1.0);
    EXPECT_EQ(printed([&] { initMusic(nullptr, file); }), "");
    EXPECT_NE(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    bool playing = true;
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_FALSE(playing);
    EXPECT_NE(Mix_PausedMusic(), 0);
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_TRUE(playing);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_EQ(printed([] { shutdownMusic(); }), "");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SdlSound, NoAudioAtAllStillRunsTheMusicSilently) {
    // An audio driver that does not exist: SDL finds no device, so the layer goes silent.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        System probe;
        ASSERT_EQ(System::create(probe), Result::Ok);
        int drivers = -1;
        ASSERT_EQ(probe.getNumDrivers(drivers), Result::Ok);
        ASSERT_EQ(drivers, 0);
    }
    const std::string file = scratch().wavTone("silent.wav", 1.0);
    EXPECT_EQ(printed([&] { initMusic(nullptr, file); }), "");
    EXPECT_FALSE(toggleMusic());
    EXPECT_TRUE(toggleMusic());
    EXPECT_EQ(printed([] { shutdownMusic(); }), "");
}

TEST_F(SdlSound, MissingGameMusicIsReportedAndPlaysOn) {
    const std::string invalid =
        "FMOD error! (2) " + std::string(resultText(Result::InvalidHandle)) + "\n";
    EXPECT_EQ(printed([] { initMusic(nullptr, scratch().file("music/test1.mp3")); }),
              "FMOD error! (8) The file could not be found.\n" + invalid + invalid + invalid);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    // What the real decoder cannot read.
    EXPECT_EQ(
        printed([] { initMusic(nullptr, scratch().write("junk.mp3", std::string(4000, 'x'))); }),
        "FMOD error! (10) " + std::string(resultText(Result::Format)) + "\n" + invalid + invalid +
            invalid);
}
