#include "assets/MusicMp3.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

extern char** environ;

namespace {

bool fail(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
    return false;
}

void putU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(char((v >> (8 * i)) & 0xffu));
    }
}
void putU16(std::string& out, std::uint16_t v) {
    out.push_back(char(v & 0xffu));
    out.push_back(char(v >> 8));
}

/// Removes a file when it goes out of scope.
struct TempFile {
    std::string path;
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

/// Runs argv[0] (looked up in PATH) with argv and waits for it: its exit status, -1 when it
/// could not be started (cause in error) or did not exit normally.
int run(const std::vector<std::string>& args, std::string& error) {
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) {
        error = "cannot run " + args[0] + ": " + std::strerror(spawned);
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            error = "lost " + args[0] + ": " + std::strerror(errno);
            return -1;
        }
    }
    if (!WIFEXITED(status)) {
        error = args[0] + " did not finish";
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace

bool writePcm16Wav(const std::string& path, const std::vector<float>& samples, int channels,
                   int rate, std::string* error) {
    const std::size_t bytes = samples.size() * 2;
    if (channels < 1 || rate < 1 || samples.size() % std::size_t(channels) != 0 ||
        bytes > 0xffffffffu - 36) {
        return fail(error, "cannot write " + std::to_string(samples.size()) + " samples in " +
                               std::to_string(channels) + " channels as WAV");
    }
    std::string out;
    out.reserve(44 + bytes);
    out += "RIFF";
    putU32(out, std::uint32_t(36 + bytes));
    out += "WAVEfmt ";
    putU32(out, 16);
    putU16(out, 1); // integer PCM
    putU16(out, std::uint16_t(channels));
    putU32(out, std::uint32_t(rate));
    putU32(out, std::uint32_t(rate * channels * 2));
    putU16(out, std::uint16_t(channels * 2));
    putU16(out, 16);
    out += "data";
    putU32(out, std::uint32_t(bytes));
    for (const float v : samples) {
        const long s = std::lround(std::clamp(double(v), -1.0, 1.0) * 32767.0);
        putU16(out, std::uint16_t(std::int16_t(s)));
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(out.data(), std::streamsize(out.size())) || !file.flush()) {
        return fail(error, "cannot write " + path);
    }
    return true;
}

bool writeWav(const std::string& path, const StereoPcm& pcm, std::string* error) {
    return writePcm16Wav(path, pcm.samples, 2, MUSIC_SAMPLE_RATE, error);
}

bool encodeMp3(const std::string& path, const StereoPcm& pcm, std::string* error, int kbps) {
    if (pcm.frames() == 0) {
        return fail(error, "no music to encode");
    }
    static const int rates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    if (std::find(std::begin(rates), std::end(rates), kbps) == std::end(rates)) {
        return fail(error, std::to_string(kbps) + " kbit/s is not an MP3 bit rate");
    }
    const TempFile wav{path + ".tmp.wav"};
    if (!writeWav(wav.path, pcm, error)) {
        return false;
    }
    std::error_code ec;
    std::filesystem::remove(path, ec); // so a stale file cannot pass for a new one
    std::string why;
    const int status = run(
        {"lame", "--quiet", "--cbr", "-b", std::to_string(kbps), "--noreplaygain", wav.path, path},
        why);
    if (status < 0) {
        return fail(error, why);
    }
    if (status != 0) {
        return fail(error, "lame failed with exit status " + std::to_string(status));
    }
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) == 0) {
        return fail(error, "lame wrote no " + path);
    }
    return true;
}
