// The generated sound effects: each short, audible, below full scale and below the music,
// without clicks at its ends; the hum quiet and seamless; the staged files as SDL reads them.

#include "assets/SoundEffects.h"
#include "assets/Music.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace {

double rms(const std::vector<float>& s) {
    double sum = 0;
    for (const float x : s) {
        sum += double(x) * x;
    }
    return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

double peak(const std::vector<float>& s) {
    double p = 0;
    for (const float x : s) {
        p = std::max(p, std::abs(double(x)));
    }
    return p;
}

double seconds(const std::vector<float>& s) {
    return double(s.size()) / EFFECT_SAMPLE_RATE;
}

std::vector<Cue> allCues() {
    std::vector<Cue> cues;
    for (int i = 0; i < CUE_COUNT; ++i) {
        cues.push_back(static_cast<Cue>(i));
    }
    return cues;
}

} // namespace

TEST(SoundEffects, EachIsShortAudibleBelowTheMusicAndWithoutClicks) {
    const double humLevel = rms(renderEffect(Cue::Hum));
    for (const Cue cue : allCues()) {
        SCOPED_TRACE(cueFile(cue));
        const std::vector<float> s = renderEffect(cue);
        ASSERT_FALSE(s.empty());
        EXPECT_GE(seconds(s), 0.02);
        EXPECT_LE(seconds(s), 2.0);
        EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](float x) { return std::isfinite(x); }));
        EXPECT_GT(rms(s), 0.01) << "too quiet to hear";
        EXPECT_LE(peak(s), 0.55) << "leaves no room for the music and the other sounds";
        EXPECT_LT(peak(s), MUSIC_PEAK);
        if (cue != Cue::Hum) {
            EXPECT_GT(rms(s), humLevel) << "drowned by the hum";
            EXPECT_LT(std::abs(s.front()), 0.01) << "starts with a click";
            EXPECT_LT(std::abs(s.back()), 0.01) << "ends with a click";
        }
    }
    // Ticks 20 a second stay apart.
    EXPECT_LE(seconds(renderEffect(Cue::Tick)), TICK_INTERVAL);
    // The hum runs on from its end into its start: no step there larger than within it.
    const std::vector<float> hum = renderEffect(Cue::Hum);
    double step = 0;
    for (std::size_t i = 1; i < hum.size(); ++i) {
        step = std::max(step, double(std::abs(hum[i] - hum[i - 1])));
    }
    EXPECT_LE(std::abs(hum.front() - hum.back()), 1.2 * step);
}

TEST(SoundEffects, StagedFilesAreMono16BitAtTheEffectRateAndNeverClip) {
    for (const Cue cue : allCues()) {
        SCOPED_TRACE(cueFile(cue));
        const std::string path = std::string(BEAMWORKS_GAME_DIR) + "/" + cueFile(cue);
        // What SDL says of the file's samples: its rate, channels and sample format.
        using SampleFormat =
            std::remove_pointer_t<decltype(SDL_LoadWAV_RW(nullptr, 0, nullptr, nullptr, nullptr))>;
        SampleFormat read{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &read, &buffer, &length), nullptr) << SDL_GetError();
        EXPECT_EQ(read.freq, EFFECT_SAMPLE_RATE);
        EXPECT_EQ(read.channels, 1);
        EXPECT_EQ(read.format, AUDIO_S16LSB);
        EXPECT_EQ(length / 2, renderEffect(cue).size());
        const auto* samples = reinterpret_cast<const std::int16_t*>(buffer);
        int loudest = 0;
        for (Uint32 i = 0; i < length / 2; ++i) {
            loudest = std::max(loudest, std::abs(int(samples[i])));
        }
        EXPECT_LT(loudest, 32767);
        EXPECT_GT(loudest, 32767 / 50);
        SDL_FreeWAV(buffer);
    }
}
