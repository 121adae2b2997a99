// Replays every input the fuzz targets once found fault with (kept in tests/data/fuzz), under
// the sanitizers of the test build: each must now pass without a fault or a leak.

#include "Harness.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::filesystem::path> keptInputs(const std::string& target) {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path dir =
        std::filesystem::path(BEAMWORKS_SOURCE_DIR) / "tests/data/fuzz" / target;
    if (std::filesystem::is_directory(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            files.push_back(entry.path());
        }
    }
    return files;
}

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each input runs through the target's code with the sanitizers watching; the model inputs are
// small hand-made files with the classic faults of a 3DS file (cut off, counts past their bytes,
// indices past the vertices, a name without its end).
void replay(const std::string& target, void (*run)(const std::uint8_t*, std::size_t)) {
    const auto files = keptInputs(target);
    EXPECT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const auto bytes = bytesOf(file);
        captureStdout([&] { run(bytes.data(), bytes.size()); });
    }
}

TEST(FuzzFindings, KeptModelInputsLoadSafely) {
    replay("model", fuzzing::runModelInput);
}

TEST(FuzzFindings, KeptProgressInputsReadSafely) {
    replay("progress", fuzzing::runProgressInput);
}

TEST(FuzzFindings, KeptLevelInputsBuildTraceAndOrderSafely) {
    loadTestModels();
    replay("level", fuzzing::runLevelInput);
}

} // namespace
