#include "elements/MirrorHalf.h"

#include "laser/Emission.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"

#include <algorithm>
#include <cmath>

MirrorHalf::MirrorHalf() : MirrorBase(2) {
    const Model* model = getModel();
    if (!model) {
        return;
    }
    constexpr float LIGHT[4] = {0.9f, 0.9f, 0.9f, 0.5f}, DARK[4] = {0.45f, 0.45f, 0.45f, 0.5f};
    setVertexColor(this, static_cast<int>(model->vertexCount), LIGHT);
    // Each triangle takes the colour of the cell its centre lies in.
    constexpr float HALF = 87, CELL = 2 * HALF / HALF_MIRROR_CELLS;
    for (std::size_t i = 0; i + 2 < model->indices.size(); i += 3) {
        float centre[2] = {0, 0};
        for (std::size_t k = 0; k < 3; ++k) {
            for (int axis = 0; axis < 2; ++axis) {
                centre[axis] += model->positions[3 * model->indices[i + k] + axis] / 3;
            }
        }
        const int cell = static_cast<int>(std::floor((centre[0] + HALF) / CELL)) +
                         static_cast<int>(std::floor((centre[1] + HALF) / CELL));
        if (cell % 2 != 0) {
            for (std::size_t k = 0; k < 3; ++k) {
                std::copy(DARK, DARK + 4, vertexColors.begin() + 4 * model->indices[i + k]);
            }
        }
    }
}

Model* MirrorHalf::getModel() {
    return gameModels().mirrorHalf.get();
}

void MirrorHalf::answer(Level& level, LaserBeam& in, signed char intensity) {
    LaserBeam* transmitted = emitContinuation(level, *this, in, in.colorCode, intensity);
    LaserBeam* reflected = emitReflection(level, *this, in, intensity, true);
    in.nextSegments.push_back(transmitted);
    in.nextSegments.push_back(reflected);
}
