// The real game's sound, written by SDL's disk audio driver into a file as it plays (44 100 Hz,
// stereo, 16 bit: 176 400 bytes a second): with the music off, the power and a solve are heard
// where they happen, and nothing louder than the hum while nothing does.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace gamescreen;
namespace fs = std::filesystem;

namespace {

constexpr long BYTES_PER_SECOND = 44100 * 4;

class Sounds : public GameWindow {};

long fileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<long>(size);
}

/// The loudest sample between two byte offsets of the file, of full scale.
double loudest(const std::string& audio, long from, long to) {
    int peak = 0;
    for (long i = from & ~3L; i + 1 < to && i + 1 < static_cast<long>(audio.size()); i += 2) {
        const auto sample = static_cast<std::int16_t>(
            static_cast<unsigned char>(audio[i]) | static_cast<unsigned char>(audio[i + 1]) << 8);
        peak = std::max(peak, std::abs(int(sample)));
    }
    return peak / 32768.0;
}

void sleepFor(double seconds) {
    waitUntil([] { return false; }, seconds);
}

} // namespace

TEST_F(Sounds, PowerAndSolveAreHeardWhereTheyHappenAndOnlyTheHumBetween) {
    const ScratchDir home("sounds");
    fs::create_directories(home.path / "config" / "beamworks");
    std::ofstream(home.path / "config" / "beamworks" / "settings.conf") << "music = off\n";
    const std::string file = home.file("audio.raw");
    auto game = launch(
        "-file '" + std::string(BEAMWORKS_SOURCE_DIR) + "/data/levels/solutions/level2.txt'", GAME,
        "XDG_CONFIG_HOME='" + home.file("config") + "' SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
            file + "'");
    ASSERT_TRUE(waitUntil([&] { return fileSize(file) > BYTES_PER_SECOND; }, 60));
    const long quietFrom = fileSize(file);
    sleepFor(1);
    const long powerAt = fileSize(file);
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("Level solved: ", 60)) << game->output();
    // On a loaded machine the key may wait a while for its frame: the sounds start between the
    // press and a moment after the solve is printed, not at a fixed time after the press.
    const long solvedAt = fileSize(file);
    sleepFor(3); // the power's and the solve's sounds end; the hum goes on
    const long humFrom = fileSize(file);
    sleepFor(1);
    const long humTo = fileSize(file);
    quit(*game);
    EXPECT_EQ(game->output().find("Sound effects: "), std::string::npos) << game->output();

    const std::string audio = readFile(file);
    ASSERT_GT(humTo, humFrom + BYTES_PER_SECOND / 2);
    EXPECT_EQ(loudest(audio, quietFrom, powerAt), 0.0) << "heard before anything happened";
    const double hum = loudest(audio, humFrom, humTo);
    EXPECT_GT(hum, 0.01) << "the hum is not heard";
    EXPECT_LT(hum, 0.15) << "something louder than the hum while nothing happens";
    const double power = loudest(audio, powerAt, std::max(solvedAt, powerAt) + BYTES_PER_SECOND);
    EXPECT_GT(power, 3 * hum) << "the power and the solve are not heard where they happen";
    EXPECT_LT(power, 1.0) << "clipped";
}
