#pragma once
// Writes triangle meshes as 3DS files that the game's model reader loads.
//
// Meshes are given in the game's Y-up coordinates. The file stores Z-up coordinates, so a vertex
// (X, Y, Z) is written as (X, -Z, Y); a texture coordinate (s, t) is written as (s, 1 - t). The
// reader undoes both, so a written mesh loads back with the positions and (s, t) given here.
//
// File layout (every chunk: u16 id, u32 length including the 6-byte header, little-endian):
//   0x4D4D main
//     0x0002 version (u32 3)
//     0x3D3D editor
//       0x3D3E mesh version (u32 3)
//       0xAFFF material: 0xA000 name, 0xA020 diffuse colour holding 0x0011 rgb bytes
//       0x4000 object: name, then
//         0x4100 triangular mesh
//           0x4110 vertex list, 0x4140 mapping coordinates (only with texture coordinates),
//           0x4160 local axes, 0x4120 face list holding 0x4130 material faces and
//           0x4150 smoothing groups
//     0xB000 key frames holding a 0xB00A header

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Mesh3ds {
    std::string name;                                   ///< object name, at most 19 bytes
    std::vector<std::array<float, 3>> positions;        ///< Y-up game coordinates
    std::vector<std::array<std::uint16_t, 3>> faces;    ///< counter-clockwise seen from outside
    std::vector<std::array<float, 2>> texCoords;        ///< empty, or (s, t) for every position
    std::array<std::uint8_t, 3> diffuse{200, 200, 200}; ///< material colour
};

/// Most vertices and faces a 3DS mesh holds: counts and indices are 16 bits wide.
constexpr std::size_t MAX_3DS_COUNT = 65535;

/// Why the mesh cannot be written, or an empty string when it can. A mesh is refused when it
/// has more than MAX_3DS_COUNT vertices or faces, a face index past the vertex list, a face
/// naming one vertex twice, a texture coordinate list that is neither empty nor one per vertex,
/// a coordinate that is not finite, or a name longer than 19 bytes or holding a zero byte.
std::string meshProblem(const Mesh3ds& mesh);

/// The complete file image of the mesh. Throws std::invalid_argument (with meshProblem's text)
/// for a mesh that cannot be written.
std::vector<std::uint8_t> encode3ds(const Mesh3ds& mesh);

/// Writes the mesh to path. Returns false, with the reason in *error when error is given, for a
/// mesh that cannot be written or a file that cannot be written; nothing is written for a
/// refused mesh.
bool write3ds(const std::string& path, const Mesh3ds& mesh, std::string* error = nullptr);
