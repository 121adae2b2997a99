#include "FakeBackend.h"
#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <set>

using namespace sound;

namespace {

const SoundScratch& scratch() {
    static const SoundScratch dir("layer");
    return dir;
}

/// A system on a fresh fake, initialised unless told otherwise.
struct Rig {
    std::shared_ptr<FakeAudio> audio = std::make_shared<FakeAudio>();
    System system;
    explicit Rig(bool initialise = true) {
        EXPECT_EQ(System::create(system, fakeBackend(audio)), Result::Ok);
        if (initialise) {
            EXPECT_EQ(system.init(100, INIT_NORMAL), Result::Ok);
        }
    }
    /// sound on a new channel (paused when asked); an invalid sound is first loaded with mode.
    Channel play(Sound& sound, bool paused, Mode mode = MODE_2D | MODE_CREATESTREAM) {
        if (!sound.valid()) {
            EXPECT_EQ(system.createStream(scratch().fakeStream("song.fake"), mode, sound),
                      Result::Ok);
        }
        Channel channel;
        EXPECT_EQ(system.playSound(sound, paused, channel), Result::Ok);
        return channel;
    }
};

} // namespace

TEST(SoundResults, ValuesAreStable) {
    EXPECT_EQ(int(Result::Ok), 0);
    EXPECT_EQ(int(Result::InvalidHandle), 2);
    EXPECT_EQ(int(Result::OutputCreateBuffer), 7);
    EXPECT_EQ(int(Result::FileNotFound), 8);
    EXPECT_EQ(int(Result::Format), 10);
    EXPECT_EQ(LAST_RESULT, 11);
}

TEST(SoundResults, EveryCodeHasItsOwnSentence) {
    std::set<std::string> seen;
    for (int code = 0; code <= LAST_RESULT; ++code) {
        const std::string text = resultText(Result(code));
        ASSERT_GT(text.size(), 10u) << code;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text.front()))) << text;
        EXPECT_EQ(text.back(), '.') << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;
        EXPECT_TRUE(seen.insert(text).second) << "repeated: " << text;
    }
    const std::string unknown = resultText(Result(LAST_RESULT + 1));
    EXPECT_EQ(seen.count(unknown), 0u);
    EXPECT_EQ(unknown, resultText(Result(-1)));
    EXPECT_EQ(unknown, resultText(Result(1000)));
}

TEST(SoundSystem, EmptyHandlesAnswerInvalidHandle) {
    System system;
    unsigned version = 0;
    EXPECT_EQ(system.getVersion(version), Result::InvalidHandle);
    EXPECT_EQ(system.init(10, INIT_NORMAL), Result::InvalidHandle);
    EXPECT_EQ(system.release(), Result::InvalidHandle);
    Sound sound;
    Channel channel;
    bool paused = false;
    EXPECT_EQ(system.playSound(sound, false, channel), Result::InvalidHandle);
    EXPECT_EQ(sound.release(), Result::InvalidHandle);
    EXPECT_EQ(channel.getPaused(paused), Result::InvalidHandle);
    EXPECT_EQ(channel.setPosition(0), Result::InvalidHandle);
}

TEST(SoundSystem, ReportsDriversFromTheBackend) {
    Rig rig(false);
    rig.audio->drivers = {{"Speakers", 2, false},
                          {"Surround", 6, true},
                          {"Headset", 1, false},
                          {"Odd", 3, false},
                          {"Big", 8, false}};
    int count = 0;
    ASSERT_EQ(rig.system.getNumDrivers(count), Result::Ok);
    EXPECT_EQ(count, 5);
    std::string name;
    ASSERT_EQ(rig.system.getDriverInfo(1, name), Result::Ok);
    EXPECT_EQ(name, "Surround");

    const auto caps = [&](int id, Caps expectCaps, SpeakerMode expectMode) {
        Caps c = 99;
        SpeakerMode m = SpeakerMode::Mono;
        ASSERT_EQ(rig.system.getDriverCaps(id, c, m), Result::Ok);
        EXPECT_EQ(c, expectCaps) << id;
        EXPECT_EQ(m, expectMode) << id;
    };
    caps(0, CAPS_NONE, SpeakerMode::Stereo);
    caps(1, CAPS_HARDWARE_EMULATED | CAPS_MULTICHANNEL, SpeakerMode::Surround51);
    caps(2, CAPS_NONE, SpeakerMode::Mono);
    caps(3, CAPS_MULTICHANNEL, SpeakerMode::Stereo);
    caps(4, CAPS_MULTICHANNEL, SpeakerMode::Surround71);

    Caps c = CAPS_NONE;
    SpeakerMode m = SpeakerMode::Stereo;
    EXPECT_EQ(rig.system.getDriverCaps(5, c, m), Result::InvalidParam);
    EXPECT_EQ(rig.system.getDriverCaps(-1, c, m), Result::InvalidParam);
    EXPECT_EQ(rig.system.getDriverInfo(5, name), Result::InvalidParam);
    EXPECT_EQ(name, "Surround");

    rig.audio->version = makeVersion(1, 2, 3);
    unsigned version = 0;
    ASSERT_EQ(rig.system.getVersion(version), Result::Ok);
    EXPECT_EQ(version, 0x00010203u);
}

