// Fuzz target: any bytes as a 3DS model file, read and post-processed (bounding sphere, smoothing
// with crease splitting, generated texture coordinates) as the game loads its models.

#include "model/Model.h"

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.rdbuf(nullptr); // the loader's console lines would only slow the run down
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last byte picks the variant, so the seed files stay plain model files: mapping read or
    // generated, and one of the crease thresholds the game uses.
    const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
    const float thresholds[] = {0.2f, 0.3f, 0.4f, 0.0f};
    std::vector<std::uint8_t> bytes(data, data + size);
    loadModelBytes(std::move(bytes), "fuzz.3ds", thresholds[pick & 3], (pick & 4) == 0);
    return 0;
}
