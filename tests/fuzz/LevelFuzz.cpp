// Fuzz target: any bytes as a level file. The level is built, the laser traced once and the
// translucent objects ordered for the starting view, so that whatever a level can build is
// exercised, not only the reader.

#include "core/Matrix.h"
#include "laser/Tracer.h"
#include "laser/TransparentOrder.h"
#include "level/Level.h"
#include "model/GameModels.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

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
    Level level;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    level.read(in);
    updateLasers(level);
    const auto& offset = level.cameraOffset;
    Matrix view = Matrix::translation(offset[0], offset[1], offset[2]);
    matrixRotateY(view, 0.35f, 1); // a view a little turned, so filters are seen at an angle
    orderTransparentObjects(*level.transparentSet, view);
    return 0;
}
