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
#include <vector>

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
    SoundScratch(const SoundScratch&) = delete;
    SoundScratch& operator=(const SoundScratch&) = delete;

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
        const auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) {
                bytes.push_back(char((v >> (8 * i)) & 0xff));
            }
        };
        const auto u16 = [&](std::uint16_t v) {
            bytes.push_back(char(v & 0xff));
            bytes.push_back(char(v >> 8));
        };
        bytes += "RIFF";
        u32(36 + frames * 4);
        bytes += "WAVEfmt ";
        u32(16);
        u16(1);
        u16(2);
        u32(44100);
        u32(44100 * 4);
        u16(4);
        u16(16);
        bytes += "data";
        u32(frames * 4);
        for (std::uint32_t i = 0; i < frames; ++i) {
            const auto v =
                std::int16_t(3000 * std::sin(2 * 3.14159265358979 * 440.0 * i / 44100.0));
            u16(std::uint16_t(v));
            u16(std::uint16_t(v));
        }
        return write(name, bytes);
    }
};
