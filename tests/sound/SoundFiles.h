#pragma once
// Files for the sound tests: fake streams and short WAV files written on the spot.

#include "FakeBackend.h"
#include "support/ScratchDir.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

/// A stream the fake backend decodes.
inline std::string fakeStream(const ScratchDir& dir, const std::string& name) {
    return dir.write(name, std::string(FAKE_STREAM_TAG) + " music");
}

/// A 16-bit stereo WAV file of a quiet 440 Hz tone, seconds long at 44100 Hz.
inline std::string wavTone(const ScratchDir& dir, const std::string& name, double seconds) {
    const std::uint32_t frames = std::uint32_t(seconds * 44100);
    std::string bytes;
    const auto put = [&](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(char((v >> (8 * i)) & 0xff));
        }
    };
    bytes += "RIFF";
    put(36 + frames * 4, 4);
    bytes += "WAVEfmt ";
    // Chunk size, PCM, two channels, rate, bytes per second, block size, bits.
    for (const auto& [v, size] : {std::pair<std::uint32_t, int>{16, 4},
                                  {1, 2},
                                  {2, 2},
                                  {44100, 4},
                                  {44100 * 4, 4},
                                  {4, 2},
                                  {16, 2}}) {
        put(v, size);
    }
    bytes += "data";
    put(frames * 4, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto v = std::uint16_t(std::int16_t(3000 * std::sin(2 * M_PI * 440.0 * i / 44100)));
        put(v | std::uint32_t(v) << 16, 4);
    }
    return dir.write(name, bytes);
}

/// What action printed on standard output.
template <typename F> std::string printed(F&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
