#include "model/ModelLoader.h"

#include "core/Matrix.h"
#include "model/Chunks3ds.h"
#include "model/Smoothing.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

constexpr std::size_t CHUNK_HEADER_SIZE = 6;
constexpr std::size_t OBJECT_NAME_LIMIT = 20;

// Reasons a file is refused; the loader prints one line with the file name and the reason.
struct BadModel {
    std::string reason;
};

std::string hexId(std::uint16_t id) {
    std::ostringstream s;
    s << "0x" << std::hex << std::uppercase << id;
    return s.str();
}

// Little-endian reads over the file's bytes. Every read is bounds-checked against `limit`, the
// end of the innermost enclosing chunk, so that no count in the file can lead past its data.
class ChunkReader {
  public:
    explicit ChunkReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::size_t size() const { return bytes_.size(); }

    void need(std::size_t pos, std::size_t count, std::size_t limit, const char* what) const {
        if (pos > limit || count > limit - pos) {
            std::ostringstream s;
            s << what << " at offset " << pos << " runs past the end of its chunk";
            throw BadModel{s.str()};
        }
    }

    std::uint16_t u16(std::size_t pos) const {
        return static_cast<std::uint16_t>(bytes_[pos] | (bytes_[pos + 1] << 8));
    }
    std::uint32_t u32(std::size_t pos) const {
        return static_cast<std::uint32_t>(bytes_[pos]) |
               (static_cast<std::uint32_t>(bytes_[pos + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[pos + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[pos + 3]) << 24);
    }
    float f32(std::size_t pos) const {
        const std::uint32_t bits = u32(pos);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    std::uint8_t byte(std::size_t pos) const { return bytes_[pos]; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Walks the chunk tree. Container chunks and list chunks are entered: the next header is read
// from right after their own data, and a chunk ends when the read position reaches its end.
// Lengths are trusted as far as the bytes go: a chunk never reaches past its parent.
void parseChunks(const ChunkReader& in, bool readTexCoords, Model& model) {
    std::vector<std::size_t> ends{in.size()}; // ends of the enclosing chunks, innermost last
    std::size_t pos = 0;
    while (true) {
        while (ends.size() > 1 && pos == ends.back()) {
            ends.pop_back();
        }
        const std::size_t limit = ends.back();
        if (pos >= limit) {
            break;
        }
        if (limit - pos < CHUNK_HEADER_SIZE) {
            // A few stray bytes after the last chunk, as other tools leave: too short for a
            // chunk, so nothing to read.
            pos = limit;
            continue;
        }
        const std::uint16_t id = in.u16(pos);
        const std::uint32_t length = in.u32(pos + 2);
        if (length < CHUNK_HEADER_SIZE) {
            std::ostringstream s;
            s << "chunk " << hexId(id) << " at offset " << pos << " has length " << length;
            throw BadModel{s.str()};
        }
        // A length that overshoots the parent or the file (slack other tools write) ends the
        // chunk with the bytes there are.
        const std::size_t end = pos + std::min<std::size_t>(length, limit - pos);
        std::size_t data = pos + CHUNK_HEADER_SIZE;
        switch (id) {
        case chunk3ds::MAIN:
        case chunk3ds::EDITOR:
        case chunk3ds::TRIANGLE_MESH:
            break;
        case chunk3ds::OBJECT: {
            // The name: up to and including its zero byte, at most 20 bytes.
            std::size_t n = 0;
            while (n < OBJECT_NAME_LIMIT) {
                in.need(data, 1, end, "object name");
                const std::uint8_t c = in.byte(data++);
                ++n;
                if (c == 0) {
                    break;
                }
            }
            break;
        }
        case chunk3ds::VERTEX_LIST: {
            in.need(data, 2, end, "vertex count");
            const std::uint16_t n = in.u16(data);
            data += 2;
            in.need(data, std::size_t{n} * 12, end, "vertex list");
            model.vertexCount = n;
            model.positions.assign(std::size_t{n} * 3, 0.0f);
            std::cout << std::endl << "vert: " << n << std::endl;
            for (std::size_t v = 0; v < n; ++v, data += 12) {
                model.positions[3 * v] = in.f32(data);
                model.positions[3 * v + 1] = in.f32(data + 8);
                model.positions[3 * v + 2] = -in.f32(data + 4);
            }
            break;
        }
        case chunk3ds::FACE_LIST: {
            in.need(data, 2, end, "face count");
            const std::uint16_t n = in.u16(data);
            data += 2;
            in.need(data, std::size_t{n} * 8, end, "face list");
            model.indexCount = 3u * n;
            model.indices.assign(std::size_t{n} * 3, 0);
            for (std::size_t f = 0; f < n; ++f, data += 8) {
                model.indices[3 * f] = in.u16(data);
                model.indices[3 * f + 1] = in.u16(data + 2);
                model.indices[3 * f + 2] = in.u16(data + 4);
            }
            break;
        }
        case chunk3ds::MAPPING: {
            if (!readTexCoords) {
                data = end;
                break;
            }
            in.need(data, 2, end, "mapping count");
            const std::uint16_t n = in.u16(data);
            data += 2;
            in.need(data, std::size_t{n} * 8, end, "mapping list");
            model.texCoordSize = 12 * n;
            model.texCoords.assign(std::size_t{n} * 2, 0.0f);
            std::cout << std::endl << "tex: " << n << std::endl;
            for (std::size_t v = 0; v < n; ++v, data += 8) {
                model.texCoords[2 * v] = in.f32(data);
                model.texCoords[2 * v + 1] = 1.0f - in.f32(data + 4);
            }
            break;
        }
        default:
            data = end;
            break;
        }
        pos = data;
        if (pos < end) {
            ends.push_back(end); // what follows the chunk's own data are its sub-chunks
        }
    }
}

std::ostream& operator<<(std::ostream& out, const BadModel& bad) {
    return out << bad.reason;
}

} // namespace

std::unique_ptr<Model> read3dsFile(const std::string& path, bool readTexCoords) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cout << "File not Found" << std::endl;
        return nullptr;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    return read3dsBytes(std::move(bytes), path, readTexCoords);
}

std::unique_ptr<Model> read3dsBytes(std::vector<std::uint8_t> bytes, const std::string& name,
                                    bool readTexCoords) {
    auto model = std::make_unique<Model>();
    try {
        parseChunks(ChunkReader(std::move(bytes)), readTexCoords, *model);
        for (std::uint16_t index : model->indices) {
            if (index >= model->vertexCount) {
                std::ostringstream s;
                s << "face index " << index << " is not below the vertex count "
                  << model->vertexCount;
                throw BadModel{s.str()};
            }
        }
    } catch (const BadModel& bad) {
        std::cout << "Bad model file " << name << ": " << bad << std::endl;
        return nullptr;
    }
    // A mapping list shorter than the vertex list leaves the other vertices at (0, 0).
    if (model->texCoordSize > 0 && model->texCoords.size() < 2 * model->positions.size() / 3) {
        model->texCoords.resize(2 * model->positions.size() / 3, 0.0f);
    }
    model->texCoordComponents = model->texCoordSize > 0 ? 2 : 0;
    return model;
}

FaceGeometry faceNormalAndAngles(const std::vector<float>& positions, unsigned i0, unsigned i1,
                                 unsigned i2) {
    const float* p0 = &positions[3 * i0];
    const float* p1 = &positions[3 * i1];
    const float* p2 = &positions[3 * i2];
    const float e1[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
    const float e2[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
    float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                  e1[0] * e2[1] - e1[1] * e2[0]};
    const float length = sqrtD(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    FaceGeometry face{};
    if (length > 0.0f) {
        face.normal = {n[0] / length, n[1] / length, n[2] / length};
    }
    const double at1 = vectorAngle(p0[0] - p1[0], p0[1] - p1[1], p0[2] - p1[2], p2[0] - p1[0],
                                   p2[1] - p1[1], p2[2] - p1[2]);
    const double at2 = vectorAngle(p0[0] - p2[0], p0[1] - p2[1], p0[2] - p2[2], p1[0] - p2[0],
                                   p1[1] - p2[1], p1[2] - p2[2]);
    face.angles = {static_cast<float>(PI - (at1 + at2)), static_cast<float>(at1),
                   static_cast<float>(at2)};
    return face;
}

namespace {

// Bounding sphere, smoothing and generated texture coordinates of a model just read.
std::unique_ptr<Model> postProcess(std::unique_ptr<Model> model, const std::string& name,
                                   float angleThreshold) {
    if (!model) {
        return nullptr;
    }

    // Bounding box and sphere over the vertices read from the file.
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    const std::size_t fileVertices = model->vertexCount;
    for (std::size_t v = 0; v < fileVertices; ++v) {
        for (int a = 0; a < 3; ++a) {
            const float x = model->positions[3 * v + a];
            if (v == 0 || x < lo[a]) {
                lo[a] = x;
            }
            if (v == 0 || x > hi[a]) {
                hi[a] = x;
            }
        }
    }
    model->centre = {(lo[0] + hi[0]) * 0.5f, (lo[1] + hi[1]) * 0.5f, (lo[2] + hi[2]) * 0.5f, 1.0f};
    model->radius = 0.0f;
    for (std::size_t v = 0; v < fileVertices; ++v) {
        const float dx = model->positions[3 * v] - model->centre[0];
        const float dy = model->positions[3 * v + 1] - model->centre[1];
        const float dz = model->positions[3 * v + 2] - model->centre[2];
        const float d = sqrtD(dx * dx + dy * dy + dz * dz);
        if (d > model->radius) {
            model->radius = d;
        }
    }
    std::cout << "absolutMax: " << model->radius << std::endl << std::endl << std::endl;

    if (!smoothNormals(*model, angleThreshold)) {
        std::cout << "Bad model file " << name << ": more than " << MAX_MODEL_VERTICES
                  << " vertices after smoothing" << std::endl;
        return nullptr;
    }

    if (model->texCoordSize < 1) {
        // No mapping: map the model's box onto the unit cube of a 3D texture.
        model->texCoordSize = static_cast<std::int32_t>(model->indexCount * 3);
        model->texCoordComponents = 3;
        model->texCoords.assign(std::size_t{model->vertexCount} * 3, 0.0f);
        for (std::size_t v = 0; v < model->vertexCount; ++v) {
            for (int a = 0; a < 3; ++a) {
                const float extent = hi[a] - lo[a];
                model->texCoords[3 * v + a] =
                    extent > 0.0f ? (model->positions[3 * v + a] - lo[a]) / extent : 0.0f;
            }
        }
    }
    return model;
}

} // namespace

std::unique_ptr<Model> loadModel(const std::string& path, float angleThreshold,
                                 bool readTexCoords) {
    std::cout << "LoadModel: " << path << std::endl;
    std::cout << "With Angletrashold: " << angleThreshold << std::endl << std::endl;
    return postProcess(read3dsFile(path, readTexCoords), path, angleThreshold);
}

std::unique_ptr<Model> loadModelBytes(std::vector<std::uint8_t> bytes, const std::string& name,
                                      float angleThreshold, bool readTexCoords) {
    std::cout << "LoadModel: " << name << std::endl;
    std::cout << "With Angletrashold: " << angleThreshold << std::endl << std::endl;
    return postProcess(read3dsBytes(std::move(bytes), name, readTexCoords), name, angleThreshold);
}
