#include "sound/Music.h"
#include "FakeBackend.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

using sound::Result;

namespace {

const ScratchDir& scratch() {
    static const ScratchDir dir("music");
    return dir;
}

/// Runs initMusic on audio with file (a stream the fake decodes unless given) and returns what
/// it printed.
std::string initOn(const std::shared_ptr<FakeAudio>& audio, const std::string& file = "") {
    const std::string path = file.empty() ? fakeStream(scratch(), "test1.fake") : file;
    return printed([&] { initMusic(fakeBackend(audio), path); });
}

std::string errorLine(Result code) {
    return "FMOD error! (" + std::to_string(int(code)) + ") " + sound::resultText(code) + "\n";
}

/// Whether what was printed starts with the error line of code.
bool startsWithError(const std::string& printed, Result code) {
    return printed.rfind(errorLine(code), 0) == 0;
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
    ASSERT_EQ(audio->silentOpens, std::vector<bool>{false});
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"});
    EXPECT_EQ(audio->loaded.begin()->second, scratch().file("test1.fake"));

    // No driver at all: silent output, no errors, and the key still answers.
    audio = std::make_shared<FakeAudio>();
    audio->drivers.clear();
    EXPECT_EQ(initOn(audio), "");
    ASSERT_EQ(audio->silentOpens, std::vector<bool>{true});
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"});
    EXPECT_FALSE(toggleMusic());
    EXPECT_TRUE(toggleMusic());

    // A device that refuses the speakers it reports plays in stereo, without an error line.
    audio = std::make_shared<FakeAudio>();
    audio->drivers = {{"Surround card", 8, false}};
    audio->refusedChannels = {8};
    EXPECT_EQ(initOn(audio), "");
    ASSERT_EQ(audio->opens.size(), 2u);
    EXPECT_EQ(audio->opens[0].channels, 8);
    EXPECT_EQ(audio->opens[1].channels, 2);
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"});
}

TEST_F(Music, DeadOutputIsReportedAndTheGameGoesOn) {
    EXPECT_EQ(printed([] { fmodCheck(Result(-5)); }),
              "FMOD error! (-5) The result code is not one the sound layer knows.\n");
    audio->openFails = true;
    EXPECT_TRUE(startsWithError(initOn(audio), Result::OutputInit));
    EXPECT_TRUE(audio->calls.empty());
}

TEST_F(Music, MissingOrBrokenFileLeavesASilentGame) {
    EXPECT_TRUE(
        startsWithError(initOn(audio, scratch().file("music/test1.mp3")), Result::FileNotFound));
    EXPECT_TRUE(audio->calls.empty());
    // The key still answers: the channel is gone, so it reports and shows the music off.
    bool playing = true;
    EXPECT_TRUE(startsWithError(printed([&] { playing = toggleMusic(); }), Result::InvalidHandle));
    EXPECT_FALSE(playing);
    printed([] { shutdownMusic(); });
    EXPECT_EQ(audio->closes, 1);

    audio = std::make_shared<FakeAudio>();
    EXPECT_TRUE(startsWithError(initOn(audio, scratch().write("broken.mp3", "ID3 but no frames")),
                                Result::Format));
}

TEST_F(Music, ToggleRewindsWhenPausingAndResumesAndShutdownReleasesAll) {
    EXPECT_EQ(initOn(audio), "");
    audio->position = 42.0;
    bool playing = true;
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_FALSE(playing);
    EXPECT_TRUE(audio->paused);
    EXPECT_EQ(audio->position, 0.0);
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_TRUE(playing);
    EXPECT_FALSE(audio->paused);
    EXPECT_EQ(audio->calls, (std::vector<std::string>{"play loop", "pause", "seek 0", "resume"}));

    EXPECT_EQ(printed([] { shutdownMusic(); }), "");
    EXPECT_TRUE(audio->loaded.empty());
    EXPECT_FALSE(audio->open);
    EXPECT_EQ(audio->closes, 1);
    // A second start-up replaces the first without a word.
    EXPECT_EQ(initOn(audio), "");
    auto second = std::make_shared<FakeAudio>();
    EXPECT_EQ(initOn(second), "");
    EXPECT_FALSE(audio->open);
    EXPECT_TRUE(second->open);
}
