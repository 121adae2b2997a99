#pragma once
// Files for the sound tests: a scratch folder removed afterwards, fake streams and short WAV
// files written on the spot.

#include "FakeBackend.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>

struct SoundScratch {
    std::filesystem::path path;
    explicit SoundScratch(const std::string& tag)
        : path(std::filesystem::temp_directory_path() /
               ("beamworks-sound-" + tag + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~SoundScratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
    /// Writes bytes to name and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }
    /// A stream the fake backend decodes.
    std::string fakeStream(const std::string& name) const {
        return write(name, std::string(FAKE_STREAM_TAG) + " music");
    }
    /// A 16-bit stereo WAV file of a quiet 440 Hz tone, seconds long at 44100 Hz.
    std::string wavTone(const std::string& name, double seconds) const {
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
        const std::pair<std::uint32_t, int> format[] = {{16, 4},        {1, 2}, {2, 2}, {44100, 4},
                                                        {44100 * 4, 4}, {4, 2}, {16, 2}};
        for (const auto& [v, size] : format) {
            put(v, size);
        }
        bytes += "data";
        put(frames * 4, 4);
        for (std::uint32_t i = 0; i < frames; ++i) {
            const auto v = std::int16_t(3000 * std::sin(2 * 3.14159265358979 * 440.0 * i / 44100));
            put(std::uint16_t(v) | std::uint32_t(std::uint16_t(v)) << 16, 4);
        }
        return write(name, bytes);
    }
};
