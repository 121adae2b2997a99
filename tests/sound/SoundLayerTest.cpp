// The sound layer's handles on a scripted backend: results, pausing and rewinding, and handles
// that are gone. (Drivers, the speaker fallback and file failures are tested through the music.)

#include "FakeBackend.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sound;

namespace {

/// An initialised system on a fresh fake.
struct Rig {
    std::shared_ptr<FakeAudio> audio = std::make_shared<FakeAudio>();
    System system;
    Rig() {
        EXPECT_EQ(System::create(system, std::make_unique<FakeBackend>(audio)), Result::Ok);
        EXPECT_EQ(system.init(100, INIT_NORMAL), Result::Ok);
        audio->calls.clear();
    }
    /// sound on a new channel (paused when asked), loaded first when fresh.
    Channel play(Sound& sound, bool paused, bool fresh = true) {
        if (fresh) {
            EXPECT_EQ(system.createStream(scratch().write("song.fake", ""), MODE_2D, sound),
                      Result::Ok);
        }
        Channel channel;
        EXPECT_EQ(system.playSound(sound, paused, channel), Result::Ok);
        return channel;
    }
};

} // namespace

TEST(SoundChannels, StartedPausedReachesTheOutputWhenUnpausedWhereItWasPut) {
    Rig rig;
    Sound sound;
    // A channel started paused reaches the output only when unpaused, where it was put.
    Channel channel = rig.play(sound, true);
    ASSERT_EQ(channel.setPosition(1500), Result::Ok);
    ASSERT_EQ(channel.setMode(MODE_LOOP_NORMAL), Result::Ok);
    ASSERT_EQ(channel.setVolume(0.25f), Result::Ok);
    for (const float bad : {-0.01f, 1.5f, std::nanf("")}) {
        EXPECT_EQ(channel.setVolume(bad), Result::InvalidParam) << bad;
    }
    EXPECT_TRUE(rig.audio->calls.empty());
    ASSERT_EQ(channel.setPaused(false), Result::Ok);
    EXPECT_EQ(rig.audio->calls, (std::vector<std::string>{"volume 25", "play loop", "seek 1500"}));
    EXPECT_EQ(channel.setMode(MODE_LOOP_OFF), Result::Unsupported);
    rig.audio->calls.clear();

    // (Pausing, rewinding and resuming in turn are the music toggle's test.) Paused twice, the
    // backend hears it once, and a paused channel says so.
    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    ASSERT_EQ(channel.setPaused(true), Result::Ok);
    bool paused = false;
    ASSERT_EQ(channel.getPaused(paused), Result::Ok);
    EXPECT_TRUE(paused);
    EXPECT_EQ(rig.audio->calls, std::vector<std::string>{"pause"});
}

TEST(SoundChannels, EndedReplacedReleasedClosedAndOrphanedHandlesAreInvalid) {
    Rig rig;
    Sound first;
    bool paused = false;
    Channel once = rig.play(first, false);
    rig.audio->ended = true; // a stream without looping ran out
    EXPECT_EQ(once.getPaused(paused), Result::InvalidHandle);

    Channel older = rig.play(first, false, false);
    Sound second;
    Channel newer = rig.play(second, true);
    EXPECT_EQ(older.setPaused(true), Result::InvalidHandle); // replaced on the output
    ASSERT_EQ(newer.getPaused(paused), Result::Ok);
    ASSERT_EQ(second.release(), Result::Ok);
    EXPECT_EQ(newer.getPaused(paused), Result::InvalidHandle);
    EXPECT_EQ(second.release(), Result::InvalidHandle);
    EXPECT_EQ(rig.audio->loaded.size(), 1u);

    Channel channel = rig.play(first, false, false);
    ASSERT_EQ(rig.system.close(), Result::Ok);
    EXPECT_TRUE(rig.audio->loaded.empty());
    EXPECT_EQ(channel.getPaused(paused), Result::InvalidHandle);
    EXPECT_EQ(first.release(), Result::InvalidHandle);
    EXPECT_EQ(rig.system.playSound(first, false, channel), Result::Uninitialized);
    ASSERT_EQ(rig.system.release(), Result::Ok);
    EXPECT_EQ(channel.getPaused(paused), Result::InvalidHandle); // the system is gone
}