TEST(SoundSystem, SettingsAreCheckedAndReachTheOutput) {
    Rig rig(false);
    System& s = rig.system;
    EXPECT_EQ(s.setDSPBufferSize(0, 4), Result::InvalidParam);
    EXPECT_EQ(s.setDSPBufferSize(1024, 1), Result::InvalidParam);
    EXPECT_EQ(s.setDSPBufferSize(100000, 4), Result::InvalidParam);
    EXPECT_EQ(s.setSoftwareFormat(1000, SampleFormat::Pcm16, 0, 6, Resampler::Linear),
              Result::InvalidParam);
    EXPECT_EQ(s.setSoftwareFormat(48000, SampleFormat::Pcm16, 3, 6, Resampler::Linear),
              Result::InvalidParam);
    EXPECT_EQ(s.setSoftwareFormat(48000, SampleFormat::Pcm16, 0, 0, Resampler::Linear),
              Result::InvalidParam);
    EXPECT_EQ(s.setSpeakerMode(SpeakerMode(42)), Result::InvalidParam);
    // Refused settings change nothing.
    SoftwareFormat format;
    ASSERT_EQ(s.getSoftwareFormat(format), Result::Ok);
    EXPECT_EQ(format.sampleRate, 44100);
    unsigned length = 0;
    int count = 0;
    ASSERT_EQ(s.getDSPBufferSize(length, count), Result::Ok);
    EXPECT_EQ(length, DEFAULT_DSP_BUFFER_LENGTH);
    EXPECT_EQ(count, DEFAULT_DSP_BUFFER_COUNT);

    ASSERT_EQ(s.setSpeakerMode(SpeakerMode::Quad), Result::Ok);
    ASSERT_EQ(s.setDSPBufferSize(512, 8), Result::Ok);
    ASSERT_EQ(s.setSoftwareFormat(48000, SampleFormat::PcmFloat, 0, 6, Resampler::Cubic),
              Result::Ok);
    ASSERT_EQ(s.init(100, INIT_NORMAL), Result::Ok);
    ASSERT_EQ(rig.audio->opens.size(), 1u);
    const OutputSettings& opened = rig.audio->opens[0];
    EXPECT_EQ(opened.sampleRate, 48000);
    EXPECT_EQ(opened.format, SampleFormat::PcmFloat);
    EXPECT_EQ(opened.channels, 4); // 0 output channels: the speaker mode's
    EXPECT_EQ(opened.bufferLength, 512u);
    EXPECT_EQ(opened.bufferCount, 8);
    EXPECT_FALSE(rig.audio->silentOpens[0]);

    // Once initialised the output is fixed.
    EXPECT_EQ(s.setSpeakerMode(SpeakerMode::Stereo), Result::Initialized);
    EXPECT_EQ(s.setDSPBufferSize(1024, 4), Result::Initialized);
    EXPECT_EQ(s.setSoftwareFormat(44100, SampleFormat::Pcm16, 2, 2, Resampler::Linear),
              Result::Initialized);
    EXPECT_EQ(s.setOutput(OutputType::NoSound), Result::Initialized);
    EXPECT_EQ(s.init(100, INIT_NORMAL), Result::Initialized);
    EXPECT_EQ(rig.audio->opens.size(), 1u);

    // Closing opens it for changes again; explicit output channels win over the speaker mode.
    ASSERT_EQ(s.close(), Result::Ok);
    EXPECT_EQ(rig.audio->closes, 1);
    ASSERT_EQ(s.setSoftwareFormat(22050, SampleFormat::Pcm16, 1, 2, Resampler::Linear), Result::Ok);
    ASSERT_EQ(s.setOutput(OutputType::NoSound), Result::Ok);
    ASSERT_EQ(s.init(1, INIT_NORMAL), Result::Ok);
    EXPECT_EQ(rig.audio->opens.back().channels, 1);
    EXPECT_TRUE(rig.audio->silentOpens.back());
}

