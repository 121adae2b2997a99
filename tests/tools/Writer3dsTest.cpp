#include "assets/Writer3ds.h"
#include "model/ModelLoader.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

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

TEST(Writer3ds, LoadsBackThroughTheGamesReader) {
    ScratchDir dir("writer");
    Mesh3ds mesh = tetrahedron();
    for (const bool mapped : {true, false}) {
        SCOPED_TRACE(mapped ? "with a mapping" : "without a mapping");
        if (!mapped) {
            mesh.texCoords.clear();
        }
        ASSERT_TRUE(write3ds(dir.file("t.3ds"), mesh));
        // The reader skips the material and key frame chunks around the mesh.
        const auto model = read3dsFile(dir.file("t.3ds"), true);
        ASSERT_NE(model, nullptr);
        ASSERT_EQ(model->vertexCount, 4u);
        EXPECT_EQ(model->texCoordSize, mapped ? 4 * 12 : 0);
        for (std::size_t v = 0; v < 4; ++v) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(model->positions[3 * v + k], mesh.positions[v][k]) << v << "," << k;
            }
            if (mapped) {
                EXPECT_EQ(model->texCoords[2 * v], mesh.texCoords[v][0]);
                EXPECT_NEAR(model->texCoords[2 * v + 1], mesh.texCoords[v][1], 1e-6);
            }
        }
        ASSERT_EQ(model->indices.size(), 12u);
        for (std::size_t i = 0; i < 12; ++i) {
            EXPECT_EQ(model->indices[i], mesh.faces[i / 3][i % 3]);
        }
    }
}

TEST(Writer3ds, RefusesMeshesItCannotWriteAndWritesNothing) {
    const std::pair<const char*, void (*)(Mesh3ds&)> cases[] = {
        {"index past vertices", [](Mesh3ds& m) { m.faces[1][2] = 4; }},
        {"vertex twice", [](Mesh3ds& m) { m.faces[0][0] = 2; }},
        {"short mapping", [](Mesh3ds& m) { m.texCoords.pop_back(); }},
        {"long name", [](Mesh3ds& m) { m.name = "TwentyCharacterName!"; }},
        {"NaN vertex",
         [](Mesh3ds& m) { m.positions[3][1] = std::numeric_limits<float>::quiet_NaN(); }},
        {"65536 vertices", [](Mesh3ds& m) { m.positions.resize(65536), m.texCoords.clear(); }},
    };
    ScratchDir dir("writer-bad");
    for (const auto& [what, spoil] : cases) {
        SCOPED_TRACE(what);
        Mesh3ds mesh = tetrahedron();
        spoil(mesh);
        EXPECT_THROW(encode3ds(mesh), std::invalid_argument);
        std::string error;
        EXPECT_FALSE(write3ds(dir.file("bad.3ds"), mesh, &error));
        EXPECT_EQ(error, meshProblem(mesh));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("bad.3ds")));
    }
    // The limits themselves are fine.
    Mesh3ds edge = tetrahedron();
    edge.name = "NineteenCharacters!";
    edge.positions.resize(65535);
    edge.texCoords.resize(65535);
    edge.faces.resize(65535, {0, 1, 65534});
    EXPECT_EQ(meshProblem(edge), "");

    std::string error;
    EXPECT_FALSE(write3ds(dir.file("missing/t.3ds"), tetrahedron(), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

} // namespace
