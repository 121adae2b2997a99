#pragma once
// The ids of the 3DS chunks that the model reader looks for and the model writer of the asset
// tools puts out. Every chunk is a u16 id and a u32 length that counts its own 6-byte header,
// little-endian; the file layout the writer uses is in tools/assets/Writer3ds.h.

#include <cstdint>

namespace chunk3ds {

enum : std::uint16_t {
    MAIN = 0x4D4D,
    VERSION = 0x0002,
    EDITOR = 0x3D3D,
    MESH_VERSION = 0x3D3E,
    MATERIAL = 0xAFFF,
    MATERIAL_NAME = 0xA000,
    MATERIAL_DIFFUSE = 0xA020,
    COLOUR_BYTES = 0x0011,
    OBJECT = 0x4000,
    TRIANGLE_MESH = 0x4100,
    VERTEX_LIST = 0x4110,
    FACE_LIST = 0x4120,
    FACE_MATERIAL = 0x4130,
    MAPPING = 0x4140,
    SMOOTHING = 0x4150,
    LOCAL_AXES = 0x4160,
    KEYFRAMES = 0xB000,
    KEYFRAME_HEADER = 0xB00A,
};

} // namespace chunk3ds