TEST(SoundSystem, InitChecksItsArgumentsAndCanBeRetried) {
    Rig rig(false);
    EXPECT_EQ(rig.system.init(0, INIT_NORMAL), Result::InvalidParam);
    EXPECT_EQ(rig.system.init(MAX_VIRTUAL_CHANNELS + 1, INIT_NORMAL), Result::InvalidParam);
    EXPECT_EQ(rig.system.init(100, 0x80), Result::Unsupported);
    EXPECT_TRUE(rig.audio->opens.empty());

    rig.audio->refusedChannels = {6};
    ASSERT_EQ(rig.system.setSpeakerMode(SpeakerMode::Surround51), Result::Ok);
    EXPECT_EQ(rig.system.init(100, INIT_NORMAL), Result::OutputCreateBuffer);
    Sound sound;
    EXPECT_EQ(rig.system.createStream(scratch().fakeStream("a.fake"), MODE_2D, sound),
              Result::Uninitialized);
    ASSERT_EQ(rig.system.setSpeakerMode(SpeakerMode::Stereo), Result::Ok);
    EXPECT_EQ(rig.system.init(100, INIT_NORMAL), Result::Ok);
    ASSERT_EQ(rig.audio->opens.size(), 2u);
    EXPECT_EQ(rig.audio->opens[1].channels, 2);
}

TEST(SoundStreams, FileProblemsHaveTheirOwnResults) {
    Rig rig;
    Sound sound;
    const Mode mode = MODE_SOFTWARE | MODE_2D | MODE_CREATESTREAM;
    EXPECT_EQ(rig.system.createStream(scratch().file("absent.mp3"), mode, sound),
              Result::FileNotFound);
    EXPECT_EQ(rig.system.createStream(scratch().path.string(), mode, sound), Result::FileBad);
    EXPECT_EQ(rig.system.createStream(scratch().write("noise.mp3", "not music"), mode, sound),
              Result::Format);
    EXPECT_EQ(rig.system.createStream(scratch().write("empty.mp3", ""), mode, sound),
              Result::Format);
    EXPECT_EQ(rig.system.createStream("", mode, sound), Result::InvalidParam);
    EXPECT_FALSE(sound.valid());
    EXPECT_TRUE(rig.audio->loaded.empty());
}

TEST(SoundStreams, ModesAreChecked) {
    Rig rig;
    Sound sound;
    const std::string path = scratch().fakeStream("modes.fake");
    EXPECT_EQ(rig.system.createStream(path, MODE_3D, sound), Result::Unsupported);
    EXPECT_EQ(rig.system.createStream(path, MODE_HARDWARE | MODE_2D, sound), Result::Unsupported);
    EXPECT_EQ(rig.system.createStream(path, MODE_2D | MODE_3D, sound), Result::InvalidParam);
    EXPECT_EQ(rig.system.createStream(path, MODE_HARDWARE | MODE_SOFTWARE, sound),
              Result::InvalidParam);
    EXPECT_EQ(rig.system.createStream(path, MODE_LOOP_OFF | MODE_LOOP_NORMAL, sound),
              Result::InvalidParam);
    EXPECT_EQ(rig.system.createStream(path, 1u << 30, sound), Result::InvalidParam);
    EXPECT_FALSE(sound.valid());
    ASSERT_EQ(rig.system.createStream(path, MODE_DEFAULT, sound), Result::Ok);
    EXPECT_TRUE(sound.valid());
    unsigned length = 0;
    ASSERT_EQ(sound.getLength(length), Result::Ok);
    EXPECT_EQ(length, 60000u);
}

TEST(SoundChannels, PausedChannelStartsOnlyWhenUnpaused) {
    Rig rig;
    Sound sound;
    Channel channel = rig.play(sound, true);
    bool paused = false;
    ASSERT_EQ(channel.getPaused(paused), Result::Ok);
    EXPECT_TRUE(paused);
    ASSERT_EQ(channel.setPosition(1500), Result::Ok);
    unsigned at = 0;
    ASSERT_EQ(channel.getPosition(at), Result::Ok);
    EXPECT_EQ(at, 1500u);
    EXPECT_TRUE(rig.audio->calls.empty()); // nothing reached the output yet
    ASSERT_EQ(channel.setMode(MODE_LOOP_NORMAL), Result::Ok);
    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_EQ(rig.audio->calls, (std::vector<std::string>{"play loop", "seek 1500"}));
    ASSERT_EQ(channel.getPaused(paused), Result::Ok);
    EXPECT_FALSE(paused);
    Mode mode = MODE_DEFAULT;
    ASSERT_EQ(channel.getMode(mode), Result::Ok);
    EXPECT_EQ(mode, MODE_LOOP_NORMAL);
}

