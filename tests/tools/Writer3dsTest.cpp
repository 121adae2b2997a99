#include "assets/Writer3ds.h"
#include "MeshChecks.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <stdexcept>

namespace {

// An irregular tetrahedron, so that any swapped or negated axis shows.
Mesh3ds tetrahedron() {
    Mesh3ds m;
    m.name = "Tetra";
    m.positions = {{1, 2, 3}, {-4, 5, 6}, {7, -8, 9}, {10, 11, -12.5f}};
    m.faces = {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {0, 2, 3}};
    m.texCoords = {{0, 0}, {0.25f, 1}, {1, 0.3f}, {0.5f, 0.75f}};
    return m;
}

// The chunk tree as "id(children)" or "id:payload bytes"; throws when a chunk does not fit its
// parent exactly.
std::string chunkTree(const std::vector<std::uint8_t>& b, std::size_t pos, std::size_t end) {
    std::string out;
    while (pos < end) {
        const unsigned id = b.at(pos) | b.at(pos + 1) << 8;
        const std::size_t len =
            b.at(pos + 2) | b[pos + 3] << 8 | b[pos + 4] << 16 | b[pos + 5] << 24;
        if (end - pos < 6 || len < 6 || len > end - pos) {
            throw std::runtime_error("chunk overruns its parent");
        }
        std::size_t data = pos + 6;
        const bool parent = id == 0x4D4D || id == 0x3D3D || id == 0xAFFF || id == 0xA020 ||
                            id == 0x4000 || id == 0x4100 || id == 0x4120 || id == 0xB000;
        if (id == 0x4000) {
            while (b.at(data++) != 0) {
            }
        } else if (id == 0x4120) {
            data += 2 + 8 * std::size_t(b[data] | b[data + 1] << 8);
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", id);
        out += (out.empty() ? "" : " ") + std::string(hex) +
               (parent ? "(" + chunkTree(b, data, pos + len) + ")" : ":" + std::to_string(len - 6));
        pos += len;
    }
    return out;
}

TEST(Writer3ds, ChunksNestExactlyAroundTheMesh) {
    const auto bytes = encode3ds(tetrahedron());
    EXPECT_EQ(chunkTree(bytes, 0, bytes.size()),
              "4D4D(0002:4 3D3D(3D3E:4 AFFF(A000:8 A020(0011:3)) 4000(4100(4110:50 4140:34 "
              "4160:48 4120(4130:18 4150:16)))) B000(B00A:7))");
    Mesh3ds bare = tetrahedron();
    bare.texCoords.clear();
    const auto bareBytes = encode3ds(bare);
    EXPECT_EQ(chunkTree(bareBytes, 0, bareBytes.size()).find("4140"), std::string::npos);
}

TEST(Writer3ds, LoadsBackYUpWithTexCoordsPastMaterialAndKeyframes) {
    meshcheck::ScratchDir dir("writer");
    const Mesh3ds mesh = tetrahedron();
    ASSERT_TRUE(write3ds(dir.file("t.3ds"), mesh));
    const auto model = read3dsFile(dir.file("t.3ds"), true);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->vertexCount, 4u);
    ASSERT_EQ(model->texCoordComponents, 2);
    for (std::size_t v = 0; v < 4; ++v) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(model->positions[3 * v + k], mesh.positions[v][k]) << v << "," << k;
        }
        EXPECT_EQ(model->texCoords[2 * v], mesh.texCoords[v][0]);
        EXPECT_NEAR(model->texCoords[2 * v + 1], mesh.texCoords[v][1], 1e-6);
    }
    ASSERT_EQ(model->indices.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(model->indices[i], mesh.faces[i / 3][i % 3]);
    }
}

TEST(Writer3ds, RefusesMeshesItCannotWrite) {
    const std::pair<const char*, void (*)(Mesh3ds&)> cases[] = {
        {"index past vertices", [](Mesh3ds& m) { m.faces[1][2] = 4; }},
        {"vertex twice",
         [](Mesh3ds& m) {
             m.faces[0] = {2, 1, 2};
         }},
        {"short mapping", [](Mesh3ds& m) { m.texCoords.pop_back(); }},
        {"long name", [](Mesh3ds& m) { m.name = "TwentyCharacterName!"; }},
        {"zero in name", [](Mesh3ds& m) { m.name = std::string("a\0b", 3); }},
        {"NaN vertex",
         [](Mesh3ds& m) { m.positions[3][1] = std::numeric_limits<float>::quiet_NaN(); }},
        {"infinite mapping",
         [](Mesh3ds& m) { m.texCoords[0][0] = std::numeric_limits<float>::infinity(); }},
        {"65536 vertices", [](Mesh3ds& m) { m.positions.resize(65536), m.texCoords.clear(); }},
        {"65536 faces",
         [](Mesh3ds& m) {
             m.faces.resize(65536, {0, 1, 2});
         }},
    };
    meshcheck::ScratchDir dir("writer-bad");
    for (const auto& [what, spoil] : cases) {
        SCOPED_TRACE(what);
        Mesh3ds mesh = tetrahedron();
        spoil(mesh);
        EXPECT_THROW(encode3ds(mesh), std::invalid_argument);
        std::string error;
        EXPECT_FALSE(write3ds(dir.file("bad.3ds"), mesh, &error));
        EXPECT_EQ(error, meshProblem(mesh));
        EXPECT_FALSE(std::filesystem::exists(dir.file("bad.3ds")));
    }
    // The limits themselves are fine.
    Mesh3ds edge = tetrahedron();
    edge.name = "NineteenCharacters!";
    edge.positions.resize(65535);
    edge.texCoords.resize(65535);
    edge.faces.resize(65535, {0, 1, 65534});
    EXPECT_EQ(meshProblem(edge), "");
    EXPECT_EQ(meshProblem(Mesh3ds{}), "");

    std::string error;
    EXPECT_FALSE(write3ds(dir.file("missing/t.3ds"), tetrahedron(), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

} // namespace
