// Fuzz target: any bytes as the player's progress file.

#include "Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::runProgressInput(data, size);
    return 0;
}
