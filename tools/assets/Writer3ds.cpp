#include "assets/Writer3ds.h"
#include "model/Chunks3ds.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

using namespace chunk3ds;

const char* const MATERIAL_NAME_TEXT = "Surface";

/// Little-endian byte sink with nested chunks whose lengths are patched when they close.
class ChunkWriter {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            u8(static_cast<std::uint8_t>((v >> shift) & 0xFF));
        }
    }
    void f32(float v) {
        std::uint32_t bits;
        static_assert(sizeof bits == sizeof v, "float must be 32 bits");
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void text(const std::string& s) {
        for (char c : s) {
            u8(static_cast<std::uint8_t>(c));
        }
        u8(0);
    }

    /// Opens a chunk; returns its start for close().
    std::size_t open(std::uint16_t id) {
        const std::size_t start = bytes_.size();
        u16(id);
        u32(0);
        return start;
    }
    void close(std::size_t start) {
        const auto length = static_cast<std::uint32_t>(bytes_.size() - start);
        for (int i = 0; i < 4; ++i) {
            bytes_[start + 2 + i] = static_cast<std::uint8_t>((length >> (8 * i)) & 0xFF);
        }
    }

    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

void writeMaterial(ChunkWriter& w, const Mesh3ds& mesh) {
    const auto material = w.open(MATERIAL);
    const auto name = w.open(MATERIAL_NAME);
    w.text(MATERIAL_NAME_TEXT);
    w.close(name);
    const auto diffuse = w.open(MATERIAL_DIFFUSE);
    const auto rgb = w.open(COLOUR_BYTES);
    for (std::uint8_t c : mesh.diffuse) {
        w.u8(c);
    }
    w.close(rgb);
    w.close(diffuse);
    w.close(material);
}

void writeMesh(ChunkWriter& w, const Mesh3ds& mesh) {
    const auto triMesh = w.open(TRIANGLE_MESH);

    const auto vertices = w.open(VERTEX_LIST);
    w.u16(static_cast<std::uint16_t>(mesh.positions.size()));
    for (const auto& p : mesh.positions) {
        // Y-up (X, Y, Z) is stored Z-up as (X, -Z, Y).
        w.f32(p[0]);
        w.f32(-p[2]);
        w.f32(p[1]);
    }
    w.close(vertices);

    if (!mesh.texCoords.empty()) {
        const auto mapping = w.open(MAPPING);
        w.u16(static_cast<std::uint16_t>(mesh.texCoords.size()));
        for (const auto& st : mesh.texCoords) {
            w.f32(st[0]);
            w.f32(1.0f - st[1]);
        }
        w.close(mapping);
    }

    const auto axes = w.open(LOCAL_AXES);
    const float identity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (float f : identity) {
        w.f32(f);
    }
    w.close(axes);

    const auto faces = w.open(FACE_LIST);
    w.u16(static_cast<std::uint16_t>(mesh.faces.size()));
    for (const auto& f : mesh.faces) {
        w.u16(f[0]);
        w.u16(f[1]);
        w.u16(f[2]);
        w.u16(0x0007); // all three edges visible
    }
    const auto faceMaterial = w.open(FACE_MATERIAL);
    w.text(MATERIAL_NAME_TEXT);
    w.u16(static_cast<std::uint16_t>(mesh.faces.size()));
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        w.u16(static_cast<std::uint16_t>(i));
    }
    w.close(faceMaterial);
    const auto smoothing = w.open(SMOOTHING);
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        w.u32(1);
    }
    w.close(smoothing);
    w.close(faces);

    w.close(triMesh);
}

void writeKeyframes(ChunkWriter& w) {
    const auto keyframes = w.open(KEYFRAMES);
    const auto header = w.open(KEYFRAME_HEADER);
    w.u16(5);   // revision
    w.text(""); // scene name
    w.u32(100); // animation length in frames
    w.close(header);
    w.close(keyframes);
}

bool finite(float v) {
    return std::isfinite(v);
}

} // namespace

std::string meshProblem(const Mesh3ds& mesh) {
    if (mesh.name.size() > 19) {
        return "object name '" + mesh.name + "' is longer than 19 bytes";
    }
    if (mesh.name.find('\0') != std::string::npos) {
        return "object name holds a zero byte";
    }
    if (mesh.positions.size() > MAX_3DS_COUNT) {
        return "mesh has " + std::to_string(mesh.positions.size()) + " vertices, at most " +
               std::to_string(MAX_3DS_COUNT) + " fit";
    }
    if (mesh.faces.size() > MAX_3DS_COUNT) {
        return "mesh has " + std::to_string(mesh.faces.size()) + " faces, at most " +
               std::to_string(MAX_3DS_COUNT) + " fit";
    }
    if (!mesh.texCoords.empty() && mesh.texCoords.size() != mesh.positions.size()) {
        return "mesh has " + std::to_string(mesh.texCoords.size()) + " texture coordinates for " +
               std::to_string(mesh.positions.size()) + " vertices";
    }
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const auto& p = mesh.positions[i];
        if (!finite(p[0]) || !finite(p[1]) || !finite(p[2])) {
            return "vertex " + std::to_string(i) + " is not finite";
        }
    }
    for (std::size_t i = 0; i < mesh.texCoords.size(); ++i) {
        const auto& st = mesh.texCoords[i];
        if (!finite(st[0]) || !finite(st[1])) {
            return "texture coordinate " + std::to_string(i) + " is not finite";
        }
    }
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const auto& f = mesh.faces[i];
        for (std::uint16_t index : f) {
            if (index >= mesh.positions.size()) {
                return "face " + std::to_string(i) + " names vertex " + std::to_string(index) +
                       " of " + std::to_string(mesh.positions.size());
            }
        }
        if (f[0] == f[1] || f[1] == f[2] || f[0] == f[2]) {
            return "face " + std::to_string(i) + " names a vertex twice";
        }
    }
    return {};
}

std::vector<std::uint8_t> encode3ds(const Mesh3ds& mesh) {
    const std::string problem = meshProblem(mesh);
    if (!problem.empty()) {
        throw std::invalid_argument(problem);
    }
    ChunkWriter w;
    const auto main = w.open(MAIN);
    const auto version = w.open(VERSION);
    w.u32(3);
    w.close(version);

    const auto editor = w.open(EDITOR);
    const auto meshVersion = w.open(MESH_VERSION);
    w.u32(3);
    w.close(meshVersion);
    writeMaterial(w, mesh);
    const auto object = w.open(OBJECT);
    w.text(mesh.name);
    writeMesh(w, mesh);
    w.close(object);
    w.close(editor);

    writeKeyframes(w);
    w.close(main);
    return w.take();
}

bool write3ds(const std::string& path, const Mesh3ds& mesh, std::string* error) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = encode3ds(mesh);
    } catch (const std::invalid_argument& e) {
        if (error) {
            *error = e.what();
        }
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    if (!out) {
        if (error) {
            *error = "cannot write " + path;
        }
        return false;
    }
    return true;
}
