// A fuzz target: any bytes to the function of Harness.h that BEAMWORKS_FUZZ_INPUT names (the
// model, level, progress or settings input), one program each.

#include "Harness.h"
#include "model/GameModels.h"

#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.rdbuf(nullptr); // the loaders' console lines would only slow the run down
    // A level builds real elements, which need the game's models.
    const char* dir = std::getenv("BEAMWORKS_MODELS");
    const auto failed = loadGameModels(dir ? dir : BEAMWORKS_GAME_DIR);
    if (!failed.empty()) {
        std::cerr << "fuzzer: cannot load model " << failed.front() << "\n";
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::BEAMWORKS_FUZZ_INPUT(data, size);
    return 0;
}
