// Replays every input the fuzz targets once found fault with (kept in tests/data/fuzz), under
// the sanitizers of the test build: each must now pass without a fault or a leak. The model
// inputs are small hand-made files with the classic faults of a 3DS file (cut off, counts past
// their bytes, indices past the vertices, a name without its end).

#include "Harness.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

TEST(FuzzFindings, KeptInputsOfEveryTargetPassSafely) {
    loadTestModels(); // the level target builds elements
    const std::pair<const char*, void (*)(const std::uint8_t*, std::size_t)> targets[] = {
        {"model", fuzzing::runModelInput},       {"level", fuzzing::runLevelInput},
        {"progress", fuzzing::runProgressInput}, {"settings", fuzzing::runSettingsInput},
        {"editor", fuzzing::runEditorInput},
    };
    for (const auto& [target, run] : targets) {
        int replayed = 0;
        const auto dir = std::filesystem::path(BEAMWORKS_SOURCE_DIR) / "tests/data/fuzz" / target;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            captureStdout([&, run = run] { run(bytes.data(), bytes.size()); });
            ++replayed;
        }
        EXPECT_GT(replayed, 0) << target;
    }
}
