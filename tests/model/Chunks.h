#pragma once
// Builds raw 3DS chunk bytes for the reader's tests, including malformed ones.

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace chunks {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}
inline void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back((v >> (8 * i)) & 0xFF);
    }
}
inline void putFloat(Bytes& b, float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put32(b, bits);
}
inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}
/// A chunk with the correct length, or with `length` written instead when given.
inline Bytes chunk(std::uint16_t id, const Bytes& payload, long length = -1) {
    Bytes b;
    put16(b, id);
    put32(b, length >= 0 ? static_cast<std::uint32_t>(length)
                         : static_cast<std::uint32_t>(payload.size() + 6));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}
/// Vertex list in file coordinates.
inline Bytes vertices(const std::vector<std::array<float, 3>>& v) {
    Bytes p;
    put16(p, static_cast<std::uint16_t>(v.size()));
    for (const auto& x : v) {
        for (float f : x) {
            putFloat(p, f);
        }
    }
    return chunk(0x4110, p);
}
inline Bytes faces(const std::vector<std::array<std::uint16_t, 3>>& f, const Bytes& sub = {}) {
    Bytes p;
    put16(p, static_cast<std::uint16_t>(f.size()));
    for (const auto& x : f) {
        for (std::uint16_t i : x) {
            put16(p, i);
        }
        put16(p, 7); // edge flags
    }
    p.insert(p.end(), sub.begin(), sub.end());
    return chunk(0x4120, p);
}
inline Bytes mapping(const std::vector<std::array<float, 2>>& uv) {
    Bytes p;
    put16(p, static_cast<std::uint16_t>(uv.size()));
    for (const auto& x : uv) {
        putFloat(p, x[0]);
        putFloat(p, x[1]);
    }
    return chunk(0x4140, p);
}
inline Bytes object(const std::string& name, const Bytes& mesh) {
    Bytes p(name.begin(), name.end());
    p.push_back(0);
    p.insert(p.end(), mesh.begin(), mesh.end());
    return chunk(0x4000, p);
}
inline Bytes file(const Bytes& editorContent, const Bytes& afterEditor = {}) {
    return chunk(0x4D4D, cat({chunk(0x3D3D, editorContent), afterEditor}));
}
inline void write(const std::string& path, const Bytes& b) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

} // namespace chunks
