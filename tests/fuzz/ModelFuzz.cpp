// Fuzz target: any bytes as a 3DS model file.

#include "Harness.h"

#include <iostream>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.rdbuf(nullptr); // the loader's console lines would only slow the run down
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::runModelInput(data, size);
    return 0;
}
