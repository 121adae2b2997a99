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

} // namespace

TEST(FuzzFindings, KeptModelInputsLoadSafely) {
    for (const auto& file : keptInputs("model")) {
        const auto bytes = bytesOf(file);
        captureStdout([&] { fuzzing::runModelInput(bytes.data(), bytes.size()); });
    }
}

TEST(FuzzFindings, KeptLevelInputsBuildTraceAndOrderSafely) {
    loadTestModels();
    const auto files = keptInputs("level");
    EXPECT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const auto bytes = bytesOf(file);
        captureStdout([&] { fuzzing::runLevelInput(bytes.data(), bytes.size()); });
    }
}
