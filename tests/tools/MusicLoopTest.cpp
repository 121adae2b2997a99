#include "MeshChecks.h"
#include "assets/MusicMp3.h"
#include "sound/Music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

const meshcheck::ScratchDir& scratch() {
    static const meshcheck::ScratchDir dir("music");
    return dir;
}

/// The shipped loop, rendered once per test process.
const StereoPcm& gameLoop() {
    static const StereoPcm loop = renderMusicLoop();
    return loop;
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
/// 50 ms match within 1.5 dB (the loop starts on a downbeat, where notes begin, so
/// its head is a little louder), and neither the step nor the change of slope across the seam
/// stands out from those around it (within 50 ms on either side).
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
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ADD_FAILURE() << SDL_GetError();
        return pcm;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(MUSIC_SAMPLE_RATE, AUDIO_S16SYS, 2, 1024) == 0) {
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
    } else {
        ADD_FAILURE() << Mix_GetError();
    }
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return pcm;
}

/// Signal to error ratio in dB of b, read shift frames later, against a, over all frames but
/// the first and last 50 ms.
double snrDb(const StereoPcm& a, const StereoPcm& b, long shift = 0) {
    double signal = 0, error = 0;
    const long frames = long(std::min(a.frames(), b.frames()));
    for (long i = long(MS50); i < frames - long(MS50); ++i) {
        for (int c = 0; c < 2; ++c) {
            const double x = at(a, i, c), y = at(b, i + shift, c);
            signal += x * x;
            error += (x - y) * (x - y);
        }
    }
    return 10 * std::log10(signal / std::max(error, 1e-30));
}

