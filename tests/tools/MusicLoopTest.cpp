#include "assets/MusicMp3.h"
#include "support/ScratchDir.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

const ScratchDir& scratch() {
    static const ScratchDir dir("music");
    return dir;
}

constexpr std::size_t MS50 = MUSIC_SAMPLE_RATE / 20;

/// Root mean square of both channels over frames [first, first + count).
double rms(const StereoPcm& pcm, std::size_t first, std::size_t count) {
    double sum = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        sum += double(pcm.left(i)) * pcm.left(i) + double(pcm.right(i)) * pcm.right(i);
    }
    return std::sqrt(sum / double(2 * count));
}

/// Sample c (0 left, 1 right) of frame i, the frames read as a circle.
double at(const StereoPcm& pcm, long i, int c) {
    const long n = long(pcm.frames());
    const std::size_t k = std::size_t(((i % n) + n) % n);
    return c == 0 ? pcm.left(k) : pcm.right(k);
}

/// Checks that the loop's last frame runs on into its first: the level of the last and first
/// 50 ms match within 1.5 dB (the loop starts on a downbeat, where notes begin, so its head is
/// a little louder), and neither the step nor the change of slope across the seam stands out
/// from those within 50 ms on either side.
void expectSeamless(const StereoPcm& pcm) {
    const std::size_t n = pcm.frames();
    const double head = rms(pcm, 0, MS50), tail = rms(pcm, n - MS50, MS50);
    EXPECT_GT(head, 0.02) << "the loop starts from silence";
    EXPECT_NEAR(20 * std::log10(head / tail), 0.0, 1.5) << head << " vs " << tail;
    for (int c = 0; c < 2; ++c) {
        double step = 0, bend = 0;
        for (long i = -long(MS50); i < long(MS50); ++i) {
            if (i == -1 || i == -2) {
                continue; // the differences that straddle the seam
            }
            step = std::max(step, std::abs(at(pcm, i + 1, c) - at(pcm, i, c)));
            bend =
                std::max(bend, std::abs(at(pcm, i + 1, c) - 2 * at(pcm, i, c) + at(pcm, i - 1, c)));
        }
        const double seamStep = std::abs(at(pcm, 0, c) - at(pcm, -1, c));
        const double seamBend =
            std::max(std::abs(at(pcm, 0, c) - 2 * at(pcm, -1, c) + at(pcm, -2, c)),
                     std::abs(at(pcm, 1, c) - 2 * at(pcm, 0, c) + at(pcm, -1, c)));
        EXPECT_LE(seamStep, 1.2 * step) << "channel " << c;
        EXPECT_LE(seamBend, 1.2 * bend) << "channel " << c;
    }
}

/// Decodes a music file to 44.1 kHz stereo through SDL2_mixer, as the game's mixer does, on
/// SDL's dummy audio driver. Empty on failure.
StereoPcm decodeWithMixer(const std::string& path) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    StereoPcm pcm;
    EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    Mix_Init(MIX_INIT_MP3);
    EXPECT_EQ(Mix_OpenAudio(MUSIC_SAMPLE_RATE, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    if (Mix_Chunk* chunk = Mix_LoadWAV(path.c_str())) {
        const auto* s = reinterpret_cast<const std::int16_t*>(chunk->abuf);
        for (std::size_t i = 0; i < chunk->alen / 2; ++i) {
            pcm.samples.push_back(float(s[i] / 32768.0));
        }
        Mix_FreeChunk(chunk);
    } else {
        ADD_FAILURE() << Mix_GetError();
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return pcm;
}

} // namespace

TEST(MusicLoop, LengthPeakAndSeamHoldAndSurviveTheMp3) {
    const StereoPcm loop = renderMusicLoop();
    ASSERT_EQ(loop.frames(), MUSIC_LOOP_FRAMES);
    float peak = 0;
    for (const float v : loop.samples) {
        ASSERT_TRUE(std::isfinite(v));
        peak = std::max(peak, std::abs(v));
    }
    EXPECT_FLOAT_EQ(peak, MUSIC_PEAK);
    expectSeamless(loop);

    const std::string path = scratch().file("test1.mp3");
    std::string error;
    ASSERT_TRUE(encodeMp3(path, loop, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp.wav")); // the temporary WAV is gone
    const StereoPcm decoded = decodeWithMixer(path);
    // lame's header tells the decoder its delay and padding: the length comes back exactly.
    ASSERT_EQ(decoded.frames(), loop.frames());
    // In step: no delay at the start.
    double signal = 0, noise = 0;
    for (long i = long(MS50); i < long(loop.frames() - MS50); ++i) {
        for (int c = 0; c < 2; ++c) {
            signal += at(loop, i, c) * at(loop, i, c);
            noise += (at(loop, i, c) - at(decoded, i, c)) * (at(loop, i, c) - at(decoded, i, c));
        }
    }
    EXPECT_GT(10 * std::log10(signal / std::max(noise, 1e-30)), 15.0);
    expectSeamless(decoded);
}

TEST(MusicMp3, RefusesBadInputAndReportsEncoderFailures) {
    std::string error;
    const std::string path = scratch().file("bad.mp3");
    StereoPcm second; // any sound will do
    second.samples.assign(2 * MUSIC_SAMPLE_RATE, 0.25f);
    EXPECT_FALSE(encodeMp3(path, StereoPcm{}, &error));
    EXPECT_NE(error.find("no music"), std::string::npos) << error;
    EXPECT_FALSE(encodeMp3(path, second, &error, 100));
    EXPECT_NE(error.find("100 kbit/s"), std::string::npos) << error;
    EXPECT_FALSE(encodeMp3(scratch().file("no/such/dir/x.mp3"), second, &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    // No encoder at all.
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", scratch().file("empty").c_str(), 1);
    const bool missing = encodeMp3(path, second, &error);
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_FALSE(missing);
    EXPECT_NE(error.find("cannot run lame"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(path));
}
