#include "model/Smoothing.h"

#include "core/Matrix.h"

namespace {

constexpr std::uint32_t NONE = 0xFFFFFFFFu;

// Per-vertex lists of triangle corners, in ascending corner order, as singly linked lists in
// flat arrays: head[v] is the first corner of vertex v, next[c] the corner after c.
struct CornerLists {
    std::vector<std::uint32_t> head;
    std::vector<std::uint32_t> tail;
    std::vector<std::uint32_t> next;

    CornerLists(const std::vector<std::uint16_t>& indices, std::size_t vertexCount)
        : head(vertexCount, NONE), tail(vertexCount, NONE), next(indices.size(), NONE) {
        for (std::uint32_t c = 0; c < indices.size(); ++c) {
            append(indices[c], c);
        }
    }
    void addVertex() {
        head.push_back(NONE);
        tail.push_back(NONE);
    }
    void append(std::uint32_t v, std::uint32_t c) {
        next[c] = NONE;
        if (head[v] == NONE) {
            head[v] = c;
        } else {
            next[tail[v]] = c;
        }
        tail[v] = c;
    }
};

} // namespace

bool smoothNormals(Model& model, float angleThreshold) {
    const std::size_t corners = model.indices.size();
    // Face normal and interior angle of every corner.
    std::vector<std::array<float, 3>> cornerNormal(corners);
    std::vector<float> cornerAngle(corners);
    for (std::size_t k = 0; 3 * k + 2 < corners; ++k) {
        const FaceGeometry face =
            faceNormalAndAngles(model.positions, model.indices[3 * k], model.indices[3 * k + 1],
                                model.indices[3 * k + 2]);
        for (int i = 0; i < 3; ++i) {
            cornerNormal[3 * k + i] = face.normal;
            cornerAngle[3 * k + i] = face.angles[i];
        }
    }

    std::size_t count = model.vertexCount;
    const bool hasTexCoords = model.texCoordSize > 0;
    CornerLists lists(model.indices, count);
    std::vector<float> normals(count * 3, 0.0f);
    std::vector<float> weights(count, 0.0f);

    for (std::size_t v = 0; v < count; ++v) {
        std::uint32_t first = NONE;
        std::uint32_t split = NONE;
        std::uint32_t c = lists.head[v];
        while (c != NONE) {
            const std::uint32_t following = lists.next[c];
            const std::array<float, 3>& n = cornerNormal[c];
            const float angle = cornerAngle[c];
            if (first == NONE) {
                first = c;
                weights[v] += angle;
                normals[3 * v] = angle * n[0];
                normals[3 * v + 1] = angle * n[1];
                normals[3 * v + 2] = angle * n[2];
            } else {
                const std::array<float, 3>& f = cornerNormal[first];
                const double r = vectorAngle(f[0], f[1], f[2], n[0], n[1], n[2]) / PI;
                if (r <= angleThreshold) {
                    weights[v] += angle;
                    normals[3 * v] += angle * n[0];
                    normals[3 * v + 1] += angle * n[1];
                    normals[3 * v + 2] += angle * n[2];
                } else {
                    if (split == NONE) {
                        if (count >= MAX_MODEL_VERTICES) {
                            return false;
                        }
                        split = static_cast<std::uint32_t>(count);
                        lists.addVertex();
                        normals.resize(normals.size() + 3, 0.0f);
                        weights.push_back(0.0f);
                        const float position[3] = {model.positions[3 * v],
                                                   model.positions[3 * v + 1],
                                                   model.positions[3 * v + 2]};
                        model.positions.insert(model.positions.end(), position, position + 3);
                        if (hasTexCoords) {
                            if (model.texCoords.size() < 2 * (split + 1)) {
                                model.texCoords.resize(2 * (split + 1), 0.0f);
                            }
                            model.texCoords[2 * split] = model.texCoords[2 * v];
                            model.texCoords[2 * split + 1] = model.texCoords[2 * v + 1];
                        }
                    }
                    model.indices[c] = static_cast<std::uint16_t>(split);
                    lists.append(split, c);
                }
            }
            c = following;
        }
        if (split != NONE) {
            ++count;
        }
    }

    for (std::size_t v = 0; v < count; ++v) {
        if (weights[v] != 0.0f) {
            for (int a = 0; a < 3; ++a) {
                normals[3 * v + a] /= weights[v];
            }
        }
    }
    model.vertexCount = static_cast<std::uint32_t>(count);
    model.normals = std::move(normals);
    model.positions.resize(count * 3);
    if (hasTexCoords) {
        model.texCoords.resize(count * 2, 0.0f);
    }
    return true;
}