/// Plays the music file as the game does (initMusic on the SDL backend) into SDL's disk audio
/// driver, which writes the mix to a file as fast as it can, until frames have been written;
/// returns them from the first frame of music on. Empty on failure.
StereoPcm playWithGameMusic(const std::string& path, std::size_t frames) {
    const std::string out = scratch().file("mixer-output.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    testing::internal::CaptureStdout();
    initMusic(nullptr, path);
    // The output starts with silent buffers from before the music: allow a second of them.
    const std::uintmax_t wanted = (frames + MUSIC_SAMPLE_RATE) * 4;
    std::error_code ec;
    for (int wait = 0; wait < 6000 && std::filesystem::file_size(out, ec) < wanted; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    shutdownMusic();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::ifstream in(out, std::ios::binary);
    std::vector<std::int16_t> raw(std::size_t(wanted / 2));
    if (!in.read(reinterpret_cast<char*>(raw.data()), std::streamsize(wanted))) {
        ADD_FAILURE() << "the mixer wrote too little";
        return {};
    }
    std::size_t first = 0;
    while (first < raw.size() && raw[first] == 0) {
        ++first;
    }
    first -= first % 2;
    StereoPcm pcm;
    for (std::size_t i = first; i < std::min(raw.size(), first + 2 * frames); ++i) {
        pcm.samples.push_back(float(raw[i] / 32768.0));
    }
    return pcm;
}

/// A second of two tones, left and right, fading in and out.
StereoPcm testTones() {
    StereoPcm pcm;
    for (int i = 0; i < MUSIC_SAMPLE_RATE; ++i) {
        const double t = double(i) / MUSIC_SAMPLE_RATE;
        const double fade = std::sin(3.14159265358979 * t);
        pcm.samples.push_back(float(0.5 * fade * std::sin(2 * 3.14159265358979 * 330 * t)));
        pcm.samples.push_back(float(0.4 * fade * std::sin(2 * 3.14159265358979 * 523 * t)));
    }
    return pcm;
}

} // namespace

TEST(MusicLoop, LengthLevelAndSeam) {
    const StereoPcm& loop = gameLoop();
    ASSERT_EQ(loop.frames(), MUSIC_LOOP_FRAMES);
    const double seconds = double(loop.frames()) / MUSIC_SAMPLE_RATE;
    EXPECT_DOUBLE_EQ(seconds, 72.0);

    float peak = 0;
    double sum = 0;
    for (const float v : loop.samples) {
        ASSERT_TRUE(std::isfinite(v));
        peak = std::max(peak, std::abs(v));
        sum += v;
    }
    EXPECT_FLOAT_EQ(peak, MUSIC_PEAK);
    EXPECT_LT(std::abs(sum / double(loop.samples.size())), 1e-3); // no DC offset
    // Ambient, but never silent and never dropping away: every second has a steady level.
    for (std::size_t s = 0; s < loop.frames() / MUSIC_SAMPLE_RATE; ++s) {
        const double level = rms(loop, s * MUSIC_SAMPLE_RATE, MUSIC_SAMPLE_RATE);
        EXPECT_GT(level, 0.06) << "second " << s;
        EXPECT_LT(level, 0.4) << "second " << s;
    }
    // Both channels carry the music, not quite the same.
    double difference = 0;
    for (std::size_t i = 0; i < loop.frames(); i += 7) {
        difference += std::abs(double(loop.left(i)) - loop.right(i));
    }
    EXPECT_GT(difference / double(loop.frames() / 7), 0.01);

    expectSeamless(loop);
}

TEST(MusicLoop, SoundsInDMajor) {
    // Energy of each pitch class over three octaves (D3 to C#6) in the first pass.
    const StereoPcm& loop = gameLoop();
    const std::size_t frames = std::size_t(24 * MUSIC_SAMPLE_RATE);
    std::vector<double> mono(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        mono[i] = 0.5 * (double(loop.left(i)) + loop.right(i));
    }
    double chroma[12] = {};
    for (int note = 50; note < 86; ++note) {
        const double hz = 440.0 * std::pow(2.0, (note - 69) / 12.0);
        const double k = 2 * std::cos(2 * 3.14159265358979 * hz / MUSIC_SAMPLE_RATE);
        double s1 = 0, s2 = 0;
        for (const double x : mono) {
            const double s0 = x + k * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        chroma[note % 12] += s1 * s1 + s2 * s2 - k * s1 * s2;
    }
    const int scale[] = {2, 4, 6, 7, 9, 11, 1}; // D E F# G A B C#
    double inKey = 0, total = 0;
    for (int pc = 0; pc < 12; ++pc) {
        total += chroma[pc];
        if (std::find(std::begin(scale), std::end(scale), pc) != std::end(scale)) {
            inKey += chroma[pc];
        }
    }
    EXPECT_GT(inKey / total, 0.9);
    // The tonic chord's tones are among the strongest.
    const int strongest = int(std::max_element(std::begin(chroma), std::end(chroma)) - chroma);
    EXPECT_TRUE(strongest == 2 || strongest == 6 || strongest == 9) << strongest;
}

TEST(MusicLoop, StaysSeamlessThroughMp3AndTheMixer) {
    const StereoPcm& loop = gameLoop();
    const std::string path = scratch().file("test1.mp3");
    std::string error;
    ASSERT_TRUE(encodeMp3(path, loop, &error)) << error;
    const StereoPcm decoded = decodeWithMixer(path);
    // lame's header tells the decoder its delay and padding: the length comes back exactly.
    EXPECT_NEAR(double(decoded.frames()), double(loop.frames()), 0.03 * MUSIC_SAMPLE_RATE);
    ASSERT_EQ(decoded.frames(), loop.frames());
    EXPECT_GT(snrDb(loop, decoded), 15.0); // and in step: no delay at the start
    expectSeamless(decoded);

    // Played looping by the game's music code, the second time round repeats the first exactly:
    // the loop restarts right after its last frame, with nothing left out or put in between.
    const std::size_t second = MUSIC_SAMPLE_RATE;
    const StereoPcm played = playWithGameMusic(path, loop.frames() + second);
    ASSERT_EQ(played.frames(), loop.frames() + second);
    double firstPass = 0, secondPass = 0;
    for (std::size_t i = 0; i < second; ++i) {
        for (int c = 0; c < 2; ++c) {
            firstPass =
                std::max(firstPass, std::abs(at(played, long(i), c) - at(decoded, long(i), c)));
            secondPass = std::max(secondPass, std::abs(at(played, long(loop.frames() + i), c) -
                                                       at(decoded, long(i), c)));
        }
    }
    EXPECT_LT(firstPass, 2.0 / 32768);
    EXPECT_LT(secondPass, 2.0 / 32768);
    StereoPcm aroundSeam;
    aroundSeam.samples.assign(played.samples.begin() + 2 * std::ptrdiff_t(loop.frames() - second),
                              played.samples.end());
    std::rotate(aroundSeam.samples.begin(), aroundSeam.samples.begin() + 2 * std::ptrdiff_t(second),
                aroundSeam.samples.end());
    expectSeamless(aroundSeam); // turned so the playback seam joins its end to its start
}

TEST(MusicMp3, ShortSoundsComeBackInStep) {
    const StereoPcm tones = testTones();
    const std::string path = scratch().file("tones.mp3");
    std::string error;
    ASSERT_TRUE(encodeMp3(path, tones, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp.wav")); // the temporary WAV is gone
    const StereoPcm decoded = decodeWithMixer(path);
    ASSERT_EQ(decoded.frames(), tones.frames());
    const double inStep = snrDb(tones, decoded);
    EXPECT_GT(inStep, 20.0);
    // Read a frame or two early or late the match is worse: nothing was added or cut.
    for (const long shift : {-2L, -1L, 1L, 2L}) {
        EXPECT_LT(snrDb(tones, decoded, shift), inStep - 2.0) << shift;
    }
}

TEST(MusicMp3, RefusesBadInputAndReportsEncoderFailures) {
    std::string error;
    const std::string path = scratch().file("bad.mp3");
    EXPECT_FALSE(encodeMp3(path, StereoPcm{}, &error));
    EXPECT_NE(error.find("no music"), std::string::npos) << error;
    EXPECT_FALSE(encodeMp3(path, testTones(), &error, 100));
    EXPECT_NE(error.find("100 kbit/s"), std::string::npos) << error;
    EXPECT_FALSE(encodeMp3(scratch().file("no/such/dir/x.mp3"), testTones(), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    StereoPcm odd;
    odd.samples = {0.1f}; // half a frame
    EXPECT_FALSE(writeWav(scratch().file("odd.wav"), odd, &error));

    // An encoder that fails, then none at all.
    const std::string bin = scratch().file("bin");
    std::filesystem::create_directories(bin);
    {
        std::ofstream script(bin + "/lame");
        script << "#!/bin/sh\nexit 3\n";
    }
    std::filesystem::permissions(bin + "/lame", std::filesystem::perms::owner_all);
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", bin.c_str(), 1);
    const bool failing = encodeMp3(path, testTones(), &error);
    const std::string failingError = error;
    setenv("PATH", scratch().file("empty").c_str(), 1);
    const bool missing = encodeMp3(path, testTones(), &error);
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_FALSE(failing);
    EXPECT_NE(failingError.find("exit status 3"), std::string::npos) << failingError;
    EXPECT_FALSE(missing);
    EXPECT_NE(error.find("cannot run lame"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(path));
}
