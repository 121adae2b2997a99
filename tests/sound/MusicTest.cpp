#include "sound/Music.h"
#include "FakeBackend.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

using sound::Result;

namespace {

const SoundScratch& scratch() {
    static const SoundScratch dir("music");
    return dir;
}

/// Runs initMusic on audio with file and returns what it printed.
std::string initOn(const std::shared_ptr<FakeAudio>& audio, const std::string& file) {
    testing::internal::CaptureStdout();
    initMusic(fakeBackend(audio), file);
    return testing::internal::GetCapturedStdout();
}

std::string quietInit(const std::shared_ptr<FakeAudio>& audio) {
    return initOn(audio, scratch().fakeStream("test1.fake"));
}

template <typename F> std::string printed(F&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

std::string errorLine(int code, const std::string& text) {
    return "FMOD error! (" + std::to_string(code) + ") " + text + "\n";
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

TEST(FmodCheck, PrintsErrorsOnlyInTheGamesFormat) {
    EXPECT_EQ(printed([] { fmodCheck(Result::Ok); }), "");
    EXPECT_EQ(printed([] { fmodCheck(Result::FileNotFound); }),
              "FMOD error! (8) The file could not be found.\n");
    EXPECT_EQ(printed([] { fmodCheck(Result::InvalidHandle); }),
              errorLine(2, sound::resultText(Result::InvalidHandle)));
    EXPECT_EQ(printed([] { fmodCheck(Result(77)); }),
              "FMOD error! (77) The result code is not one the sound layer knows.\n");
    EXPECT_EQ(printed([] { fmodCheck(Result(-5)); }),
              "FMOD error! (-5) The result code is not one the sound layer knows.\n");
}

TEST_F(Music, StartsLoopingOnTheFirstDriverWithoutAWord) {
    EXPECT_EQ(quietInit(audio), "");
    ASSERT_EQ(audio->opens.size(), 1u);
    EXPECT_FALSE(audio->silentOpens[0]);
    EXPECT_EQ(audio->opens[0].sampleRate, 44100);
    EXPECT_EQ(audio->opens[0].format, sound::SampleFormat::Pcm16);
    EXPECT_EQ(audio->opens[0].channels, 2);
    EXPECT_EQ(audio->opens[0].bufferLength, sound::DEFAULT_DSP_BUFFER_LENGTH);
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"});
    EXPECT_FALSE(audio->paused);
    ASSERT_EQ(audio->loaded.size(), 1u);
    EXPECT_EQ(audio->loaded.begin()->second, scratch().file("test1.fake"));
}

TEST_F(Music, NoDriverMeansSilentOutputAndNoErrors) {
    audio->drivers.clear();
    EXPECT_EQ(quietInit(audio), "");
    ASSERT_EQ(audio->silentOpens, std::vector<bool>{true});
    EXPECT_EQ(audio->opens[0].channels, 2);
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"});
    EXPECT_FALSE(toggleMusic());
    EXPECT_TRUE(toggleMusic());
}

TEST_F(Music, SigmaTelChipsMixInFloatAt48k) {
    audio->drivers = {{"SigmaTel High Definition Audio CODEC", 2, false}};
    EXPECT_EQ(quietInit(audio), "");
    ASSERT_EQ(audio->opens.size(), 1u);
    EXPECT_EQ(audio->opens[0].sampleRate, 48000);
    EXPECT_EQ(audio->opens[0].format, sound::SampleFormat::PcmFloat);
    EXPECT_EQ(audio->opens[0].channels, 2); // 0 output channels: the speaker mode decides

    // Only driver 0 counts, and the name must contain the exact word.
    for (const auto& drivers : std::vector<std::vector<sound::DriverInfo>>{
             {{"Speakers", 2, false}, {"SigmaTel", 2, false}}, {{"sigmatel audio", 2, false}}}) {
        audio = std::make_shared<FakeAudio>();
        audio->drivers = drivers;
        EXPECT_EQ(quietInit(audio), "");
        EXPECT_EQ(audio->opens.at(0).sampleRate, 44100) << drivers[0].name;
        EXPECT_EQ(audio->opens.at(0).format, sound::SampleFormat::Pcm16);
    }
}

TEST_F(Music, EmulatedDriversGetTenBuffersOf1024) {
    audio->drivers = {{"Sound server", 2, true}};
    EXPECT_EQ(quietInit(audio), "");
    EXPECT_EQ(audio->opens.at(0).bufferLength, 1024u);
    EXPECT_EQ(audio->opens.at(0).bufferCount, 10);
}

TEST_F(Music, SpeakerModeFollowsTheDriverAndFallsBackToStereo) {
    audio->drivers = {{"Surround card", 6, false}};
    EXPECT_EQ(quietInit(audio), "");
    ASSERT_EQ(audio->opens.size(), 1u);
    EXPECT_EQ(audio->opens[0].channels, 6);

    audio = std::make_shared<FakeAudio>();
    audio->drivers = {{"Surround card", 8, false}};
    audio->refusedChannels = {8};
    EXPECT_EQ(quietInit(audio), ""); // the refused buffer is retried, not reported
    ASSERT_EQ(audio->opens.size(), 2u);
    EXPECT_EQ(audio->opens[0].channels, 8);
    EXPECT_EQ(audio->opens[1].channels, 2);
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"});
}

TEST_F(Music, DeadOutputIsReportedAndTheGameGoesOn) {
    audio->openFails = true;
    const std::string uninit = errorLine(3, sound::resultText(Result::Uninitialized));
    const std::string invalid = errorLine(2, sound::resultText(Result::InvalidHandle));
    EXPECT_EQ(quietInit(audio), errorLine(6, sound::resultText(Result::OutputInit)) + uninit +
                                    uninit + invalid + invalid);
    EXPECT_EQ(audio->opens.size(), 1u);
    EXPECT_TRUE(audio->calls.empty());
}

TEST_F(Music, OldLibraryVersionIsReportedInHex) {
    audio->version = sound::makeVersion(1, 10, 2);
    std::ostringstream want;
    want << "Error!  You are using an old version of FMOD 00010a02.  This program requires "
         << std::hex << std::setw(8) << std::setfill('0') << sound::builtVersion() << "\n";
    EXPECT_EQ(quietInit(audio), want.str());
    EXPECT_EQ(audio->calls, std::vector<std::string>{"play loop"}); // and it plays all the same

    audio = std::make_shared<FakeAudio>();
    audio->version = sound::builtVersion() + 1;
    EXPECT_EQ(quietInit(audio), "");
}

TEST_F(Music, MissingOrBrokenFileLeavesASilentGame) {
    const std::string invalid = errorLine(2, sound::resultText(Result::InvalidHandle));
    EXPECT_EQ(initOn(audio, scratch().file("music/test1.mp3")),
              "FMOD error! (8) The file could not be found.\n" + invalid + invalid + invalid);
    EXPECT_TRUE(audio->calls.empty());

    // The key still answers: the channel is gone, so it reports and shows the music off.
    bool playing = true;
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), invalid + invalid + invalid);
    EXPECT_FALSE(playing);
    EXPECT_EQ(printed([] { shutdownMusic(); }), invalid); // only the sound was never there
    EXPECT_EQ(audio->closes, 1);

    audio = std::make_shared<FakeAudio>();
    EXPECT_EQ(initOn(audio, scratch().write("broken.mp3", "ID3 but no frames")),
              errorLine(10, sound::resultText(Result::Format)) + invalid + invalid + invalid);
}

TEST_F(Music, ToggleRewindsWhenPausingAndResumes) {
    EXPECT_EQ(quietInit(audio), "");
    audio->position = 42.0;
    bool playing = true;
    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_FALSE(playing);
    EXPECT_TRUE(audio->paused);
    EXPECT_EQ(audio->position, 0.0);

    EXPECT_EQ(printed([&] { playing = toggleMusic(); }), "");
    EXPECT_TRUE(playing);
    EXPECT_FALSE(audio->paused);

    EXPECT_FALSE(toggleMusic());
    EXPECT_EQ(audio->calls, (std::vector<std::string>{"play loop", "pause", "seek 0", "resume",
                                                      "pause", "seek 0"}));
}

TEST_F(Music, ShutdownReleasesEverythingQuietly) {
    EXPECT_EQ(quietInit(audio), "");
    EXPECT_EQ(printed([] { shutdownMusic(); }), "");
    EXPECT_TRUE(audio->loaded.empty());
    EXPECT_FALSE(audio->open);
    EXPECT_EQ(audio->closes, 1);
    EXPECT_EQ(audio->calls.back(), "halt");

    // A second start-up replaces the first without a word.
    EXPECT_EQ(quietInit(audio), "");
    auto second = std::make_shared<FakeAudio>();
    EXPECT_EQ(quietInit(second), "");
    EXPECT_FALSE(audio->open);
    EXPECT_TRUE(second->open);
}