TEST(SoundChannels, PauseRewindAndResume) {
    Rig rig;
    Sound sound;
    Channel channel = rig.play(sound, false, MODE_2D | MODE_LOOP_NORMAL);
    rig.audio->position = 12.5;
    unsigned at = 0;
    ASSERT_EQ(channel.getPosition(at), Result::Ok);
    EXPECT_EQ(at, 12500u);

    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    ASSERT_EQ(channel.setPosition(0), Result::Ok);
    bool paused = false;
    ASSERT_EQ(channel.getPaused(paused), Result::Ok);
    EXPECT_TRUE(paused);
    EXPECT_TRUE(rig.audio->paused);
    EXPECT_EQ(rig.audio->position, 0.0);
    // Pausing twice does not reach the backend twice.
    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_FALSE(rig.audio->paused);
    EXPECT_EQ(rig.audio->calls,
              (std::vector<std::string>{"play loop", "pause", "seek 0", "resume"}));
    EXPECT_EQ(channel.setPosition(60000), Result::InvalidParam); // the end is past the sound
    EXPECT_EQ(channel.setPosition(59999), Result::Ok);
}

TEST(SoundChannels, LoopChangeWhilePlayingRestartsInPlace) {
    Rig rig;
    Sound sound;
    Channel channel = rig.play(sound, false);
    rig.audio->position = 3.25;
    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    ASSERT_EQ(channel.setMode(MODE_LOOP_NORMAL), Result::Ok);
    EXPECT_TRUE(rig.audio->loop);
    EXPECT_TRUE(rig.audio->paused);
    EXPECT_EQ(rig.audio->position, 3.25);
    EXPECT_EQ(channel.setMode(MODE_LOOP_NORMAL | MODE_2D), Result::InvalidParam);
    EXPECT_EQ(channel.setMode(MODE_LOOP_NORMAL | MODE_LOOP_OFF), Result::InvalidParam);
    rig.audio->calls.clear();
    ASSERT_EQ(channel.setMode(MODE_LOOP_NORMAL), Result::Ok); // no change, no restart
    EXPECT_TRUE(rig.audio->calls.empty());
}

TEST(SoundChannels, EndedReplacedAndReleasedChannelsAreInvalid) {
    Rig rig;
    Sound first;
    Channel once = rig.play(first, false);
    bool playing = false;
    ASSERT_EQ(once.isPlaying(playing), Result::Ok);
    EXPECT_TRUE(playing);
    rig.audio->ended = true; // a stream without looping ran out
    EXPECT_EQ(once.isPlaying(playing), Result::InvalidHandle);
    EXPECT_FALSE(playing);
    bool paused = false;
    EXPECT_EQ(once.getPaused(paused), Result::InvalidHandle);

    Channel older = rig.play(first, false);
    Sound second;
    Channel newer = rig.play(second, true);
    EXPECT_EQ(older.setPaused(true), Result::InvalidHandle); // replaced on the output
    EXPECT_EQ(rig.audio->calls.back(), "halt");
    ASSERT_EQ(newer.getPaused(paused), Result::Ok);

    ASSERT_EQ(second.release(), Result::Ok);
    EXPECT_FALSE(second.valid());
    EXPECT_EQ(newer.getPaused(paused), Result::InvalidHandle);
    EXPECT_EQ(second.release(), Result::InvalidHandle);
    EXPECT_EQ(rig.audio->loaded.size(), 1u);

    Channel stopped = rig.play(second, false);
    ASSERT_EQ(stopped.stop(), Result::Ok);
    EXPECT_EQ(stopped.stop(), Result::InvalidHandle);
}

TEST(SoundChannels, ClosingAndReleasingTheSystemInvalidatesEverything) {
    Rig rig;
    Sound sound;
    Channel channel = rig.play(sound, false, MODE_LOOP_NORMAL);
    ASSERT_EQ(rig.system.close(), Result::Ok);
    EXPECT_FALSE(sound.valid());
    EXPECT_TRUE(rig.audio->loaded.empty());
    EXPECT_FALSE(rig.audio->open);
    bool paused = false;
    EXPECT_EQ(channel.getPaused(paused), Result::InvalidHandle);
    EXPECT_EQ(rig.system.playSound(sound, false, channel), Result::Uninitialized);

    ASSERT_EQ(rig.system.init(100, INIT_NORMAL), Result::Ok);
    channel = rig.play(sound, false);
    ASSERT_EQ(rig.system.release(), Result::Ok);
    EXPECT_EQ(channel.setPaused(false), Result::InvalidHandle);
    EXPECT_EQ(sound.release(), Result::InvalidHandle);
    EXPECT_EQ(rig.system.release(), Result::InvalidHandle);
    EXPECT_EQ(rig.audio->closes, 2);

    // A sound of one system is no handle on another.
    Rig other;
    Sound foreign;
    other.play(foreign, true);
    Rig third;
    Channel channel3;
    EXPECT_EQ(third.system.playSound(foreign, false, channel3), Result::InvalidHandle);
}
