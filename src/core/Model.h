#pragma once
// The triangle mesh of a scene class, shared by every object of the class: counts, positions,
// normals, texture coordinates, 16-bit indices and the bounding sphere. The 3DS loader
// (model/ModelLoader.h) fills it; nothing here depends on how.
//
// Coordinates are Y-up, in model units.

#include <array>
#include <cstdint>
#include <vector>

/// Most vertices a mesh may have: indices are 16 bits wide.
constexpr std::uint32_t MAX_MODEL_VERTICES = 65535;

struct Model {
    std::uint32_t vertexCount = 0; ///< vertices after smoothing (splits add to the file's count)
    std::uint32_t indexCount = 0;  ///< triangle corners, 3 per triangle
    /// Floats reserved for texture coordinates: 0 when the file gave none; 12 per file vertex
    /// when read from the file (2 used per vertex); 3 per corner when generated (3 used per
    /// vertex).
    std::int32_t texCoordSize = 0;
    std::array<float, 4> centre{0, 0, 0, 1}; ///< bounding-sphere centre (x, y, z, 1)
    float radius = 0;                        ///< bounding-sphere radius
    std::vector<float> normals;              ///< 3 per vertex; not rescaled to unit length
    std::vector<float> positions;            ///< 3 per vertex
    std::vector<float> texCoords;            ///< 2 per vertex (s, t) from the file, 3 generated
    std::vector<std::uint16_t> indices;      ///< 3 per triangle, in file order

    /// Floats per vertex in texCoords: 2 when read from the file, 3 when generated.
    int texCoordComponents = 0;
};
