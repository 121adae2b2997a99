// Fuzz target: any bytes as a level file.

#include "Harness.h"
#include "model/GameModels.h"

#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.rdbuf(nullptr); // the loaders' console lines would only slow the run down
    const char* dir = std::getenv("BEAMWORKS_MODELS");
    const auto failed = loadGameModels(dir ? dir : BEAMWORKS_GAME_DIR);
    if (!failed.empty()) {
        std::cerr << "level fuzzer: cannot load model " << failed.front() << "\n";
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::runLevelInput(data, size);
    return 0;
}
