#pragma once
// The 3DS model loader: reads a file into a Model (core/Model.h) and post-processes it: bounding
// sphere, angle-weighted smooth normals with crease splitting, and (for meshes without a
// mapping) 3D texture coordinates generated from the bounding box.
//
// Coordinates are Y-up: a file vertex (x, y, z) is stored as (x, z, -y); file texture
// coordinates (u, v) are stored as (u, 1 - v). Units are model units.

#include "core/Model.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// Reads a 3DS file into positions, indices and (when readTexCoords) texture coordinates only.
/// Prints "File not Found" and returns null when the file cannot be opened; prints one line
/// naming the file and the fault and returns null when the file is malformed.
std::unique_ptr<Model> read3dsFile(const std::string& path, bool readTexCoords);
/// read3dsFile over bytes already in memory; `name` stands for the file in the console lines.
std::unique_ptr<Model> read3dsBytes(std::vector<std::uint8_t> bytes, const std::string& name,
                                    bool readTexCoords);

/// Reads a 3DS file and post-processes it. angleThreshold is in units of pi: faces whose normals
/// differ from the first face of a vertex by more than angleThreshold * 180 degrees get a vertex
/// of their own. Returns null on the failures of read3dsFile and when more than
/// MAX_MODEL_VERTICES vertices would result.
std::unique_ptr<Model> loadModel(const std::string& path, float angleThreshold, bool readTexCoords);
/// loadModel over bytes already in memory; `name` stands for the file in the console lines.
std::unique_ptr<Model> loadModelBytes(std::vector<std::uint8_t> bytes, const std::string& name,
                                      float angleThreshold, bool readTexCoords);

/// Unit normal of triangle (p0, p1, p2) = normalise((p1 - p0) x (p2 - p0)) and its interior angles
/// at p0, p1 and p2. A triangle of zero area gets the normal (0, 0, 0).
struct FaceGeometry {
    std::array<float, 3> normal;
    std::array<float, 3> angles; ///< at corners 0, 1, 2
};
FaceGeometry faceNormalAndAngles(const std::vector<float>& positions, unsigned i0, unsigned i1,
                                 unsigned i2);
